#include "editor/TextOffsets.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(TextOffsets, RawTextBreaksBecomeCrLf)
{
    EXPECT_EQ(editor::crlfTextFromRaw(QStringLiteral("ab\u2029cd\u2028e")), QStringLiteral("ab\r\ncd\r\ne"));
    EXPECT_EQ(editor::crlfTextFromRaw(QStringLiteral("a\u00A0b")), QStringLiteral("a\u00A0b"));
}

TEST(TextOffsets, MapsAcrossBreaks)
{
    // text:     a b CR LF c CR LF CR LF d
    // offsets:  0 1 2  3  4 5  6  7  8  9
    // document: a b ¶ c ¶ ¶ d -> 0 1 2 3 4 5 6
    const editor::OffsetMap map(QStringLiteral("ab\r\nc\r\n\r\nd"));
    EXPECT_EQ(map.toDocument(0), 0);
    EXPECT_EQ(map.toDocument(2), 2);
    EXPECT_EQ(map.toDocument(4), 3);
    EXPECT_EQ(map.toDocument(3), 3); // between CR and LF: after the break
    EXPECT_EQ(map.toDocument(9), 6);
    EXPECT_EQ(map.toDocument(10), 7);
    for (int pos : {0, 1, 2, 3, 4, 5, 6, 7})
        EXPECT_EQ(map.toDocument(map.toText(pos)), pos) << pos;
    EXPECT_EQ(map.toText(3), 4);
    EXPECT_EQ(map.toText(6), 9);
}

TEST(TextOffsets, LoneCarriageReturnIsAnOrdinaryCharacter)
{
    const editor::OffsetMap map(QStringLiteral("a\rb\r\nc"));
    EXPECT_EQ(map.toDocument(3), 3);
    EXPECT_EQ(map.toDocument(5), 4);
}
