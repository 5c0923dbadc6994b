// 检测结果 as the writer keeps it open beside the main window: where it opens and stays, the progress
// above the table, the sort of a first click, and the keys between the windows.
#include "app/ResultWindow.h"
#include "comparator/Form2.h"
#include "support/Form1Fixture.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QShortcut>
#include <QTableView>

namespace {

class ResultWindowTest : public Form1Fixture
{
protected:
    void SetUp() override
    {
        startAt({});
        ASSERT_FALSE(HasFatalFailure());
    }
    void startAt(Program::Options options, bool keepPlaces = false)
    {
        options.clock = [this] { return now; };
        start(std::move(options), keepPlaces);
        browser->finish(QString()); // the blank start page
        browser->navigations.clear();
    }
    // n sentences of 38 characters each, the k-th made of one character of its own.
    void analyseSentences(int n)
    {
        QString text;
        for (int k = 0; k < n; ++k)
            text += QString(38, QChar(u'一' + k));
        analyse(text);
    }
    ResultWindow* openResults()
    {
        child<QAction>(form.get(), "jieguo")->trigger();
        auto* results = form->findChild<ResultWindow*>(QStringLiteral("ResultWindow"));
        // A tool window counts as active with its main window until it is the active one itself.
        if (results && waitUntil([&] { return QApplication::activeWindow() == results; }))
            return results;
        ADD_FAILURE() << "检测结果 did not open";
        return results;
    }
    QTableView* table(ResultWindow* results) { return child<QTableView>(results, "ResultTable"); }
    void step(int highlighted)
    {
        click("Command2");
        browser->finish(resultPage(highlighted, {"T"}));
    }

    qint64 now = 0;
};

} // namespace

TEST_F(ResultWindowTest, OpensOverTheMainWindowBelowItsMenuBarThenWhereItWasLeftAndEscClosesIt)
{
    analyseSentences(30);
    ResultWindow* results = openResults();
    ASSERT_TRUE(results);
    EXPECT_EQ(results->parentWidget(), form.get());
    EXPECT_TRUE(results->windowFlags().testFlag(Qt::Tool)) << "above the main window, never under it";
    QMenuBar* bar = form->menuBar();
    EXPECT_GE(results->frameGeometry().top(), bar->mapToGlobal(QPoint(0, bar->height())).y());
    EXPECT_NEAR(results->frameGeometry().center().x(), form->frameGeometry().center().x(), 1);
    QTableView* rows = table(results);
    EXPECT_GE(rows->rowAt(rows->viewport()->height() - 1), ResultWindow::kFirstRows - 1)
        << "at least 20 rows in view";

    QTest::keyClick(rows, Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return !results->isVisible(); }));

    const QRect left(results->x() + 40, results->y() + 30, results->width() + 50, results->height() - 20);
    results->setGeometry(left);
    openResults();
    results->close();
    MessageBoxRecorder boxes(MessageBox::Answer::Discard); // the article is not kept
    form->close();
    startAt({}, true);
    results = openResults();
    ASSERT_TRUE(results);
    EXPECT_EQ(results->geometry(), left) << "kept between starts";
}

TEST_F(ResultWindowTest, DuringARunTheHeaderShowsTheShareAndTheTimeLeftAtTheRunsOwnPace)
{
    analyseSentences(10);
    ResultWindow* results = openResults();
    ASSERT_TRUE(results);
    auto* summary = child<QLabel>(results, "ResultSummary");
    auto* bar = child<QProgressBar>(results, "ResultProgress");
    EXPECT_TRUE(summary->text().contains(QStringLiteral("已检测 0/10 句")));
    EXPECT_FALSE(bar->isVisible());

    click("Command3");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(child<QLabel>(results, "TimeLeft")->text(), QStringLiteral("正在估算剩余时间……"));
    now = 2 * 60'000; // two sentences in four minutes: eight more take sixteen
    browser->finish(resultPage(190));
    ASSERT_TRUE(waitUntil([&] { return browser->navigations.size() == 2; }));
    now = 4 * 60'000;
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitUntil([&] { return bar->value() == 2; }));
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(child<QLabel>(results, "TimeLeft")->text(), QStringLiteral("约剩 16 分钟"));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("目前总体相似度：25")));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("已检测 2/10 句")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tessaro V2016.7.27 — 20%"))
        << "a minimised window says it";

    click("Command4");
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tessaro V2016.7.27"));
}

TEST_F(ResultWindowTest, AFirstClickSortsTheFiguresFromTheHighestAndTheNumbersFromTheFirst)
{
    analyseSentences(3);
    step(0);
    step(190);
    ResultWindow* results = openResults();
    ASSERT_TRUE(results);
    QTableView* rows = table(results);
    QHeaderView* header = rows->horizontalHeader();
    auto clickColumn = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                 header->height() / 2));
        return rows->model()->index(0, 0).data().toInt();
    };
    EXPECT_EQ(clickColumn(2), 2) << "相似度: 50 % first";
    EXPECT_EQ(clickColumn(0), 1) << "句号: the first sentence first";
}

TEST_F(ResultWindowTest, ADoubleClickDuringARunShowsTheRowsSentenceAndLeavesTheResultsInFront)
{
    analyseSentences(4);
    click("Command3");
    ResultWindow* results = openResults();
    ASSERT_TRUE(results);
    QTableView* rows = table(results);
    const QString third = run().sentences().at(2);
    const QPoint row = rows->visualRect(rows->model()->index(2, 1)).center();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, row); // a double click's first click
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(editor()->textCursor().selectedText(), third);
    EXPECT_EQ(QApplication::activeWindow(), results);

    browser->finish(resultPage(0)); // the run marks its next sentence
    ASSERT_TRUE(waitUntil([&] { return browser->navigations.size() == 2; }));
    pumpEvents(50);
    EXPECT_EQ(editor()->textCursor().selectedText(), third) << "the run's marks do not take it away";
    EXPECT_EQ(QApplication::activeWindow(), results);
}

TEST_F(ResultWindowTest, F6GoesRoundTheOpenWindowsAndTheMainWindowsKeysWorkInTheResults)
{
    editor()->setPlainText(QString(76, QChar(u'甲')));
    ResultWindow* results = openResults();
    ASSERT_TRUE(results);
    QTest::keyClick(table(results), Qt::Key_F7); // 进行分析, from the results window
    EXPECT_TRUE(waitUntil([&] { return w<QListWidget>("List1")->count() == 2; }));

    auto next = [] {
        QWidget* before = QApplication::activeWindow();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : before, Qt::Key_F6);
        waitUntil([&] { return QApplication::activeWindow() != before; }, 2000);
        return QApplication::activeWindow();
    };
    EXPECT_TRUE(waitUntil([&] { return next() == form.get(); }));
    click("Command6");
    ASSERT_TRUE(waitUntil([] { return qobject_cast<Form2*>(QApplication::activeWindow()) != nullptr; }));
    QWidget* comparator = QApplication::activeWindow();
    QList<QWidget*> visited;
    for (int i = 0; i < 3; ++i)
        visited << next();
    EXPECT_EQ(visited, (QList<QWidget*>{form.get(), results, comparator}));
}
