#include "widgets/KeyboardRoute.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleFactory>

namespace keyboardroute {

namespace {

// The style the program has, with the menu bar's Alt navigation of the Windows style.
class AltNavigation : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

class CtrlTabFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (!ctrl || (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        auto* from = static_cast<QWidget*>(watched);
        for (QWidget* w = next(from, forward); w && w != from; w = next(w, forward)) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == from->window() &&
                !from->isAncestorOf(w)) {
                w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        return true;
    }

private:
    static QWidget* next(QWidget* w, bool forward) { return forward ? w->nextInFocusChain() : w->previousInFocusChain(); }
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
    QMenuBar* bar = window->menuBar();
    auto* style = new AltNavigation(QStyleFactory::create(QApplication::style()->name()));
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

void leaveOnCtrlTab(QWidget* editor)
{
    editor->installEventFilter(new CtrlTabFilter(editor));
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

} // namespace keyboardroute
