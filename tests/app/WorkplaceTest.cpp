// The program as a writer keeps working in it: 检测结果 beside the main window, the caption, the places
// kept between starts, dialogs that start where the work is, the keys, and the 帮助 menu.
#include "app/ResultWindow.h"
#include "comparator/Form2.h"
#include "editor/DocumentCommands.h"
#include "platform/FileDialog.h"
#include "platform/Shell.h"
#include "sources/Library.h"
#include "support/DocumentTestHelpers.h"
#include "support/FileDialogScript.h"
#include "support/Form1Fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QSettings>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>
#include <QWebEngineView>

namespace {

const QString kCaption = QStringLiteral("Tessaro V2016.7.27");

class WorkplaceTest : public Form1Fixture
{
protected:
    void SetUp() override { startAt(false); }
    void startAt(bool keepPlaces)
    {
        Program::Options options;
        options.storeDirectory = dir.filePath(QStringLiteral("store"));
        options.clock = [this] { return now; };
        options.sourcesLibrary = dir.filePath(QStringLiteral("sources.sqlite"));
        start(std::move(options), keepPlaces);
        browser->finish(QString()); // the blank start page
        browser->navigations.clear();
    }
    // n sentences, the k-th made of one character of its own.
    void analyseSentences(int n)
    {
        QString text;
        for (int k = 0; k < n; ++k)
            text += QString(38, QChar(u'一' + k));
        analyse(text);
    }
    ResultWindow* openResults()
    {
        w<QAction>("jieguo")->trigger();
        auto* results = form->findChild<ResultWindow*>();
        // A tool window counts as active with its main window until it is the active one itself.
        EXPECT_TRUE(results && waitUntil([&] { return QApplication::activeWindow() == results; }));
        table = child<QTableView>(results, "ResultTable");
        return results;
    }
    void open(const QString& path)
    {
        auto* documents = child<DocumentCommands>(form.get(), "documentCommands");
        documents->setReading(testReading());
        dialogs.choose(path);
        w<QAction>("dakai")->trigger();
        ASSERT_TRUE(waitUntil([&] { return !documents->isReading(); }));
    }
    QDialog* dialog(const char* name) { return form->findChild<QDialog*>(QLatin1String(name)); }

    qint64 now = 0;
    QTableView* table = nullptr;
    QTemporaryDir dir;
    FileDialogScript dialogs;
    MessageBoxRecorder boxes{MessageBox::Answer::Discard}; // the instruction text is not kept
};

} // namespace

TEST_F(WorkplaceTest, OpensOverTheMainWindowBelowItsMenuBarThenWhereItWasLeftAndEscClosesIt)
{
    analyseSentences(30);
    ResultWindow* results = openResults();
    EXPECT_TRUE(results->windowFlags().testFlag(Qt::Tool)) << "above the main window, never under it";
    QMenuBar* bar = form->menuBar();
    EXPECT_GE(results->frameGeometry().top(), bar->mapToGlobal(QPoint(0, bar->height())).y());
    EXPECT_NEAR(results->frameGeometry().center().x(), form->frameGeometry().center().x(), 1);
    EXPECT_GE(table->rowAt(table->viewport()->height() - 1), ResultWindow::kFirstRows - 1);

    const QRect left(results->x() + 40, results->y() + 30, results->width() + 50, results->height() - 20);
    results->setGeometry(left);
    QTest::keyClick(table, Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return !results->isVisible(); }));
    form->close();
    startAt(true);
    EXPECT_EQ(openResults()->geometry(), left) << "kept between starts";
}

TEST_F(WorkplaceTest, DuringARunTheHeaderShowsTheShareAndTheTimeLeftAtTheRunsOwnPace)
{
    analyseSentences(10);
    ResultWindow* results = openResults();
    auto* summary = child<QLabel>(results, "ResultSummary");
    auto* bar = child<QProgressBar>(results, "ResultProgress");
    click("Command3");
    EXPECT_EQ(child<QLabel>(results, "TimeLeft")->text(), QStringLiteral("正在估算剩余时间……"));
    now = 2 * 60'000; // two sentences in four minutes: eight more take sixteen
    browser->finish(resultPage(190));
    ASSERT_TRUE(waitUntil([&] { return browser->navigations.size() == 2; }));
    now = 4 * 60'000;
    browser->finish(resultPage(0));
    ASSERT_TRUE(waitUntil([&] { return bar->value() == 2; }));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(child<QLabel>(results, "TimeLeft")->text(), QStringLiteral("约剩 16 分钟"));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("目前总体相似度：25")));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("已检测 2/10 句")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tessaro V2016.7.27 — 20%"))
        << "a minimised window says it";

    click("Command4");
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tessaro V2016.7.27"));
}

TEST_F(WorkplaceTest, AFirstClickSortsTheFiguresFromTheHighestAndTheNumbersFromTheFirst)
{
    analyseSentences(3);
    for (int highlighted : {0, 190}) {
        click("Command2");
        browser->finish(resultPage(highlighted));
    }
    openResults();
    QHeaderView* header = table->horizontalHeader();
    auto clickColumn = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        return table->model()->index(0, 0).data().toInt();
    };
    EXPECT_EQ(clickColumn(2), 2) << "相似度: 50 % first";
    EXPECT_EQ(clickColumn(0), 1) << "句号: the first sentence first";
}

TEST_F(WorkplaceTest, ADoubleClickDuringARunShowsTheRowsSentenceAndLeavesTheResultsInFront)
{
    analyseSentences(4);
    click("Command3");
    ResultWindow* results = openResults();
    const QString third = run().sentences().at(2);
    const QPoint row = table->visualRect(table->model()->index(2, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row); // a double click's first click
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(editor()->textCursor().selectedText(), third);

    browser->finish(resultPage(0)); // the run marks its next sentence
    ASSERT_TRUE(waitUntil([&] { return browser->navigations.size() == 2; }));
    EXPECT_EQ(editor()->textCursor().selectedText(), third) << "the run's marks do not take it away";
    EXPECT_EQ(QApplication::activeWindow(), results);
    QTextCursor first(editor()->document());
    first.setPosition(1);
    EXPECT_EQ(first.charFormat().foreground().color(), QColor(0, 0, 0))
        << "the step unmarked what the run left";
}

TEST_F(WorkplaceTest, F6GoesRoundTheOpenWindowsAndEscClosesTheSourcesWindows)
{
    const QString source(38, u'一');
    form->close();
    ASSERT_TRUE(
        sources::Library(dir.filePath(QStringLiteral("sources.sqlite")))
            .addSource(QStringLiteral("/来源/论文.pdf"), "hash", 100, QStringLiteral("论文"), source));
    startAt(false);
    editor()->setPlainText(source);
    w<QAction>("bendibidui")->trigger();
    QPointer<QWidget> local;
    ASSERT_TRUE(
        waitUntil([&] { return (local = form->findChild<QWidget*>(QStringLiteral("LocalCheckWindow"))); }));
    ResultWindow* results = openResults();
    click("Command6");
    ASSERT_TRUE(waitUntil([] { return qobject_cast<Form2*>(QApplication::activeWindow()); }));
    QWidget* comparator = QApplication::activeWindow();
    auto next = [] {
        QWidget* before = QApplication::activeWindow();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : before, Qt::Key_F6);
        waitUntil([&] { return QApplication::activeWindow() != before; }, 2000);
        return QApplication::activeWindow();
    };
    const QList<QWidget*> visited{next(), next(), next(), next()};
    EXPECT_EQ(visited, (QList<QWidget*>{local, form.get(), results, comparator}));

    local->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == local; }));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : local.data(), Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !local; }));
    // 管理来源库 is modal: the key goes to it from inside its own loop.
    bool stuck = false;
    QTimer::singleShot(0, [] {
        QWidget* manager = QApplication::activeModalWidget();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : manager, Qt::Key_Escape);
    });
    QTimer::singleShot(5000, [&] {
        if (QDialog* manager = dialog("guanlilaiyuanDialog"); manager && manager->isVisible()) {
            stuck = true;
            manager->reject();
        }
    });
    w<QAction>("guanlilaiyuan")->trigger();
    EXPECT_FALSE(stuck);
}

TEST_F(WorkplaceTest, CaptionNamesTheFileAndTheExportStartsBesideIt)
{
    open(writeFile(dir, "第三章.txt", "text"));
    EXPECT_EQ(form->windowTitle(), kCaption + QStringLiteral(" — 第三章.txt"));
    click("Command1");
    dialogs.cancel();
    w<QAction>("daochu")->trigger();
    EXPECT_EQ(dialogs.shown.last().fileName, dir.filePath(QStringLiteral("第三章-检测报告.html")));

    dialogs.choose(dir.filePath(QStringLiteral("第四章.rtf")));
    w<QAction>("baocun")->trigger();
    EXPECT_EQ(form->windowTitle(), kCaption + QStringLiteral(" — 第四章.rtf"));
}

TEST_F(WorkplaceTest, SizePlaceAndMaximisedStateAreKeptAndMaximisingLeavesNoEmptyField)
{
    const QRect placed(form->x() + 30, form->y() + 20, form->width() - 60, form->height() - 40);
    form->setGeometry(placed);
    ASSERT_TRUE(waitUntil([&] { return form->geometry() == placed; }));
    form->close();
    startAt(true);
    EXPECT_EQ(form->geometry(), placed);

    analyse(QString(100, QChar(u'甲')));
    form->showMaximized();
    ASSERT_TRUE(waitUntil([&] { return form->isMaximized() && form->geometry() != placed; }));
    // Below the shortened editor the blank result pane shows, down to the rule's seam above Label1.
    const int below = editor()->geometry().bottom() + 1;
    const QRect field(editor()->x(), below, editor()->width(), w<QLabel>("Label1")->y() - px(100) - below);
    auto* pane = w<QWebEngineView>("WebBrowser1");
    EXPECT_TRUE(pane->isVisible() && pane->geometry().contains(field));
    form->close();
    startAt(true);
    EXPECT_TRUE(form->isMaximized());
}

TEST_F(WorkplaceTest, FileDialogsNameFileTypesInChineseAndShowWholeColumns)
{
    QDir(dir.path()).mkdir(QStringLiteral("子文件夹"));
    QFileDialog shown;
    FileDialog::Request request;
    request.fileName = writeFile(dir, "论文.docx", "text");
    FileDialog::prepare(shown, request);
    shown.show();
    auto* view = child<QTreeView>(&shown, "treeView");
    auto* model = static_cast<QFileSystemModel*>(view->model());
    ASSERT_TRUE(waitUntil([&] { return model->rowCount(model->index(dir.path())) == 3; })); // with store/
    const QModelIndex folder = model->index(dir.filePath(QStringLiteral("子文件夹")));
    const QModelIndex docx = model->index(request.fileName);
    EXPECT_EQ(folder.siblingAtColumn(2).data().toString(), QStringLiteral("文件夹"));
    EXPECT_EQ(docx.siblingAtColumn(2).data().toString(), QStringLiteral("Word 文档"));
    for (int column = 1; column < view->header()->count(); ++column) {
        for (const QModelIndex& row : {folder, docx})
            EXPECT_GE(view->header()->sectionSize(column),
                      view->sizeHintForIndex(row.siblingAtColumn(column)).width());
    }
}

TEST_F(WorkplaceTest, StatisticsShowThatTheyAreBusyWhileTheyWait)
{
    analyse(QString(38, QChar(u'甲')));
    click("Command2");
    browser->finish(resultPage(0, {"T"}));
    click("Command5");
    EXPECT_TRUE(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor);
    auto* notice = w<QLabel>("statisticsNotice");
    EXPECT_TRUE(notice->isVisible() && notice->text() == QStringLiteral("正在统计相似性网站……"));
    ASSERT_TRUE(waitUntil([&] { return browser->siteTables.size() == 1; }));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(WorkplaceTest, AltWithALetterOpensItsMenuAndAltROpensTheResults)
{
    const char* menus[] = {"wjcd",      "yjcd",    "yinqing",
                           "xuanxiang", "laiyuan", "bangzhu"}; // Alt+F, E, Y, X, L, H
    for (int i = 0; i < 6; ++i) {
        const char* menu = menus[i];
        QTest::keyClick(editor(), Qt::Key("FEYXLH"[i]), Qt::AltModifier);
        EXPECT_TRUE(waitUntil([&] { return QApplication::activePopupWidget() == w<QMenu>(menu); })) << menu;
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }
    QTest::keyClick(editor(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(waitUntil(
        [&] { return form->findChild<ResultWindow*>() && form->findChild<ResultWindow*>()->isVisible(); }));
}

TEST_F(WorkplaceTest, HelpExplainsUseDataPlacesAndTheProgram)
{
    w<QAction>("shiyongshuoming")->trigger();
    ASSERT_TRUE(dialog("UsageWindow"));
    const QString steps = child<QTextBrowser>(dialog("UsageWindow"), "UsageText")->toPlainText();
    EXPECT_TRUE(steps.startsWith(QStringLiteral("使用步骤")) && steps.contains(QStringLiteral("进行分析")));

    w<QAction>("shujuweizhi")->trigger();
    ASSERT_TRUE(dialog("DataPlacesWindow"));
    const QString said = child<QLabel>(dialog("DataPlacesWindow"), "DataPlacesText")->text();
    const QString store = dir.filePath(QStringLiteral("store"));
    EXPECT_TRUE(said.contains(store + QStringLiteral("/results.sqlite")));
    EXPECT_TRUE(said.contains(QSettings().fileName()));
    EXPECT_TRUE(said.contains(dir.filePath(QStringLiteral("sources.sqlite"))));
    QList<QUrl> opened;
    Shell::setHandler([&](const QUrl& url) { return opened.append(url), true; });
    child<QPushButton>(dialog("DataPlacesWindow"), "openFolder")->click();
    Shell::setHandler({});
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(store)});

    w<QAction>("guanyu")->trigger();
    ASSERT_TRUE(dialog("AboutWindow"));
    const QString about = child<QTextBrowser>(dialog("AboutWindow"), "AboutText")->toPlainText();
    for (const char* part : {"Tessaro V2016.7.27", "许可", "Poppler", "results.sqlite", "不上传"})
        EXPECT_TRUE(about.contains(QString::fromUtf8(part))) << part;
}
