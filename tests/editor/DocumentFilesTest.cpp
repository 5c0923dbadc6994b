#include "editor/DocumentFiles.h"
#include "documents/RtfReader.h"
#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"
#include "support/DocumentTestHelpers.h"
#include "support/QtPrinters.h"

#include "TestData.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

using marks::kBlack;
using marks::kRed;

class DocumentFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        editor.setPlainText(QStringLiteral("before"));
    }

    QString file(const char* name, const QByteArray& content) { return writeFile(dir, name, content); }
    bool load(const QString& path) { return editor::show(editor, documents::read(path)); }

    QTemporaryDir dir;
    RichTextBox editor;
};

TEST_F(DocumentFiles, SavedFileReadsBackWithTextAndColours)
{
    RichTextBox source;
    QTextDocument& d = *source.document();
    d.clear();
    appendText(d, QStringLiteral("中文ASCII "), kBlack);
    appendText(d, QStringLiteral("标红😀・€"), kRed);
    appendText(d, QStringLiteral("黑体"), kBlack, QStringLiteral("黑体"), 16);
    QTextCursor c(&d);
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    appendText(d, QStringLiteral("第二段\t{x}\\"), kRed, QStringLiteral("Arial"), 12);
    appendText(d, QStringLiteral("黑"), kBlack);

    const QString path = dir.filePath(QStringLiteral("round.rtf"));
    ASSERT_TRUE(editor::saveFile(source, path));
    ASSERT_TRUE(load(path));
    EXPECT_EQ(editor.text(), source.text());
    EXPECT_EQ(colourMap(*editor.document()), colourMap(*source.document()));
    EXPECT_EQ(colourMap(*editor.document()), QStringLiteral("kkkkkkkkrrrrrrkk|rrrrrrrrk"));

    const richtext::Document saved = editor::toRichText(*source.document());
    const richtext::Document loaded = editor::toRichText(*editor.document());
    ASSERT_EQ(loaded.paragraphs.size(), 2);
    EXPECT_EQ(loaded.paragraphs[0].runs.last().format.fontName, QStringLiteral("黑体"));
    EXPECT_EQ(loaded.paragraphs[0].runs.last().format.halfPoints, 32);
    EXPECT_EQ(loaded.paragraphs[1].runs.first().format.fontName, QStringLiteral("Arial"));
    EXPECT_EQ(loaded, saved);
}

// Which reader a file goes to and why it is refused is tested with documents::read; here, that the
// editor shows what was read, line breaks as CR LF.
TEST_F(DocumentFiles, FilesOpenWithTheirTextAndColours)
{
    ASSERT_TRUE(load(file("a.txt", "中文\n第二行")));
    EXPECT_EQ(editor.text(), QStringLiteral("中文\r\n第二行"));
    ASSERT_TRUE(load(testdata::path("wordpad.rtf")));
    EXPECT_EQ(editor.text(),
              QStringLiteral("中文标红abc\r\nSecond bold it under\ttab\r\nnext\r\n黑体字{}\\"));
    EXPECT_TRUE(colourMap(*editor.document()).startsWith(QStringLiteral("--rrkkk|")));
}

TEST_F(DocumentFiles, UnreadableFilesLeaveTheEditorAsItWas)
{
    editor.document()->clear();
    appendText(*editor.document(), QStringLiteral("保留"), kRed);
    const QString before = editor.text();
    const QString map = colourMap(*editor.document());

    EXPECT_FALSE(load(dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(load(file("binary.txt", QByteArray("\x7F"
                                                    "ELF\x02\x01\x01\0\0\0",
                                                    10))));

    EXPECT_EQ(editor.text(), before);
    EXPECT_EQ(colourMap(*editor.document()), map);
}

TEST_F(DocumentFiles, LoadingIsNoUndoStepAndKeepsTheEditorsSettings)
{
    editor.document()->setDefaultFont(QFont(QStringLiteral("宋体"), 10));
    editor.document()->setDocumentMargin(7);
    ASSERT_TRUE(load(testdata::path("word.rtf")));
    EXPECT_FALSE(editor.document()->isUndoAvailable());
    EXPECT_TRUE(editor.document()->isUndoRedoEnabled());
    EXPECT_EQ(editor.document()->defaultFont().family(), QStringLiteral("宋体"));
    EXPECT_EQ(editor.document()->documentMargin(), 7);

    editor.moveCaretToStart();
    editor.insertPlainText(QStringLiteral("新"));
    EXPECT_TRUE(editor.text().startsWith(QStringLiteral("新第一段")));
    EXPECT_TRUE(editor.document()->isUndoAvailable());
}

} // namespace
