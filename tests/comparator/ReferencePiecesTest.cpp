#include "comparator/ReferencePieces.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using comparator::cutReference;

TEST(ReferencePieces, CutAfterSentencePunctuationAndLineBreaks)
{
    EXPECT_EQ(cutReference(QStringLiteral("甲乙，丙丁。戊己！庚辛？壬癸……子丑\r\n寅卯")),
              (QStringList{"甲乙，", "丙丁。", "戊己！", "庚辛？", "壬癸……", "子丑", "寅卯"}));
    // Half-width marks become full-width; a single ellipsis, semicolons, colons and the
    // ideographic comma do not cut.
    EXPECT_EQ(cutReference(QStringLiteral("a,b.c!d?e…f；g：h、i")),
              (QStringList{"a，", "b。", "c！", "d？", "e…f；g：h、i"}));
}

TEST(ReferencePieces, WhitespaceBeforeABreakOnePassPerPattern)
{
    // Four spaces: the two-space pass takes the last two, the one-space pass one more.
    EXPECT_EQ(cutReference(QStringLiteral("abcdef    \r\nx")), (QStringList{"abcdef ", "x"}));
    // Three ideographic spaces all go; four keep one.
    EXPECT_EQ(cutReference(QStringLiteral("abc\u3000\u3000\u3000\r\nx")), (QStringList{"abc", "x"}));
    EXPECT_EQ(cutReference(QStringLiteral("abc\u3000\u3000\u3000\u3000\r\nx")),
              (QStringList{"abc\u3000", "x"}));
    // Space then tab: the tab pass comes last and leaves the space; tab then space: both go.
    EXPECT_EQ(cutReference(QStringLiteral("abcdefg \t\r\nhijklmn")), (QStringList{"abcdefg ", "hijklmn"}));
    EXPECT_EQ(cutReference(QStringLiteral("abcdefg\t \r\nhijklmn")), (QStringList{"abcdefg", "hijklmn"}));
    // A space after a full stop: the break inserted after the stop comes before the space.
    EXPECT_EQ(cutReference(QStringLiteral("abc。 def")), (QStringList{"abc。", " def"}));
}

TEST(ReferencePieces, BlankPartsDropTabsStay)
{
    // The ideographic-space pass leaves "\u3000 " before the break, made only of spaces; a lone tab
    // before a break is removed by the tab pass, one of two stays.
    EXPECT_EQ(cutReference(QStringLiteral("\r\n \r\n\u3000 \u3000\r\n\t\r\n，，")),
              (QStringList{"，", "，"}));
    EXPECT_EQ(cutReference(QStringLiteral("\t\t\r\nabc")), (QStringList{"\t", "abc"}));
    EXPECT_TRUE(cutReference(QString()).isEmpty());
    EXPECT_EQ(cutReference(QStringLiteral("\t\t")), QStringList{"\t\t"});
    // Inner spaces and indentation stay; duplicates stay in text order.
    EXPECT_EQ(cutReference(QStringLiteral("\u3000\u3000a b，a b，")),
              (QStringList{"\u3000\u3000a b，", "a b，"}));
}

} // namespace
