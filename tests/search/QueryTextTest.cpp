#include "search/QueryText.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

struct Row
{
    const char* name;
    QString sentence;
    QString query;
    bool blank;
};

using QueryTable = ::testing::TestWithParam<Row>;

TEST_P(QueryTable, Cleans)
{
    const QString q = search::queryText(GetParam().sentence);
    EXPECT_EQ(q, GetParam().query);
    EXPECT_EQ(search::isBlankQuery(q), GetParam().blank);
}

INSTANTIATE_TEST_SUITE_P(
    Query, QueryTable,
    ::testing::Values(
        Row{"QuotedSentence", QStringLiteral("“你好，世界。”"), QStringLiteral(" 你好 世界  "), false},
        Row{"HalfWidthComma", QStringLiteral("Hello, world"), QStringLiteral("Hello world"), false},
        Row{"OnlyParentheses", QStringLiteral("（）"), QStringLiteral(" "), true},
        Row{"OnlyEllipsis", QStringLiteral("……"), QStringLiteral(" "), true},
        Row{"OnlyFullStop", QStringLiteral("。"), QStringLiteral(" "), true},
        Row{"QuotesAndStopGiveTwoSpaces", QStringLiteral("“”。"), QStringLiteral("  "), false},
        Row{"TrimmedFirst", QStringLiteral("\u3000\u3000 正文 "), QStringLiteral("正文"), false},
        Row{"ThreeSpacesBecomeTwo", QStringLiteral("a   b"), QStringLiteral("a  b"), false},
        Row{"FourSpacesBecomeTwo", QStringLiteral("a    b"), QStringLiteral("a  b"), false},
        Row{"OtherPunctuationStays", QStringLiteral("甲；乙？丙!丁…"), QStringLiteral("甲；乙？丙!丁…"),
            false},
        Row{"BracketsAndColon", QStringLiteral("《书》【注】：文"), QStringLiteral(" 书 注 文"), false},
        Row{"AsciiQuoteAndExclamation", QStringLiteral("\"好！\""), QStringLiteral(" 好  "), false},
        Row{"Empty", QString(), QString(), true},
        Row{"PrivateUseCharacter", QStringLiteral("\uE003"), QStringLiteral("\uE003"), true}));

} // namespace
