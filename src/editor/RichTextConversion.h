#pragma once

#include "documents/RichText.h"

#include <QStringView>

class QColor;
class QString;
class QTextDocument;
class QTextEdit;

// Between the rich text that files hold and the editor's QTextDocument.
namespace editor {

// Every fragment as a run, with the document's default font and size where the fragment names none.
richtext::Document toRichText(const QTextDocument& document);

// Replaces the document's content without an undo step; runs without a font name take the
// document's default font.
void setRichText(QTextDocument& document, const richtext::Document& content);

// The same for an editor's whole content, faster: the editor is given a new document with the old
// one's default font and options; Qt deletes the old one when the editor owned it.
void setRichText(QTextEdit& editor, const richtext::Document& content);

// The same for plain text (paragraphs joined by '\n'), every character in colour.
void setPlainText(QTextEdit& editor, const QString& text, const QColor& colour);

// Makes the editor wrap lines anywhere when the text it is about to get has a stretch too long for
// word wrapping (see wrapsAnywhere), at word boundaries otherwise. Called before the text goes in, so
// that it is laid out once, the cheap way.
void fitWrapMode(QTextEdit& editor, QStringView text);

} // namespace editor
