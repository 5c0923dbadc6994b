#include "app/Form1.h"
#include "editor/RichTextBox.h"
#include "report/SiteTableCommand.h"
#include "search/CheckRun.h"
#include "search/Engines.h"
#include "search/QueryText.h"
#include "support/Form1Fixture.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "support/ResultPage.h"
#include "widgets/Twips.h"
#include "widgets/WidgetTwips.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWebEngineView>

#include <utility>

#include <gtest/gtest.h>

namespace {

class OnlineCheckTest : public Form1Fixture
{
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        browser->finish(QString()); // the blank start page
        browser->navigations.clear();
    }

    QColor colourAt(qsizetype textOffset)
    {
        QTextCursor c(editor()->document());
        c.setPosition(static_cast<int>(textOffset) + 1);
        return c.charFormat().foreground().color();
    }
    void clickListRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        auto* list = w<QListWidget>("List1");
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), button, {}, r.center());
    }

    MessageBoxRecorder boxes;
};

const QString kA = QString(38, QChar(u'甲'));
const QString kB = QString(38, QChar(u'乙'));
const QString kC = QString(20, QChar(u'丙'));

TEST_F(OnlineCheckTest, FirstStepSearchesSentenceOneAndMarksIt)
{
    analyse(kA + kB + kC);
    click("Command2");
    ASSERT_EQ(browser->navigations, QStringList{urlFor(0)});
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("现在正在对比第 1 句！共 3 句。"));
    EXPECT_EQ(w<QListWidget>("List1")->currentRow(), 0);
    EXPECT_TRUE(w<QListWidget>("List1")->isVisible());
    EXPECT_TRUE(w<QWebEngineView>("WebBrowser1")->isVisible());
    EXPECT_TRUE(w<QLabel>("Label2")->isVisible());
    EXPECT_EQ(colourAt(0), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(37), QColor(255, 0, 0));
    EXPECT_NE(colourAt(38), QColor(255, 0, 0));

    browser->finish(resultPage(190, {"T1"}));
    EXPECT_EQ(w<QLabel>("Label2")->text(), QStringLiteral("本句相似度：50%\r\n\r\n目前总体相似度：50%"));
    EXPECT_EQ(titleSlot(0), QStringLiteral("T1"));
    EXPECT_TRUE(browser->silent);
    click("Command2");
    EXPECT_EQ(browser->navigations.last(), urlFor(1));
    EXPECT_TRUE(browser->body->isEmpty()); // the step blanked the page shown
}

TEST_F(OnlineCheckTest, SentenceFoundTwiceIsMarkedTwiceAndTheNextStepBlacksTheSelectedOne)
{
    analyse(kA + kB + kA);
    click("Command2");
    EXPECT_EQ(colourAt(0), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(76), QColor(255, 0, 0));
    EXPECT_EQ(selectionStart(*editor()), 76);
    EXPECT_EQ(selectionLength(*editor()), 38);
    click("Command2");
    EXPECT_EQ(colourAt(0), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(76), QColor(0, 0, 0));
    EXPECT_EQ(colourAt(38), QColor(255, 0, 0));
}

TEST_F(OnlineCheckTest, FirstListClickOnlyChoosesTheStart)
{
    QString text;
    for (int i = 0; i < 12; ++i)
        text += QString(38, QChar(u'一' + i));
    analyse(text);
    clickListRow(4);
    EXPECT_TRUE(browser->navigations.isEmpty());
    click("Command2");
    EXPECT_EQ(browser->navigations, QStringList{urlFor(4)});
    // Entry 11 reads "11-..." and is searched with its sentence only.
    clickListRow(10);
    EXPECT_EQ(browser->navigations.last(), urlFor(10));
    // A click on the entry that is current searches it again.
    clickListRow(10);
    EXPECT_EQ(browser->navigations.size(), 3);
    EXPECT_EQ(browser->navigations.last(), urlFor(10));
    // The right and the middle button choose nothing.
    clickListRow(2, Qt::RightButton);
    clickListRow(3, Qt::MiddleButton);
    QTest::mouseDClick(w<QListWidget>("List1")->viewport(), Qt::RightButton, {},
                       w<QListWidget>("List1")->visualItemRect(w<QListWidget>("List1")->item(5)).center());
    EXPECT_EQ(browser->navigations.size(), 3);
    EXPECT_EQ(w<QListWidget>("List1")->currentRow(), 10);
}

TEST_F(OnlineCheckTest, EmptyEditorRestoresTheFullLayout)
{
    analyse(kA);
    editor()->clear();
    click("Command2");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("请先输入关键字"));
    EXPECT_FALSE(w<QListWidget>("List1")->isVisible());
    EXPECT_EQ(editor()->width(), px(twips::outerSize(form.get()).width() - 525));
    // Full height, or up to the status line when its wrapped text has grown upwards.
    EXPECT_EQ(editor()->height(), std::min(px(twips::outerSize(form.get()).height() - 1890),
                                           w<QLabel>("Label1")->y() - editor()->y()));
    EXPECT_TRUE(browser->navigations.isEmpty());
}

TEST_F(OnlineCheckTest, EngineMenuKeepsOneMarkAndChoosesTheTemplate)
{
    analyse(kC + kC);
    const auto action = [&](const char* name) { return child<QAction>(form.get(), name); };
    action("wenku")->trigger();
    click("Command2");
    EXPECT_TRUE(
        browser->navigations.last().startsWith(QStringLiteral("https://wenku.baidu.com/search?word=%")));
    action("zhiwang")->trigger();
    action("zhiwang")->trigger(); // clicking the checked item keeps it checked
    EXPECT_TRUE(action("zhiwang")->isChecked());
    EXPECT_FALSE(action("wenku")->isChecked());
    EXPECT_FALSE(action("baidu")->isChecked());
    browser->finish(resultPage(0));
    click("Command2");
    EXPECT_TRUE(
        browser->navigations.last().startsWith(QStringLiteral("https://scholar.cnki.net/result.aspx?q=%E4")));
    EXPECT_EQ(run().searchUrl(), browser->navigations.last());
    action("baidu")->trigger();
    EXPECT_EQ(form->selectedEngine(), search::Engine::Baidu);
}

// The automatic run on the window's Timer2, ticking fast.
class AutoRunTest : public OnlineCheckTest
{
protected:
    bool waitForNavigations(int n)
    {
        return waitUntil([&] { return browser->navigations.size() >= n; }, 5000);
    }
};

TEST_F(AutoRunTest, RunsThroughAllSentencesAndStops)
{
    analyse(kA + kB);
    click("Command3"); // the controls follow the run's state: Form1Test.ControlStatesFollowAutoRun
    EXPECT_TRUE(run().isRunning());
    ASSERT_EQ(browser->navigations.size(), 1);
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitForNavigations(2));
    EXPECT_EQ(browser->navigations[1], urlFor(1));
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 5000));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));
    EXPECT_FALSE(run().isRunning());
}

TEST_F(OnlineCheckTest, StatisticsPasteTheTableAndRepeatIt)
{
    analyse(kA + kB);
    click("Command2");
    browser->finish(resultPage(0, {"T1", "T2", "T1"}));
    click("Command2");
    browser->finish(resultPage(0, {"T2", "T1"}));
    auto* command5 = w<QPushButton>("Command5");
    QTest::mouseClick(command5, Qt::LeftButton);
    EXPECT_EQ(command5->text(), QStringLiteral("正在统计中……"));
    EXPECT_FALSE(command5->isEnabled());
    EXPECT_TRUE(browser->siteTables.isEmpty()); // written only after the wait
    ASSERT_TRUE(waitUntil([&] { return browser->siteTables.size() == 1; }));
    const LinkTable table = browser->siteTables[0];
    EXPECT_EQ(table.heading, QStringLiteral("相似性网站分析结果"));
    ASSERT_EQ(table.rows.size(), 2);
    EXPECT_EQ(table.rows[0].text, QStringLiteral("T1"));
    EXPECT_EQ(table.rows[1].text, QStringLiteral("T2"));
    EXPECT_EQ(table.rows[0].note, QStringLiteral("\u00A0\u00A0出现次数：3"));
    EXPECT_EQ(table.rows[0].link, QStringLiteral("http://r.example/T1"));
    EXPECT_FALSE(stats().isPending());
    EXPECT_EQ(command5->text(), QStringLiteral("统计相似性网站"));
    EXPECT_TRUE(command5->isEnabled());

    QTest::mouseClick(command5, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return browser->siteTables.size() == 2; }));
    EXPECT_EQ(browser->siteTables[1], table);
}

TEST_F(OnlineCheckTest, StatisticsRightAfterAnalysisWriteAnEmptyTable)
{
    analyse(kA);
    click("Command5");
    ASSERT_TRUE(waitUntil([&] { return browser->siteTables.size() == 1; }));
    EXPECT_EQ(browser->siteTables[0], (LinkTable{QStringLiteral("相似性网站分析结果"), {}}));
}

TEST_F(AutoRunTest, ClosingTheWindowWhileATickWaitsForThePage)
{
    analyse(kA + kB);
    browser->holdReads = true;
    click("Command3");
    browser->finish(resultPage(0));
    QPointer<search::CheckRun> run = form->findChild<search::CheckRun*>();
    ASSERT_TRUE(run);
    pumpEvents(3 * static_cast<int>(kTick.count())); // ticks come while the read is held, and wait
    const QList<Browser::HtmlCallback> reads = std::exchange(browser->heldReads, {});
    ASSERT_EQ(reads.size(), 1);
    boxes.answerWith(MessageBox::Answer::Discard); // the analysed article is not kept
    form->close();
    ASSERT_EQ(boxes.shown.size(), 1);
    boxes.shown.clear();
    form.reset();
    EXPECT_TRUE(run.isNull());
    // The pane's answer comes after the window has gone: it reaches nothing.
    reads[0](resultPage(0));
    pumpEvents(3 * static_cast<int>(kTick.count()));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(OnlineCheckTest, ClosingTheWindowWhileTheStatisticsWait)
{
    analyse(kA);
    click("Command5");
    QPointer<SiteTableCommand> stats = form->findChild<SiteTableCommand*>();
    ASSERT_TRUE(stats && stats->isBusy());
    boxes.answerWith(MessageBox::Answer::Discard);
    form->close();
    form.reset();
    // The wait ends with the window: no table is written into a pane that has gone.
    EXPECT_TRUE(stats.isNull());
    pumpEvents(2 * static_cast<int>(kReportWait.count()));
}

// The pane's read goes back to the run with the tag of the step that asked for it.
TEST_F(OnlineCheckTest, ReadsCarryTheirStepsTag)
{
    analyse(kA + kB);
    browser->holdReads = true;
    click("Command2");
    browser->finish(resultPage(190, {"OLD"}));
    click("Command2"); // the next step begins before the first page's read is answered
    browser->finish(resultPage(0, {"NEW"}));
    browser->answerHeldReads();
    EXPECT_TRUE(titleSlot(0).isEmpty());
    EXPECT_EQ(titleSlot(10), QStringLiteral("NEW"));
}

TEST_F(OnlineCheckTest, AVerificationPageShowsWholeUntilTheNextAnalysis)
{
    analyse(kA + kB);
    auto* pane = w<QWebEngineView>("WebBrowser1");
    const int coveredTop = pane->y();
    click("Command2");
    browser->title = QStringLiteral("百度安全验证");
    browser->finish(QStringLiteral("<p>网络不给力，请稍后重试</p>"));
    EXPECT_EQ(w<QLabel>("Label1")->text(), search::kVerificationRequest);
    EXPECT_EQ(pane->y(), px(45));
    const auto siblings = form->centralWidget()->children();
    EXPECT_GT(siblings.indexOf(pane), siblings.indexOf(editor()));
    EXPECT_EQ(run().pageCount(), 1);
    // A resize keeps the whole page in view.
    form->resize(form->width() + 40, form->height() + 40);
    pumpEvents(20);
    EXPECT_EQ(pane->y(), px(45));
    // A new analysis gives the editor its place above the pane again.
    click("Command1");
    EXPECT_EQ(pane->y(), coveredTop);
    EXPECT_LT(form->centralWidget()->children().indexOf(pane),
              form->centralWidget()->children().indexOf(editor()));
}

} // namespace
