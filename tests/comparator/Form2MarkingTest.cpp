#include "comparator/Form2.h"
#include "comparator/WindowHelpers.h"
#include "editor/RichTextBox.h"
#include "support/Comparison.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

using comparator::Counts;

class Form2Marking : public ::testing::Test
{
protected:
    void open(const QString& article)
    {
        form = new Form2(article, totals);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    void TearDown() override { delete form.data(); }

    RichTextBox* article() { return child<RichTextBox>(form, "RichTextBox1"); }
    RichTextBox* reference() { return child<RichTextBox>(form, "RichTextBox2"); }
    QCheckBox* check1() { return child<QCheckBox>(form, "Check1"); }
    QString label() { return child<QLabel>(form, "Label1")->text(); }
    void compare(const QString& referenceText)
    {
        reference()->setPlainText(referenceText);
        child<QPushButton>(form, "Command1")->click();
    }
    QString selectedText() { return article()->textCursor().selectedText(); }

    Counts totals;
    QPointer<Form2> form;
};

TEST_F(Form2Marking, MarksCoverExactlyTheMatchedCharactersAcrossLineBreaks)
{
    const QString text = QStringLiteral("第一行\r\n\r\n第二行有abcdef，又有\r\n第三abcdef，完");
    open(text);
    compare(QStringLiteral("abcdef，"));
    EXPECT_EQ(article()->text(), text);
    EXPECT_EQ(redMask(*article()),
              QString(11, u'.') + QString(7, u'^') + QString(6, u'.') + QString(7, u'^') + u'.');
    Counts expectedTotals;
    // The text itself is the core's (Summary, ComparisonTable); the window shows the comparison's.
    EXPECT_EQ(label(), comparator::compare(text, QStringLiteral("abcdef，"), false, expectedTotals).summary);
    EXPECT_EQ(totals, (Counts{1, 1, 7}));
    // The selection is the last mark made.
    EXPECT_EQ(selectionStart(*article()), 24);
    EXPECT_EQ(selectionLength(*article()), 7);
}

TEST_F(Form2Marking, NothingFoundSelectsTheWholeArticleOnlyAfterAReset)
{
    open(QStringLiteral("一篇没有重复的文章\r\n第二段"));
    article()->select(2, 3);
    compare(QStringLiteral("完全不同的参考文字。"));
    EXPECT_EQ(selectionStart(*article()), 0);
    EXPECT_EQ(selectionLength(*article()), article()->text().size());
    EXPECT_EQ(label(), QStringLiteral("你的文章一共 14 字，重复 0 段， 0 句， 0 字\r\n"
                                      "        重复部分占你的文章的： 0 %\r\n"
                                      "        与参考文章的相似度为： 0 %"));

    article()->select(2, 3);
    check1()->setChecked(true);
    compare(QStringLiteral("完全不同的参考文字。"));
    EXPECT_EQ(selectionStart(*article()), 2);
    EXPECT_EQ(selectionLength(*article()), 3);
}

TEST_F(Form2Marking, FreshModeClearsEarlierMarksCumulativeModeKeepsThemAndShowsTheTotals)
{
    open(QStringLiteral("一二三四五六，七八九十百千。"));
    compare(QStringLiteral("一二三四五六，"));
    EXPECT_EQ(redMask(*article()), QStringLiteral("^^^^^^^......."));
    compare(QStringLiteral("七八九十百千。"));
    EXPECT_EQ(redMask(*article()), QStringLiteral(".......^^^^^^^"));
    compare(QStringLiteral("参考里没有的句子。"));
    EXPECT_EQ(redMask(*article()), QString(14, u'.'));
    EXPECT_EQ(totals, (Counts{0, 2, 14}));

    check1()->setChecked(true);
    compare(QStringLiteral("一二三四五六，"));
    compare(QStringLiteral("七八九十百千。"));
    EXPECT_EQ(redMask(*article()), QString(14, u'^'));
    EXPECT_EQ(label(), QStringLiteral("你的文章一共 14 字，重复 0 段， 4 句， 28 字\r\n"
                                      "        重复部分占你的文章的： 200 %\r\n"
                                      "        与参考文章的相似度为： 100 %"));
}

TEST_F(Form2Marking, YieldsOncePerPieceAndPerFurtherOccurrence)
{
    open(QStringLiteral("abcdef abcdef abcdef ghijkl"));
    reference()->setPlainText(QStringLiteral("abcdef\r\n短\r\nghijkl\r\n不在文章里"));
    AtYield counter(1'000'000, [] {});
    child<QPushButton>(form, "Command1")->click();
    EXPECT_EQ(counter.yields(), 4 + 2); // four pieces, two further occurrences of the first
}

TEST_F(Form2Marking, SecondClickWhileRunningStartsNothing)
{
    open(QStringLiteral("abcdefg，hijklmn，opqrstu，"));
    reference()->setPlainText(QStringLiteral("abcdefg，hijklmn，opqrstu，"));
    auto* command1 = child<QPushButton>(form, "Command1");
    bool enabledMeanwhile = false;
    AtYield second(2, [&] {
        enabledMeanwhile = command1->isEnabled() && article()->isEnabled();
        command1->click();
        QTest::mouseClick(command1, Qt::LeftButton);
    });
    command1->click();
    EXPECT_TRUE(enabledMeanwhile);
    EXPECT_EQ(totals, (Counts{0, 3, 24}));
    EXPECT_TRUE(label().startsWith(QStringLiteral("你的文章一共 24 字，重复 0 段， 3 句， 24 字")));
    EXPECT_EQ(redMask(*article()), QString(24, u'^'));
}

TEST_F(Form2Marking, EditsMadeWhileItYieldsAreSeenAndMoveWaitingMarks)
{
    open(QStringLiteral("开头第一个句子在这里，中间第二个句子在这里。"));
    reference()->setPlainText(QStringLiteral("第一个句子在这里，第二个句子在这里。"));
    // After the first piece is marked and before the second is searched, text goes in at the front.
    AtYield edit(2, [&] {
        QTextCursor c(article()->document());
        c.insertText(QStringLiteral("插入"));
    });
    child<QPushButton>(form, "Command1")->click();
    EXPECT_EQ(article()->text(), QStringLiteral("插入开头第一个句子在这里，中间第二个句子在这里。"));
    EXPECT_EQ(redMask(*article()), QStringLiteral("....^^^^^^^^^..^^^^^^^^^"));
}

TEST_F(Form2Marking, AWaitingMarkKeepsWhatIsLeftOfItsPassage)
{
    open(QStringLiteral("前面第一个句子在这里，后面"));
    reference()->setPlainText(QStringLiteral("第一个句子在这里，另一句不在里面。"));
    AtYield edit(2, [&] {
        QTextCursor c(article()->document());
        c.setPosition(1);
        c.setPosition(4, QTextCursor::KeepAnchor); // "面第一"
        c.removeSelectedText();
    });
    child<QPushButton>(form, "Command1")->click();
    EXPECT_EQ(article()->text(), QStringLiteral("前个句子在这里，后面"));
    EXPECT_EQ(redMask(*article()), QStringLiteral(".^^^^^^^.."));
}

TEST_F(Form2Marking, ModeIsReadAtTheStartForTheResetAndAtTheEndForTheSummary)
{
    open(QStringLiteral("一二三四五六，七八九十百千。"));
    check1()->setChecked(true);
    compare(QStringLiteral("一二三四五六，"));
    check1()->setChecked(false);
    reference()->setPlainText(QStringLiteral("七八九十百千。"));
    AtYield toggle(1, [&] { check1()->setChecked(true); });
    child<QPushButton>(form, "Command1")->click();
    EXPECT_EQ(redMask(*article()), QStringLiteral(".......^^^^^^^")); // reset: unchecked at the start
    EXPECT_TRUE(label().startsWith(QStringLiteral("你的文章一共 14 字，重复 0 段， 2 句， 14 字"))); // totals
}

TEST_F(Form2Marking, ClosingWhileItYieldsStopsTheRun)
{
    open(QStringLiteral("abcdefg，hijklmn，opqrstu，"));
    reference()->setPlainText(QStringLiteral("abcdefg，hijklmn，opqrstu，"));
    AtYield close(2, [&] { form->close(); });
    child<QPushButton>(form, "Command1")->click();
    EXPECT_TRUE(waitUntil([&] { return form.isNull(); }));
    EXPECT_EQ(totals, (Counts{0, 1, 8})); // the first piece only
}

TEST_F(Form2Marking, ThousandsOfMarks)
{
    QString text;
    QString ref;
    for (int i = 0; i < 3000; ++i) {
        const QString sentence = QStringLiteral("第%1句话的内容。").arg(i, 4, 10, QLatin1Char('0'));
        text += sentence + (i % 10 == 9 ? QStringLiteral("\r\n") : QString());
        if (i % 2 == 0)
            ref += sentence;
    }
    open(text);
    // Every change of the document relayouts what it spans: the marks must come in a few changes.
    int changes = 0;
    QObject::connect(article()->document(), &QTextDocument::contentsChange, form, [&] { ++changes; });
    compare(ref);
    EXPECT_EQ(totals.pieces, 1500);
    EXPECT_GE(changes, 1);
    EXPECT_LT(changes, 20);
    const QString mask = redMask(*article());
    EXPECT_EQ(mask.count(u'^'), 1500 * 11);
    // Each marked sentence is exactly where the text has it.
    const QString now = article()->text();
    for (int i = 0; i < 3000; i += 499) {
        const QString sentence = QStringLiteral("第%1句话的内容。").arg(i, 4, 10, QLatin1Char('0'));
        const qsizetype at = now.indexOf(sentence);
        EXPECT_EQ(mask.mid(at, 11), QString(11, i % 2 == 0 ? u'^' : u'.')) << i;
    }
}

} // namespace
