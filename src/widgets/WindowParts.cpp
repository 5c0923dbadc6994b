#include "widgets/WindowParts.h"

#include "widgets/Twips.h"
#include "widgets/WidgetTwips.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>

namespace windowparts {

QAction* addItem(QMenu* menu, const char* objectName, const QString& caption, const QKeySequence& shortcut)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(objectName));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

void addSeparator(QMenu* menu, const char* objectName)
{
    menu->addSeparator()->setObjectName(QLatin1String(objectName));
}

void sizeAndCentre(QWidget* window, int clientWidthTwips, int clientHeightTwips, int extraHeight)
{
    const double dpi = twips::logicalDpi(window);
    window->resize(twips::toPixels(clientWidthTwips, dpi),
                   twips::toPixels(clientHeightTwips, dpi) + extraHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = window->frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        window->move(r.topLeft());
    }
}

} // namespace windowparts
