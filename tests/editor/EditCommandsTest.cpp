#include "app/Program.h"
#include "comparator/Form2.h"
#include "editor/Marking.h"
#include "editor/RichTextBox.h"
#include "platform/Clipboard.h"
#include "support/FakeBrowser.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

// The same commands on both windows: the main window's "编辑" menu and the comparator's popup,
// each acting on its own RichTextBox1.
class EditCommands : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        main = Program::makeMainWindow(std::make_unique<FakeBrowser>());
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        window = main.get();
        if (QLatin1String(GetParam()) == QLatin1String("Form2")) {
            QTest::mouseClick(child<QPushButton>(main.get(), "Command6"), Qt::LeftButton);
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == QLatin1String("Form2"))
                    window = w;
            }
            ASSERT_NE(window, main.get());
        }
        box = child<RichTextBox>(window, "RichTextBox1");
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override { Clipboard::setHandler({}); }

    void trigger(const char* item) { child<QAction>(child<QMenu>(window, "yjcd"), item)->trigger(); }
    void setText(const QString& text) { box->setPlainText(text); }

    std::unique_ptr<Form1> main;
    QWidget* window = nullptr;
    RichTextBox* box = nullptr;
};

TEST_P(EditCommands, PasteReplacesTheSelectionWithEveryCharacterKept)
{
    setText(QStringLiteral("前文ABC后文"));
    box->select(2, 3);
    const QString pasted = QStringLiteral("新的\U00020000文字・é€");
    QGuiApplication::clipboard()->setText(pasted);
    trigger("nt");
    EXPECT_EQ(box->text(), QStringLiteral("前文") + pasted + QStringLiteral("后文"));
    EXPECT_EQ(selectionLength(*box), 0);
    EXPECT_EQ(selectionStart(*box), 2 + pasted.size()); // the caret ends after the inserted text

    // Lines become line breaks.
    setText(QStringLiteral("ab"));
    box->select(1, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("一\n二\r\n三"));
    trigger("nt");
    EXPECT_EQ(box->text(), QStringLiteral("a一\r\n二\r\n三b"));

    // An empty clipboard still removes the selection.
    QGuiApplication::clipboard()->clear();
    setText(QStringLiteral("前文ABC后文"));
    box->select(2, 3);
    trigger("nt");
    EXPECT_EQ(box->text(), QStringLiteral("前文后文"));
}

TEST_P(EditCommands, CutCopyAndPasteBackKeepEveryCharacter)
{
    const QString kept = QStringLiteral("\U00020000・\u00A0第二\u3000");
    setText(QStringLiteral("头") + kept + QStringLiteral("尾"));
    box->select(1, kept.size());
    trigger("jq");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kept);
    EXPECT_EQ(box->text(), QStringLiteral("头尾"));
    trigger("nt");
    EXPECT_EQ(box->text(), QStringLiteral("头") + kept + QStringLiteral("尾"));

    // Copy puts lines as line feeds; without a selection, nothing.
    setText(QStringLiteral("第一行\r\n第二行"));
    box->select(1, 6); // the line break is two characters of the text
    trigger("fz");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("一行\n第二"));
    EXPECT_EQ(box->text(), QStringLiteral("第一行\r\n第二行"));
    box->moveCaretToStart();
    trigger("fz");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

TEST_P(EditCommands, DeleteRemovesTheSelectionAndNothingElse)
{
    setText(QStringLiteral("文字"));
    box->select(1, 0);
    trigger("sc");
    EXPECT_EQ(box->text(), QStringLiteral("文字"));

    setText(QStringLiteral("第一行\r\n第二行"));
    trigger("qx");
    EXPECT_EQ(selectionStart(*box), 0);
    EXPECT_EQ(selectionLength(*box), box->text().size());
    trigger("sc");
    EXPECT_TRUE(box->text().isEmpty());
}

TEST_P(EditCommands, UndoTakesBackTheLastCommand)
{
    setText(QStringLiteral("前文ABC后文"));
    box->document()->clearUndoRedoStacks();
    box->select(2, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("新"));
    trigger("nt"); // removing the selection and inserting are one step
    trigger("cx");
    EXPECT_EQ(box->text(), QStringLiteral("前文ABC后文"));
    trigger("cx"); // nothing left to undo
    EXPECT_EQ(box->text(), QStringLiteral("前文ABC后文"));
}

TEST_P(EditCommands, AClipboardThatFailsLeavesTheEditorAsItWas)
{
    Clipboard::setHandler({[](const QString&) { return false; }, [] { return std::optional<QString>(); }});
    setText(QStringLiteral("前文ABC后文"));
    box->select(2, 3);
    trigger("jq");
    EXPECT_EQ(box->text(), QStringLiteral("前文ABC后文"));
    trigger("nt");
    EXPECT_EQ(box->text(), QStringLiteral("前文ABC后文"));
    EXPECT_EQ(selectionLength(*box), 3);
}

INSTANTIATE_TEST_SUITE_P(BothWindows, EditCommands, ::testing::Values("Form1", "Form2"));

class MainEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        main = Program::makeMainWindow(std::make_unique<FakeBrowser>());
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        box = child<RichTextBox>(main.get(), "RichTextBox1");
    }

    QStringList familiesAt(int documentPosition)
    {
        QTextCursor c(box->document());
        c.setPosition(documentPosition);
        return c.charFormat().fontFamilies().toStringList();
    }

    std::unique_ptr<Form1> main;
    RichTextBox* box = nullptr;
};

TEST_F(MainEditor, RightClickShowsTheEditMenuOfTheMenuBar)
{
    auto* yjcd = child<QMenu>(main.get(), "yjcd");
    EXPECT_TRUE(main->menuBar()->actions().contains(yjcd->menuAction()));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_FALSE(yjcd->isVisible());
    QTest::mousePress(box->viewport(), Qt::RightButton, {}, QPoint(30, 30));
    ASSERT_TRUE(waitUntil([&] { return yjcd->isVisible(); }));
    EXPECT_EQ(QApplication::activePopupWidget(), yjcd);
    yjcd->close();
    QTest::mouseRelease(box->viewport(), Qt::RightButton, {}, QPoint(30, 30));
}

TEST_F(MainEditor, SpaceKeyPutsWhatIsTypedNextInSongTiInTheMainWindowOnly)
{
    box->setHtml(QStringLiteral("<p><span style=\"font-family:'Courier'\">abc</span></p>"));
    box->setFocus();
    ASSERT_TRUE(waitUntil([&] { return box->hasFocus(); }));
    QTextCursor c(box->document());
    c.movePosition(QTextCursor::End);
    box->setTextCursor(c);
    QTest::keyClicks(box, QStringLiteral("d"));
    EXPECT_EQ(familiesAt(4), QStringList{QStringLiteral("Courier")});
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClicks(box, QStringLiteral("ef"));
    EXPECT_EQ(box->text(), QStringLiteral("abcd ef"));
    EXPECT_EQ(familiesAt(7), QStringList{QStringLiteral("宋体")});
    EXPECT_EQ(familiesAt(2), QStringList{QStringLiteral("Courier")});

    // Other keys change nothing; a space released over a selection sets the selection's font.
    box->select(0, 2);
    QTest::keyRelease(box, Qt::Key_A);
    EXPECT_EQ(familiesAt(1), QStringList{QStringLiteral("Courier")});
    QTest::keyRelease(box, Qt::Key_Space);
    EXPECT_EQ(familiesAt(1), QStringList{QStringLiteral("宋体")});
    EXPECT_EQ(familiesAt(3), QStringList{QStringLiteral("Courier")});

    // The comparator's editor has no such handler.
    QTest::mouseClick(child<QPushButton>(main.get(), "Command6"), Qt::LeftButton);
    Form2* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        form = form ? form : qobject_cast<Form2*>(w);
    ASSERT_NE(form, nullptr);
    auto* article = child<RichTextBox>(form, "RichTextBox1");
    article->setHtml(QStringLiteral("<p><span style=\"font-family:'Courier'\">abc</span></p>"));
    article->select(0, 2);
    QTest::keyRelease(article, Qt::Key_Space);
    QTextCursor at(article->document());
    at.setPosition(1);
    EXPECT_EQ(at.charFormat().fontFamilies().toStringList(), QStringList{QStringLiteral("Courier")});
}

// The editor's text is read once and kept while only colours change.
TEST(RichTextBoxText, FollowsEditsButNotColours)
{
    RichTextBox box;
    box.setPlainText(QStringLiteral("甲乙\n甲乙"));
    EXPECT_EQ(box.text(), QStringLiteral("甲乙\r\n甲乙"));
    const quint64 version = box.textVersion();
    box.select(4, 2);
    box.setSelectionColor(Qt::red);
    EXPECT_EQ(box.textVersion(), version);
    // A replacement of the same length is an edit all the same.
    QTextCursor c(box.document());
    c.setPosition(3);
    c.setPosition(4, QTextCursor::KeepAnchor);
    c.insertText(QStringLiteral("丙"));
    EXPECT_NE(box.textVersion(), version);
    EXPECT_EQ(box.text(), QStringLiteral("甲乙\r\n丙乙"));
    box.setDocument(new QTextDocument(QStringLiteral("新的"), &box));
    EXPECT_EQ(box.text(), QStringLiteral("新的"));
    box.select(1, 1);
    EXPECT_EQ(box.textCursor().selectedText(), QStringLiteral("的"));
}

TEST(Marking, EndsWhereAnEditMovesTheOccurrencesAndWhenToldTo)
{
    RichTextBox box;
    box.setPlainText(QStringLiteral("甲乙甲乙甲"));
    auto redAt = [&](int position) {
        QTextCursor c(box.document());
        c.setPosition(position + 1);
        return c.charFormat().foreground().color() == QColor(Qt::red);
    };
    int calls = 0;
    EXPECT_TRUE(editor::markOccurrences(
        box, QStringLiteral("甲"), Qt::red,
        [&] {
            if (++calls == 1)
                QTextCursor(box.document()).insertText(QStringLiteral("x"));
            return true;
        },
        1));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(redAt(1));
    EXPECT_FALSE(redAt(3));
    EXPECT_FALSE(editor::markOccurrences(
        box, QStringLiteral("乙"), Qt::red, [] { return false; }, 1));
    EXPECT_TRUE(redAt(2));
    EXPECT_FALSE(redAt(4));
}

} // namespace
