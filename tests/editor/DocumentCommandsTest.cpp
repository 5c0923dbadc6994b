#include "editor/DocumentCommands.h"
#include "app/Program.h"
#include "documents/DialogFilter.h"
#include "documents/PdfFixture.h"
#include "documents/RtfReader.h"
#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"
#include "support/DocumentTestHelpers.h"
#include "support/FakeBrowser.h"
#include "support/FileDialogScript.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "widgets/Twips.h"
#include "widgets/WidgetTwips.h"

#include "TestData.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using marks::kBlack;
using marks::kRed;

class DocumentCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        form = Program::makeMainWindow(std::make_unique<FakeBrowser>());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        editor = child<RichTextBox>(form.get(), "RichTextBox1");
        list = child<QListWidget>(form.get(), "List1");
        commands = child<DocumentCommands>(form.get(), "documentCommands");
        useOffice();
    }

    void useOffice(std::chrono::milliseconds timeout = std::chrono::minutes(5))
    {
        commands->setReading(reading(timeout));
    }

    ReadJobOptions reading(std::chrono::milliseconds timeout = std::chrono::minutes(5)) const
    {
        ReadJobOptions options;
        options.reader = testdata::readerProgram();
        options.wordProcessor = office.jobs(timeout);
        return options;
    }

    // Triggers the action and waits for the read it may have begun to end.
    void trigger(const char* action)
    {
        child<QAction>(form.get(), action)->trigger();
        ASSERT_TRUE(waitUntil([this] { return !commands->isReading(); }));
    }

    // An analysed article, after a compare step: the sentence list shows and the editor has shrunk.
    void analyse(const QString& text)
    {
        editor->setPlainText(text);
        QTest::mouseClick(child<QPushButton>(form.get(), "Command1"), Qt::LeftButton);
        list->show();
        twips::setHeight(editor, 2400);
        twips::setWidth(editor, 5000);
        ASSERT_NE(editor->height(), fullHeight());
    }

    void markedText()
    {
        editor->document()->clear();
        appendText(*editor->document(), QStringLiteral("黑字"), kBlack);
        appendText(*editor->document(), QStringLiteral("红字"), kRed);
        appendText(*editor->document(), QStringLiteral("再黑"), kBlack);
    }

    QString file(const char* name, const QByteArray& content) { return writeFile(dir, name, content); }

    int px(int twipsValue) const { return twips::toPixels(twipsValue, twips::logicalDpi(form.get())); }

    // The editor's full size for the window as it is: above Label1, never over it.
    int fullHeight() const { return px(twips::outerSize(form.get()).height() - 1890); }
    void expectFullSizeEditor()
    {
        EXPECT_EQ(editor->height(), fullHeight());
        EXPECT_EQ(editor->width(), px(twips::outerSize(form.get()).width() - 525));
        EXPECT_LT(editor->geometry().bottom(), child<QLabel>(form.get(), "Label1")->y());
        EXPECT_FALSE(list->isVisible());
    }

    QTemporaryDir dir;
    std::unique_ptr<Form1> form;
    RichTextBox* editor = nullptr;
    QListWidget* list = nullptr;
    DocumentCommands* commands = nullptr;
    // The unsaved-text question is answered "不保存" unless a test says otherwise.
    MessageBoxRecorder boxes{MessageBox::Answer::Discard};
    FileDialogScript dialogs;
    StandInOffice office{dir}; // answers "文字处理器的正文\n第二段"
};

TEST_F(DocumentCommandsTest, NewEmptiesTheEditorAndHidesTheList)
{
    analyse(QStringLiteral("第一句话很长。第二句话也很长。"));
    trigger("xinjian");
    EXPECT_EQ(editor->text(), QString());
    expectFullSizeEditor();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "New shows no file dialog";
    ASSERT_EQ(boxes.shown.size(), 1) << "the typed article was not saved";
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("文章已修改，是否保存？"));
    EXPECT_FALSE(form->checkRun().articleText().isEmpty()) << "the check state is not touched";
}

TEST_F(DocumentCommandsTest, OpenAsksWithTheTitleAndFiltersAndACancelLoadsNothing)
{
    analyse(QStringLiteral("第一句话很长。第二句话也很长。"));
    markedText();
    dialogs.choose(file("earlier.txt", "earlier"));
    dialogs.cancel();
    trigger("dakai");
    ASSERT_EQ(editor->text(), QStringLiteral("earlier"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    const FileDialog::Request& r = dialogs.shown[0];
    EXPECT_EQ(r.mode, FileDialog::Mode::Open);
    EXPECT_EQ(r.title, QStringLiteral("请选择一个文件"));
    ASSERT_GE(r.filters.size(), 4);
    // It starts on every kind it reads; the quoted types follow in their order.
    EXPECT_EQ(r.filters[0], documents::combinedFilter(QStringLiteral("所有支持的文档"), r.filters.mid(1)));
    EXPECT_TRUE(r.filters[0].contains(QStringLiteral("*.docx")));
    EXPECT_EQ(r.filters.mid(1, 3),
              (QStringList{QStringLiteral("WORD文档(*.doc)"), QStringLiteral("文本文件(*.txt)"),
                           QStringLiteral("写字板文件(*.rtf)")}));
    EXPECT_EQ(r.selectedFilter, r.filters[0]);
    EXPECT_EQ(r.filters.last(), QStringLiteral("PDF 文件 (*.pdf)")) << "after the others";

    markedText();
    trigger("dakai");
    EXPECT_EQ(editor->text(), QStringLiteral("黑字红字再黑")) << "the earlier file name is not used";
    EXPECT_EQ(colourMap(*editor->document()), QStringLiteral("kkrrkk"));
    expectFullSizeEditor();
}

// Which names and contents go to the word processor is LoadingTest's table; here, that the window's
// read reaches it and shows its text.
TEST_F(DocumentCommandsTest, OpenWordDocumentGoesToTheWordProcessor)
{
    analyse(QStringLiteral("第一句话很长。第二句话也很长。"));
    markedText();
    editor->select(1, 2);
    const QString path = file("a.DOC", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    dialogs.choose(path);
    trigger("dakai");
    EXPECT_EQ(office.calls(), QStringList{path});
    EXPECT_EQ(editor->text(), QStringLiteral("文字处理器的正文\r\n第二段"));
    EXPECT_EQ(colourMap(*editor->document()), QStringLiteral("kkkkkkkk|kkk"));
    EXPECT_EQ(selectionStart(*editor), 0);
    EXPECT_EQ(selectionLength(*editor), 0);
    expectFullSizeEditor();
}

TEST_F(DocumentCommandsTest, OpenRichTextEndsBlackWithTheCaretAtTheStart)
{
    dialogs.choose(testdata::path("wordpad.rtf"));
    trigger("dakai");
    EXPECT_TRUE(editor->text().startsWith(QStringLiteral("中文标红abc\r\n")));
    EXPECT_FALSE(colourMap(*editor->document()).contains(u'r'));
    EXPECT_EQ(selectionStart(*editor), 0);
    EXPECT_EQ(selectionLength(*editor), 0);

    QTest::mouseClick(child<QPushButton>(form.get(), "Command1"), Qt::LeftButton);
    EXPECT_TRUE(form->checkRun().articleText().contains(QStringLiteral("中文标红abc")))
        << "analysis reads what was opened";
}

// A locked Word 2007 document goes to the word processor (Office's default password opens there);
// when it cannot open it either, the person learns that a password locks it.
TEST_F(DocumentCommandsTest, FailedOpenKeepsTheTextAndSaysWhy)
{
    markedText();
    dialogs.choose(dir.filePath(QStringLiteral("base.rtf")));
    trigger("baocun"); // nothing unsaved from here on
    boxes.shown.clear();
    office.printNothing();
    useOffice(std::chrono::milliseconds(500));
    const QString missing = dir.filePath(QStringLiteral("missing.doc"));
    const QString binary = file("binary.txt", QByteArray("\0\1\2\3", 4));
    const QString locked =
        file("locked.docx", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 ") +
                                QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32));
    const QString slow = file("slow.doc", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    const QString scan = file("scan.pdf", pdffixture::make({pdffixture::Page{}}));
    const QStringList paths{missing, binary, locked, slow, scan};
    for (const QString& path : paths) {
        if (path == slow)
            office.neverAnswer();
        dialogs.choose(path);
        trigger("dakai");
    }
    EXPECT_EQ(office.calls(), (QStringList{locked, slow}));
    EXPECT_EQ(editor->text(), QStringLiteral("黑字红字再黑"));
    EXPECT_EQ(colourMap(*editor->document()), QStringLiteral("kkkkkk"));
    EXPECT_EQ(selectionStart(*editor), 0);
    ASSERT_EQ(boxes.shown.size(), 5);
    const QStringList reasons{QStringLiteral("不存在"), QStringLiteral("既不是文本文件"),
                              QStringLiteral("设有密码"), QStringLiteral("在 0.5 秒内"),
                              QStringLiteral("这个 PDF 文件里没有可读取的文字，可能是扫描件。")};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(boxes.shown[i].icon, MessageBox::Icon::Error);
        EXPECT_TRUE(boxes.shown[i].text.contains(QDir::toNativeSeparators(paths[i])))
            << boxes.shown[i].text.toStdString();
        EXPECT_TRUE(boxes.shown[i].text.contains(reasons[i])) << boxes.shown[i].text.toStdString();
    }
}

TEST_F(DocumentCommandsTest, FailedSaveSaysWhyAndKeepsTheOldFile)
{
    editor->setPlainText(QStringLiteral("新内容"));
    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/a.rtf"));
    dialogs.choose(missingFolder);
    trigger("baocun");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QDir::toNativeSeparators(missingFolder)));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("文件夹不存在")));

    // A failed save is no save: New still asks.
    boxes.answerWith(MessageBox::Answer::Cancel);
    trigger("xinjian");
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(editor->text(), QStringLiteral("新内容"));
}

TEST_F(DocumentCommandsTest, SaveAsTxtWritesRichTextAndBlackensTheSelection)
{
    markedText();
    appendText(*editor->document(), QStringLiteral("末红"), kRed);
    editor->select(6, 2); // the last mark
    const QString path = dir.filePath(QStringLiteral("b.txt"));
    dialogs.choose(path);
    trigger("baocun");
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].mode, FileDialog::Mode::Save);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("请输入文件名"));
    EXPECT_EQ(dialogs.shown[0].filters.mid(0, 3),
              (QStringList{QStringLiteral("WORD文档(*.doc)"), QStringLiteral("文本文件(*.txt)"),
                           QStringLiteral("写字板文件(*.rtf)")}));

    const QByteArray bytes = readFile(path);
    ASSERT_TRUE(bytes.startsWith("{\\rtf1")) << bytes.toStdString();
    RichTextBox reread;
    editor::setRichText(*reread.document(), *rtf::read(bytes));
    EXPECT_EQ(reread.text(), QStringLiteral("黑字红字再黑末红"));
    EXPECT_EQ(colourMap(*reread.document()), QStringLiteral("kkrrkkkk"));
}

TEST_F(DocumentCommandsTest, CancelledSaveWritesNothing)
{
    markedText();
    editor->select(2, 2);
    const QString existing = file("keep.rtf", "keep me");
    dialogs.choose(existing);
    dialogs.cancel();
    trigger("dakai"); // the dialogs share the last name
    markedText();
    editor->select(2, 2);
    trigger("baocun");
    EXPECT_EQ(readFile(existing), QByteArray("keep me"));
    EXPECT_EQ(colourMap(*editor->document()), QStringLiteral("kkrrkk"));
    EXPECT_EQ(dialogs.shown.last().fileName, existing) << "offered as the initial name";
}

// Rich text and plain text are replaced without a question; a Word, WPS or PDF file only after one
// whose default keeps it, since RTF cannot hold its layout, pictures and tables.
struct ReplaceRow
{
    const char* name;
    QByteArray oldContent;
    bool asks;
    MessageBox::Answer answer;
    bool replaced;
};

void PrintTo(const ReplaceRow& row, std::ostream* os)
{
    *os << row.name;
}

class SaveOverExisting : public DocumentCommandsTest, public ::testing::WithParamInterface<ReplaceRow>
{
};

TEST_P(SaveOverExisting, ReplacesOnlyWhatRichTextCanStandFor)
{
    const ReplaceRow& row = GetParam();
    const QString existing = file("第二章.docx", row.oldContent);
    boxes.answerWith(row.answer);
    dialogs.choose(existing);
    editor->setPlainText(QStringLiteral("新内容"));
    trigger("baocun");

    ASSERT_EQ(boxes.shown.size(), row.asks ? 1 : 0);
    if (row.asks) {
        EXPECT_EQ(boxes.shown[0].text,
                  QStringLiteral("“第二章.docx”是 Word/WPS 文档。保存会用 RTF 格式替换它，"
                                 "原有的排版、图片和表格将丢失。要替换吗？"));
        EXPECT_EQ(boxes.shown[0].buttons, MessageBox::Buttons::YesNo);
        EXPECT_EQ(boxes.shown[0].defaultAnswer, MessageBox::Answer::No);
    }
    if (row.replaced)
        EXPECT_EQ(rtf::read(readFile(existing))->text(), QStringLiteral("新内容"));
    else
        EXPECT_EQ(readFile(existing), row.oldContent);
    // A declined save is no save: the unsaved-text question still comes.
    boxes.answerWith(MessageBox::Answer::Cancel);
    trigger("xinjian");
    EXPECT_EQ(boxes.shown.size(), (row.asks ? 1 : 0) + (row.replaced ? 0 : 1));

    // The dialog says that it writes RTF and proposes the last name as RTF.
    dialogs.cancel();
    trigger("baocun");
    const FileDialog::Request& next = dialogs.shown.last();
    EXPECT_EQ(next.filters.constLast(), QStringLiteral("RTF 文档 (*.rtf)"));
    EXPECT_EQ(next.selectedFilter, next.filters.constLast());
    EXPECT_EQ(next.fileName, dir.filePath(QStringLiteral("第二章.rtf")));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SaveOverExisting,
    ::testing::Values(ReplaceRow{"rtf", "{\\rtf1 old}", false, MessageBox::Answer::Ok, true},
                      ReplaceRow{"wordKept", "PK\x03\x04old", true, MessageBox::Answer::No, false},
                      ReplaceRow{"wordReplaced", "PK\x03\x04old", true, MessageBox::Answer::Yes, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DocumentCommands, EachWindowKeepsItsOwnFileName)
{
    FileDialogScript dialogs;
    QTemporaryDir dir;
    RichTextBox first, second;
    DocumentCommands a(nullptr, &first), b(nullptr, &second);
    const QString one = dir.filePath(QStringLiteral("one.rtf"));
    dialogs.choose(one);
    a.save();
    dialogs.cancel();
    b.save();
    dialogs.cancel();
    a.save();
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_EQ(dialogs.shown[1].fileName, QString());
    EXPECT_EQ(dialogs.shown[2].fileName, one);
    EXPECT_TRUE(QFileInfo::exists(one));
}

// The unsaved-text question before New, Open, the close button and "退出".
struct UnsavedRow
{
    const char* name;
    const char* command; // an action's name, or "close" for the window's close button
    MessageBox::Answer answer;
    bool goesOn; // the command went ahead
    bool saved;  // the article was written to the chosen file
};

void PrintTo(const UnsavedRow& row, std::ostream* os)
{
    *os << row.name;
}

class UnsavedText : public DocumentCommandsTest, public ::testing::WithParamInterface<UnsavedRow>
{
};

TEST_P(UnsavedText, AsksBeforeTheArticleIsLost)
{
    const UnsavedRow& row = GetParam();
    editor->setPlainText(QStringLiteral("七万字的论文"));
    const QString target = dir.filePath(QStringLiteral("saved.rtf"));
    boxes.answerWith(row.answer);
    dialogs.choose(target); // the save dialog of 保存
    dialogs.cancel();       // the open dialog, if it comes
    if (QLatin1String(row.command) == QLatin1String("close"))
        form->close();
    else
        trigger(row.command);

    ASSERT_FALSE(boxes.shown.isEmpty());
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("文章已修改，是否保存？"));
    EXPECT_EQ(boxes.shown[0].buttons, MessageBox::Buttons::SaveDiscardCancel);
    EXPECT_EQ(QFileInfo::exists(target), row.saved);
    if (row.saved)
        EXPECT_EQ(rtf::read(readFile(target))->text(), QStringLiteral("七万字的论文"));
    const QString command = QLatin1String(row.command);
    if (command == u"xinjian")
        EXPECT_EQ(editor->text().isEmpty(), row.goesOn);
    if (command == u"dakai")
        EXPECT_EQ(dialogs.shown.size(), row.saved ? 2 : row.goesOn ? 1 : 0) << "the open dialog follows";
    if (command == u"close" || command == u"tuichu")
        EXPECT_EQ(form->isVisible(), !row.goesOn);
    if (command == u"tuichu" && row.goesOn) {
        ASSERT_EQ(boxes.shown.size(), 2) << "the farewell question follows, and the close asks nothing more";
        EXPECT_EQ(boxes.shown[1].text, QStringLiteral("谢谢使用！访问我的网站吗？"));
    }
    if (!row.goesOn)
        EXPECT_EQ(editor->text(), QStringLiteral("七万字的论文"));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UnsavedText,
    ::testing::Values(UnsavedRow{"newSave", "xinjian", MessageBox::Answer::Save, true, true},
                      UnsavedRow{"newDiscard", "xinjian", MessageBox::Answer::Discard, true, false},
                      UnsavedRow{"newCancel", "xinjian", MessageBox::Answer::Cancel, false, false},
                      UnsavedRow{"openSave", "dakai", MessageBox::Answer::Save, true, true},
                      UnsavedRow{"openCancel", "dakai", MessageBox::Answer::Cancel, false, false},
                      UnsavedRow{"closeCancel", "close", MessageBox::Answer::Cancel, false, false},
                      UnsavedRow{"closeDiscard", "close", MessageBox::Answer::Discard, true, false},
                      UnsavedRow{"exitCancel", "tuichu", MessageBox::Answer::Cancel, false, false},
                      UnsavedRow{"exitDiscard", "tuichu", MessageBox::Answer::Discard, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentCommandsTest, ColourMarksAloneAreNoEdits)
{
    markedText();
    dialogs.choose(dir.filePath(QStringLiteral("base.rtf")));
    trigger("baocun");
    boxes.shown.clear();
    editor->select(0, 4);
    editor->setSelectionColor(kRed); // as the compare step marks a sentence
    trigger("xinjian");
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(editor->text(), QString());
    editor->setPlainText(QStringLiteral("再写"));
    trigger("xinjian");
    EXPECT_EQ(boxes.shown.size(), 1);
}

// A read that does not end by itself, cancelled by Esc or the bar's button (one slot, so one row each):
// in the office program or in the reader process (a stand-in that never answers).
struct CancelRow
{
    const char* name;
    bool byEscape;
    bool inOffice;
};

class CancelledRead : public DocumentCommandsTest, public ::testing::WithParamInterface<CancelRow>
{
};

TEST_P(CancelledRead, StopsTheReadAndLeavesTheArticle)
{
    const CancelRow& row = GetParam();
    markedText();
    dialogs.choose(dir.filePath(QStringLiteral("base.rtf")));
    trigger("baocun");
    QTest::mouseClick(child<QPushButton>(form.get(), "Command1"),
                      Qt::LeftButton); // an analysis, for the report

    ReadJobOptions options = reading();
    if (row.inOffice) {
        office.neverAnswer();
    } else {
        options.reader = writeScript(dir, "stand-in-reader", "exec sleep 300\n");
    }
    commands->setReading(options);
    dialogs.choose(file("slow.doc", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
    child<QAction>(form.get(), "dakai")->trigger();

    // The window goes on: after a blink the read shows, the editor takes no typing, nothing may
    // analyse, search or report the old article, the timer still ticks.
    QWidget* bar = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] { return (bar = form->findChild<QWidget*>(QStringLiteral("readingBar"))) && bar->isVisible(); }));
    if (row.inOffice)
        ASSERT_TRUE(waitUntil([&] { return office.child() > 0; }));
    EXPECT_EQ(child<QLabel>(bar, "readingLabel")->text(), QStringLiteral("正在读取文件……"));
    // The bar hides none of the article.
    const int textTop = editor->viewport()->mapTo(form.get(), QPoint(0, 0)).y();
    EXPECT_GE(textTop, bar->mapTo(form.get(), QPoint(0, bar->height())).y());
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_EQ(form->cursor().shape(), Qt::BusyCursor);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("x"));
    EXPECT_EQ(editor->text(), QStringLiteral("黑字红字再黑"));
    for (const char* button : {"Command1", "Command2", "Command3"})
        EXPECT_FALSE(child<QPushButton>(form.get(), button)->isEnabled()) << button;
    EXPECT_FALSE(child<QAction>(form.get(), "daochu")->isEnabled());
    EXPECT_TRUE(child<QTimer>(form.get(), "Timer2")->isActive());

    const qint64 pid = row.inOffice ? office.child() : commands->readJob()->readerPid();
    ASSERT_GT(pid, 0);
    if (row.byEscape)
        QTest::keyClick(form.get(), Qt::Key_Escape);
    else
        QTest::mouseClick(child<QPushButton>(bar, "cancelReading"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !editor->isReadOnly(); }));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_NE(form->cursor().shape(), Qt::BusyCursor);
    for (const char* button : {"Command1", "Command2", "Command3"})
        EXPECT_TRUE(child<QPushButton>(form.get(), button)->isEnabled()) << button;
    EXPECT_TRUE(child<QAction>(form.get(), "daochu")->isEnabled());
    EXPECT_TRUE(waitUntil([&] { return processGone(pid); })) << "the reading process outlived the cancel";
    EXPECT_EQ(editor->text(), QStringLiteral("黑字红字再黑"));
    EXPECT_EQ(colourMap(*editor->document()), QStringLiteral("kkrrkk")) << "the article as it was";
    EXPECT_TRUE(boxes.shown.isEmpty()) << "a cancel is no failure";
}

INSTANTIATE_TEST_SUITE_P(Reads, CancelledRead,
                         ::testing::Values(CancelRow{"officeByEscape", true, true},
                                           CancelRow{"readerByButton", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A new open ends the read under way at once, however long that read would take: its process is
// killed, and the next file opens as fast as it would alone.
TEST_F(DocumentCommandsTest, NewOpenKillsTheReadUnderWay)
{
    const QString piledUp = file("piled-up.pdf", pdffixture::pileUp(8000));
    ASSERT_GT(QFileInfo(piledUp).size(), 200 * 1024);
    const QString normal =
        file("normal.pdf", pdffixture::make({{pdffixture::Line{72, 100, 12, QStringLiteral("正常的论文")}}}));
    dialogs.choose(piledUp);
    child<QAction>(form.get(), "dakai")->trigger();
    ASSERT_TRUE(commands->isReading());
    ASSERT_TRUE(waitUntil([&] { return commands->readJob()->readerPid() > 0; }));
    const qint64 first = commands->readJob()->readerPid();

    dialogs.choose(normal);
    trigger("dakai");
    EXPECT_EQ(editor->text(), QStringLiteral("正常的论文"));
    EXPECT_TRUE(waitUntil([&] { return processGone(first); }))
        << "the first read's process outlived the new open";
    EXPECT_TRUE(boxes.shown.isEmpty());
}

} // namespace
