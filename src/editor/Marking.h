#pragma once

#include <QColor>
#include <QString>

#include <functional>

class RichTextBox;

namespace editor {

// Occurrences coloured between two yields: Qt lays the text out again after each edit block, about a
// millisecond a time, so that one block per occurrence would cost seconds for a piece found thousands
// of times; 256 of them take a few milliseconds.
inline constexpr int kMarkBatch = 256;

// Colours every occurrence of piece in the editor and selects the last one. The text and its offset
// map are read once; after each batch of occurrences goOn runs (it lets the window breathe) and says
// whether the marking may go on. Returns false when goOn stopped it or the editor went meanwhile; an
// edit made meanwhile moves the occurrences, so the marking ends there and returns true.
bool markOccurrences(RichTextBox& box, const QString& piece, const QColor& colour,
                     const std::function<bool()>& goOn, int batch = kMarkBatch);

} // namespace editor
