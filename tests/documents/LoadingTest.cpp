#include "documents/Loading.h"
#include "FailureNames.h"
#include "PdfFixture.h"
#include "documents/DocumentKind.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

using documents::Failure;

enum class Make {
    File,   // a file of the row's content
    None,   // nothing at the path
    Folder, // a folder of the row's name
    Large,  // a file one byte over the limit (sparse: cheap to make)
};

const documents::Read kWordText = QStringLiteral("文档\n正文");

struct LoadRow
{
    const char* name;
    const char* fileName;
    QByteArray content;
    QString outcome;    // as describe() puts it
    bool wordProcessor; // whether the word processor was asked
    Make make = Make::File;
    documents::Read wordProcessorAnswer = kWordText;
};

using DocumentsLoad = ::testing::TestWithParam<LoadRow>;

TEST_P(DocumentsLoad, TurnsThePathIntoADocumentOrAReason)
{
    const LoadRow& row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QLatin1String(row.fileName));
    switch (row.make) {
    case Make::File: {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(row.content), row.content.size());
        break;
    }
    case Make::None:
        break;
    case Make::Folder:
        ASSERT_TRUE(QDir(dir.path()).mkdir(QLatin1String(row.fileName)));
        break;
    case Make::Large: {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(documents::kMaxFileBytes + 1));
        break;
    }
    }

    QStringList asked;
    documents::ReadOptions options;
    options.wordProcessor = [&](const QString& p) {
        asked.append(p);
        return row.wordProcessorAnswer;
    };
    const documents::Read loaded = documents::read(path, options);
    EXPECT_EQ(describe(loaded), row.outcome);
    EXPECT_EQ(asked, row.wordProcessor ? QStringList{path} : QStringList{});
}

const QByteArray kPdf = pdffixture::make({{pdffixture::Line{72, 100, 12, QStringLiteral("论文")}}});
// What LibreOffice made of this text (tests/data/libreoffice.*); it reads them with this text too
// (WordProcessorTest).
const QString kLibreOfficeArticle =
    QStringLiteral("text 论文第一段：中文、English 123。\n第二段……“引号”《书名》￥€é\n\n第四段\t制表符后");
const QByteArray kLockedOoxml = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 dir ") +
                                QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);

INSTANTIATE_TEST_SUITE_P(
    Documents, DocumentsLoad,
    ::testing::Values(
        // Text files (their encodings: TextFileDecodingTest).
        LoadRow{"utf8", "a.txt", "中文\n第二行", QStringLiteral("text 中文\n第二行"), false},
        LoadRow{"empty", "a.txt", "", QStringLiteral("text "), false},
        // The content decides between rich text and text, whatever the name.
        LoadRow{"rtfWithTxtName", "a.txt", "{\\rtf1 rich\\par text}", QStringLiteral("rich rich|text"),
                false},
        LoadRow{"textWithRtfName", "a.rtf", "plain", QStringLiteral("text plain"), false},
        // A Word document name or a word-processor container goes to the word processor (the name
        // rules: DocumentKindTest).
        LoadRow{"wordName", "a.doc", "whatever", QStringLiteral("text 文档\n正文"), true},
        LoadRow{"docxByContent", "a.docx", "PK\x03\x04zip", QStringLiteral("text 文档\n正文"), true},
        LoadRow{"oleByContent", "a.wps", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 ole",
                QStringLiteral("text 文档\n正文"), true},
        // LibreOffice's own documents read natively, whatever the name.
        LoadRow{"libreOfficeDocx", "a.docx", testdata::bytes("libreoffice.docx"), kLibreOfficeArticle, false},
        LoadRow{"libreOfficeOdt", "a.odt", testdata::bytes("libreoffice.odt"), kLibreOfficeArticle, false},
        LoadRow{"libreOfficeDocxByContent", "a.bin", testdata::bytes("libreoffice.docx"), kLibreOfficeArticle,
                false},
        LoadRow{"libreOfficeOdtByContent", "a.bin", testdata::bytes("libreoffice.odt"), kLibreOfficeArticle,
                false},
        // PDF by its content, whatever the name.
        LoadRow{"pdfByContent", "thesis.bin",
                pdffixture::make({{pdffixture::Line{72, 100, 12, QStringLiteral("论文的文字")}}}),
                QStringLiteral("text 论文的文字"), false},
        // Why not.
        LoadRow{"scanPdf", "scan.pdf", pdffixture::make({pdffixture::Page{}}), QStringLiteral("NoTextLayer"),
                false},
        // Readers find the header within the first kilobyte.
        LoadRow{"pdfAfterBom", "a.pdf", "\xEF\xBB\xBF" + kPdf, QStringLiteral("text 论文"), false},
        LoadRow{"pdfAfterCrLf", "a.pdf", "\r\n\r\n" + kPdf, QStringLiteral("text 论文"), false},
        LoadRow{"pdfAfterSpaces", "a.bin", QByteArray(1000, ' ') + kPdf, QStringLiteral("text 论文"), false},
        LoadRow{"pdfHeaderTooLate", "a.txt", QByteArray(1020, ' ') + "%PDF-",
                QStringLiteral("text ") + QString(1020, u' ') + QStringLiteral("%PDF-"), false},
        // Poppler opens this one, with no pages.
        LoadRow{"damagedPdf", "a.pdf",
                "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\ntrailer\n<< /Root 1 0 R "
                ">>\n%%EOF\n",
                QStringLiteral("Damaged"), false},
        LoadRow{"missing", "missing.txt", "", QStringLiteral("Missing"), false, Make::None},
        LoadRow{"folder", "folder.txt", "", QStringLiteral("Unreadable"), false, Make::Folder},
        LoadRow{"tooLarge", "big.txt", "", QStringLiteral("TooLarge"), false, Make::Large},
        LoadRow{"tooLargeWordDocument", "big.doc", "", QStringLiteral("TooLarge"), false, Make::Large},
        LoadRow{"binary", "binary.txt",
                QByteArray("\x7F"
                           "ELF\x02\x01\x01\0\0\0",
                           10),
                QStringLiteral("NotText"), false},
        LoadRow{"wordProcessorFails", "broken.doc", "\xD0\xCF\x11\xE0 broken",
                QStringLiteral("WordProcessorFailed"), true, Make::File, Failure::WordProcessorFailed},
        LoadRow{"wordProcessorTimesOut", "slow.wps", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 slow",
                QStringLiteral("WordProcessorTimedOut"), true, Make::File, Failure::WordProcessorTimedOut},
        LoadRow{"wordProcessorMissing", "a.doc", "x", QStringLiteral("WordProcessorMissing"), true,
                Make::File, Failure::WordProcessorMissing},
        // Locked: the word processor opens Office's default password; its failure means a password.
        LoadRow{"encryptedOoxmlTheWordProcessorOpens", "locked.docx", kLockedOoxml,
                QStringLiteral("text 文档\n正文"), true},
        LoadRow{"encryptedOoxmlTheWordProcessorCannotOpen", "locked.docx", kLockedOoxml,
                QStringLiteral("Encrypted"), true, Make::File, Failure::WordProcessorFailed}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
