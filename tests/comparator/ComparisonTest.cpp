#include "support/Comparison.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

using comparator::Counts;
using comparator::Mark;

QString summary(qsizetype n, qint64 repeats, qint64 pieces, qint64 chars, qint64 share, qint64 similarity)
{
    return QStringLiteral("你的文章一共 %1 字，重复 %2 段， %3 句， %4 字\r\n"
                          "        重复部分占你的文章的： %5 %\r\n"
                          "        与参考文章的相似度为： %6 %")
        .arg(n)
        .arg(repeats)
        .arg(pieces)
        .arg(chars)
        .arg(share)
        .arg(similarity);
}

struct RunInput
{
    QString reference;
    bool cumulative = false;
};

// Runs of one comparator session, from totals at zero; the expectations describe the last run and
// which characters of the article are red after all of them ('^' red, '.' black).
struct Row
{
    const char* name;
    QString article;
    std::vector<RunInput> runs;
    QList<Mark> marks;
    Counts counts;
    QString summary;
    QString red;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

QString mask(const QString& article, const std::vector<bool>& red)
{
    QString out;
    for (qsizetype i = 0; i < article.size(); ++i)
        out += red[i] ? u'^' : u'.';
    return out;
}

using ComparisonTable = ::testing::TestWithParam<Row>;

TEST_P(ComparisonTable, MarksCountsAndSummary)
{
    const Row& row = GetParam();
    Counts totals;
    std::vector<bool> red(row.article.size(), false);
    comparator::Comparison last;
    for (const RunInput& run : row.runs) {
        last = comparator::compare(row.article, run.reference, run.cumulative, totals);
        EXPECT_EQ(last.clearsOldMarks, !run.cumulative);
        if (last.clearsOldMarks)
            std::fill(red.begin(), red.end(), false);
        for (const Mark& m : last.marks) {
            ASSERT_LE(m.start + m.length, row.article.size());
            for (qsizetype i = m.start; i < m.start + m.length; ++i)
                red[i] = true;
        }
    }
    EXPECT_EQ(last.marks, row.marks);
    EXPECT_EQ(last.counts, row.counts);
    EXPECT_EQ(last.summary, row.summary);
    EXPECT_EQ(mask(row.article, red), row.red);
}

// ， and 。 below are the full-width comma and full stop.
const Row kRows[] = {
    Row("PieceTwiceInReferenceMarksOnePlaceTwice", "xxabcdef，yy", {{"abcdef，abcdef，"}}, {{2, 7}, {2, 7}},
        {0, 2, 14}, summary(11, 0, 2, 14, 127, 100), "..^^^^^^^.."),
    Row("OccurrencesDoNotOverlap", "aaaaaaaaaaaaa", {{"aaaaaa"}}, {{0, 6}, {6, 6}}, {1, 1, 6},
        summary(13, 1, 1, 6, 46, 100), "^^^^^^^^^^^^."),
    Row("FiveCharactersAreNotSearchedSixAre", "abcd，abcde，", {{"abcd，abcde，"}}, {{5, 6}}, {0, 1, 6},
        summary(11, 0, 1, 6, 55, 55), ".....^^^^^^"),
    Row("FullWidthArticleMatchesHalfWidthReference", "abcdef，ghijkl。", {{"abcdef,ghijkl."}},
        {{0, 7}, {7, 7}}, {0, 2, 14}, summary(14, 0, 2, 14, 100, 100), "^^^^^^^^^^^^^^"),
    Row("IndentedArticleMatchesIndentedPiece", "\u3000\u3000abcdef。xyz", {{"\u3000\u3000abcdef。"}},
        {{0, 9}}, {0, 1, 9}, summary(12, 0, 1, 9, 75, 100), "^^^^^^^^^..."),
    Row("LineBreaksCountTwiceInTheArticleLength", "第一行没有\r\n第二行的文字。", {{"第二行的文字。"}},
        {{7, 7}}, {0, 1, 7}, summary(14, 0, 1, 7, 50, 100), ".......^^^^^^^"),
    Row("CumulativeTwiceDoublesCountsButNotSimilarity", "abcdef-abcdef-abcdef",
        {{"abcdef", true}, {"abcdef", true}}, {{0, 6}, {7, 6}, {14, 6}}, {2, 1, 6},
        summary(20, 4, 2, 12, 60, 100), "^^^^^^.^^^^^^.^^^^^^"),
    Row("CumulativeAfterFreshShowsTheTotalsOfBoth", "一二三四五六，七八九十百千。",
        {{"一二三四五六，"}, {"七八九十百千。", true}}, {{7, 7}}, {0, 1, 7}, summary(14, 0, 2, 14, 100, 100),
        "^^^^^^^^^^^^^^"),
    Row("FreshRunClearsOldMarksEvenWhenItFindsNothing", "一二三四五六，七八九十百千。",
        {{"一二三四五六，"}, {"完全不同的句子。"}}, {}, {0, 0, 0}, summary(14, 0, 0, 0, 0, 0),
        ".............."),
    Row("FreshRunKeepsOnlyItsOwnMarks", "一二三四五六，七八九十百千。",
        {{"一二三四五六，"}, {"七八九十百千。"}}, {{7, 7}}, {0, 1, 7}, summary(14, 0, 1, 7, 50, 100),
        ".......^^^^^^^"),
    Row("CaseSensitive", "ABCDEFG abcdefg", {{"abcdefg"}}, {{8, 7}}, {0, 1, 7}, summary(15, 0, 1, 7, 47, 100),
        "........^^^^^^^"),
};

INSTANTIATE_TEST_SUITE_P(EdgeCases, ComparisonTable, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
