#pragma once

#include <QString>

#include <optional>

namespace documents {
class ExpansionBudget;
class ZipArchive;
}

// OpenDocument text documents (.odt).
namespace odt {

// The document's plain text as LibreOffice's text export gives it, paragraphs joined by '\n': table
// cells one paragraph a line in reading order, list items after their indent and label, the shown
// values of fields, tracked insertions but not deletions, a note's citation in place of the note; no
// hidden text, annotations, headers, footers or frames. Nothing when the container holds no readable
// content.xml: such a file is left to LibreOffice. Nothing either once what it produces exceeds
// budget: the caller refuses the file (so also when the archive meets an entry over its limit).
std::optional<QString> read(const documents::ZipArchive& archive, documents::ExpansionBudget& budget);

// Whether the package's manifest says its content is encrypted with a password.
bool isEncrypted(const documents::ZipArchive& archive);

} // namespace odt
