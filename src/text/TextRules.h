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

// How many characters at the end of line the passes that strip white space before a line break take
// off: one pass per pattern in this order, two spaces, one space, two ideographic spaces, one
// ideographic space, one tab, each pass taking at most what its pattern matches. So at most three
// spaces, then at most three ideographic spaces, then one tab; four ideographic spaces keep one.
qsizetype whitespaceBeforeBreak(QStringView line);

// Rounds to two decimal places, an exact half going to the even neighbour (0.125 -> 0.12).
double round2(double x);

// General number form: at most 15 significant digits, a point, no grouping, no trailing zeros.
QString generalNumber(double x);

} // namespace text
