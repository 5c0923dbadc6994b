// The main window as a writer comes back to it: the caption that names the file and the share
// searched, the size and place kept between starts, the dialogs that start where the work is, the keys
// that open the menus, and the 帮助 menu.
#include "TestData.h"
#include "app/HelpWindows.h"
#include "app/ResultWindow.h"
#include "editor/DocumentCommands.h"
#include "platform/FileDialog.h"
#include "platform/ReadJob.h"
#include "platform/Shell.h"
#include "support/FileDialogScript.h"
#include "support/Form1Fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeView>
#include <QWebEngineView>

namespace {

const QString kCaption = QStringLiteral("Tessaro V2016.7.27");

class WorkplaceTest : public Form1Fixture
{
protected:
    void SetUp() override
    {
        Program::Options options;
        options.storeDirectory = dir.filePath(QStringLiteral("store"));
        start(std::move(options));
        browser->finish(QString()); // the blank start page
        browser->navigations.clear();
    }
    QString file(const char* name, const QString& text = QStringLiteral("第一段文字。"))
    {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
        return f.fileName();
    }
    // 打开 through the dialog script, read by the test's reader program.
    void open(const QString& path)
    {
        ReadJobOptions reading;
        reading.reader = testdata::readerProgram();
        child<DocumentCommands>(form.get(), "documentCommands")->setReading(reading);
        dialogs.choose(path);
        w<QAction>("dakai")->trigger();
        ASSERT_TRUE(
            waitUntil([&] { return !child<DocumentCommands>(form.get(), "documentCommands")->isReading(); }));
    }

    QTemporaryDir dir;
    FileDialogScript dialogs;
    MessageBoxRecorder boxes{MessageBox::Answer::No};
};

} // namespace

TEST_F(WorkplaceTest, CaptionNamesTheFileOpenedOrSaved)
{
    EXPECT_EQ(form->windowTitle(), kCaption);
    boxes.answerWith(MessageBox::Answer::Discard); // the instruction text is not kept
    open(file("第三章.txt"));
    EXPECT_EQ(form->windowTitle(), kCaption + QStringLiteral(" — 第三章.txt"));
    dialogs.choose(dir.filePath(QStringLiteral("第四章.rtf")));
    w<QAction>("baocun")->trigger();
    EXPECT_EQ(form->windowTitle(), kCaption + QStringLiteral(" — 第四章.rtf"));
    w<QAction>("xinjian")->trigger();
    EXPECT_EQ(form->windowTitle(), kCaption);
}

TEST_F(WorkplaceTest, ExportStartsBesideTheDocumentWithItsNameElseInTheLastExportFolder)
{
    boxes.answerWith(MessageBox::Answer::Discard);
    open(file("第三章.txt"));
    click("Command1");
    dialogs.cancel();
    w<QAction>("daochu")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].fileName, dir.filePath(QStringLiteral("第三章-检测报告.html")));

    w<QAction>("xinjian")->trigger();
    QDir(dir.path()).mkdir(QStringLiteral("reports"));
    const QString elsewhere = dir.filePath(QStringLiteral("reports/a.html"));
    boxes.answerWith(MessageBox::Answer::No); // do not open it
    dialogs.choose(elsewhere);
    w<QAction>("daochu")->trigger();
    ASSERT_TRUE(QFile::exists(elsewhere));
    dialogs.cancel();
    w<QAction>("daochu")->trigger();
    EXPECT_EQ(dialogs.shown.last().fileName, elsewhere) << "no document: the last export";
}

TEST_F(WorkplaceTest, SizePlaceAndMaximisedStateAreKeptBetweenStarts)
{
    const QRect placed(form->x() + 30, form->y() + 20, form->width() - 60, form->height() - 40);
    form->setGeometry(placed);
    ASSERT_TRUE(waitUntil([&] { return form->geometry() == placed; }));
    form->close();
    start({}, true);
    EXPECT_EQ(form->geometry(), placed);

    form->showMaximized();
    ASSERT_TRUE(waitUntil([&] { return form->isMaximized(); }));
    form->close();
    start({}, true);
    EXPECT_TRUE(form->isMaximized());
}

TEST_F(WorkplaceTest, MaximisingAfterAnAnalysisLeavesNoEmptyField)
{
    analyse(QString(100, QChar(u'甲')));
    auto* pane = w<QWebEngineView>("WebBrowser1");
    const QSize before = form->size();
    form->showMaximized();
    ASSERT_TRUE(waitUntil([&] { return form->size() != before; }));
    // Between the shortened editor and the status line the result pane shows, blank as yet.
    const int below = editor()->geometry().bottom() + 1;
    const int labels = w<QLabel>("Label1")->y();
    ASSERT_LT(below, labels);
    EXPECT_TRUE(pane->isVisible());
    // (The rule keeps a seam of a few pixels above the status line.)
    const int seam = px(100);
    EXPECT_TRUE(
        pane->geometry().contains(QRect(editor()->x(), below, editor()->width(), labels - seam - below)));
}

TEST_F(WorkplaceTest, OpenAndSaveDialogsNameFileTypesInChineseAndShowWholeColumns)
{
    QDir(dir.path()).mkdir(QStringLiteral("子文件夹"));
    const QString document = file("论文.docx");
    QFileDialog dialog;
    FileDialog::Request request;
    request.title = DocumentCommands::kOpenTitle;
    request.fileName = document;
    FileDialog::prepare(dialog, request);
    dialog.show();
    auto* view = child<QTreeView>(&dialog, "treeView");
    auto* model = qobject_cast<QFileSystemModel*>(view->model());
    ASSERT_TRUE(model);
    const QModelIndex folder = model->index(dir.filePath(QStringLiteral("子文件夹")));
    const QModelIndex docx = model->index(document);
    ASSERT_TRUE(waitUntil([&] { return model->rowCount(model->index(dir.path())) == 3; }));
    EXPECT_EQ(folder.siblingAtColumn(2).data().toString(), QStringLiteral("文件夹"));
    EXPECT_EQ(docx.siblingAtColumn(2).data().toString(), QStringLiteral("Word 文档"));
    QHeaderView* header = view->header();
    for (int column = 1; column < header->count(); ++column) {
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
        for (const QModelIndex& row : {folder, docx})
            EXPECT_GE(header->sectionSize(column),
                      view->sizeHintForIndex(row.siblingAtColumn(column)).width())
                << column;
    }
}

TEST_F(WorkplaceTest, StatisticsShowThatTheyAreBusyWhileTheyWait)
{
    analyse(QString(38, QChar(u'甲')));
    click("Command2");
    browser->finish(resultPage(0, {"T"}));
    click("Command5");
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    auto* notice = w<QLabel>("statisticsNotice");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), QStringLiteral("正在统计相似性网站……"));
    ASSERT_TRUE(waitUntil([&] { return browser->siteTables.size() == 1; }));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(WorkplaceTest, AltWithALetterOpensItsMenuAndAltROpensTheResults)
{
    const struct
    {
        Qt::Key key;
        const char* menu;
    } keys[] = {{Qt::Key_F, "wjcd"},
                {Qt::Key_E, "yjcd"},
                {Qt::Key_Y, "yinqing"},
                {Qt::Key_X, "xuanxiang"},
                {Qt::Key_H, "bangzhu"}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.menu);
        editor()->setFocus();
        QTest::keyClick(editor(), k.key, Qt::AltModifier);
        EXPECT_TRUE(waitUntil([&] { return QApplication::activePopupWidget() == w<QMenu>(k.menu); }));
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        form->menuBar()->setActiveAction(nullptr);
    }
    EXPECT_EQ(w<QMenu>("bangzhu")->title(), QStringLiteral("帮助")) << "captions unchanged";
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_R, Qt::AltModifier);
    auto* results = form->findChild<ResultWindow*>(QStringLiteral("ResultWindow"));
    EXPECT_TRUE(results && results->isVisible());
}

TEST_F(WorkplaceTest, HelpExplainsUseDataPlacesAndTheProgramAndEachWindowClosesWithEsc)
{
    w<QAction>("shiyongshuoming")->trigger();
    auto* usage = form->findChild<QDialog*>(QStringLiteral("UsageWindow"));
    ASSERT_TRUE(usage && usage->isVisible());
    const QString steps = child<QTextBrowser>(usage, "UsageText")->toPlainText();
    EXPECT_TRUE(steps.startsWith(QStringLiteral("使用步骤")));
    EXPECT_TRUE(steps.contains(QStringLiteral("进行分析")));
    QTest::keyClick(usage, Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !form->findChild<QDialog*>(QStringLiteral("UsageWindow")); }));

    w<QAction>("shujuweizhi")->trigger();
    auto* places = form->findChild<QDialog*>(QStringLiteral("DataPlacesWindow"));
    ASSERT_TRUE(places);
    const QString said = child<QLabel>(places, "DataPlacesText")->text();
    const QString store = dir.filePath(QStringLiteral("store"));
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(store + QStringLiteral("/results.sqlite"))));
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(QSettings().fileName())));
    QList<QUrl> opened;
    Shell::setHandler([&](const QUrl& url) { return opened.append(url), true; });
    child<QPushButton>(places, "openFolder")->click();
    Shell::setHandler({});
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(store)});
    QTest::keyClick(places, Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !form->findChild<QDialog*>(QStringLiteral("DataPlacesWindow")); }));

    w<QAction>("guanyu")->trigger();
    auto* about = form->findChild<QDialog*>(QStringLiteral("AboutWindow"));
    ASSERT_TRUE(about);
    const QString text = child<QTextBrowser>(about, "AboutText")->toPlainText();
    for (const char* said :
         {"Tessaro V2016.7.27", "许可", "Poppler", "GPL-2.0-or-later", "results.sqlite", "不上传"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(said))) << said;
}
