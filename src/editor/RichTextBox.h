#pragma once

#include <QColor>
#include <QTextEdit>

// A rich-text editor addressed as the program reads it: text with CR LF line breaks, selections by
// offsets into that text.
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // The whole text, line breaks as CR LF.
    QString text() const;
    // Selection by offsets into text(); the caret ends at start + length.
    void select(qsizetype start, qsizetype length);
    qsizetype selectionStart() const;
    qsizetype selectionLength() const;
    void setSelectionColor(const QColor& color);
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
};
