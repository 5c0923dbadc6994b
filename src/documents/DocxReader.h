#pragma once

#include <QString>

#include <optional>

namespace documents {
class ExpansionBudget;
class ZipArchive;
}

// Word 2007 and later documents (.docx, WordprocessingML transitional).
namespace docx {

// The document's plain text as LibreOffice's text export gives it, paragraphs joined by '\n': table
// cells one paragraph a line in reading order, list items after their indent and label, the results
// of fields but not their instructions, tracked insertions but not deletions, a footnote's number
// in place of the note; no hidden text, comments, headers, footers or text boxes. Nothing when the
// container holds no transitional main document (strict documents, other ZIP files) or its XML is
// broken: such a file is left to LibreOffice. Nothing either once what it produces exceeds budget:
// the caller refuses the file (so also when the archive meets an entry over its limit).
std::optional<QString> read(const documents::ZipArchive& archive, documents::ExpansionBudget& budget);

} // namespace docx
