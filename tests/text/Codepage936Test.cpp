#include "platform/Codepage936.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

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

class Gbk : public ::testing::TestWithParam<BytesRow>
{
};

TEST_P(Gbk, Bytes)
{
    EXPECT_EQ(cp936::bytes(GetParam().unit), GetParam().bytes);
    EXPECT_EQ(cp936::isDoubleByte(GetParam().unit), GetParam().bytes.size() == 2);
}

INSTANTIATE_TEST_SUITE_P(
    Codepage936, Gbk,
    ::testing::Values(BytesRow{u'中', QByteArray("\xD6\xD0")}, BytesRow{u'！', QByteArray("\xA3\xA1")},
                      BytesRow{u'…', QByteArray("\xA1\xAD")}, BytesRow{u'\u3000', QByteArray("\xA1\xA1")},
                      BytesRow{u'€', QByteArray("\x80")}, BytesRow{u'é', QByteArray("\xA8\xA6")},
                      BytesRow{u'\uE003', QByteArray("\xAA\xA4")}, BytesRow{u'A', QByteArray("A")},
                      BytesRow{u'\0', QByteArray(1, '\0')}, BytesRow{u'\u30FB', QByteArray()},
                      BytesRow{u'\xD83D', QByteArray()}));

TEST(Codepage936, CountDoubleByte)
{
    EXPECT_EQ(cp936::countDoubleByte(QStringLiteral("中文abc！€\U0001F600")), 3);
    EXPECT_EQ(cp936::countDoubleByte(QString()), 0);
}

TEST(Codepage936, FullwidthToHalfwidth)
{
    EXPECT_EQ(cp936::fullwidthToHalfwidth(QStringLiteral("ＡＢｃ１２３！？")), QStringLiteral("ABc123!?"));
    EXPECT_EQ(cp936::fullwidthToHalfwidth(QStringLiteral("ア中文")), QStringLiteral("ｱ中文"));
    EXPECT_EQ(cp936::fullwidthToHalfwidth(QString()), QString());
}

} // namespace
