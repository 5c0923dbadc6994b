#include "widgets/WidgetTwips.h"

#include "widgets/Twips.h"

#include <QWidget>

namespace twips {
namespace {

int px(const QWidget* w, int value)
{
    return toPixels(value, logicalDpi(w));
}

int tw(const QWidget* w, int pixels)
{
    return fromPixels(pixels, logicalDpi(w));
}

} // namespace

double logicalDpi(const QWidget* widget)
{
    const int dpi = widget->logicalDpiX();
    return dpi > 0 ? dpi : 96.0;
}

void setGeometry(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(widget, left), px(widget, top), px(widget, width), px(widget, height));
}

bool setLeft(QWidget* widget, int left)
{
    widget->move(px(widget, left), widget->y());
    return true;
}

bool setTop(QWidget* widget, int top)
{
    widget->move(widget->x(), px(widget, top));
    return true;
}

bool setWidth(QWidget* widget, int width)
{
    if (width < 0)
        return false;
    widget->resize(px(widget, width), widget->height());
    return true;
}

bool setHeight(QWidget* widget, int height)
{
    if (height < 0)
        return false;
    widget->resize(widget->width(), px(widget, height));
    return true;
}

int left(const QWidget* widget)
{
    return tw(widget, widget->x());
}

int top(const QWidget* widget)
{
    return tw(widget, widget->y());
}

int width(const QWidget* widget)
{
    return tw(widget, widget->width());
}

int height(const QWidget* widget)
{
    return tw(widget, widget->height());
}

QSize outerSize(const QWidget* window)
{
    const QSize s = window->frameGeometry().size();
    return {tw(window, s.width()), tw(window, s.height())};
}

} // namespace twips
