// The record of a check on its own: entries as the hooks of the run leave them.
#include "search/CheckRecord.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using search::CheckRecord;
using search::PageScore;
using search::SentenceState;

PageScore scored(double p, const QString& caption, double overall = 0)
{
    PageScore s;
    s.sentenceFigure = p;
    s.caption = caption;
    s.overall = overall;
    s.titles = {{QStringLiteral("<a href=\"http://a/\">A</a>"), QStringLiteral("A")}};
    return s;
}

TEST(CheckRecord, EntriesStartNotSearchedAndOutOfRangeIsRefused)
{
    CheckRecord r;
    r.reset(3, QStringLiteral("题目"));
    EXPECT_EQ(r.article(), QStringLiteral("题目"));
    EXPECT_EQ(r.count(SentenceState::NotSearched), 3);
    EXPECT_FALSE(r.markSearched(3, search::Engine::Wenku));
    EXPECT_FALSE(r.markSearched(-1, search::Engine::Wenku));
    EXPECT_FALSE(r.markBlank(3));
    EXPECT_FALSE(r.markVerification(-1));
    // Out of range, the page's caption still is what the display shows.
    EXPECT_FALSE(r.pageScored(7, scored(12, QStringLiteral("本句相似度：12%\r\n\r\n目前总体相似度：4%"), 4)));
    EXPECT_EQ(search::overallText(*r.overall()), QStringLiteral("目前总体相似度：4%"));
    EXPECT_EQ(r.count(SentenceState::NotSearched), 3);
}

TEST(CheckRecord, VerificationAndBlankClearAFigure)
{
    CheckRecord r;
    r.reset(2);
    r.markSearched(0, search::Engine::Baidu);
    r.pageScored(0, scored(30, QStringLiteral("x\r\n\r\n目前总体相似度：30%")));
    EXPECT_EQ(r.at(0).similarityText(), QStringLiteral("30"));
    ASSERT_TRUE(r.markVerification(0));
    EXPECT_EQ(r.at(0).state, SentenceState::Verification);
    EXPECT_FALSE(r.at(0).similarity);
    EXPECT_TRUE(r.at(0).titles.isEmpty());
    EXPECT_EQ(r.at(0).searches, 1);
    ASSERT_TRUE(r.markBlank(1));
    EXPECT_EQ(r.at(1).similarityText(), QString());
    EXPECT_EQ(r.count(SentenceState::Verification), 1);
    EXPECT_EQ(r.count(SentenceState::Blank), 1);
}

TEST(CheckRecord, FigureIsWrittenAsTheDisplayWritesIt)
{
    CheckRecord r;
    r.reset(1);
    r.pageScored(0, scored(19.99, QStringLiteral("c")));
    EXPECT_EQ(r.at(0).similarityText(), QStringLiteral("19.99"));
    // Without a caption the display showed no figure for the sentence.
    PageScore silent = scored(40, QString());
    silent.caption.reset();
    r.pageScored(0, silent);
    EXPECT_EQ(r.at(0).state, SentenceState::Scored);
    EXPECT_FALSE(r.at(0).similarity);
    EXPECT_EQ(r.caption(), QStringLiteral("c"));
}

// A sentence searched twice, first with ten titles, then with three: the report lists the three,
// and the title slots, from which both site tables are counted, hold the three and the seven after.
TEST(CheckRecord, TitleSlotsKeepWhatTheLatestPageDidNotOverwrite)
{
    CheckRecord r;
    r.reset(2);
    auto page = [](const QString& prefix, int count) {
        PageScore s = scored(10, QStringLiteral("c"));
        s.titles.clear();
        for (int n = 0; n < count; ++n)
            s.titles.append({QStringLiteral("<a>%1%2</a>").arg(prefix).arg(n), prefix + QString::number(n)});
        return s;
    };
    r.markSearched(0, search::Engine::Baidu);
    r.pageScored(0, page(QStringLiteral("A"), 10));
    r.markSearched(0, search::Engine::Baidu);
    EXPECT_TRUE(r.at(0).titles.isEmpty());
    EXPECT_EQ(r.titleSlots().texts.value(9), QStringLiteral("A9"));
    r.pageScored(0, page(QStringLiteral("N"), 3));
    r.markBlank(1);
    ASSERT_EQ(r.at(0).titles.size(), 3);
    const search::TitleSlots table = r.titleSlots();
    EXPECT_EQ(table.texts,
              (QStringList{"N0", "N1", "N2", "A3", "A4", "A5", "A6", "A7", "A8", "A9"} + QStringList(11)));
    EXPECT_EQ(table.html[3], QStringLiteral("<a>A3</a>"));

    // More titles than slots (a hostile kept result) stay in the sentence's own ten.
    search::SentenceEntry many;
    many.state = SentenceState::Scored;
    QStringList texts;
    for (int n = 0; n < 11; ++n) {
        texts.append(QStringLiteral("M%1").arg(n));
        many.titles.append({texts.last(), texts.last()});
    }
    r.adopt(0, many);
    EXPECT_EQ(r.titleSlots().texts, texts.mid(0, 10) + QStringList(11));
}

TEST(CheckRecord, APageOnItsWayThatFailsLeavesTheSentenceNotArrived)
{
    CheckRecord r;
    r.reset(2);
    EXPECT_FALSE(r.markNotArrived(0)); // nothing was on its way
    r.markSearched(0, search::Engine::Baidu);
    EXPECT_EQ(r.at(0).state, SentenceState::Searching);
    EXPECT_TRUE(r.markNotArrived(0));
    EXPECT_EQ(r.at(0).state, SentenceState::NotArrived);
    r.markSearched(1, search::Engine::Baidu);
    r.pageScored(1, scored(10, QStringLiteral("c")));
    EXPECT_FALSE(r.markNotArrived(1)); // a scored page stays scored
    EXPECT_EQ(r.at(1).state, SentenceState::Scored);
}

// A report tells the states apart by their names: each has its own.
TEST(CheckRecord, EveryStateHasItsOwnName)
{
    QStringList names;
    for (int s = 0; s <= static_cast<int>(SentenceState::Blank); ++s)
        names.append(search::stateName(static_cast<SentenceState>(s)));
    names.removeDuplicates();
    names.removeAll(QString());
    EXPECT_EQ(names.size(), static_cast<int>(SentenceState::Blank) + 1);
}

} // namespace
