#pragma once

#include <QString>

class RichTextBox;

// The editor's own loading and saving of files.
namespace editor {

// Loads a file into the editor as documents::load reads it, word-processor documents through
// LibreOffice. Returns false and leaves the editor as it was when the file could not be read.
bool loadFile(RichTextBox& editor, const QString& path);

// Writes the editor's whole content as rich text, whatever the name's extension. An existing file is
// replaced only once the new one is completely written; on failure it stays as it was.
bool saveFile(const RichTextBox& editor, const QString& path);

} // namespace editor
