#pragma once

#include "documents/TextParts.h"

#include <QString>

#include <optional>

namespace documents {
class ExpansionBudget;
class ZipArchive;
} // namespace documents

// Word 2007 and later documents (.docx, WordprocessingML transitional).
namespace docx {

// The document's plain text much as LibreOffice's text export gives it, paragraphs joined by '\n':
// table cells one paragraph a line in reading order, list items after their indent and label, the
// results of fields but not their instructions, tracked insertions but not deletions (a deleted
// paragraph mark joins its paragraph to the next), a note's number in brackets ("[1]") in place of the
// note, the paragraphs of a text box after the paragraph it is anchored in, an embedded document's
// (w:altChunk) where it stands; no hidden text (also hidden by a paragraph style), comments, headers,
// footers, ruby readings or equations. The notes' text follows the body.
// Nothing when the container holds no transitional main document (strict documents, other ZIP files)
// or its XML is broken: such a file is left to LibreOffice. Nothing either once what it produces
// (notes and text boxes included) exceeds budget: the caller refuses the file (so also when the
// archive meets an entry over its limit).
std::optional<QString> read(const documents::ZipArchive& archive, documents::ExpansionBudget& budget);

// The same text with the body and the notes apart.
std::optional<documents::TextParts> readParts(const documents::ZipArchive& archive,
                                              documents::ExpansionBudget& budget,
                                              const documents::TextOptions& options = {});

} // namespace docx
