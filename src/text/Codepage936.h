#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Code page 936 (GBK), the ANSI code page of Chinese Windows, and the width forms of East Asian text.
// All functions work on single UTF-16 code units: a lone surrogate, as every character outside the
// Basic Multilingual Plane, is not encodable in code page 936.
namespace text {

// GBK bytes of a code unit: one byte (ASCII, 0x80), two bytes (lead byte first), or empty when the
// code page cannot encode it.
QByteArray cp936Bytes(char16_t unit);

// Text from GBK bytes; a byte sequence the code page does not define becomes U+FFFD.
QString fromCp936(const QByteArray& bytes);

// True when code page 936 encodes the unit in two bytes (Chinese characters, full-width forms, U+3000).
bool isDoubleByte(char16_t unit);

// Number of code units of text that code page 936 encodes in two bytes.
qsizetype countDoubleByte(const QString& text);

// The code units of text that code page 936 encodes in two bytes, in order, except skip.
QString keepDoubleByte(QStringView text, char16_t skip);

// Full-width Latin letters, digits and punctuation to ASCII, full-width katakana to half-width.
QString fullwidthToHalfwidth(const QString& text);

} // namespace text
