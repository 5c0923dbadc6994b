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

const RichTextBox::Snapshot& RichTextBox::snapshot() const
{
    const QTextDocument* doc = document();
    if (m_snapshot && m_snapshot->document == doc && m_snapshot->characterCount == doc->characterCount())
        return *m_snapshot;
    if (!m_snapshot || m_snapshot->document != doc) {
        // A document given to the editor later (a file opened) is watched from its first reading.
        connect(doc, &QTextDocument::contentsChange, this, &RichTextBox::contentsChanged,
                Qt::UniqueConnection);
    }
    ++m_textVersion;
    QString text = editor::crlfTextFromRaw(doc->toRawText());
    editor::OffsetMap map(text);
    m_snapshot = Snapshot{doc, doc->characterCount(), std::move(text), std::move(map)};
    return *m_snapshot;
}

void RichTextBox::contentsChanged(int position, int removed, int added)
{
    if (!m_snapshot || sender() != m_snapshot->document)
        return;
    if (removed == added) {
        // Colouring reports its range as removed and added again: the text there is unchanged.
        const int last = document()->characterCount() - 1;
        QTextCursor c(document());
        c.setPosition(std::clamp(position, 0, last));
        c.setPosition(std::clamp(position + added, 0, last), QTextCursor::KeepAnchor);
        const qsizetype from = m_snapshot->map.toText(c.selectionStart());
        const qsizetype to = m_snapshot->map.toText(c.selectionEnd());
        if (editor::crlfTextFromRaw(c.selectedText()) == QStringView(m_snapshot->text).mid(from, to - from))
            return;
    }
    m_snapshot.reset();
    ++m_textVersion;
}

QString RichTextBox::text() const
{
    return snapshot().text;
}

QTextCursor RichTextBox::cursorOver(qsizetype start, qsizetype length) const
{
    const editor::OffsetMap& map = snapshot().map;
    QTextCursor c(document());
    const int last = document()->characterCount() - 1;
    c.setPosition(std::clamp(map.toDocument(start), 0, last));
    c.setPosition(std::clamp(map.toDocument(start + length), 0, last), QTextCursor::KeepAnchor);
    return c;
}

void RichTextBox::select(qsizetype start, qsizetype length)
{
    setTextCursor(cursorOver(start, length));
}

void RichTextBox::colourText(qsizetype start, qsizetype length, const QColor& color)
{
    QTextCharFormat f;
    f.setForeground(color);
    mergeFormat(start, length, f);
}

void RichTextBox::mergeFormat(qsizetype start, qsizetype length, const QTextCharFormat& format)
{
    cursorOver(start, length).mergeCharFormat(format);
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
