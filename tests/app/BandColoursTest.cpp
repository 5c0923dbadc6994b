// 按相似度标色 and 清除标色: the article coloured by its result in the editor and in the saved file.
#include "app/ResultWindow.h"
#include "editor/MarkColors.h"
#include "report/Bands.h"
#include "support/FileDialogScript.h"
#include "support/Form1Fixture.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BandColoursTest : public Form1Fixture
{
protected:
    QTextCharFormat formatAt(qsizetype offset)
    {
        editor()->select(offset, 1);
        return editor()->textCursor().charFormat();
    }
    std::optional<unsigned> backgroundAt(qsizetype offset)
    {
        const QBrush b = formatAt(offset).background();
        return b.style() == Qt::NoBrush ? std::nullopt : std::optional<unsigned>(b.color().rgb() & 0xffffff);
    }
};

TEST_F(BandColoursTest, PiecesTakeTheirBandsBehindTheTextAndIntoTheSavedFile)
{
    MessageBoxRecorder boxes; // none is expected; a box would otherwise wait for a person
    FileDialogScript dialogs;
    QTemporaryDir dir;
    browser->finish(QString());          // the blank start page
    auto* biaose = w<QAction>("biaose"); // its place in the menu: Form1Test
    // Five sentences on two lines; the first four scored 60, 30, 5 and 0, the fifth searched and red.
    QString text;
    for (const char16_t c : {u'一', u'二', u'三', u'四', u'五'})
        text += QString(38, QChar(c)) + (c == u'二' ? QStringLiteral("\n") : QString());
    analyse(text);
    EXPECT_FALSE(biaose->isEnabled()); // nothing to colour by yet
    for (const int f : {60, 30, 5, 0}) {
        click("Command2");
        browser->finish(resultPage(f * 38 / 10, {QStringLiteral("T%1").arg(f)}));
    }
    click("Command2");
    const QString before = editor()->text();

    // The results window's button is the same command.
    w<QAction>("jieguo")->trigger();
    auto* button = child<QPushButton>(form->findChild<ResultWindow*>(), "biaose");
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    const qsizetype starts[] = {0, 38, 78, 116, 154}; // the third past the line break
    ASSERT_TRUE(waitUntil([&] { return backgroundAt(starts[3]).has_value(); }));
    using B = report::Band;
    const std::optional<unsigned> colours[] = {
        report::bandStyle(B::High).colour, report::bandStyle(B::Medium).colour,
        report::bandStyle(B::Low).colour, report::bandStyle(B::NoneFound).colour, std::nullopt};
    for (int i = 0; i < 5; ++i) // the fifth has no result yet
        EXPECT_EQ(backgroundAt(starts[i] + 37), colours[i]) << i;
    // The text, the compare step's red mark and the run as they were; one undo step takes it off.
    EXPECT_EQ(editor()->text(), before);
    EXPECT_EQ(formatAt(starts[4]).foreground().color(), marks::kRed);
    EXPECT_EQ(run().nextIndex(), 5);
    editor()->undo();
    EXPECT_EQ(backgroundAt(0), std::nullopt);
    EXPECT_EQ(backgroundAt(starts[3]), std::nullopt);
    editor()->redo();

    // Saved, the colours go into the RTF.
    const QString path = dir.filePath(QStringLiteral("文章.rtf"));
    dialogs.choose(path);
    w<QAction>("baocun")->trigger();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray rtf = saved.readAll();
    // The high band's colour (0xf4a6a6) as the first run's shading; RtfWriterTest reads such files back.
    EXPECT_TRUE(rtf.contains("\\red244\\green166\\blue166;") && rtf.contains("\\chshdng0\\chcbpat"));

    // 清除标色: the whole text black, without backgrounds.
    w<QAction>("qingchubiaose")->trigger();
    ASSERT_TRUE(waitUntil([&] { return !backgroundAt(starts[3]).has_value(); }));
    for (const qsizetype s : starts) {
        EXPECT_EQ(backgroundAt(s), std::nullopt);
        EXPECT_EQ(formatAt(s).foreground().color(), marks::kBlack);
    }
}

} // namespace
