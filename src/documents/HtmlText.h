#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Documents that Word embeds in another as they are (w:altChunk): web pages and web archives.
namespace documents {

// The text of an HTML page: one paragraph per block (paragraph, heading, list item, table cell, line
// break), white space collapsed, character references decoded, no scripts or styles; paragraphs
// joined by '\n'.
QString htmlText(const QString& html);

// The HTML page inside a web archive (MIME HTML, .mht), its transfer encoding undone; nothing for
// what is no web archive.
std::optional<QByteArray> webArchivePage(const QByteArray& bytes);

} // namespace documents
