#include "editor/Marking.h"

#include "editor/RichTextBox.h"

#include <QPointer>
#include <QTextCursor>

namespace editor {

bool markOccurrences(RichTextBox& box, const QString& piece, const QColor& colour,
                     const std::function<bool()>& goOn, int batch)
{
    if (piece.isEmpty())
        return true;
    QPointer<RichTextBox> editor(&box);
    const QString text = box.text();
    const quint64 version = box.textVersion();
    qsizetype last = -1;
    int inBatch = 0;
    // Colours changed in one edit block are laid out again once, at its end.
    QTextCursor block(box.document());
    block.beginEditBlock();
    for (qsizetype pos = text.indexOf(piece); pos >= 0; pos = text.indexOf(piece, pos + piece.size())) {
        if (inBatch == batch) {
            block.endEditBlock();
            if (!goOn() || !editor)
                return false;
            if (editor->textVersion() != version)
                return true;
            block = QTextCursor(editor->document());
            block.beginEditBlock();
            inBatch = 0;
        }
        editor->colourText(pos, piece.size(), colour);
        last = pos;
        ++inBatch;
    }
    block.endEditBlock();
    if (last >= 0)
        editor->select(last, piece.size());
    return true;
}

} // namespace editor
