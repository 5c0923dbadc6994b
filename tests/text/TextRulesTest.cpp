#include "text/TextRules.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(TextRules, TrimRemovesOnlySpacesAndIdeographicSpaces)
{
    EXPECT_EQ(text::trimSpaces(QStringLiteral(" \u3000 甲 乙\u3000 ")), QStringLiteral("甲 乙"));
    EXPECT_EQ(text::trimSpaces(QStringLiteral("\t甲\t")), QStringLiteral("\t甲\t"));
    EXPECT_EQ(text::trimSpaces(QStringLiteral("\u3000 ")), QString());
}

TEST(TextRules, Round2HalfGoesToEven)
{
    const std::pair<double, double> rows[] = {{0.125, 0.12},       {0.375, 0.38}, {0.65, 0.65},
                                              {70.0 / 3.0, 23.33}, {2.25, 2.25},  {0.2349, 0.23},
                                              {1.0 / 3.0, 0.33},   {0, 0}};
    for (const auto& [in, out] : rows)
        EXPECT_DOUBLE_EQ(text::round2(in), out) << in;
}

TEST(TextRules, GeneralNumberForm)
{
    EXPECT_EQ(text::generalNumber(0.29 * 100), QStringLiteral("29"));
    EXPECT_EQ(text::generalNumber(text::round2(70.0 / 3.0)), QStringLiteral("23.33"));
    EXPECT_EQ(text::generalNumber(0), QStringLiteral("0"));
    EXPECT_EQ(text::generalNumber(-0.0), QStringLiteral("0"));
    EXPECT_EQ(text::generalNumber(225), QStringLiteral("225"));
    EXPECT_EQ(text::generalNumber(1234567.5), QStringLiteral("1234567.5"));
}

} // namespace
