#pragma once

#include <QKeySequence>
#include <QList>

#include <functional>

class QAbstractButton;
class QAction;
class QMainWindow;
class QMenu;
class QWidget;

// What a person without a mouse needs: the menu bar within reach, a way out of an editor that takes
// Tab as text, and keys that say themselves in tool tips.
namespace keyboardroute {

// F10 opens the first menu of the window's menu bar and Alt alone marks it, shown highlighted, the
// captions left as they are; the items on the bar itself name their keys in tool tips.
void reachMenuBar(QMainWindow* window);

// Ctrl+Tab and Ctrl+Shift+Tab move the focus to the next or previous control of the window, also out
// of the controls that keep Tab for themselves: an editor, a web page.
void ctrlTabMovesOn(QWidget* window);

// The button or item answers key; its tool tip names the key.
void setKey(QAbstractButton* button, const QKeySequence& key);
void setKey(QAction* action, const QKeySequence& key);

// key opens menu from anywhere in the window, its caption left as it is.
void openMenuWithKey(QMainWindow* window, QMenu* menu, const QKeySequence& key);

// Esc closes the window.
void closeWithEscape(QWidget* window);

// key, in any of the program's windows, activates the next of windows() that is shown.
void cycleWindowsWithKey(QWidget* owner, std::function<QList<QWidget*>()> windows, const QKeySequence& key);

} // namespace keyboardroute
