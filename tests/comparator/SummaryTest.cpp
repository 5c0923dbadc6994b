#include "comparator/Summary.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using comparator::roundedPercent;

TEST(Summary, PercentRoundsToTwoDecimalsHalfToEven)
{
    EXPECT_EQ(roundedPercent(2349, 10000), 23);
    EXPECT_EQ(roundedPercent(1, 3), 33);
    EXPECT_EQ(roundedPercent(2, 3), 67);
    EXPECT_EQ(roundedPercent(14, 11), 127);
    EXPECT_EQ(roundedPercent(1, 8), 12);    // 0.125
    EXPECT_EQ(roundedPercent(3, 8), 38);    // 0.375
    EXPECT_EQ(roundedPercent(5, 8), 62);    // 0.625
    EXPECT_EQ(roundedPercent(7, 8), 88);    // 0.875
    EXPECT_EQ(roundedPercent(29, 100), 29); // 0.29 * 100 is 28.999999999999996
    EXPECT_EQ(roundedPercent(57, 100), 57);
    EXPECT_EQ(roundedPercent(0, 5), 0);
    EXPECT_EQ(roundedPercent(5, 0), 0);
    EXPECT_EQ(roundedPercent(3'000'000'000LL, 1000), 300'000'000);
}

TEST(Summary, CaptionHasThreeLinesWithItsSpacing)
{
    const comparator::Counts run{1, 2, 30};
    const comparator::Counts totals{10, 20, 300};
    EXPECT_EQ(comparator::summaryText(120, 90, run, totals, false),
              QStringLiteral("你的文章一共 120 字，重复 1 段， 2 句， 30 字\r\n"
                             "        重复部分占你的文章的： 25 %\r\n"
                             "        与参考文章的相似度为： 33 %"));
    // Cumulative: counts and share from the totals, similarity still from this run.
    EXPECT_EQ(comparator::summaryText(120, 90, run, totals, true),
              QStringLiteral("你的文章一共 120 字，重复 10 段， 20 句， 300 字\r\n"
                             "        重复部分占你的文章的： 250 %\r\n"
                             "        与参考文章的相似度为： 33 %"));
}

} // namespace
