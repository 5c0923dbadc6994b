#pragma once

#include <QString>
#include <QStringList>

// File-type filters written the Windows way, "description|pattern|description|pattern…", as the
// list of "description (pattern)" entries that a Qt file dialog takes.
namespace dialogfilter {

QStringList toQtFilters(const QString& pairs);

} // namespace dialogfilter
