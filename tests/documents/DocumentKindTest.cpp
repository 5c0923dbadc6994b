#include "documents/DocumentKind.h"
#include "documents/DialogFilter.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

using documents::Kind;

struct KindRow
{
    const char* name;
    QString fileName;
    QByteArray content;
    Kind kind;
};

using DocumentKind = ::testing::TestWithParam<KindRow>;

TEST_P(DocumentKind, Route)
{
    EXPECT_EQ(documents::kindOf(GetParam().fileName, GetParam().content), GetParam().kind);
}

const QByteArray kRtf = "{\\rtf1 x}";
const QByteArray kZip = "PK\x03\x04rest";
const QByteArray kOle = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest";

INSTANTIATE_TEST_SUITE_P(Documents, DocumentKind,
                         ::testing::Values(KindRow{"docGoesToWordProcessor", "a.doc", "text",
                                                   Kind::WordProcessor},
                                           KindRow{"upperDoc", "/x/a.DOC", kRtf, Kind::WordProcessor},
                                           KindRow{"capitalDoc", "a.Doc", "", Kind::WordProcessor},
                                           KindRow{"nameWithoutDot", "mydoc", "text", Kind::WordProcessor},
                                           KindRow{"mixedCaseIsNotWord", "a.dOc", "text", Kind::Text},
                                           KindRow{"docxByContent", "a.docx", kZip, Kind::WordProcessor},
                                           KindRow{"odtByContent", "a.odt", kZip, Kind::WordProcessor},
                                           KindRow{"renamedWordFile", "a.dOc", kOle, Kind::WordProcessor},
                                           KindRow{"rtfByContent", "a.txt", kRtf, Kind::RichText},
                                           KindRow{"rtfName", "a.rtf", "plain", Kind::Text},
                                           KindRow{"textByDefault", "a.rtf", "\xD6\xD0", Kind::Text}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Documents, OnlyWordProcessorFilesAndPdfAreFormattedDocuments)
{
    EXPECT_TRUE(documents::isFormattedDocument(kZip));
    EXPECT_TRUE(documents::isFormattedDocument(kOle));
    EXPECT_TRUE(documents::isFormattedDocument("%PDF-1.7\n"));
    EXPECT_FALSE(documents::isFormattedDocument(kRtf));
    EXPECT_FALSE(documents::isFormattedDocument("\xD6\xD0\xCE\xC4"));
    EXPECT_FALSE(documents::isFormattedDocument("PK"));
    EXPECT_FALSE(documents::isFormattedDocument(""));
}

TEST(Documents, SaveProposesTheSameNameAsRichText)
{
    using documents::richTextFileName;
    EXPECT_EQ(richTextFileName(QStringLiteral("/论文/第二章.docx")), QStringLiteral("/论文/第二章.rtf"));
    EXPECT_EQ(richTextFileName(QStringLiteral("/a/v1.2.txt")), QStringLiteral("/a/v1.2.rtf"));
    EXPECT_EQ(richTextFileName(QStringLiteral("/a/b.RTF")), QStringLiteral("/a/b.RTF"));
    EXPECT_EQ(richTextFileName(QStringLiteral("/a.d/notes")), QStringLiteral("/a.d/notes.rtf"));
    EXPECT_EQ(richTextFileName(QStringLiteral("/a/.hidden")), QStringLiteral("/a/.hidden.rtf"));
    EXPECT_EQ(richTextFileName(QString()), QString());
}

// The word processor's text export: UTF-8 behind a byte-order mark, or nothing was loaded.
TEST(Documents, WordProcessorText)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    const std::pair<QByteArray, std::optional<QString>> rows[] = {
        {bom + "第一\n二\n", QStringLiteral("第一\n二")},
        {bom + "a\r\nb\n\n", QStringLiteral("a\nb")},
        {bom + "a\n\n\n", QStringLiteral("a\n")}, // an empty last paragraph
        {bom + "\n\n", QString()},
        {"", std::nullopt}, // nothing printed: the file was not loaded
        {"text without mark", std::nullopt},
        {bom + "\xFF\xFE", std::nullopt}, // not UTF-8
        {bom + QByteArray("a\0b", 3), std::nullopt},
    };
    for (const auto& [bytes, text] : rows)
        EXPECT_EQ(documents::wordProcessorText(bytes), text) << bytes.toHex().toStdString();
}

TEST(DialogFilter, WindowsPairsBecomeQtFilters)
{
    EXPECT_EQ(documents::toQtFilters(
                  QStringLiteral("WORD文档(*.doc)|*.doc|文本文件(*.txt)|*.txt|写字板文件(*.rtf)|*.rtf")),
              (QStringList{QStringLiteral("WORD文档(*.doc)"), QStringLiteral("文本文件(*.txt)"),
                           QStringLiteral("写字板文件(*.rtf)")}));
    EXPECT_EQ(documents::toQtFilters(QStringLiteral("Pictures|*.png;*.jpg|All|*.*|dangling")),
              (QStringList{QStringLiteral("Pictures (*.png *.jpg)"), QStringLiteral("All (*.*)")}));
    EXPECT_TRUE(documents::toQtFilters(QString()).isEmpty());
}

TEST(DialogFilter, CombinedFilterTakesEveryPatternOnce)
{
    EXPECT_EQ(documents::combinedFilter(QStringLiteral("所有支持的文档"),
                                        {QStringLiteral("WORD文档(*.doc)"),
                                         QStringLiteral("Pictures (*.png *.jpg)"),
                                         QStringLiteral("Again (*.doc)"), QStringLiteral("No patterns")}),
              QStringLiteral("所有支持的文档 (*.doc *.png *.jpg)"));
}

} // namespace
