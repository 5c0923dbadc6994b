#include "report/RunProgress.h"
#include "report/ReportFile.h"

#include <gtest/gtest.h>

TEST(RunProgress, TimeLeftAtTheRunsOwnPaceAndTheShareRoundedDown)
{
    report::RunPace pace;
    pace.start(10, 1'000); // ten sentences were checked before this run
    EXPECT_EQ(pace.remainingMs({30, 100, false}, 401'000), 1'400'000); // 20 in 400 s: 70 more in 1,400 s
    for (const auto& [ms, text] : {std::pair{29'000, "约剩不到 1 分钟"},
                                   {3'600'000, "约剩 1 小时"},
                                   {7'500'000, "约剩 2 小时 5 分钟"}})
        EXPECT_EQ(report::timeLeftText(ms), QString::fromUtf8(text));
    EXPECT_EQ(report::checkedPercent({988, 989}), 99) << "100 only when all are checked";
}

TEST(ReportFile, TheExportOffersTheDocumentsNameInTheKindLastExportedElseTheLastExport)
{
    const QString last = QStringLiteral("/r/a.pdf");
    EXPECT_EQ(report::offeredReportPath(QStringLiteral("/d/第三章.v2.docx"), last, QStringLiteral("/h")),
              QStringLiteral("/d/第三章.v2-检测报告.pdf"));
    EXPECT_EQ(report::offeredReportPath(QString(), last, QStringLiteral("/h")), last);
}
