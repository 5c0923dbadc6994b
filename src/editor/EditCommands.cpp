#include "editor/EditCommands.h"

#include "editor/RichTextBox.h"
#include "platform/Clipboard.h"
#include "platform/Fonts.h"

#include <QAction>
#include <QMenu>
#include <QTextCursor>

#include <utility>

namespace editor {
namespace {

// The selection as plain text: paragraph and line separators become line feeds, the clipboard's
// line break; every other character stays as it is.
QString selectedPlainText(const RichTextBox& box)
{
    QString text = box.textCursor().selectedText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

void removeSelection(RichTextBox& box)
{
    QTextCursor c = box.textCursor();
    if (!c.hasSelection())
        return;
    c.removeSelectedText();
    box.setTextCursor(c);
}

} // namespace

void undo(RichTextBox& box)
{
    box.undo();
}

void cut(RichTextBox& box)
{
    // The text leaves the editor only once the clipboard holds it.
    if (Clipboard::setText(selectedPlainText(box)))
        removeSelection(box);
}

void copy(RichTextBox& box)
{
    Clipboard::setText(selectedPlainText(box));
}

void paste(RichTextBox& box)
{
    const std::optional<QString> text = Clipboard::text();
    if (!text)
        return;
    QTextCursor c = box.textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    c.insertText(*text);
    c.endEditBlock();
    box.setTextCursor(c);
}

void deleteSelection(RichTextBox& box)
{
    removeSelection(box);
}

void selectAll(RichTextBox& box)
{
    box.select(0, box.text().size());
}

void resetTypingFont(RichTextBox& box)
{
    QTextCharFormat f;
    f.setFontFamilies({fonts::kSongTi});
    box.mergeCurrentCharFormat(f);
}

void connectCommands(const EditActions& actions, RichTextBox& box)
{
    const std::pair<QAction*, void (*)(RichTextBox&)> commands[] = {
        {actions.undo, &undo},
        {actions.cut, &cut},
        {actions.copy, &copy},
        {actions.paste, &paste},
        {actions.deleteSelection, &deleteSelection},
        {actions.selectAll, &selectAll},
    };
    for (const auto& [action, command] : commands)
        QObject::connect(action, &QAction::triggered, &box, [&box, command] { command(box); });
}

void popUpOnRightClick(RichTextBox& box, QMenu& menu)
{
    QObject::connect(&box, &RichTextBox::rightButtonPressed, &menu,
                     [&menu](const QPoint& at) { menu.popup(at); });
}

} // namespace editor
