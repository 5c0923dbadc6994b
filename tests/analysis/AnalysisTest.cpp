#include "analysis/Analysis.h"
#include "support/LiteralNormalise.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Row
{
    const char* name;
    QString input;
    QStringList sentences;
    qsizetype charCount;
};

QString repeat(const QString& unit, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += unit;
    return s;
}

using rows::PrintTo;

using AnalysisTable = ::testing::TestWithParam<Row>;

TEST_P(AnalysisTable, CutsAndCounts)
{
    const Row& row = GetParam();
    const analysis::Result r = analysis::analyse(row.input);
    EXPECT_EQ(r.sentences, row.sentences);
    EXPECT_EQ(r.charCount, row.charCount);
}

const QString k38 = repeat(QStringLiteral("文"), 38);

INSTANTIATE_TEST_SUITE_P(
    Analysis, AnalysisTable,
    ::testing::Values(
        Row{"Empty", QString(), {}, 0},
        Row{"OnlySpacesAndBreaks", QStringLiteral("  \r\n\u3000\u3000\r\n \u3000 \r\n"), {}, 0},
        Row{"HelloWorld", QStringLiteral("Hello world!"), {QStringLiteral("Helloworld！")}, 1},
        Row{"Exactly38", k38, {k38}, 38},
        Row{"ThirtyNine", k38 + QStringLiteral("尾"), {k38, QStringLiteral("尾")}, 39},
        Row{"SeventySixHasNoEmptyThird", k38 + k38, {k38, k38}, 76},
        Row{"MarksDoNotEndSentences",
            QStringLiteral("你好。世界！再见？"),
            {QStringLiteral("你好。世界！再见？")},
            9},
        Row{"HalfWidthMarksBecomeFullWidth", QStringLiteral("a!b?c"), {QStringLiteral("a！b？c")}, 2},
        Row{"TwoLinesJoin", QStringLiteral("甲\r\n乙"), {QStringLiteral("甲乙")}, 2},
        Row{"LineOfTabsStays", QStringLiteral("\t\t"), {QStringLiteral("\t\t")}, 0},
        Row{"InnerIdeographicSpaceStays",
            QStringLiteral("\u3000\u3000首行缩进"),
            {QStringLiteral("\u3000\u3000首行缩进")},
            6},
        Row{"TypedMarkerSplits",
            QStringLiteral("前文|@|后文"),
            {QStringLiteral("前文"), QStringLiteral("后文")},
            4},
        Row{"MarkerAcrossPieceBoundary",
            repeat(QStringLiteral("文"), 36) + QStringLiteral("|@|尾"),
            // 36 characters and "|@" fill the first piece, so the buffer reads ...|@|@||尾 and splits
            // at the first "|@|".
            {repeat(QStringLiteral("文"), 36), QStringLiteral("@||尾")},
            37},
        Row{"NotEncodableCharactersAreNotCounted",
            QStringLiteral("中€é\U0001F600\u30FB"),
            {QStringLiteral("中€é\U0001F600\u30FB")},
            2}));

TEST(Analysis, NormalisedTextKeepsTheTypedMarker)
{
    EXPECT_EQ(analysis::normalise(QStringLiteral("前文|@|后 文")), QStringLiteral("前文|@|后文"));
}

TEST(Analysis, ReportLine)
{
    EXPECT_EQ(analysis::reportLine(0, 0),
              QStringLiteral("本文共 0 字，本次分析共分析出 0 句，请多次点击进行对比！"));
    EXPECT_EQ(analysis::reportLine(123456, 5300),
              QStringLiteral("本文共 123456 字，本次分析共分析出 5300 句，请多次点击进行对比！"));
}

TEST(Analysis, ListEntryIsNumberedAndTrimmed)
{
    EXPECT_EQ(analysis::listEntry(0, QStringLiteral("\u3000\u3000开头 ")), QStringLiteral("1-开头"));
    EXPECT_EQ(analysis::listEntry(9, QStringLiteral("第十")), QStringLiteral("10-第十"));
}

// The one-pass normalisation must give what the literal replacements give, on text made of exactly
// the characters that the replacements care about.
TEST(Analysis, OnePassNormalisationMatchesTheLiteralReplacements)
{
    // Tokens, weighted towards the white space and breaks whose order of passes matters.
    const QStringList tokens{
        QStringLiteral("甲"),   QStringLiteral("a"),      QStringLiteral(" "),      QStringLiteral(" "),
        QStringLiteral(" "),    QStringLiteral("\u3000"), QStringLiteral("\u3000"), QStringLiteral("\t"),
        QStringLiteral("\r\n"), QStringLiteral("\r\n"),   QStringLiteral("\r"),     QStringLiteral("\n"),
        QStringLiteral("。"),   QStringLiteral("；"),     QStringLiteral("!"),      QStringLiteral("?"),
        QStringLiteral("？"),   QStringLiteral("！"),     QStringLiteral("…"),      QStringLiteral("|@")};
    std::mt19937 rng(2016);
    for (int round = 0; round < 50000; ++round) {
        QString input;
        const int len = static_cast<int>(rng() % 16);
        for (int k = 0; k < len; ++k)
            input.append(tokens.at(rng() % tokens.size()));
        ASSERT_EQ(analysis::normalise(input), oracle::literalNormalise(input))
            << "input: " << input.toUtf8().toPercentEncoding().toStdString();
    }
}

TEST(Analysis, CuttingMatchesTheLiteralBufferSplit)
{
    std::mt19937 rng(727);
    for (const QString alphabet : {QStringLiteral("甲乙a"), QStringLiteral("甲|@")}) {
        for (int round = 0; round < 3000; ++round) {
            QString input;
            const int len = static_cast<int>(rng() % 120);
            for (int k = 0; k < len; ++k)
                input.append(alphabet.at(rng() % alphabet.size()));
            ASSERT_EQ(analysis::cut(input), oracle::literalCut(input)) << input.toStdString();
        }
    }
}

} // namespace
