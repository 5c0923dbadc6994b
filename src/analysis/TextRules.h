#pragma once

#include <QString>

// Small rules of text and number handling that every part of the program shares.
namespace text {

inline constexpr char16_t kIdeographicSpace = u'\u3000';
inline const QString kCrLf = QStringLiteral("\r\n");

// Removes leading and trailing spaces (U+0020) and ideographic spaces (U+3000), nothing else.
QString trimSpaces(const QString& s);

// True when s holds a character other than U+0020 and U+3000.
bool hasNonSpace(QStringView s);

// Rounds to two decimal places, an exact half going to the even neighbour (0.125 -> 0.12).
double round2(double x);

// General number form: at most 15 significant digits, a point, no grouping, no trailing zeros.
QString generalNumber(double x);

} // namespace text
