// The main window as a writer works in it: the results table, labels and editor that never cover each
// other, the list's tool tips, and the keyboard route.
#include "app/ResultWindow.h"
#include "platform/Shell.h"
#include "report/Bands.h"
#include "search/CheckRun.h"
#include "support/Form1Fixture.h"
#include "support/QtPrinters.h"
#include "support/ResultPage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTextBrowser>
#include <QToolTip>
#include <QWebEngineView>

namespace {

const QString kA(38, QChar(u'甲'));
const QString kB(38, QChar(u'乙'));
const QString kC(38, QChar(u'丙'));

class WriterWindowTest : public Form1Fixture
{
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        browser->finish(QString()); // the blank start page
        browser->navigations.clear();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // A compare step by hand whose page arrives at once.
    void step(const QString& page)
    {
        click("Command2");
        browser->finish(page);
    }
    QListWidget* list() { return w<QListWidget>("List1"); }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    }
};

} // namespace

TEST_F(WriterWindowTest, ResultsTableFollowsTheRunAndShowsASentenceWithoutSearching)
{
    analyse(kA + kB + kC);
    editor()->setFocus();
    key(Qt::Key_R, Qt::ControlModifier);
    auto* results = form->findChild<ResultWindow*>(QStringLiteral("ResultWindow"));
    ASSERT_TRUE(results && results->isVisible());
    auto* table = child<QTableView>(results, "ResultTable");
    QAbstractItemModel* rows = table->model();
    step(resultPage(190, {"T"}));
    step(resultPage(0, {"T"}));
    EXPECT_EQ(rows->index(0, 2).data().toString(), QStringLiteral("50%")); // live
    EXPECT_EQ(rows->index(0, 1).data(Qt::BackgroundRole).value<QColor>(),
              QColor(QRgb(*report::bandStyle(report::Band::High).colour)));
    auto* coverage = child<QLabel>(results, "ResultSummary");
    EXPECT_TRUE(coverage->text().endsWith(QStringLiteral("已检测 2/3 句，检测尚未完成")))
        << coverage->text().toStdString();

    auto* onlyHigh = child<QCheckBox>(results, "OnlyHigh");
    onlyHigh->setChecked(true);
    EXPECT_EQ(rows->rowCount(), 1);
    onlyHigh->setChecked(false);
    table->sortByColumn(2, Qt::AscendingOrder); // by figure: none, 0 %, 50 %
    EXPECT_EQ(rows->index(0, 0).data().toInt(), 3);
    EXPECT_EQ(rows->index(2, 0).data().toInt(), 1);

    // A double click shows the sentence in the editor, selected, and searches nothing.
    const int navigations = int(browser->navigations.size());
    const int listRow = list()->currentRow();
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(rows->index(1, 1)).center());
    EXPECT_EQ(editor()->textCursor().selectedText(), kB);
    EXPECT_EQ(browser->navigations.size(), navigations);
    EXPECT_EQ(list()->currentRow(), listRow);

    // The chosen row's titles link to their pages, opened in the default browser.
    table->selectRow(2);
    auto* details = child<QTextBrowser>(results, "ResultDetails");
    EXPECT_TRUE(details->toHtml().contains(QStringLiteral("href=\"http://r.example/T\"")));
    QList<QUrl> opened;
    Shell::setHandler([&](const QUrl& url) { return opened.append(url), true; });
    emit details->anchorClicked(QUrl(QStringLiteral("http://r.example/T")));
    Shell::setHandler({});
    EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("http://r.example/T"))});

    // An article edited after the analysis: the window says so instead of selecting something else.
    editor()->setPlainText(kA);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(rows->index(1, 1)).center());
    EXPECT_TRUE(details->toPlainText().contains(QStringLiteral("找不到这一句")));

    step(resultPage(0));
    EXPECT_TRUE(coverage->text().endsWith(QStringLiteral("已检测 3/3 句，检测完成")))
        << coverage->text().toStdString();
}

TEST_F(WriterWindowTest, CuttingBySentenceSearchesTheWritersWordsAndShowsThemAsWritten)
{
    auto* bySentence = form->findChild<QAction*>(QStringLiteral("anjuqiefen"));
    ASSERT_TRUE(bySentence);
    bySentence->setChecked(true);
    const QString latin = QStringLiteral("Text  similarity matters (Li, 2019).");
    analyse(QStringLiteral("目录\r\n第一章 绪论\t1\r\n") + latin);
    bySentence->setChecked(false);
    EXPECT_TRUE(list()->item(0)->toolTip().endsWith(QStringLiteral("状态：目录")));
    step(resultPage(0));
    EXPECT_EQ(browser->navigations, QStringList{searchUrlFor(QStringLiteral("Text similarity matters."))});
    EXPECT_EQ(record().at(2).state, search::SentenceState::Scored);

    editor()->setFocus();
    key(Qt::Key_R, Qt::ControlModifier);
    auto* results = form->findChild<ResultWindow*>(QStringLiteral("ResultWindow"));
    ASSERT_TRUE(results);
    auto* table = child<QTableView>(results, "ResultTable");
    const QModelIndex row = table->model()->index(2, 1);
    EXPECT_EQ(row.data().toString(), latin);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(results));
    table->setCurrentIndex(row);
    QTest::keyClick(table, Qt::Key_Return); // shows the piece where it stands, as written
    EXPECT_EQ(editor()->textCursor().selectedText(), latin);
}

TEST_F(WriterWindowTest, EditorAndStatusLineFitTheWindowAndNeverOverlap)
{
    auto* label1 = w<QLabel>("Label1");
    auto* label2 = w<QLabel>("Label2");
    auto* pane = w<QWebEngineView>("WebBrowser1");
    label2->show();
    for (const bool maximised : {false, true}) {
        SCOPED_TRACE(maximised);
        if (maximised) {
            const QSize before = form->size();
            form->showMaximized();
            ASSERT_TRUE(waitUntil([&] { return form->size() != before; }));
        }
        label1->setText(search::kVerificationRequest);
        ASSERT_TRUE(waitUntil([&] {
            return label1->geometry().right() < label2->x() &&
                   label1->height() >= label1->heightForWidth(label1->width());
        }));
        EXPECT_LE(label1->geometry().bottom(), w<QPushButton>("Command1")->y());
        EXPECT_LT(pane->geometry().bottom(), label1->y());
        EXPECT_GE(label1->height(), 2 * label1->fontMetrics().lineSpacing()) << "the request wraps";

        // New gives the editor the size of the window as it is now, above the labels.
        child<QAction>(form.get(), "xinjian")->trigger();
        EXPECT_EQ(editor()->width(), px(twips::outerSize(form.get()).width() - 525));
        EXPECT_LT(editor()->geometry().bottom(), label1->y());
    }
    label2->hide();
    EXPECT_TRUE(waitUntil([&] { return twips::width(label1) == 8385; }));
}

TEST_F(WriterWindowTest, ListEntriesTellTheirOwnResultAndStayReadableDuringARun)
{
    analyse(kA + kB);
    step(resultPage(190, {"T"}));
    QListWidget* l = list();
    l->setCurrentRow(0);
    const QPoint second = l->visualItemRect(l->item(1)).center();
    QHelpEvent help(QEvent::ToolTip, second, l->viewport()->mapToGlobal(second));
    QApplication::sendEvent(l->viewport(), &help);
    EXPECT_EQ(QToolTip::text(),
              QStringLiteral("第 2 句：") + kB + QStringLiteral("\n相似度：—\n状态：尚未检索"));
    EXPECT_TRUE(l->item(0)->toolTip().contains(QStringLiteral("相似度：50%\n状态：已评分")));
    QToolTip::hideText();

    click("Command3"); // the run disables the list
    ASSERT_FALSE(l->isEnabled());
    const QRect first = l->visualItemRect(l->item(0)); // coloured by its 50 %
    const QImage disabled = l->viewport()->grab(first).toImage();
    l->setEnabled(true);
    EXPECT_EQ(l->viewport()->grab(first).toImage(), disabled) << "the entries look as they do when enabled";
}

TEST_F(WriterWindowTest, KeyboardReachesTheCommandsTheMenuBarAndEveryControl)
{
    editor()->setPlainText(kA + kB);
    editor()->setFocus();
    key(Qt::Key_F7);
    ASSERT_TRUE(waitUntil([&] { return list()->count() == 2; }));
    key(Qt::Key_F8);
    ASSERT_TRUE(waitUntil([&] { return browser->navigations.size() == 1; }));
    browser->finish(resultPage(0, {"T"}));
    key(Qt::Key_F5);
    ASSERT_TRUE(waitUntil([&] { return run().isRunning(); }));
    EXPECT_TRUE(w<QPushButton>("Command3")->shortcut().isEmpty())
        << "F5 starts no second step during the run";
    key(Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_TRUE(waitUntil([&] { return !run().isRunning(); }));
    EXPECT_EQ(w<QPushButton>("Command3")->shortcut(), QKeySequence(Qt::Key_F5));

    QMenuBar* bar = form->menuBar();
    editor()->setFocus();
    ASSERT_EQ(bar->activeAction(), nullptr);
    const QRect first = bar->actionGeometry(w<QMenu>("wjcd")->menuAction());
    const QImage unmarked = bar->grab(first).toImage();
    QTest::keyClick(editor(), Qt::Key_Alt);
    EXPECT_TRUE(waitUntil([&] { return bar->activeAction() == w<QMenu>("wjcd")->menuAction(); }))
        << "Alt alone reaches the menu bar";
    EXPECT_NE(bar->grab(first).toImage(), unmarked) << "and the first menu shows highlighted";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return bar->activeAction() == nullptr; }));
    editor()->setFocus();
    key(Qt::Key_F10);
    EXPECT_TRUE(waitUntil([&] { return bar->activeAction() == w<QMenu>("wjcd")->menuAction(); }));
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    EXPECT_EQ(w<QMenu>("wjcd")->title(), QStringLiteral("文件")) << "captions unchanged";
    // The items on the bar itself name their keys in tool tips.
    const QPoint over = bar->actionGeometry(w<QAction>("jieguo")).center();
    QHelpEvent help(QEvent::ToolTip, over, bar->mapToGlobal(over));
    QApplication::sendEvent(bar, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("检测结果（Ctrl+R）"));

    // Tab visits every control; Ctrl+Tab leaves those that keep Tab for themselves.
    editor()->setFocus();
    QSet<QString> reached;
    for (int i = 0; i < 20; ++i) {
        QWidget* f = QApplication::focusWidget();
        ASSERT_TRUE(f);
        QWidget* keeper = nullptr; // a control that takes Tab itself
        for (const char* name : {"RichTextBox1", "WebBrowser1"})
            keeper = w<QWidget>(name) == f || w<QWidget>(name)->isAncestorOf(f) ? w<QWidget>(name) : keeper;
        reached.insert(keeper ? keeper->objectName() : f->objectName());
        key(Qt::Key_Tab, keeper ? Qt::ControlModifier : Qt::NoModifier);
        EXPECT_FALSE(keeper && keeper->isAncestorOf(QApplication::focusWidget())) << "Ctrl+Tab left it";
    }
    for (const char* name :
         {"RichTextBox1", "WebBrowser1", "List1", "Command1", "Command2", "Command3", "Command5", "Command6"})
        EXPECT_TRUE(reached.contains(QLatin1String(name))) << name;
}
