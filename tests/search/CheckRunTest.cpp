// The online check's decisions on scripted sequences of pages, without a window or timers.
#include "search/Verification.h"
#include "support/QtPrinters.h"
#include "support/ScriptedRun.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kA(38, QChar(u'甲'));
const QString kB(38, QChar(u'乙'));
const QString kC(20, QChar(u'丙'));

// The service's verification pages: at the search address itself, and on a host of their own.
const QString kVerifyTitle = QStringLiteral("百度安全验证");
const QString kVerifyBody = QStringLiteral("<div class=\"timeout\"><p>网络不给力，请稍后重试</p></div>");

// Kept after the blank sentence "（）" of the article kA + "（）", which the cutting leaves last.
analysis::Result withSentenceAfterTheBlankOne(const QString& text)
{
    analysis::Result r = analysis::analyse(text);
    r.sentences.append(kC);
    return r;
}

TEST(CheckRun, AnalysisStartsTheCheckAfresh)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.start();
    w.finish(resultPage(190, {"T"}));
    w.run.stop();
    const QString searched = w.run.searchUrl();
    w.analyse(QStringLiteral("一二三"));
    EXPECT_EQ(w.listEntries, QStringList{QStringLiteral("1-一二三")});
    EXPECT_EQ(w.label1, QStringLiteral("本文共 3 字，本次分析共分析出 1 句，请多次点击进行对比！"));
    EXPECT_FALSE(w.similarityShown);
    EXPECT_EQ(w.run.sentences(), QStringList{QStringLiteral("一二三")});
    EXPECT_EQ(w.run.nextIndex(), 0);
    EXPECT_EQ(w.run.lastIndex(), 0);
    EXPECT_EQ(w.run.pageCount(), 1);
    EXPECT_EQ(w.run.similaritySum(), 0);
    EXPECT_FALSE(w.stats.isPending());
    EXPECT_TRUE(w.run.firstStepPending());
    EXPECT_EQ(w.stats.titleCounts(), QList<int>(11, 0));
    EXPECT_EQ(w.run.record().titleSlots().texts, QStringList(11));
    EXPECT_EQ(w.run.searchUrl(), searched); // the URL stays
    EXPECT_EQ(w.navigations.size(), 1);     // an analysis searches nothing
    // An article without sentences is still an analysis, with the one spare slot.
    w.analyse(QStringLiteral(" \r\n "));
    EXPECT_TRUE(w.listEntries.isEmpty());
    EXPECT_EQ(w.label1, QStringLiteral("本文共 0 字，本次分析共分析出 0 句，请多次点击进行对比！"));
    EXPECT_TRUE(w.run.hasSentenceTable());
    EXPECT_EQ(w.stats.titleCounts().size(), 1);
}

// Where each situation leaves the two indices: the list's clicks, then the compare steps.
struct IndexRow
{
    const char* name;
    QString text;
    QList<int> clicks;
    int steps;
    int lastIndex;
    int nextIndex;
    int searches;
};

using StepIndices = ::testing::TestWithParam<IndexRow>;

TEST_P(StepIndices, FollowTheTable)
{
    const IndexRow& row = GetParam();
    ScriptedRun w;
    w.analyse(row.text);
    for (const int c : row.clicks)
        w.click(c);
    for (int i = 0; i < row.steps; ++i)
        w.step();
    EXPECT_EQ(w.run.lastIndex(), row.lastIndex);
    EXPECT_EQ(w.run.nextIndex(), row.nextIndex);
    EXPECT_EQ(w.navigations.size(), row.searches);
}

INSTANTIATE_TEST_SUITE_P(
    CheckRun, StepIndices,
    ::testing::Values(IndexRow{"AfterAnalysis", kA + kB, {}, 0, 0, 0, 0},
                      IndexRow{"FirstClickOnlyChooses", kA + kB + kC, {2}, 0, 0, 2, 0},
                      IndexRow{"LaterClickSearches", kA + kB + kC, {0, 2}, 0, 2, 3, 1},
                      IndexRow{"StepOnSentenceK", kA + kB + kC, {}, 2, 1, 2, 2},
                      IndexRow{"BlankSentenceMovesOn", kA + QStringLiteral("（）"), {}, 2, 1, 2, 1},
                      IndexRow{"BlankFirstSentenceMovesOn", QStringLiteral("。"), {}, 1, 0, 1, 0},
                      IndexRow{"PastTheLastSentence", kC, {}, 3, 0, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckRun, StepSearchesMarksAndSelects)
{
    ScriptedRun w;
    w.analyse(kA + kB + kC);
    w.step();
    EXPECT_EQ(w.navigations, QStringList{w.urlFor(0)});
    EXPECT_EQ(w.label1, QStringLiteral("现在正在对比第 1 句！共 3 句。"));
    EXPECT_EQ(w.marked, QStringList{kA});
    EXPECT_EQ(w.selected, 0);
    EXPECT_TRUE(w.stats.isPending());
    EXPECT_FALSE(w.run.firstStepPending());
}

TEST(CheckRun, NoAnalysisStopsTheRun)
{
    ScriptedRun none;
    none.step();
    EXPECT_EQ(none.boxes, QStringList{QStringLiteral("本次对比结束！")});
    EXPECT_EQ(none.stopActions, 1);
}

TEST(CheckRun, EmptyEditorStopsTheRunAndRestoresTheLayout)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.start();
    w.facts.editorEmpty = true;
    w.finish(resultPage(0));
    w.tick();
    EXPECT_EQ(w.boxes, QStringList{QStringLiteral("请先输入关键字")});
    EXPECT_TRUE(w.fullLayout);
    EXPECT_FALSE(w.run.isRunning());
    EXPECT_EQ(w.stopActions, 0);
    EXPECT_TRUE(w.stats.isPending());
    EXPECT_EQ(w.navigations.size(), 1);
}

TEST(CheckRun, ScoringFillsTheDisplayAndTheTitleSlots)
{
    ScriptedRun w;
    w.analyse(kA + kB + kC + kA + kB);
    for (int i = 0; i < 3; ++i) {
        w.step();
        w.finish(resultPage(0));
    }
    w.step(); // sentence 4, 38 characters
    w.finish(resultPage(190, {"T1", "T2", "T3"}));
    EXPECT_EQ(w.label2, QStringLiteral("本句相似度：50%\r\n\r\n目前总体相似度：12.5%"));
    EXPECT_EQ(w.label1, QStringLiteral("现在正在对比第 4 句！共 5 句。"));
    EXPECT_EQ(w.run.pageCount(), 5);
    EXPECT_EQ(w.run.similaritySum(), 50);
    EXPECT_EQ(w.slotTexts(30, 4), (QStringList{"T1", "T2", "T3", QString()}));
    EXPECT_TRUE(w.run.record().titleSlots().html[31].contains(QStringLiteral("T2</a>")));
}

TEST(CheckRun, PagesThatAreNotResultsCountNothing)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.step();
    w.label1 = QStringLiteral("网络不给力，正在重新对比第 1 句");
    w.label2 = QStringLiteral("unchanged");
    // The browser's own error page, and a page of another host: neither is read.
    w.finish(resultPage(100), false);
    w.finish(resultPage(100), true, QStringLiteral("https://verify.example/check"));
    EXPECT_FALSE(w.pendingRead);
    EXPECT_EQ(w.run.record().at(0).state, search::SentenceState::NotArrived);
    EXPECT_EQ(w.run.record().count(search::SentenceState::NotArrived), 1);
    EXPECT_EQ(w.run.pageCount(), 1);
    EXPECT_EQ(w.label1, QStringLiteral("网络不给力，正在重新对比第 1 句"));
    // A page without a body is read but counts nothing; the status line is rewritten.
    w.step();
    w.finish(QString());
    EXPECT_EQ(w.run.pageCount(), 1);
    EXPECT_EQ(w.label2, QStringLiteral("unchanged"));
    EXPECT_EQ(w.label1, QStringLiteral("现在正在对比第 2 句！共 2 句。"));
    // A busy pane is still loading: nothing happens.
    EXPECT_FALSE(w.run.downloadComplete({true, false, w.paneUrl}, w.facts).readBody);
    // Another host of the same service answers for it.
    w.click(0);
    w.click(1);
    w.finish(resultPage(100), true,
             QStringLiteral("https://m.baidu.com/s?word=") + search::UrlEncodeUtf8(search::queryText(kB)));
    EXPECT_EQ(w.run.pageCount(), 2);
}

TEST(CheckRun, PagesOfAnotherHostAreRetriedThriceThenThePersonIsAsked)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.start();
    const QString elsewhere = QStringLiteral("https://user:pw@captcha.example/check?from=baidu");
    for (int i = 0; i < search::kForeignPagesRetried; ++i) {
        w.finish(resultPage(100), true, elsewhere);
        w.tick();
    }
    ASSERT_EQ(w.navigations.size(), search::kForeignPagesRetried + 1);
    EXPECT_EQ(w.navigations.last(), w.urlFor(0));
    w.finish(resultPage(100), true, elsewhere);
    EXPECT_TRUE(w.run.waitsForPerson());
    EXPECT_EQ(w.label1, search::foreignPageLine(elsewhere));
    EXPECT_TRUE(w.label1.contains(QStringLiteral("https://captcha.example/check?from=baidu")));
    EXPECT_TRUE(w.paneUncovered);
    w.tick();
    EXPECT_EQ(w.navigations.size(), search::kForeignPagesRetried + 1); // no retry while the person looks
    // The person brings the pane back to the service: its page is the sentence's, and the run goes on.
    w.finish(resultPage(0), true, w.urlFor(0));
    EXPECT_FALSE(w.paneUncovered);
    EXPECT_EQ(w.run.record().at(0).state, search::SentenceState::Scored);
    w.tick();
    EXPECT_EQ(w.navigations.last(), w.urlFor(1));
}

// What the person and the pane do, one event at a time.
using CreditEvent = std::function<void(ScriptedRun&)>;
const CreditEvent kStart = &ScriptedRun::start;
const CreditEvent kStep = &ScriptedRun::step;
const CreditEvent kTick = &ScriptedRun::tick;
const CreditEvent kStop = [](ScriptedRun& w) { w.apply(w.run.stop()); };
const CreditEvent kAnalyse = [](ScriptedRun& w) { w.analyse(kA + kB + kC); };
const CreditEvent kVerification = [](ScriptedRun& w) {
    w.finish(kVerifyBody, true, QString(), false, kVerifyTitle);
};
CreditEvent click(int row)
{
    return [row](ScriptedRun& w) { w.click(row); };
}
// The page that answers piece k's search, titled Pk; a page at another address.
CreditEvent pageFor(int k)
{
    return
        [k](ScriptedRun& w) { w.finish(resultPage(190, {QStringLiteral("P%1").arg(k)}), true, w.urlFor(k)); };
}
CreditEvent pageAt(const QString& url)
{
    return [url](ScriptedRun& w) { w.finish(resultPage(190, {QStringLiteral("P")}), true, url); };
}

struct CreditRow
{
    const char* name;
    QList<CreditEvent> events;
    QStringList credited; // per piece, the title of the page credited to it
    int nextIndex;
};

using PageCredit = ::testing::TestWithParam<CreditRow>;

// Which piece each page is credited to, whatever the person does while it loads.
TEST_P(PageCredit, GoesToThePieceTheSearchWasSentFor)
{
    ScriptedRun w;
    w.analyse(kA + kB + kC);
    for (const CreditEvent& e : GetParam().events)
        e(w);
    QStringList credited;
    for (const search::SentenceEntry& entry : w.run.record().entries())
        credited.append(entry.titles.isEmpty() ? QString() : entry.titles[0].text);
    EXPECT_EQ(credited, GetParam().credited);
    EXPECT_EQ(w.run.nextIndex(), GetParam().nextIndex);
    // Kept under the query of the piece it was credited to.
    for (int k = 0; k < credited.size(); ++k) {
        if (!credited[k].isEmpty())
            EXPECT_EQ(w.run.record().at(k).query, search::queryText(w.run.sentences()[k]));
    }
}

const CreditEvent kPage0 = pageFor(0);
const CreditEvent kPage1 = pageFor(1);
const CreditEvent kPage2 = pageFor(2);

INSTANTIATE_TEST_SUITE_P(
    CheckRun, PageCredit,
    ::testing::Values(
        CreditRow{"VerificationCompletedAfterStop",
                  {kStart, kPage0, kTick, kVerification, kStop, kPage1},
                  {QStringLiteral("P0"), QStringLiteral("P1"), QString()},
                  2},
        CreditRow{"ListClickDuringALoad",
                  {kStep, kPage0, kStep, click(2), kPage1, kPage2},
                  {QStringLiteral("P0"), QString(), QStringLiteral("P2")},
                  3},
        CreditRow{"ClickThatOnlyChoosesKeepsTheSearch",
                  {click(2), kStep, kPage2},
                  {QString(), QString(), QStringLiteral("P2")},
                  3},
        CreditRow{"StopThenStartDuringALoadSearchesThePieceAgain",
                  {kStart, kStop, kStart, kPage0, kPage1},
                  {QStringLiteral("P0"), QString(), QString()},
                  1},
        CreditRow{"NewAnalysisDuringALoad", {kStep, kAnalyse, kPage0}, {QString(), QString(), QString()}, 0},
        CreditRow{"LatePageAfterSearchingAfresh",
                  {kStep, kPage0, kStep, kAnalyse, kStep, kPage1, kPage0},
                  {QStringLiteral("P0"), QString(), QString()},
                  1},
        CreditRow{"PageOfAnotherQuery",
                  {kStep, pageAt(QStringLiteral("https://www.baidu.com/s?wd=%D2%D2&tn=baidu"))},
                  {QString(), QString(), QString()},
                  1},
        CreditRow{"ServicePageWithoutQuery",
                  {kStep, pageAt(QStringLiteral("https://www.baidu.com/"))},
                  {QString(), QString(), QString()},
                  1},
        CreditRow{"RedirectedToUtf8",
                  {kStep, pageAt(QStringLiteral("https://www.baidu.com/s?ie=utf-8&wd=") +
                                 search::UrlEncodeUtf8(kA) + QStringLiteral("&rsv_spt=1#top"))},
                  {QStringLiteral("P"), QString(), QString()},
                  1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckRun, SearchesAndScoresThePieceWithoutItsMarkers)
{
    ScriptedRun w;
    const QString article = kC + QStringLiteral("[12]。");
    const analysis::SentencePieces cut = analysis::cutSentences(article);
    analysis::Result result = analysis::analyse(article);
    result.sentences = cut.pieces;
    result.searchTexts = cut.searchTexts;
    result.places = cut.places;
    w.apply(w.run.analyse(result, article, cut.uses));
    w.facts.listCount = 1;
    w.step();
    EXPECT_EQ(w.navigations, QStringList{searchUrlFor(kC + QStringLiteral("。"))});
    EXPECT_EQ(w.marked, QStringList{cut.pieces[0]}); // the list and the editor keep the markers
    w.finish(resultPage(105));                       // 105 characters for the 21 searched: 50 %
    EXPECT_EQ(w.run.record().at(0).similarityText(), QStringLiteral("50"));
}

TEST(CheckRun, ALateReadForAnEarlierStepIsDropped)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.step();
    w.finish(resultPage(190, {"OLD"}), true, QString(), /*holdRead=*/true);
    const quint64 lateTag = *w.pendingRead;
    w.step(); // the next step begins before the read is answered
    EXPECT_EQ(w.run.record().at(0).state, search::SentenceState::NotArrived);
    w.apply(w.run.bodyRead(lateTag, resultPage(190, {"OLD"}), w.facts));
    EXPECT_EQ(w.run.pageCount(), 1);
    EXPECT_TRUE(w.slotTexts(0, 1)[0].isEmpty());
    w.finish(resultPage(0, {"NEW"}));
    EXPECT_EQ(w.slotTexts(10, 1), QStringList{"NEW"});
    EXPECT_EQ(w.run.pageCount(), 2);
}

TEST(CheckRun, RunGoesOnAfterEachPageAndEnds)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    const QString analysisLine = w.label1;
    w.start();
    EXPECT_TRUE(w.run.isRunning());
    EXPECT_EQ(w.label1, analysisLine); // during a run the step leaves the status line to scoring and ticks
    w.tick();                          // the page is still loading: the tick waits
    EXPECT_EQ(w.navigations.size(), 1);
    w.finish(resultPage(0)); // the waiting tick goes on at once
    ASSERT_EQ(w.navigations.size(), 2);
    EXPECT_EQ(w.navigations[1], w.urlFor(1));
    EXPECT_EQ(w.label1, QStringLiteral("现在正在对比第 1 句！共 2 句。"));
    w.finish(resultPage(0));
    w.tick(); // the end of the table stops the run
    EXPECT_EQ(w.boxes, QStringList{QStringLiteral("本次对比结束！")});
    EXPECT_EQ(w.run.pageCount(), 3);
    EXPECT_EQ(w.stopActions, 1);
    EXPECT_FALSE(w.run.isRunning());
    EXPECT_EQ(w.runningChanges, 2);
    w.step();
    EXPECT_EQ(w.boxes.size(), 2);
    EXPECT_EQ(w.navigations.size(), 2);
}

TEST(CheckRun, PageThatNeverArrivesIsSearchedAgain)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.start();
    w.finish(std::nullopt); // no document body
    w.tick();
    ASSERT_EQ(w.navigations.size(), 2);
    EXPECT_EQ(w.navigations[1], w.urlFor(0));
    EXPECT_EQ(w.label1, QStringLiteral("网络不给力，正在重新对比第 1 句"));
    EXPECT_EQ(w.run.pageCount(), 1); // never counted, so the divisor stays
    w.finish(QStringLiteral("<p>no double-byte text here</p>"));
    w.tick();
    EXPECT_EQ(w.navigations[2], w.urlFor(0));
    EXPECT_EQ(w.run.pageCount(), 1); // counted by scoring, taken back by the retry
    w.finish(QString(), false);      // a failed load
    w.tick();
    EXPECT_EQ(w.navigations[3], w.urlFor(0));
    w.finish(resultPage(0));
    w.tick();
    EXPECT_EQ(w.navigations[4], w.urlFor(1));
    EXPECT_EQ(w.run.pageCount(), 2);
}

TEST(CheckRun, StopDuringTheRunStillScoresThePage)
{
    ScriptedRun w;
    w.analyse(kA + kB + kC);
    w.start();
    w.tick();
    w.run.stop();
    EXPECT_FALSE(w.run.isRunning());
    w.finish(resultPage(0));
    EXPECT_EQ(w.run.pageCount(), 2);
    w.tick();
    EXPECT_EQ(w.navigations.size(), 1);
}

TEST(CheckRun, BlankSentenceCountsAsFinishedInARun)
{
    ScriptedRun w;
    w.analyse(withSentenceAfterTheBlankOne(kA + QStringLiteral("（）")));
    ASSERT_EQ(w.run.sentences().at(1), QStringLiteral("（）"));
    w.start();
    w.finish(resultPage(0));
    w.tick(); // sentence 2 is blank: nothing is searched
    EXPECT_EQ(w.navigations.size(), 1);
    w.tick();
    ASSERT_EQ(w.navigations.size(), 2);
    EXPECT_EQ(w.navigations[1], w.urlFor(2));
}

const QString kCaptchaUrl =
    QStringLiteral("https://wappass.baidu.com/static/captcha/tuxing.html?ak=1&backurl=x");

TEST(CheckRun, AVerificationPageByHandAsksThePersonAndScoresNothing)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.step();
    w.label2 = QStringLiteral("unchanged");
    w.finish(kVerifyBody, true, QString(), false, kVerifyTitle);
    EXPECT_EQ(w.label1, search::kVerificationRequest);
    EXPECT_EQ(w.label2, QStringLiteral("unchanged"));
    EXPECT_TRUE(w.paneUncovered);
    EXPECT_EQ(w.run.pageCount(), 1);
    EXPECT_EQ(w.run.similaritySum(), 0);
    // Solved: the service sends the pane back to the search address, and that page is the sentence's.
    w.finish(resultPage(190, {"T"}), true, w.urlFor(0), false, QStringLiteral("甲_百度搜索"));
    EXPECT_FALSE(w.paneUncovered);
    EXPECT_EQ(w.run.pageCount(), 2);
    EXPECT_EQ(w.slotTexts(0, 1), QStringList{"T"});
    EXPECT_EQ(w.label1, QStringLiteral("现在正在对比第 1 句！共 2 句。"));
}

TEST(CheckRun, TheRunWaitsForThePersonAndGoesOnOnceSolved)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.start();
    w.finish(QStringLiteral("<p>滑块</p>"), true, kCaptchaUrl, false, kVerifyTitle);
    EXPECT_TRUE(w.run.waitsForPerson());
    EXPECT_FALSE(w.pendingRead); // another host: not read at all
    EXPECT_EQ(w.run.record().at(0).state, search::SentenceState::Verification);
    for (int i = 0; i < 5; ++i)
        w.tick();
    EXPECT_EQ(w.navigations.size(), 1); // no retry, no next step
    EXPECT_EQ(w.label1, search::kVerificationRequest);
    w.finish(std::nullopt, false); // the slider page reloads and fails: still waiting
    w.tick();
    EXPECT_EQ(w.navigations.size(), 1);
    w.finish(resultPage(0), true, w.urlFor(0));
    EXPECT_FALSE(w.run.waitsForPerson());
    EXPECT_EQ(w.run.pageCount(), 2);
    EXPECT_EQ(w.run.record().at(0).state, search::SentenceState::Scored);
    w.tick();
    ASSERT_EQ(w.navigations.size(), 2);
    EXPECT_EQ(w.navigations[1], w.urlFor(1));
}

TEST(CheckRun, StopWhileWaitingThenStartSearchesTheWaitingSentenceAgain)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.start();
    w.finish(resultPage(0));
    w.tick(); // sentence 2 is searched
    w.finish(kVerifyBody, true, QString(), false, kVerifyTitle);
    EXPECT_TRUE(w.run.waitsForPerson());
    w.apply(w.run.stop());
    EXPECT_FALSE(w.paneUncovered);
    EXPECT_FALSE(w.run.isRunning());
    w.start();
    ASSERT_EQ(w.navigations.size(), 3);
    EXPECT_EQ(w.navigations[2], w.urlFor(1));
}

// Which pages ask for a verification.
struct VerificationRow
{
    const char* name;
    QString title;
    std::optional<QString> body;
    bool asks;
};

using AsksForVerification = ::testing::TestWithParam<VerificationRow>;

TEST_P(AsksForVerification, ByTitleOrHeadingWithoutResults)
{
    EXPECT_EQ(search::asksForVerification(GetParam().title, GetParam().body, search::Engine::Wenku),
              GetParam().asks);
}

INSTANTIATE_TEST_SUITE_P(
    CheckRun, AsksForVerification,
    ::testing::Values(
        VerificationRow{"TitleBeforeTheRead", kVerifyTitle, std::nullopt, true},
        VerificationRow{"TitleAtTheSearchAddress", kVerifyTitle, kVerifyBody, true},
        VerificationRow{"HeadingOnly", QString(),
                        QStringLiteral("<h1>百度安全验证</h1><p>请完成下方验证后继续操作</p>"), true},
        VerificationRow{"ResultsAboutVerification", QStringLiteral("安全验证_百度搜索"),
                        resultPage(0, {"安全验证"}), false},
        VerificationRow{"OrdinaryResultPage", QStringLiteral("甲_百度搜索"), resultPage(0, {"T"}), false},
        // A page without results whose title holds the query's own words.
        VerificationRow{
            "NoResultsForTheQuery", QStringLiteral("身份验证_百度文库"),
            QStringLiteral(
                "<form><input type=\"text\" name=\"word\" value=\"身份验证\"></form><p>没有找到</p>"),
            false},
        VerificationRow{"AnotherServicesForm", kVerifyTitle,
                        QStringLiteral("<form><input name=\"wd\"></form>"), true},
        VerificationRow{"EmptyTitle", QString(), std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckRun, VerificationHosts)
{
    EXPECT_TRUE(search::isVerificationHost(kCaptchaUrl));
    EXPECT_FALSE(search::isVerificationHost(QStringLiteral("https://www.baidu.com/s?wd=wappass.baidu.com")));
}

// The record of the check, written at the moments a sentence's state changes.
using search::SentenceState;

TEST(CheckRunRecord, FollowsEachSentenceThroughTheRun)
{
    ScriptedRun w;
    QList<int> changed;
    QObject::connect(&w.run, &search::CheckRun::recordChanged, [&](int s) { changed.append(s); });
    w.analyse(withSentenceAfterTheBlankOne(kA + kB + QStringLiteral("（）")));
    ASSERT_EQ(w.run.sentences().at(2), QStringLiteral("（）"));
    const search::CheckRecord& r = w.run.record();
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(r.count(SentenceState::NotSearched), 4);

    w.start();
    EXPECT_EQ(r.at(0).state, SentenceState::Searching);
    EXPECT_EQ(r.at(0).searches, 1);
    w.finish(std::nullopt); // no body: still not arrived, and searched again on the tick
    EXPECT_EQ(r.at(0).state, SentenceState::NotArrived);
    w.tick();
    EXPECT_EQ(r.at(0).searches, 2);
    EXPECT_EQ(r.at(0).state, SentenceState::Searching);
    w.finish(resultPage(190, {"T1", "T2"}));
    EXPECT_EQ(r.at(0).state, SentenceState::Scored);
    EXPECT_EQ(r.at(0).similarityText(), QStringLiteral("50"));
    ASSERT_EQ(r.at(0).titles.size(), 2);
    EXPECT_EQ(r.at(0).titles[1].text, QStringLiteral("T2"));
    EXPECT_EQ(search::overallText(*r.overall()), QStringLiteral("目前总体相似度：50%"));
    EXPECT_EQ(r.caption(), w.label2);

    w.tick();                             // sentence 2 searched
    w.finish(QString(300, QChar(u'短'))); // under 500 counted characters
    EXPECT_EQ(r.at(1).state, SentenceState::ShortPage);
    EXPECT_EQ(r.at(1).similarityText(), QStringLiteral("0"));
    EXPECT_TRUE(w.label2.startsWith(QStringLiteral("本句相似度：0%")));
    EXPECT_EQ(r.caption(), w.label2);

    w.tick(); // sentence 3 is blank
    EXPECT_EQ(r.at(2).state, SentenceState::Blank);
    EXPECT_EQ(r.at(2).searches, 0);
    w.run.stop(); // a stop keeps the record
    w.start();
    EXPECT_EQ(r.at(3).state, SentenceState::Searching);
    EXPECT_EQ(r.at(0).state, SentenceState::Scored);
    EXPECT_EQ(changed, (QList<int>{0, 0, 0, 0, 1, 1, 2, 3}));
    EXPECT_EQ(r.engines(), QList<search::Engine>{search::Engine::Baidu});

    w.analyse(kA); // a new analysis starts afresh
    EXPECT_EQ(r.size(), 1);
    EXPECT_EQ(r.at(0).state, SentenceState::NotSearched);
    EXPECT_TRUE(r.caption().isEmpty());
}

TEST(CheckRunRecord, ASentenceSearchedAgainOverwritesItsEntry)
{
    ScriptedRun w;
    w.analyse(kA + kB);
    w.step();
    w.finish(resultPage(190, {"OLD"}));
    w.step();
    w.finish(resultPage(76, {"B"}));
    EXPECT_EQ(w.run.record().at(1).similarityText(), QStringLiteral("20"));
    w.click(0); // the list's rule searches sentence 1 again
    const search::SentenceEntry& e = w.run.record().at(0);
    EXPECT_EQ(e.state, SentenceState::Searching);
    EXPECT_EQ(e.searches, 2);
    EXPECT_FALSE(e.similarity);
    EXPECT_TRUE(e.titles.isEmpty());
    w.finish(resultPage(38, {"NEW"}));
    EXPECT_EQ(e.similarityText(), QStringLiteral("10"));
    ASSERT_EQ(e.titles.size(), 1);
    EXPECT_EQ(e.titles[0].text, QStringLiteral("NEW"));
    // The figure is the one the display showed for this sentence.
    EXPECT_TRUE(w.label2.startsWith(QStringLiteral("本句相似度：10%")));
    EXPECT_EQ(w.run.record().at(1).similarityText(), QStringLiteral("20"));
}

} // namespace

// Pieces that are never searched and results taken over from an earlier start.
namespace {

TEST(CheckRunResume, TakesKeptResultsOverAndPassesOverWhatIsNotSearched)
{
    ScriptedRun w;
    w.apply(w.run.analyse(
        analysis::analyse(kA + kB + kC), QString(),
        {analysis::PieceUse::Searched, analysis::PieceUse::TooShort, analysis::PieceUse::Searched}));
    w.facts.listCount = 3;

    search::SentenceEntry kept;
    kept.state = search::SentenceState::Scored;
    kept.similarity = 60;
    kept.titles = {{QStringLiteral("<a>甲站</a>"), QStringLiteral("甲站")},
                   {QStringLiteral("<a>乙站</a>"), QStringLiteral("乙站")}};
    kept.obtained = QDateTime::currentDateTimeUtc().addDays(-1);
    w.apply(w.run.adoptKept({{0, kept}}));
    EXPECT_EQ(w.label2, QStringLiteral("已沿用 1 句的检测结果\r\n\r\n目前总体相似度：60%"));
    EXPECT_EQ(w.run.similaritySum(), 60);
    EXPECT_EQ(w.run.pageCount(), 2);
    EXPECT_EQ(w.run.record().titleSlots().texts.mid(0, 3),
              (QStringList{QStringLiteral("甲站"), QStringLiteral("乙站"), QString()}));
    EXPECT_TRUE(w.run.record().at(0).reused);
    EXPECT_EQ(w.run.record().at(0).obtained, kept.obtained);
    EXPECT_EQ(w.run.record().reusedCount(), 1);

    // The kept and the too short piece cost neither a search nor a tick.
    w.start();
    EXPECT_EQ(w.navigations, QStringList{w.urlFor(2)});
    w.finish(resultPage(0));
    w.tick();
    EXPECT_EQ(w.boxes, QStringList{QStringLiteral("本次对比结束！")});
    EXPECT_EQ(w.navigations.size(), 1);
    EXPECT_TRUE(w.label2.endsWith(QStringLiteral("目前总体相似度：30%")));
    EXPECT_EQ(w.run.record().at(1).state, search::SentenceState::NotSearched);
    EXPECT_EQ(w.run.record().at(1).use, analysis::PieceUse::TooShort);

    // Chosen in the list, a kept piece is searched anew; a piece never searched is still passed over.
    w.click(0);
    EXPECT_EQ(w.navigations.last(), w.urlFor(0));
    w.click(1);
    EXPECT_EQ(w.navigations.last(), w.urlFor(2));
}

} // namespace
