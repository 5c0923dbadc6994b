#include "support/QtPrinters.h"
#include "app/Form1.h"
#include "editor/RichTextBox.h"
#include "platform/Twips.h"
#include "widgets/WidgetTwips.h"
#include "search/Engines.h"
#include "search/QueryText.h"
#include "support/Form1Fixture.h"
#include "support/GuiHelpers.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

QString repeat(QChar c, int n)
{
    return QString(n, c);
}

// A result page with enough counted text to be scored, the given highlighted characters and titles.
QString resultPage(int highlighted, const QStringList& titles = {})
{
    QString html = QStringLiteral("<div>") + repeat(u'页', 600) + QStringLiteral("</div><EM>") +
                   repeat(u'x', highlighted) + QStringLiteral("</EM><EM>");
    for (const QString& t : titles)
        html += QStringLiteral("<h3 class=\"t\"><a href=\"http://r/\" data-click=\"{}\">") + t +
                QStringLiteral("</a></h3>");
    return html;
}

class OnlineCheckTest : public Form1Fixture
{
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        browser->finish(QString()); // the blank start page
        browser->navigations.clear();
    }

    QString urlFor(int sentence) const
    {
        return *search::searchUrl(search::Engine::Baidu, search::queryText(form->checkState().sentences[sentence]));
    }
    QColor colourAt(qsizetype textOffset)
    {
        QTextCursor c(editor()->document());
        c.setPosition(static_cast<int>(textOffset) + 1);
        return c.charFormat().foreground().color();
    }
    void clickListRow(int row)
    {
        auto* list = w<QListWidget>("List1");
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

    MessageBoxRecorder boxes;
};

const QString kA = repeat(u'甲', 38);
const QString kB = repeat(u'乙', 38);
const QString kC = repeat(u'丙', 20);

TEST_F(OnlineCheckTest, FirstStepSearchesSentenceOneAndMarksIt)
{
    analyse(kA + kB + kC);
    click("Command2");
    ASSERT_EQ(browser->navigations, QStringList{urlFor(0)});
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("现在正在对比第 1 句！共 3 句。"));
    EXPECT_EQ(state().lastIndex, 0);
    EXPECT_EQ(state().nextIndex, 1);
    EXPECT_TRUE(state().statsPending);
    EXPECT_EQ(w<QListWidget>("List1")->currentRow(), 0);
    EXPECT_TRUE(w<QListWidget>("List1")->isVisible());
    EXPECT_TRUE(w<QWebEngineView>("WebBrowser1")->isVisible());
    EXPECT_TRUE(w<QLabel>("Label2")->isVisible());
    EXPECT_EQ(colourAt(0), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(37), QColor(255, 0, 0));
    EXPECT_NE(colourAt(38), QColor(255, 0, 0));

    browser->finish(resultPage(0));
    click("Command2");
    EXPECT_EQ(browser->navigations.last(), urlFor(1));
    EXPECT_EQ(state().nextIndex, 2);
}

TEST_F(OnlineCheckTest, SentenceFoundTwiceIsMarkedTwiceAndTheNextStepBlacksTheSelectedOne)
{
    analyse(kA + kB + kA);
    click("Command2");
    EXPECT_EQ(colourAt(0), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(76), QColor(255, 0, 0));
    EXPECT_EQ(editor()->selectionStart(), 76);
    EXPECT_EQ(editor()->selectionLength(), 38);
    click("Command2");
    EXPECT_EQ(colourAt(0), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(76), QColor(0, 0, 0));
    EXPECT_EQ(colourAt(38), QColor(255, 0, 0));
}

TEST_F(OnlineCheckTest, FirstListClickOnlyChoosesTheStart)
{
    QString text;
    for (int i = 0; i < 12; ++i)
        text += repeat(QChar(u'一' + i), 38);
    analyse(text);
    clickListRow(4);
    EXPECT_TRUE(browser->navigations.isEmpty());
    EXPECT_EQ(state().nextIndex, 4);
    EXPECT_FALSE(state().firstStepPending);
    click("Command2");
    EXPECT_EQ(browser->navigations, QStringList{urlFor(4)});
    // Entry 11 reads "11-..." and is searched with its sentence only.
    clickListRow(10);
    EXPECT_EQ(browser->navigations.last(), urlFor(10));
    EXPECT_FALSE(browser->navigations.last().contains(QStringLiteral("11-")));
    // A click on the entry that is current searches it again.
    clickListRow(10);
    EXPECT_EQ(browser->navigations.size(), 3);
    EXPECT_EQ(browser->navigations.last(), urlFor(10));
}

TEST_F(OnlineCheckTest, EndOfTheTableStopsTheRun)
{
    analyse(kC);
    click("Command2");
    click("Command2");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));
    EXPECT_EQ(boxes.shown[0].icon, MessageBox::Icon::Information);
    EXPECT_EQ(state().nextIndex, 1);
    EXPECT_FALSE(state().autoRun);
    EXPECT_TRUE(w<QPushButton>("Command5")->isEnabled());
    click("Command2");
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(browser->navigations.size(), 1);
}

TEST_F(OnlineCheckTest, BeforeAnyAnalysisTheRunIsOver)
{
    click("Command2");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));
    EXPECT_TRUE(browser->navigations.isEmpty());
}

TEST_F(OnlineCheckTest, EmptyEditorRestoresTheFullLayout)
{
    analyse(kA);
    editor()->clear();
    click("Command2");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("请先输入关键字"));
    EXPECT_FALSE(w<QListWidget>("List1")->isVisible());
    EXPECT_EQ(editor()->width(), px(10140));
    EXPECT_EQ(editor()->height(), px(6225));
    EXPECT_TRUE(state().statsPending);
    EXPECT_TRUE(browser->navigations.isEmpty());
}

TEST_F(OnlineCheckTest, BlankSentenceIsSkippedWithoutASearch)
{
    analyse(kA + QStringLiteral("（）"));
    ASSERT_EQ(state().sentences.at(1), QStringLiteral("（）"));
    click("Command2");
    click("Command2");
    EXPECT_EQ(browser->navigations.size(), 1);
    EXPECT_EQ(state().nextIndex, 2);
    EXPECT_EQ(state().lastIndex, 1);
}

TEST_F(OnlineCheckTest, BlankFirstSentenceMovesOnByHand)
{
    analyse(QStringLiteral("。"));
    click("Command2");
    EXPECT_TRUE(browser->navigations.isEmpty());
    EXPECT_EQ(state().nextIndex, 1);
    click("Command2");
    EXPECT_EQ(boxes.shown.last().text, QStringLiteral("本次对比结束！"));
}

TEST_F(OnlineCheckTest, EngineMenuChoosesTheTemplate)
{
    analyse(kC + kC);
    child<QAction>(form.get(), "wenku")->trigger();
    click("Command2");
    EXPECT_TRUE(browser->navigations.last().startsWith(QStringLiteral("http://wenku.baidu.com/search?word=%")));
    child<QAction>(form.get(), "zhiwang")->trigger();
    browser->finish(resultPage(0));
    click("Command2");
    EXPECT_TRUE(browser->navigations.last().startsWith(QStringLiteral("http://scholar.cnki.net/result.aspx?q=%E4")));
    EXPECT_EQ(state().searchUrl, browser->navigations.last());
}

TEST_F(OnlineCheckTest, ScoringFillsTheDisplayAndTheTitleSlots)
{
    analyse(kA + kB + kC + kA + kB);
    for (int i = 0; i < 3; ++i) {
        click("Command2");
        browser->finish(resultPage(0));
    }
    click("Command2"); // sentence 4, 38 characters
    browser->finish(resultPage(190, {"T1", "T2", "T3"}), true);
    EXPECT_EQ(w<QLabel>("Label2")->text(), QStringLiteral("本句相似度：50%\r\n\r\n目前总体相似度：12.5%"));
    EXPECT_EQ(state().pageCount, 5);
    EXPECT_EQ(state().similaritySum, 50);
    EXPECT_EQ(state().titleTexts.mid(30, 4), (QStringList{"T1", "T2", "T3", QString()}));
    EXPECT_TRUE(state().titleBlocks[31].contains(QStringLiteral("T2</a>")));
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("现在正在对比第 4 句！共 5 句。"));
    EXPECT_FALSE(state().pageText.isEmpty());
    EXPECT_FALSE(state().markedPage.isEmpty());
    EXPECT_TRUE(browser->silent);
}

TEST_F(OnlineCheckTest, BusyCompletionAndEmptyPagesCountNothing)
{
    analyse(kA);
    click("Command2");
    browser->busy = true;
    emit browser->downloadComplete();
    EXPECT_TRUE(state().pageHtml.isEmpty());
    EXPECT_EQ(state().pageCount, 1);
    w<QLabel>("Label1")->setText(QStringLiteral("x"));
    w<QLabel>("Label2")->setText(QStringLiteral("unchanged"));
    browser->finish(QString());
    EXPECT_EQ(state().pageCount, 1);
    EXPECT_EQ(w<QLabel>("Label2")->text(), QStringLiteral("unchanged"));
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("现在正在对比第 1 句！共 1 句。"));
}

TEST_F(OnlineCheckTest, FailedLoadAndForeignHostAreNotScored)
{
    analyse(kA + kB);
    click("Command2");
    w<QLabel>("Label1")->setText(QStringLiteral("网络不给力，正在重新对比第 1 句"));
    browser->finish(resultPage(100), false); // the browser's own error page
    EXPECT_TRUE(state().pageHtml.isEmpty());
    EXPECT_EQ(state().pageCount, 1);
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("网络不给力，正在重新对比第 1 句"));
    click("Command2");
    browser->finish(resultPage(100), true, QStringLiteral("https://verify.example/check"));
    EXPECT_TRUE(state().pageHtml.isEmpty());
    EXPECT_EQ(state().pageCount, 1);
    // The same host by https is still the service.
    clickListRow(1);
    browser->finish(resultPage(100), true, QStringLiteral("https://www.baidu.com/s?wd=x"));
    EXPECT_FALSE(state().pageHtml.isEmpty());
    EXPECT_EQ(state().pageCount, 2);
}

// The automatic run on its real one-second timer.
class AutoRunTest : public OnlineCheckTest
{
protected:
    bool waitForNavigations(int n) { return waitUntil([&] { return browser->navigations.size() >= n; }, 5000); }
};

TEST_F(AutoRunTest, RunsThroughAllSentencesAndStops)
{
    analyse(kA + kB);
    click("Command3");
    EXPECT_TRUE(state().autoRun);
    EXPECT_TRUE(w<QPushButton>("Command4")->isVisible());
    EXPECT_FALSE(w<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("Command2")->isEnabled());
    EXPECT_FALSE(w<QListWidget>("List1")->isEnabled());
    ASSERT_EQ(browser->navigations.size(), 1);
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitForNavigations(2));
    EXPECT_EQ(browser->navigations[1], urlFor(1));
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 5000));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));
    EXPECT_FALSE(state().autoRun);
    EXPECT_TRUE(w<QPushButton>("Command3")->isVisible());
    EXPECT_FALSE(w<QPushButton>("Command4")->isVisible());
    EXPECT_TRUE(w<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(w<QPushButton>("Command2")->isEnabled());
    EXPECT_EQ(state().pageCount, 3);
}

TEST_F(AutoRunTest, PageThatNeverArrivesIsSearchedAgain)
{
    analyse(kA + kB);
    click("Command3");
    browser->finish(std::nullopt); // no document body
    ASSERT_TRUE(waitForNavigations(2));
    EXPECT_EQ(browser->navigations[1], urlFor(0));
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("网络不给力，正在重新对比第 1 句"));
    // A page that never arrived was never counted, so the divisor stays.
    EXPECT_EQ(state().pageCount, 1);
    browser->finish(QStringLiteral("<p>no double-byte text here</p>"));
    ASSERT_TRUE(waitForNavigations(3));
    EXPECT_EQ(browser->navigations[2], urlFor(0));
    EXPECT_EQ(state().pageCount, 1); // counted by scoring, taken back by the retry
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitForNavigations(4));
    EXPECT_EQ(browser->navigations[3], urlFor(1));
    click("Command4");
}

TEST_F(AutoRunTest, StopDuringTheRunStillScoresThePage)
{
    analyse(kA + kB + kC);
    click("Command3");
    click("Command4");
    EXPECT_FALSE(state().autoRun);
    EXPECT_FALSE(w<QPushButton>("Command4")->isVisible());
    EXPECT_TRUE(w<QPushButton>("Command2")->isEnabled());
    browser->finish(resultPage(0));
    EXPECT_EQ(state().pageCount, 2);
    QTest::qWait(2300);
    EXPECT_EQ(browser->navigations.size(), 1);
}

TEST_F(AutoRunTest, ClearingTheEditorStopsTheRun)
{
    analyse(kA + kB);
    click("Command3");
    editor()->clear();
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 5000));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("请先输入关键字"));
    EXPECT_FALSE(state().autoRun);
    EXPECT_TRUE(w<QPushButton>("Command1")->isEnabled());
}

TEST_F(AutoRunTest, BlankSentenceCountsAsFinished)
{
    analyse(kA + QStringLiteral("（）"));
    state().sentences.append(kC); // a third, searchable sentence after the blank one
    state().titleTexts.append(QStringList(10));
    state().titleBlocks.append(QStringList(10));
    click("Command3");
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitForNavigations(2));
    EXPECT_EQ(browser->navigations[1], *search::searchUrl(search::Engine::Baidu, kC));
    click("Command4");
}

TEST_F(OnlineCheckTest, StatisticsPasteTheTableAndRepeatIt)
{
    analyse(kA + kB);
    click("Command2");
    browser->finish(resultPage(0, {"T1", "T2", "T1"}));
    click("Command2");
    browser->finish(resultPage(0, {"T2", "T1"}));
    auto* command5 = w<QPushButton>("Command5");
    QTimer::singleShot(500, [&] {
        EXPECT_EQ(command5->text(), QStringLiteral("正在统计中……"));
        EXPECT_FALSE(command5->isEnabled());
    });
    QTest::mouseClick(command5, Qt::LeftButton);
    ASSERT_EQ(browser->pastes.size(), 1);
    const QString table = browser->pastes[0];
    EXPECT_TRUE(table.startsWith(QStringLiteral("<br><br><br><br><br><table><tr><td><h1>相似性网站分析结果</h1>")));
    EXPECT_EQ(table.count(QStringLiteral("<tr><td><a")), 2);
    EXPECT_LT(table.indexOf(QStringLiteral(">T1</a>")), table.indexOf(QStringLiteral(">T2</a>")));
    EXPECT_TRUE(table.contains(QStringLiteral("出现次数：3<br>")));
    EXPECT_TRUE(table.endsWith(QStringLiteral("</table>")));
    EXPECT_FALSE(state().statsPending);
    EXPECT_EQ(command5->text(), QStringLiteral("统计相似性网站"));
    EXPECT_TRUE(command5->isEnabled());
    // The title tables stay in sentence order for pages still to come.
    EXPECT_EQ(state().titleTexts.mid(0, 3), (QStringList{"T1", "T2", "T1"}));

    QTest::mouseClick(command5, Qt::LeftButton);
    ASSERT_EQ(browser->pastes.size(), 2);
    EXPECT_EQ(browser->pastes[1], table);
}

TEST_F(OnlineCheckTest, StatisticsRightAfterAnalysisWriteAnEmptyTable)
{
    analyse(kA);
    click("Command5");
    ASSERT_EQ(browser->pastes.size(), 1);
    EXPECT_EQ(browser->pastes[0],
              QStringLiteral("<br><br><br><br><br><table><tr><td><h1>相似性网站分析结果</h1></td></tr></table>"));
}

} // namespace
