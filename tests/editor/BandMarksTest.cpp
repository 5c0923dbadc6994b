#include "editor/BandMarks.h"
#include "report/Bands.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using report::Band;

void score(search::CheckRecord& r, int i, double figure)
{
    search::PageScore s;
    s.sentenceFigure = figure;
    s.caption = QStringLiteral("shown");
    r.markSearched(i, search::Engine::Baidu);
    r.pageScored(i, s);
}

// Each sentence where the editor holds it, line breaks and spaces inside included, with its band's
// colour; no figure, no colour; a sentence edited away, no mark.
TEST(BandMarks, EverySentenceAtItsPlaceWithItsBand)
{
    const QString editor = QStringLiteral("一二三\r\n四 五六七八九十。十一");
    const QStringList sentences{QStringLiteral("一二三四"), QStringLiteral("五六"), QStringLiteral("七八"),
                                QStringLiteral("九十。"),   QStringLiteral("改掉"), QStringLiteral("十一")};
    search::CheckRecord r;
    r.reset(sentences.size());
    EXPECT_FALSE(editor::hasBandResult(r));
    r.markSearched(5, search::Engine::Baidu);
    r.markNotArrived(5); // searched, but no figure: left as it is
    EXPECT_FALSE(editor::hasBandResult(r));
    score(r, 0, 60);
    score(r, 1, 0);
    score(r, 3, 19.5);
    score(r, 4, 35);
    EXPECT_TRUE(editor::hasBandResult(r));

    const QList<editor::BandMark> expected{{0, 6, report::bandStyle(Band::High).colour},
                                           {7, 2, report::bandStyle(Band::NoneFound).colour},
                                           {9, 2, std::nullopt},
                                           {11, 3, report::bandStyle(Band::Low).colour},
                                           {14, 2, std::nullopt}};
    EXPECT_EQ(editor::bandMarks(analysis::sentencePlaces(editor, sentences), r), expected);
}

} // namespace
