#include "store/Resume.h"
#include "search/QueryText.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using analysis::PieceUse;

store::KeptResult keptAt(const QDateTime& when, double figure)
{
    store::KeptResult r;
    r.similarity = figure;
    r.obtained = when;
    r.setTitles({{QStringLiteral("<a href=\"http://a/\">甲</a>"), QStringLiteral("甲")}});
    return r;
}

TEST(Resume, OffersThePiecesWithKeptResultsAndTheirDays)
{
    const QStringList pieces{QStringLiteral("第一句，有逗号。"), QStringLiteral("过短"),
                             QStringLiteral("第三句"), QStringLiteral("。"), QStringLiteral("第五句")};
    const QStringList queries =
        store::pieceQueries(pieces, {PieceUse::Searched, PieceUse::TooShort, PieceUse::Searched,
                                     PieceUse::Searched, PieceUse::Reference});
    // Searched as the compare step searches them; a piece never searched or with a blank query asks nothing.
    EXPECT_EQ(queries, (QStringList{search::queryText(pieces[0]), QString(), QStringLiteral("第三句"),
                                    QString(), QString()}));

    const QDateTime early = QDateTime(QDate(2026, 11, 20), QTime(9, 0)).toUTC();
    const QDateTime late = QDateTime(QDate(2026, 12, 1), QTime(9, 0)).toUTC();
    const QHash<QString, store::KeptResult> found{{queries[0], keptAt(late, 40)},
                                                  {QStringLiteral("第三句"), keptAt(early, 0)},
                                                  {QStringLiteral("第五句"), keptAt(late, 90)}};
    const store::ResumeOffer offer = store::resumeOffer(queries, found);
    ASSERT_EQ(offer.kept.size(), 2);
    EXPECT_EQ(offer.kept[0].first, 0);
    EXPECT_EQ(offer.kept[1].first, 2);
    EXPECT_EQ(offer.earliest, QDate(2026, 11, 20));
    EXPECT_EQ(offer.latest, QDate(2026, 12, 1));
    EXPECT_EQ(store::resumeQuestion(offer), QStringLiteral("这篇文章中有 2 句在 2026-11-20 至 2026-12-01 "
                                                           "检测过。沿用这些结果，只检测其余的句子吗？"));
    // Obtained on one day (at two times): that day alone.
    const QHash<QString, store::KeptResult> oneDay{{queries[0], keptAt(late, 40)},
                                                   {QStringLiteral("第三句"), keptAt(late.addSecs(3600), 0)}};
    EXPECT_EQ(store::resumeQuestion(store::resumeOffer(queries, oneDay)),
              QStringLiteral("这篇文章中有 2 句在 2026-12-01 检测过。沿用这些结果，只检测其余的句子吗？"));
    EXPECT_TRUE(store::resumeOffer(queries, {}).isEmpty());

    const auto entries = store::keptEntries(offer, search::Engine::Wenku);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].second.similarity, std::optional<double>(40));
    EXPECT_EQ(entries[0].second.engine, search::Engine::Wenku);
    EXPECT_EQ(entries[0].second.obtained, late);
    ASSERT_EQ(entries[0].second.titles.size(), 1);
    EXPECT_EQ(entries[0].second.titles[0].text, QStringLiteral("甲"));
}

TEST(Resume, OnlyFreshResultsOfScoredOrShortPagesAreKept)
{
    using search::SentenceState;
    for (const auto state : {SentenceState::NotSearched, SentenceState::Scored, SentenceState::ShortPage,
                             SentenceState::NotArrived, SentenceState::Verification, SentenceState::Blank}) {
        search::SentenceEntry e;
        e.state = state;
        const bool result = state == SentenceState::Scored || state == SentenceState::ShortPage;
        EXPECT_EQ(store::keptResultOf(e).has_value(), result) << search::stateName(state).toStdString();
        e.reused = true; // kept already, with its own date
        EXPECT_FALSE(store::keptResultOf(e));
    }
}

} // namespace
