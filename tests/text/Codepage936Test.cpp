#include "text/Codepage936.h"
#include "support/IcuWidth.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct BytesRow
{
    char16_t unit;
    QByteArray bytes;
};

void PrintTo(const BytesRow& row, std::ostream* os)
{
    *os << "U+" << std::hex << static_cast<int>(row.unit);
}

using Gbk = ::testing::TestWithParam<BytesRow>;

// Counting over whole texts is the article's character count (tests/analysis).
TEST_P(Gbk, Bytes)
{
    EXPECT_EQ(text::cp936Bytes(GetParam().unit), GetParam().bytes);
    EXPECT_EQ(text::isDoubleByte(GetParam().unit), GetParam().bytes.size() == 2);
}

INSTANTIATE_TEST_SUITE_P(
    Codepage936, Gbk,
    ::testing::Values(BytesRow{u'中', QByteArray("\xD6\xD0")}, BytesRow{u'！', QByteArray("\xA3\xA1")},
                      BytesRow{u'…', QByteArray("\xA1\xAD")}, BytesRow{u'\u3000', QByteArray("\xA1\xA1")},
                      BytesRow{u'€', QByteArray("\x80")}, BytesRow{u'é', QByteArray("\xA8\xA6")},
                      BytesRow{u'\uE003', QByteArray("\xAA\xA4")}, BytesRow{u'A', QByteArray("A")},
                      BytesRow{u'\0', QByteArray(1, '\0')}, BytesRow{u'\u30FB', QByteArray()},
                      BytesRow{u'\xD83D', QByteArray()}));

TEST(Codepage936, FullwidthToHalfwidth)
{
    EXPECT_EQ(text::fullwidthToHalfwidth(QStringLiteral("ＡＢｃ１２３！？")), QStringLiteral("ABc123!?"));
    EXPECT_EQ(text::fullwidthToHalfwidth(QStringLiteral("ア中文")), QStringLiteral("ｱ中文"));
    EXPECT_EQ(text::fullwidthToHalfwidth(QString()), QString());
}

// The table of changed characters must give what ICU's transliterator gives over whole texts.
TEST(Codepage936, WidthTableMatchesTheTransliterator)
{
    QString pool = QStringLiteral("中文ab1 ，。「」、・ガパｶ가ㄱ←■○￥＄\u3000");
    for (char16_t c = 0xFF01; c <= 0xFF5E; c += 7)
        pool.append(QChar(c));
    for (char16_t c = 0x30A1; c <= 0x30FA; c += 5)
        pool.append(QChar(c));
    std::mt19937 rng(42);
    for (int round = 0; round < 2000; ++round) {
        QString s;
        for (int k = 0; k < 30; ++k)
            s.append(pool.at(rng() % pool.size()));
        ASSERT_EQ(text::fullwidthToHalfwidth(s), icuwidth::fullwidthToHalfwidth(s)) << s.toStdString();
    }
}

} // namespace
