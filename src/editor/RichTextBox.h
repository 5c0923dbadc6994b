#pragma once

#include "editor/TextOffsets.h"

#include <QColor>
#include <QPointer>
#include <QTextEdit>

#include <optional>

// A rich-text editor addressed as the program reads it: text with CR LF line breaks, selections by
// offsets into that text.
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // The whole text, line breaks as CR LF. Kept with its offset map until the text changes, so that
    // reading it again (or selecting by offsets) costs nothing while only formats change.
    QString text() const;
    // Raised by every change of the text; a change of formats alone leaves it.
    quint64 textVersion() const { return m_textVersion; }
    // Selection by offsets into text(); the caret ends at start + length.
    void select(qsizetype start, qsizetype length);
    void setSelectionColor(const QColor& color);
    // Colours a range given by offsets into text(); the selection stays as it is.
    void colourText(qsizetype start, qsizetype length, const QColor& color);
    // Merges format into a range given by offsets into text(); the selection stays as it is.
    void mergeFormat(qsizetype start, qsizetype length, const QTextCharFormat& format);
    // Puts the caret at offset 0 with nothing selected.
    void moveCaretToStart();
    // Keeps the text clear of a bar laid over the editor's top edge; 0 gives the room back.
    void reserveTop(int pixels) { setViewportMargins(0, pixels, 0, 0); }

signals:
    // A mouse button went down with the right button among the pressed ones.
    void rightButtonPressed(const QPoint& globalPos);
    void keyReleased(int key);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A cursor selecting the range given by offsets into text().
    QTextCursor cursorOver(qsizetype start, qsizetype length) const;
    struct Snapshot
    {
        QPointer<const QTextDocument> document;
        int characterCount = 0;
        QString text;
        editor::OffsetMap map;
    };
    const Snapshot& snapshot() const;
    void contentsChanged(int position, int removed, int added);

    mutable std::optional<Snapshot> m_snapshot;
    mutable quint64 m_textVersion = 0;
};
