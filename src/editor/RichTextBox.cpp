#include "editor/RichTextBox.h"

#include "editor/TextOffsets.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextCursor>

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
}

QString RichTextBox::text() const
{
    return editor::crlfTextFromRaw(document()->toRawText());
}

void RichTextBox::select(qsizetype start, qsizetype length)
{
    const editor::OffsetMap map(text());
    QTextCursor c(document());
    const int last = document()->characterCount() - 1;
    c.setPosition(std::clamp(map.toDocument(start), 0, last));
    c.setPosition(std::clamp(map.toDocument(start + length), 0, last), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

qsizetype RichTextBox::selectionStart() const
{
    return editor::OffsetMap(text()).toText(textCursor().selectionStart());
}

qsizetype RichTextBox::selectionLength() const
{
    const editor::OffsetMap map(text());
    const QTextCursor c = textCursor();
    return map.toText(c.selectionEnd()) - map.toText(c.selectionStart());
}

void RichTextBox::setSelectionColor(const QColor& color)
{
    QTextCharFormat f;
    f.setForeground(color);
    mergeCurrentCharFormat(f);
}

void RichTextBox::moveCaretToStart()
{
    QTextCursor c(document());
    c.setPosition(0);
    setTextCursor(c);
}

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::RightButton) {
        emit rightButtonPressed(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTextEdit::mousePressEvent(event);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The window decides which menu, if any, a right click shows.
    event->accept();
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event)
{
    QTextEdit::keyReleaseEvent(event);
    emit keyReleased(event->key());
}
