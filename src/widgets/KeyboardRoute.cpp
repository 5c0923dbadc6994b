#include "widgets/KeyboardRoute.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOptionMenuItem>
#include <QToolTip>

namespace keyboardroute {

namespace {

// The control that has the focus, seen from its window: a widget whose focus proxy holds it.
QWidget* focusedControl(QWidget* focus)
{
    QWidget* control = focus;
    while (control->parentWidget() && !control->isWindow() &&
           control->parentWidget()->focusProxy() == control)
        control = control->parentWidget();
    return control;
}

void moveFocus(QWidget* window, bool forward)
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != window)
        return;
    QWidget* from = focusedControl(focus);
    // Once round the chain at most; the control's own children are passed over.
    for (QWidget* w = forward ? from->nextInFocusChain() : from->previousInFocusChain(); w != from;
         w = forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
        const bool candidate = w->window() == window && !from->isAncestorOf(w) && w->isVisible() &&
                               w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->width() > 0;
        if (candidate) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

// Watches the keys of the whole application, since a web page's widget takes every key for the page
// before a shortcut could see it; acts on those of its own window only.
class CtrlTab : public QObject
{
public:
    explicit CtrlTab(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & Qt::ControlModifier) ||
            (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_window)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept(); // the key comes as a key press, to this filter
            return true;
        }
        moveFocus(m_window, key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        return true;
    }

private:
    QWidget* m_window;
};

// A menu bar shows no tool tips of its own: those of the items on the bar name their keys.
class BarToolTips : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* bar = static_cast<QMenuBar*>(watched);
        const auto* help = static_cast<QHelpEvent*>(event);
        QAction* action = bar->actionAt(help->pos());
        if (!action || action->menu() || action->toolTip() == action->text()) {
            QToolTip::hideText();
            return false;
        }
        QToolTip::showText(help->globalPos(), action->toolTip(), bar, bar->actionGeometry(action));
        return true;
    }
};

// Fusion paints a menu-bar item highlighted only while its menu is open: the item that Alt or F10
// marks would not show. It is painted as the open one is.
class MarkedBarItem : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            item && element == CE_MenuBarItem && (item->state & State_Selected) && widget &&
            widget->hasFocus()) {
            QStyleOptionMenuItem marked = *item;
            marked.state |= State_Sunken;
            QProxyStyle::drawControl(element, &marked, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

QString withKey(const QString& text, const QKeySequence& key)
{
    QString plain = text;
    plain.remove(u'&');
    return plain + QStringLiteral("（") + key.toString(QKeySequence::NativeText) + QStringLiteral("）");
}

} // namespace

void reachMenuBar(QMainWindow* window)
{
    // Alt alone reaches the bar through the style's own menu-bar navigation, which the program's
    // style has; F10, the other usual key, opens the first menu.
    QMenuBar* bar = window->menuBar();
    bar->installEventFilter(new BarToolTips(bar));
    auto* style = new MarkedBarItem(QApplication::style()->name());
    style->setParent(bar);
    bar->setStyle(style);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    f10->setObjectName(QStringLiteral("menuBarKey"));
    QObject::connect(f10, &QShortcut::activated, bar, [bar] {
        for (QAction* a : bar->actions()) {
            if (a->isVisible() && a->isEnabled() && !a->isSeparator()) {
                bar->setFocus(Qt::ShortcutFocusReason);
                bar->setActiveAction(a);
                return;
            }
        }
    });
}

void ctrlTabMovesOn(QWidget* window)
{
    qApp->installEventFilter(new CtrlTab(window));
}

void setKey(QAbstractButton* button, const QKeySequence& key)
{
    button->setShortcut(key);
    button->setToolTip(withKey(button->text(), key));
}

void setKey(QAction* action, const QKeySequence& key)
{
    action->setShortcut(key);
    action->setToolTip(withKey(action->text(), key));
}

void openMenuWithKey(QMainWindow* window, QMenu* menu, const QKeySequence& key)
{
    auto* shortcut = new QShortcut(key, window);
    shortcut->setObjectName(QStringLiteral("menuKey_") + menu->objectName());
    QMenuBar* bar = window->menuBar();
    QObject::connect(shortcut, &QShortcut::activated, bar, [bar, menu] {
        if (menu->menuAction()->isVisible() && menu->menuAction()->isEnabled())
            bar->setActiveAction(menu->menuAction());
    });
}

void closeWithEscape(QWidget* window)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setObjectName(QStringLiteral("closeKey"));
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

void cycleWindowsWithKey(QWidget* owner, std::function<QList<QWidget*>()> windows, const QKeySequence& key)
{
    auto* shortcut = new QShortcut(key, owner);
    shortcut->setObjectName(QStringLiteral("nextWindowKey"));
    shortcut->setContext(Qt::ApplicationShortcut);
    QObject::connect(shortcut, &QShortcut::activated, owner, [windows = std::move(windows)] {
        QList<QWidget*> shown;
        for (QWidget* w : windows()) {
            if (w && w->isVisible() && !w->isMinimized())
                shown.append(w);
        }
        if (shown.isEmpty())
            return;
        const qsizetype at = shown.indexOf(QApplication::activeWindow());
        QWidget* next = shown.at((at + 1) % shown.size());
        next->raise();
        next->activateWindow();
    });
}

} // namespace keyboardroute
