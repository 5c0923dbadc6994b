#pragma once

class QAction;
class QMenu;
class RichTextBox;

// The editing commands that both windows carry for their article editor. Each acts on the editor
// it is given and on the clipboard's plain text; none shows a message, and a clipboard that cannot
// be used leaves the editor as it was.
namespace editor {

void undo(RichTextBox& box);
// The selected text goes to the clipboard, then leaves the editor; an empty selection puts "".
void cut(RichTextBox& box);
void copy(RichTextBox& box);
// The selection is replaced by the clipboard's text (nothing when it holds none); one undo step.
void paste(RichTextBox& box);
void deleteSelection(RichTextBox& box);
void selectAll(RichTextBox& box);

// The font name of the selection, or of what is typed next at the caret, becomes "宋体".
void resetTypingFont(RichTextBox& box);

// A window's editing items, filled as the window creates them.
struct EditActions
{
    QAction* undo = nullptr;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* deleteSelection = nullptr;
    QAction* selectAll = nullptr;
};

// Connects each of the items to its command on box.
void connectCommands(const EditActions& actions, RichTextBox& box);
// Pops menu up at the mouse whenever the right button goes down in box.
void popUpOnRightClick(RichTextBox& box, QMenu& menu);

} // namespace editor
