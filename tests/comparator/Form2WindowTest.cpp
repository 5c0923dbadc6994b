#include "app/Program.h"
#include "comparator/Form2.h"
#include "comparator/WindowHelpers.h"
#include "editor/DocumentCommands.h"
#include "editor/DocumentFiles.h"
#include "editor/RichTextBox.h"
#include "support/DocumentTestHelpers.h"
#include "support/FakeBrowser.h"
#include "support/FileDialogScript.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "widgets/Twips.h"
#include "widgets/WidgetTwips.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// The comparator opened from a real main window.
class ComparatorFromMainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        main = Program::makeMainWindow(std::make_unique<FakeBrowser>());
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    RichTextBox* mainEditor() { return child<RichTextBox>(main.get(), "RichTextBox1"); }
    Form2* clickCompare()
    {
        QTest::mouseClick(child<QPushButton>(main.get(), "Command6"), Qt::LeftButton);
        return openComparator();
    }

    std::unique_ptr<Form1> main;
};

TEST_F(ComparatorFromMainWindow, LoadCopiesThePlainTextOfTheMainEditor)
{
    mainEditor()->setHtml(
        QStringLiteral("<p>第一段<span style=\"color:#ff0000\">红色的字</span></p><p>第二段</p>"));
    Form2* form = clickCompare();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tessaro-对比器"));
    EXPECT_EQ(form->parent(), nullptr);
    EXPECT_TRUE(form->testAttribute(Qt::WA_DeleteOnClose));
    auto* article = child<RichTextBox>(form, "RichTextBox1");
    EXPECT_EQ(article->text(), QStringLiteral("第一段红色的字\r\n第二段"));
    EXPECT_EQ(redMask(*article), QString(12, u'.'));

    auto* reference = child<RichTextBox>(form, "RichTextBox2");
    EXPECT_EQ(reference->text(), QStringLiteral("对比的文字"));
    QTextCursor c(reference->document());
    c.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(c.charFormat().font().families(), QStringList{QStringLiteral("宋体")});
    EXPECT_EQ(c.charFormat().font().pointSize(), 9);
    EXPECT_FALSE(child<QCheckBox>(form, "Check1")->isChecked());
    EXPECT_EQ(child<QCheckBox>(form, "Check1")->text(), QStringLiteral("多次标注"));
    EXPECT_EQ(child<QPushButton>(form, "Command1")->text(), QStringLiteral("对比并标注"));
    EXPECT_TRUE(child<QLabel>(form, "Label1")->text().isEmpty());
}

TEST_F(ComparatorFromMainWindow, OpeningAgainShowsTheSameWindowUntilClosedThenAFreshOneWithTheTotals)
{
    mainEditor()->setPlainText(QStringLiteral("abcdef，第一次"));
    QPointer<Form2> first = clickCompare();
    ASSERT_FALSE(first.isNull());
    child<RichTextBox>(first, "RichTextBox2")->setPlainText(QStringLiteral("abcdef，"));
    child<QCheckBox>(first, "Check1")->setChecked(true);
    child<QPushButton>(first, "Command1")->click();
    EXPECT_TRUE(child<QLabel>(first, "Label1")
                    ->text()
                    .startsWith(QStringLiteral("你的文章一共 10 字，重复 0 段， 1 句， 7 字")));
    // From the menu or the button, shown or hidden: the same window as it is.
    mainEditor()->setPlainText(QStringLiteral("后来改了"));
    child<QAction>(main.get(), "duibiqi")->trigger();
    EXPECT_EQ(openComparator(), first.data());
    EXPECT_EQ(child<RichTextBox>(first, "RichTextBox1")->text(), QStringLiteral("abcdef，第一次"));
    EXPECT_EQ(child<RichTextBox>(first, "RichTextBox2")->text(), QStringLiteral("abcdef，"));
    first->hide();
    EXPECT_EQ(clickCompare(), first.data());

    first->close();
    ASSERT_TRUE(waitUntil([&] { return first.isNull(); }));

    mainEditor()->setPlainText(QStringLiteral("abcdef，第二次打开"));
    Form2* second = clickCompare();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(child<RichTextBox>(second, "RichTextBox1")->text(), QStringLiteral("abcdef，第二次打开"));
    EXPECT_EQ(child<RichTextBox>(second, "RichTextBox2")->text(), QStringLiteral("对比的文字"));
    EXPECT_FALSE(child<QCheckBox>(second, "Check1")->isChecked());
    EXPECT_TRUE(child<QLabel>(second, "Label1")->text().isEmpty());

    child<RichTextBox>(second, "RichTextBox2")->setPlainText(QStringLiteral("abcdef，"));
    child<QCheckBox>(second, "Check1")->setChecked(true);
    child<QPushButton>(second, "Command1")->click();
    EXPECT_TRUE(child<QLabel>(second, "Label1")
                    ->text()
                    .startsWith(QStringLiteral("你的文章一共 12 字，重复 0 段， 2 句， 14 字")));
}

TEST_F(ComparatorFromMainWindow, AnEmptyMainEditorGivesAnEmptyArticle)
{
    mainEditor()->clear();
    Form2* form = clickCompare();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(child<RichTextBox>(form, "RichTextBox1")->text().isEmpty());
}

TEST_F(ComparatorFromMainWindow, ClosingTheMainWindowClosesTheComparator)
{
    QPointer<Form2> form = clickCompare();
    ASSERT_FALSE(form.isNull());
    main->close();
    EXPECT_TRUE(form.isNull() || !form->isVisible());
    EXPECT_TRUE(waitUntil([&] { return form.isNull(); }));
}

TEST_F(ComparatorFromMainWindow, DestroyingTheMainWindowTakesTheComparatorAlong)
{
    QPointer<Form2> form = clickCompare();
    ASSERT_FALSE(form.isNull());
    main.reset();
    EXPECT_TRUE(form.isNull());
}

class Form2Window : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = new Form2(QStringLiteral("文章的第一行\r\n第二行"), totals);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    void TearDown() override { delete form.data(); }

    int px(int twipsValue) const { return twips::toPixels(twipsValue, twips::logicalDpi(form)); }
    RichTextBox* article() { return child<RichTextBox>(form, "RichTextBox1"); }
    RichTextBox* reference() { return child<RichTextBox>(form, "RichTextBox2"); }
    QMenu* menu() { return child<QMenu>(form, "yjcd"); }

    comparator::Counts totals;
    QPointer<Form2> form;
};

// The rules of the layout, from the outer size in twips (frame included): the two boxes share the
// width and the height left by the margins, the controls below keep their distance from the bottom
// right corner, and a window smaller than the margins shows them at size or place zero.
TEST_F(Form2Window, LayoutFollowsTheOuterSizeAndClampsAtZero)
{
    auto* label = child<QLabel>(form, "Label1");
    auto* command1 = child<QPushButton>(form, "Command1");
    auto* check1 = child<QCheckBox>(form, "Check1");
    EXPECT_EQ(form->size(), QSize(px(9300), px(7200)));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    const int frame = form->frameGeometry().width() - form->width();
    for (const QSize size : {form->size(), QSize(30, 30), QSize(px(12000) - frame, px(8000))}) {
        form->resize(size);
        pumpEvents(20);
        const QSize outer = twips::outerSize(form);
        SCOPED_TRACE(outer.width());
        const auto at = [&](double t) { return px(std::max(0, static_cast<int>(std::lround(t)))); };
        const int W = outer.width();
        const int H = outer.height();
        const QSize box(at(W / 2.0 - 300), at(H - 1600));
        EXPECT_EQ(article()->geometry(), QRect(QPoint(px(90), px(90)), box));
        EXPECT_EQ(reference()->geometry(), QRect(QPoint(box.width() + px(300), px(90)), box));
        EXPECT_EQ(label->pos(), QPoint(px(180), at(H - 1400)));
        EXPECT_EQ(label->width(), px(6090));
        EXPECT_EQ(command1->geometry(), QRect(at(W - 3300), at(H - 1100), px(2670), px(465)));
        EXPECT_EQ(check1->geometry(), QRect(at(W - 2500), at(H - 1350), px(1050), px(240)));
    }
    EXPECT_EQ(reference()->x(), px(6000)); // at 12000 twips wide
    command1->click();
    EXPECT_FALSE(label->text().isEmpty());

    // Tab order: article, reference, button, check box.
    QList<QWidget*> order;
    const QList<QWidget*> wanted{article(), reference(), command1, check1};
    QWidget* w = article();
    for (int i = 0; i < 100 && order.size() < wanted.size(); ++i, w = w->nextInFocusChain()) {
        if (wanted.contains(w) && !order.contains(w))
            order.append(w);
    }
    EXPECT_EQ(order, wanted);
}

TEST_F(Form2Window, PopupMenuItemsAndShortcuts)
{
    QStringList items;
    for (QAction* a : menu()->actions()) {
        items << (a->isSeparator() ? QStringLiteral("-") + a->objectName()
                                   : a->objectName() + QLatin1Char(' ') + a->text() + QLatin1Char(' ') +
                                         a->shortcut().toString(QKeySequence::PortableText));
    }
    EXPECT_EQ(items, (QStringList{"baocun 保存 Ctrl+S", "cx 撤销 Ctrl+Z", "-jg1", "jq 剪切 Ctrl+X",
                                  "fz 复制 Ctrl+C", "nt 粘贴 Ctrl+V", "sc 删除 Del", "-jg2", "qx 全选 Ctrl+A",
                                  "-jg3", "dakaiwenzhang 打开文章… ", "dakaicankao 打开参考文本… "}));
    EXPECT_EQ(menu()->title(), QStringLiteral("菜单"));
    EXPECT_EQ(form->findChild<QMenuBar*>(), nullptr);
}

TEST_F(Form2Window, RightClickInTheArticleOnlyPopsUpTheMenu)
{
    QTest::mousePress(reference()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    QTest::mouseRelease(reference()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    pumpEvents(20);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QTest::mouseClick(article()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QTest::mousePress(article()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    ASSERT_TRUE(waitUntil([&] { return menu()->isVisible(); }));
    EXPECT_EQ(QApplication::activePopupWidget(), menu());
    menu()->close();
    QTest::mouseRelease(article()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
}

TEST_F(Form2Window, EditingKeysActOnTheArticleOnlyWhileItHasTheFocus)
{
    reference()->setPlainText(QStringLiteral("参考文字"));
    article()->setFocus();
    ASSERT_TRUE(waitUntil([&] { return article()->hasFocus(); }));
    // Del deletes the selection, or else the next character.
    article()->select(0, 2);
    QTest::keyClick(article(), Qt::Key_Delete);
    EXPECT_EQ(article()->text(), QStringLiteral("的第一行\r\n第二行"));
    QTest::keyClick(article(), Qt::Key_Delete);
    EXPECT_EQ(article()->text(), QStringLiteral("第一行\r\n第二行"));
    QTest::keyClick(article(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectionLength(*article()), article()->text().size());
    QTest::keyClick(article(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("第一行\n第二行"));

    // In the reference the same keys are its editor's own.
    article()->moveCaretToStart();
    reference()->setFocus();
    ASSERT_TRUE(waitUntil([&] { return reference()->hasFocus(); }));
    QTest::keyClick(reference(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(reference(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("参考文字"));
    EXPECT_EQ(selectionLength(*article()), 0);

    // The menu's commands never touch the reference, even while it has the focus.
    child<QAction>(form, "qx")->trigger();
    child<QAction>(form, "sc")->trigger();
    EXPECT_TRUE(article()->text().isEmpty());
    EXPECT_EQ(reference()->text(), QStringLiteral("参考文字"));

    // Ctrl+X and Ctrl+V in the article go through the commands: plain text in, plain text out.
    article()->setFocus();
    ASSERT_TRUE(waitUntil([&] { return article()->hasFocus(); }));
    QGuiApplication::clipboard()->setText(QStringLiteral("贴入\n两行"));
    QTest::keyClick(article(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(article()->text(), QStringLiteral("贴入\r\n两行"));
    QTest::keyClick(article(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(article()->text().isEmpty());
}

TEST_F(Form2Window, SaveKeyWorksAnywhereInTheWindow)
{
    FileDialogScript dialogs; // every dialog is cancelled
    for (QWidget* w : {static_cast<QWidget*>(article()), static_cast<QWidget*>(reference()),
                       static_cast<QWidget*>(child<QPushButton>(form, "Command1"))}) {
        w->setFocus();
        ASSERT_TRUE(waitUntil([&] { return w->hasFocus(); }));
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    }
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("请输入文件名"));
    EXPECT_EQ(article()->text(), QStringLiteral("文章的第一行\r\n第二行"));
}

TEST_F(Form2Window, SaveRightAfterAComparisonKeepsTheMarksButTheLast)
{
    article()->setPlainText(QStringLiteral("甲乙丙丁戊己，其他文字甲乙丙丁戊己，尾"));
    reference()->setPlainText(QStringLiteral("甲乙丙丁戊己，"));
    QTest::mouseClick(child<QPushButton>(form, "Command1"), Qt::LeftButton);
    ASSERT_EQ(redMask(*article()), QStringLiteral("^^^^^^^....^^^^^^^."));

    QTemporaryDir dir;
    FileDialogScript dialogs;
    dialogs.choose(dir.filePath(QStringLiteral("marked.txt")));
    child<QAction>(form, "baocun")->trigger();

    RichTextBox readBack;
    ASSERT_TRUE(editor::show(readBack, documents::read(dir.filePath(QStringLiteral("marked.txt")))));
    EXPECT_EQ(readBack.text(), article()->text());
    // The last mark made was selected, and the save turns the selection black first.
    EXPECT_EQ(redMask(readBack), QStringLiteral("^^^^^^^............"));
}

} // namespace

// Either side from a file, through the main window's reading route; only the article asks about
// unsaved text.
TEST_F(Form2Window, OpensTheArticleAndTheReferenceFromFiles)
{
    QTemporaryDir dir;
    FileDialogScript dialogs;
    for (const char* text : {"参考", "文章"})
        dialogs.choose(writeFile(dir, text, text));
    for (const char* side : {"documentCommands", "referenceDocumentCommands"})
        child<DocumentCommands>(form, side)->setReading(testReading());
    MessageBoxRecorder boxes(MessageBox::Answer::Discard);

    child<QAction>(form, "dakaicankao")->trigger();
    EXPECT_FALSE(child<QPushButton>(form, "Command1")->isEnabled()) << "no comparison while a side is read";
    ASSERT_TRUE(waitUntil([&] { return reference()->toPlainText() == QStringLiteral("参考"); }));
    EXPECT_TRUE(child<QPushButton>(form, "Command1")->isEnabled());
    article()->setPlainText(QStringLiteral("改过的文章"));
    child<QAction>(form, "dakaiwenzhang")->trigger();
    ASSERT_TRUE(waitUntil([&] { return article()->toPlainText() == QStringLiteral("文章"); }));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, DocumentCommands::kUnsavedQuestion);
}
