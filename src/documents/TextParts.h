#pragma once

#include <QString>

namespace documents {

// A document's text as the native readers give it: its body, then the text of its notes (each note a
// paragraph that begins with its number as the document shows it), paragraphs joined by '\n'.
struct TextParts
{
    QString body;
    QString notes;

    QString joined() const { return notes.isEmpty() ? body : body + u'\n' + notes; }
};

// Whether the readers give the text of text boxes. LibreOffice's text export leaves out most of them,
// so comparisons with it read the document both ways.
enum class TextBoxes {
    Read,
    LeftOut,
};

} // namespace documents
