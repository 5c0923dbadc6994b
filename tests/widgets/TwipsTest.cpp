#include "widgets/Twips.h"

#include <gtest/gtest.h>

TEST(Twips, FifteenTwipsPerPixelAt96Dpi)
{
    EXPECT_EQ(twips::toPixels(10425, 96), 695);
    EXPECT_EQ(twips::toPixels(15, 96), 1);
    EXPECT_EQ(twips::fromPixels(695, 96), 10425);
    EXPECT_EQ(twips::toPixels(1440, 144), 144);
    EXPECT_EQ(twips::toPixels(0, 96), 0);
}
