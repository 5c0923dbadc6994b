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

} // namespace
