#pragma once

#include <QSize>

class QWidget;

// Geometry of widgets in twips, converted at the widget's logical DPI. The setters of a single
// property skip a negative value (a window made smaller than its margins) and return false then.
namespace twips {

double logicalDpi(const QWidget* widget);
void setGeometry(QWidget* widget, int left, int top, int width, int height);
bool setLeft(QWidget* widget, int left);
bool setTop(QWidget* widget, int top);
bool setWidth(QWidget* widget, int width);
bool setHeight(QWidget* widget, int height);
// Geometry read back in twips, for layouts and tests.
int left(const QWidget* widget);
int top(const QWidget* widget);
int width(const QWidget* widget);
int height(const QWidget* widget);
// A window's outer (frame) size.
QSize outerSize(const QWidget* window);

} // namespace twips
