#pragma once

#include "documents/TextParts.h"

#include <QString>

#include <optional>

namespace documents {
class ExpansionBudget;
class ZipArchive;
} // namespace documents

// OpenDocument text documents (.odt).
namespace odt {

// The document's plain text much as LibreOffice's text export gives it, paragraphs joined by '\n':
// table cells one paragraph a line in reading order, list items after their indent and label, the
// shown values of fields, tracked insertions but not deletions, a note's citation in brackets ("[1]")
// in place of the note, the paragraphs of a text box or a shape after the paragraph it is anchored
// in; no hidden text, annotations, headers, footers or ruby readings. The notes' text follows the body.
// Nothing when the container holds no readable content.xml: such a file is left to LibreOffice. Nothing
// either once what it produces (notes and text boxes included) exceeds budget: the caller refuses the file
// (so also when the archive meets an entry over its limit).
std::optional<QString> read(const documents::ZipArchive& archive, documents::ExpansionBudget& budget);

// The same text with the body and the notes apart.
std::optional<documents::TextParts> readParts(const documents::ZipArchive& archive,
                                              documents::ExpansionBudget& budget,
                                              const documents::TextOptions& options = {});

// Whether the package's manifest says its content is encrypted with a password.
bool isEncrypted(const documents::ZipArchive& archive);

} // namespace odt
