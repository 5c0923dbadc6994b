#pragma once

#include "documents/RichText.h"

#include <QByteArray>

// Writes rich text that Word, WordPad and LibreOffice read: \ansi\ansicpg936, a font table
// (\fcharset134, names in GBK), a colour table, and every character outside ASCII as \uN followed by
// its GBK bytes as \'hh for readers without Unicode ("?" where GBK has no bytes for it).
namespace rtf {

QByteArray write(const richtext::Document& document);

} // namespace rtf
