#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Which reader a chosen file goes to.
namespace documents {

// Larger files are refused rather than read: no thesis comes near it.
inline constexpr qint64 kMaxFileBytes = 50LL * 1024 * 1024;

// Where a PDF's header may stand.
inline constexpr qsizetype kPdfHeaderWindow = 1024;

enum class Kind {
    RichText,      // starts with "{\rtf"
    WordProcessor, // a word processor's own format: ZIP (.docx, .odt) or OLE2 (.doc, .wps) container
    Pdf,           // "%PDF-" within its first kPdfHeaderWindow bytes
    Text,          // anything else
};

// The open dialog's test: the name's last three characters are exactly "doc", "DOC" or "Doc".
bool isWordDocumentName(const QString& fileName);

// The content decides, except that a Word document name sends the file to the word processor.
Kind kindOf(const QString& fileName, const QByteArray& content);

// Whether content is a word processor's own file (ZIP or OLE2 container) or a PDF: a document whose
// layout, pictures and tables an RTF save cannot keep.
bool isFormattedDocument(const QByteArray& content);

// The name a save proposes for a document last opened or saved as path: the same name with the
// extension .rtf, since a save always writes rich text. Empty for an empty path.
QString richTextFileName(const QString& path);

// The plain text in what the word processor printed (UTF-8 with a byte-order mark, a line feed after
// each paragraph and one more at the end), paragraphs joined by '\n'. Nothing when it printed no document: no
// byte-order mark, or bytes that are not text.
std::optional<QString> wordProcessorText(const QByteArray& output);

} // namespace documents
