// The record of a check on its own: entries as the hooks of the run leave them.
#include "search/CheckRecord.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using search::CheckRecord;
using search::PageScore;
using search::SentenceState;

PageScore scored(double p, const QString& caption)
{
    PageScore s;
    s.sentenceFigure = p;
    s.caption = caption;
    s.titles = {{QStringLiteral("<a href=\"http://a/\">A</a>"), QStringLiteral("A")}};
    return s;
}

TEST(CheckRecord, EntriesStartNotSearchedAndOutOfRangeIsRefused)
{
    CheckRecord r;
    r.reset(3, QStringLiteral("题目"));
    EXPECT_EQ(r.heading(), QStringLiteral("题目"));
    EXPECT_EQ(r.count(SentenceState::NotSearched), 3);
    EXPECT_FALSE(r.markSearched(3, search::Engine::Wenku));
    EXPECT_FALSE(r.markSearched(-1, search::Engine::Wenku));
    EXPECT_FALSE(r.markBlank(3));
    EXPECT_FALSE(r.markVerification(-1));
    // Out of range, the page's caption still is what the display shows.
    EXPECT_FALSE(r.pageScored(7, scored(12, QStringLiteral("本句相似度：12%\r\n\r\n目前总体相似度：4%"))));
    EXPECT_EQ(r.overallLine(), QStringLiteral("目前总体相似度：4%"));
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

TEST(CheckRecord, StateNamesForReports)
{
    EXPECT_EQ(search::stateName(SentenceState::NotSearched), QStringLiteral("not-searched"));
    EXPECT_EQ(search::stateName(SentenceState::Scored), QStringLiteral("scored"));
    EXPECT_EQ(search::stateName(SentenceState::ShortPage), QStringLiteral("short"));
    EXPECT_EQ(search::stateName(SentenceState::NotArrived), QStringLiteral("not-arrived"));
    EXPECT_EQ(search::stateName(SentenceState::Verification), QStringLiteral("verification"));
    EXPECT_EQ(search::stateName(SentenceState::Blank), QStringLiteral("blank"));
}

} // namespace
