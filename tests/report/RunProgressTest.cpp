#include "report/RunProgress.h"

#include <gtest/gtest.h>

namespace {

using report::Coverage;

TEST(RunProgress, TheTimeLeftFollowsThePaceSinceTheRunStarted)
{
    report::RunPace pace;
    pace.start(10, 1'000); // ten sentences were checked before this run
    EXPECT_EQ(pace.remainingMs(Coverage{10, 100, false}, 60'000), std::nullopt) << "none checked in it yet";
    // 20 sentences in 400 s: the other 70 take 1,400 s.
    EXPECT_EQ(pace.remainingMs(Coverage{30, 100, false}, 401'000), 1'400'000);
    EXPECT_EQ(pace.remainingMs(Coverage{100, 100, true}, 500'000), 0);
    pace.stop();
    EXPECT_EQ(pace.remainingMs(Coverage{30, 100, false}, 401'000), std::nullopt);
}

TEST(RunProgress, TimeLeftAndShareReadAsTheWindowShowsThem)
{
    const std::pair<std::optional<qint64>, const char*> rows[] = {{std::nullopt, "正在估算剩余时间……"},
                                                                  {29'000, "约剩不到 1 分钟"},
                                                                  {24 * 60'000 + 20'000, "约剩 24 分钟"},
                                                                  {60 * 60'000, "约剩 1 小时"},
                                                                  {125 * 60'000, "约剩 2 小时 5 分钟"}};
    for (const auto& [ms, text] : rows)
        EXPECT_EQ(report::timeLeftText(ms), QString::fromUtf8(text)) << text;
    EXPECT_EQ(report::checkedPercent({37, 100}), 37);
    EXPECT_EQ(report::checkedPercent({988, 989}), 99) << "100 only when all are checked";
    EXPECT_EQ(report::checkedPercent({0, 0}), 0);
}

} // namespace
