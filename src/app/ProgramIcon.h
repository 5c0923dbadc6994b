#pragma once

#include <QIcon>

// The program's icon, built into it at every size rendered from data/icons/tessaro.svg: the window
// icon of both windows.
QIcon programIcon();
