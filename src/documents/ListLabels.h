#pragma once

#include <QString>
#include <QStringView>

// Numbers and bullets of list items as a word processor's text export writes them.
namespace listlabels {

enum class Format {
    Decimal,      // 1, 2, 3
    DecimalZero,  // 01, 02 … 10
    LowerLetter,  // a … z, aa …
    UpperLetter,  // A … Z, AA …
    LowerRoman,   // i, ii, iii
    UpperRoman,   // I, II, III
    Chinese,      // 一, 二 … 十一 (Chinese counting)
    CircledDigit, // ① … ⑳, beyond that decimal
    None,         // no number
};

// The format a WordprocessingML w:numFmt value names; unknown formats count in decimal.
Format fromWordFormat(QStringView numFmt);
// The format an OpenDocument style:num-format value names ("1", "a", "A", "i", "I", "", …).
Format fromOdfFormat(QStringView numFormat);

// The label of value (a counter, computed in 64 bits so that no start value from a file overflows).
QString number(qint64 value, Format format);

// The character that stands for a bullet drawn from a symbol font's private area (U+F0xx), or from a
// plain "o" or "§" that Word sets in a symbol font: the Unicode bullet LibreOffice puts in its place.
QString bullet(QStringView written);

// The indent that the text export puts before a list item of the given level (0 the outermost).
QString indent(int level);

} // namespace listlabels
