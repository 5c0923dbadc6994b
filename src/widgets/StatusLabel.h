#pragma once

#include <QColor>

class QLabel;
class QWidget;

namespace statuslabel {

// A label for status and figures: coloured text in "宋体" 10.5 pt, top-left aligned, wrapping.
QLabel* make(QWidget* parent, const char* objectName, const QColor& color);

// Grows the label's height, if needed, to hold the given number of lines: the substitute faces for
// "宋体" have taller lines than the face the windows' heights were made for.
void fitLines(QLabel* label, int lines);

} // namespace statuslabel
