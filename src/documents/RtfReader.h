#pragma once

#include "documents/RichText.h"

#include <QByteArray>

#include <optional>

// Reads rich text as Word, WordPad and LibreOffice write it: paragraphs, line breaks, tabs, the font
// and colour tables, sizes, bold, italic and underline. Bytes (\'hh and 8-bit text) are decoded in the
// code page of the current font, else of the document (\ansicpg); \uN with \ucN fallbacks; pictures,
// objects and \* destinations are skipped. Any input is safe: memory grows at most linearly with it
// and the time is linear.
namespace rtf {

// Nothing when data does not start with "{\rtf".
std::optional<richtext::Document> read(const QByteArray& data);

} // namespace rtf
