#pragma once

#include "documents/Loading.h"
#include "documents/Saving.h"

#include <QColor>
#include <QString>

#include <optional>

class RichTextBox;

// The editor's own loading and saving of files.
namespace editor {

// Puts a read document into the editor, every character in colour when one is given, with the caret
// at the start and no undo step. Returns false and leaves the editor as it was for a failure.
bool show(RichTextBox& editor, const documents::Read& read, std::optional<QColor> colour = std::nullopt);

// Writes the editor's whole content as rich text, whatever the name's extension. An existing file is
// replaced only once the new one is completely written; on failure it stays as it was, and false comes
// back with why (when asked).
bool saveFile(const RichTextBox& editor, const QString& path, documents::SaveError* why = nullptr);

} // namespace editor
