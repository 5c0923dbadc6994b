#pragma once

#include <QString>

class RichTextBox;

// The editor's own loading and saving of files.
namespace editor {

// Loads a file into the editor by its content: rich text through the RTF reader, word-processor
// containers (and any file whose name passes the Word-document test) through the word processor,
// anything else as a text file. Returns false and leaves the editor as it was when the file is
// missing, unreadable, larger than documents::kMaxFileBytes or not text.
bool loadFile(RichTextBox& editor, const QString& path);

// Writes the editor's whole content as rich text, whatever the name's extension. An existing file is
// replaced only once the new one is completely written; on failure it stays as it was.
bool saveFile(const RichTextBox& editor, const QString& path);

} // namespace editor
