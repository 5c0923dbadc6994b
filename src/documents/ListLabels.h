#pragma once

#include <QString>
#include <QStringView>

// Numbers and bullets of list items as a word processor's text export writes them.
namespace documents::listlabels {

enum class Format {
    Decimal,          // 1, 2, 3
    DecimalZero,      // 01, 02 … 10
    LowerLetter,      // a … z, aa …
    UpperLetter,      // A … Z, AA …
    LowerRoman,       // i, ii, iii
    UpperRoman,       // I, II, III
    Chinese,          // 一, 二 … 十一, 一百零一 (Chinese counting)
    HeavenlyStem,     // 甲, 乙 … 癸, then 甲甲, 甲乙 …
    WordHeavenlyStem, // 甲, 乙 … 癸, then 11, 12 … (as Word goes on)
    EarthlyBranch,    // 子, 丑 … 亥, then 子子, 子丑 …
    CircledDigit,     // ① … ⑳, beyond that decimal
    None,             // no number
};

// The format a WordprocessingML w:numFmt value names; unknown formats count in decimal.
Format fromWordFormat(QStringView numFmt);
// The format an OpenDocument style:num-format value names ("1", "a", "A", "i", "I", "", …).
Format fromOdfFormat(QStringView numFormat);

// The label of value (a counter, computed in 64 bits so that no start value from a file overflows).
QString number(qint64 value, Format format);

// The bullet the text export writes for a bulleted item of the given level (0 the outermost),
// whatever character the document draws: •, ◦, ▪, then again •.
QString bullet(int level);

// The indent that the text export puts before a list item of the given level (0 the outermost).
QString indent(int level);

} // namespace documents::listlabels
