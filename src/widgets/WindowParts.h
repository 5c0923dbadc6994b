#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QWidget;

// Pieces that every window of the program builds the same way.
namespace windowparts {

// A menu item that tests and tools find by its objectName.
QAction* addItem(QMenu* menu, const char* objectName, const QString& caption,
                 const QKeySequence& shortcut = QKeySequence());
void addSeparator(QMenu* menu, const char* objectName);

// Gives the window a client area of the given size in twips (plus extraHeight pixels, for a menu
// bar above it) and centres it on the screen.
void sizeAndCentre(QWidget* window, int clientWidthTwips, int clientHeightTwips, int extraHeight = 0);

} // namespace windowparts
