#include "comparator/MarkingRun.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using comparator::Counts;
using comparator::Mark;
using comparator::MarkingRun;

// One step per piece and one per further occurrence: the window yields before each.
TEST(MarkingRun, StepsArePiecesPlusFurtherOccurrences)
{
    Counts totals;
    MarkingRun run({QStringLiteral("短"), QStringLiteral("abcdef"), QStringLiteral("不在文章里的句子")},
                   QStringLiteral("abcdefabcdef xabcdef"), totals);
    std::vector<std::optional<Mark>> steps;
    while (!run.finished())
        steps.push_back(run.step());
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0], std::nullopt);
    EXPECT_EQ(steps[1], (Mark{0, 6}));
    EXPECT_EQ(steps[2], (Mark{6, 6}));
    EXPECT_EQ(steps[3], (Mark{14, 6}));
    EXPECT_EQ(steps[4], std::nullopt);
    EXPECT_EQ(run.counts(), (Counts{2, 1, 6}));
    EXPECT_EQ(totals, run.counts());
}

TEST(MarkingRun, TotalsGrowStepByStep)
{
    Counts totals{5, 5, 50};
    MarkingRun run({QStringLiteral("abcdef")}, QStringLiteral("abcdefabcdef"), totals);
    run.step();
    EXPECT_EQ(totals, (Counts{5, 5, 56})); // found: its length counts at once
    run.step();
    EXPECT_EQ(totals, (Counts{6, 6, 56}));
    EXPECT_TRUE(run.finished());
}

TEST(MarkingRun, LaterSearchesSeeAnEditedArticle)
{
    Counts totals;
    MarkingRun run({QStringLiteral("abcdef"), QStringLiteral("ghijkl")}, QStringLiteral("abcdef"), totals);
    EXPECT_EQ(run.step(), (Mark{0, 6}));
    run.articleChanged(QStringLiteral("xxxabcdefghijkl"));
    EXPECT_EQ(run.step(), (Mark{9, 6}));
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(run.article(), QStringLiteral("xxxabcdefghijkl"));
}

TEST(MarkingRun, FurtherOccurrencesFollowAnEdit)
{
    Counts totals;
    MarkingRun run({QStringLiteral("abcdef")}, QStringLiteral("abcdef abcdef abcdef"), totals);
    EXPECT_EQ(run.step(), (Mark{0, 6}));
    // An occurrence inserted before the next one: the search goes on from the end of the last mark.
    run.articleChanged(QStringLiteral("abcdefabcdef abcdef abcdef"));
    EXPECT_EQ(run.step(), (Mark{6, 6}));
    // Every further occurrence deleted meanwhile: the piece ends without another mark.
    run.articleChanged(QStringLiteral("abcdefabcdef"));
    EXPECT_EQ(run.step(), std::nullopt);
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(run.counts(), (Counts{1, 1, 6}));
}

TEST(MarkingRun, EmptyArticleSearchesNothing)
{
    Counts totals;
    MarkingRun run({QStringLiteral("abcdef")}, QString(), totals);
    EXPECT_EQ(run.step(), std::nullopt);
    EXPECT_TRUE(run.finished());
    run.articleChanged(QStringLiteral("abcdef")); // after the end nothing more happens
    EXPECT_EQ(run.step(), std::nullopt);
    EXPECT_EQ(totals, Counts{});
}

} // namespace
