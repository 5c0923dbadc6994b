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

// How the readers show where the body refers to a note: as "[1]", apart from the text around it, or
// as the document shows it (LibreOffice's text export: a plain number glued to the text).
enum class NoteReferences {
    Marked,
    AsShown,
};

struct TextOptions
{
    TextBoxes boxes = TextBoxes::Read;
    NoteReferences references = NoteReferences::Marked;
};

} // namespace documents
