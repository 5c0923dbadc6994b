// Documents that unpack or unfold into more than any thesis, and broken ZIP containers: each opens
// within its limits or is refused with a reason, and none is handed to the word processor.
#include "documents/HostileDocuments.h"
#include "FailureNames.h"
#include "documents/Loading.h"
#include "documents/PdfFixture.h"
#include "documents/ZipArchive.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using rows::PrintTo;

using documents::Failure;
using zipmaker::Entry;

struct HostileRow
{
    const char* name;
    const char* fileName;
    std::function<QByteArray()> make;
    QString outcome; // as describe() puts it
    documents::Readers readers = documents::Readers::NativeFirst;
};

using HostileDocuments = ::testing::TestWithParam<HostileRow>;

TEST_P(HostileDocuments, OpenWithinTheLimitsOrAreRefused)
{
    const HostileRow& row = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(row.fileName));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QByteArray bytes = row.make();
    ASSERT_EQ(f.write(bytes), bytes.size());
    f.close();
    bool asked = false;
    documents::ReadOptions options;
    options.readers = row.readers;
    options.wordProcessor = [&](const QString&) -> documents::Read {
        asked = true;
        return Failure::WordProcessorFailed;
    };
    const documents::Read read = documents::read(path, options);
    EXPECT_EQ(describe(read, asked), row.outcome);
}

const QString kOver = QStringLiteral("Overexpanded");

QString labelled(const QString& number, int levels)
{
    return QStringList(levels, number).join(u'.');
}

QByteArray docxEntries(std::function<void(Entry&)> change)
{
    Entry document = hostile::docxDocument("<w:p><w:r><w:t>x</w:t></w:r></w:p>");
    change(document);
    return hostile::docx(document);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, HostileDocuments,
    ::testing::Values(
        // Characters: 20,000 runs of 10,000 spaces in 2 KB; just under the budget it opens.
        HostileRow{"spacesPastTheBudget", "a.odt", [] { return hostile::odtSpaces(20000, 10000); }, kOver},
        HostileRow{"spacesWithinTheBudget", "a.odt", [] { return hostile::odtSpaces(1999, 10000); },
                   QStringLiteral("text of 19990000 characters")},
        // Labels from the largest start a file can give: no overflow, no million-letter label.
        HostileRow{"nestedLetterListsFromTheLargestStart", "a.odt",
                   [] { return hostile::odtNestedLetterLists(10, "2147483647", 2); },
                   QStringLiteral("text ") + QString(40, u' ') + labelled(QStringLiteral("2147483647"), 10) +
                       QStringLiteral(". x\n") + QString(40, u' ') +
                       labelled(QStringLiteral("2147483647"), 9) + QStringLiteral(".2147483648. y")},
        HostileRow{"letterLevelsFromTheLargestStart", "a.docx",
                   [] {
                       return hostile::docx(hostile::docxListItems(2, 8),
                                            {hostile::docxNumbering("lowerLetter", "2147483647",
                                                                    "%1.%2.%3.%4.%5.%6.%7.%8.%9")});
                   },
                   QStringLiteral("text ") + QString(36, u' ') + labelled(QStringLiteral("2147483647"), 9) +
                       QStringLiteral(" x\n") + QString(36, u' ') +
                       labelled(QStringLiteral("2147483647"), 8) + QStringLiteral(".2147483648 x")},
        HostileRow{"levelTextRepeatingItsNumber", "a.docx",
                   [] {
                       // Ten digits 20,000 times a label, 101 labels.
                       return hostile::docx(hostile::docxListItems(101, 0),
                                            {hostile::docxNumbering("decimal", "1000000000",
                                                                    QByteArray("%1").repeated(20000))});
                   },
                   kOver},
        // Paragraphs, nested lists and open fields past their limits.
        HostileRow{"paragraphsPastTheLimit", "a.docx", [] { return hostile::docxParagraphs(6, "<w:p/>"); },
                   kOver},
        HostileRow{"listsNestedPastTheLimit", "a.odt", [] { return hostile::odtNestedLists(100000, 1); },
                   kOver},
        HostileRow{"fieldsOpenPastTheLimit", "a.docx", [] { return hostile::docxOpenFields(100000); }, kOver},
        // A note's text counts as often as the body refers to it; boxes in boxes as lists in lists.
        HostileRow{"footnoteReferredPastTheBudget", "a.docx",
                   [] { return hostile::docxFootnoteReferred(100000, 201); }, kOver},
        // An embedded document counts where it stands, as often as it is embedded.
        HostileRow{"chunkEmbeddedPastTheBudget", "a.docx",
                   [] { return hostile::docxChunkEmbedded(100000, 201); }, kOver},
        HostileRow{"chunkEmbeddedWithinTheBudget", "a.docx",
                   [] { return hostile::docxChunkEmbedded(100000, 199); },
                   QStringLiteral("text of 19900198 characters")},
        HostileRow{"textBoxesNestedPastTheLimit", "a.odt", [] { return hostile::odtNestedTextBoxes(100000); },
                   kOver},
        // Within the limits: a nested list numbers with the enclosing list's style, a field's result
        // shows once every enclosing field's result has begun.
        HostileRow{
            "styleOfTheEnclosingList", "a.odt",
            [] {
                return hostile::odt(
                    "<text:list text:style-name=\"L1\"><text:list-item><text:list><text:list-item>"
                    "<text:p>x</text:p></text:list-item></text:list></text:list-item></text:list>",
                    "<text:list-style style:name=\"L1\"><text:list-level-style-number text:level=\"2\" "
                    "style:num-format=\"i\" style:num-suffix=\")\"/></text:list-style>");
            },
            QStringLiteral("text         i) x")},
        HostileRow{"resultOfNestedFields", "a.docx",
                   [] {
                       const auto field = [](const char* type) {
                           return "<w:r><w:fldChar w:fldCharType=\"" + QByteArray(type) + "\"/></w:r>";
                       };
                       return hostile::docx("<w:p>" + field("begin") + field("begin") + field("separate") +
                                            "<w:r><w:t>inner</w:t></w:r>" + field("end") + field("separate") +
                                            "<w:r><w:t>outer</w:t></w:r>" + field("end") + "</w:p>");
                   },
                   QStringLiteral("text outer")},
        // Entries past the limit, or longer than they say: refused, by either route.
        HostileRow{"entryOverTheLimitForTheWordProcessor", "a.docx",
                   [] { return hostile::docxWithEntryOf(600u * 1024 * 1024); }, kOver,
                   documents::Readers::WordProcessorOnly},
        HostileRow{"entryLongerThanItSays", "a.docx",
                   [] { return docxEntries([](Entry& e) { e.declaredSize = 10; }); }, kOver},
        HostileRow{"entryLongerThanItSaysForTheWordProcessor", "a.docx",
                   [] { return docxEntries([](Entry& e) { e.declaredSize = 10; }); }, kOver,
                   documents::Readers::WordProcessorOnly},
        HostileRow{"entryWithAWrongChecksum", "a.docx",
                   [] { return docxEntries([](Entry& e) { e.crc = 1; }); }, QStringLiteral("word processor")},
        HostileRow{"entryEncrypted", "a.docx",
                   [] { return docxEntries([](Entry& e) { e.encrypted = true; }); },
                   QStringLiteral("Encrypted")},
        // What the name promises and the bytes are not.
        HostileRow{"emptyDocx", "a.docx", [] { return QByteArray(); }, QStringLiteral("EmptyDocument")},
        HostileRow{"binaryDocx", "a.docx", [] { return QByteArray("\x01\x02\x00\xFF\xFE rest", 10); },
                   QStringLiteral("NotAContainer")},
        HostileRow{"textDocxReadsAsText", "a.docx", [] { return QByteArray("plain"); },
                   QStringLiteral("text plain")}),
    [](const auto& info) { return std::string(info.param.name); });

struct ArchiveRow
{
    const char* name;
    QList<Entry> entries; // the first is read
    std::optional<QByteArray> read;
    enum { None, OverLimit, Encrypted, Oversized } raised = None;
};

using ZipEntries = ::testing::TestWithParam<ArchiveRow>;

TEST_P(ZipEntries, AreReadCheckedOrRefused)
{
    const ArchiveRow& row = GetParam();
    const QByteArray bytes = zipmaker::container(row.entries);
    const documents::ZipArchive archive(bytes);
    ASSERT_TRUE(archive.isOpen());
    EXPECT_EQ(archive.read(QString::fromLatin1(row.entries.first().name)), row.read);
    EXPECT_EQ(archive.overLimit(), row.raised == ArchiveRow::OverLimit);
    EXPECT_EQ(archive.hasEncryptedEntry(), row.raised == ArchiveRow::Encrypted);
    EXPECT_EQ(archive.hasOversizedEntry(), row.raised == ArchiveRow::Oversized);
}

Entry entry(
    const char* name, std::function<void(Entry&)> change = [](Entry&) {})
{
    Entry e{name, "content"};
    change(e);
    return e;
}

Entry sized(const char* name, quint32 declaredSize)
{
    return entry(name, [declaredSize](Entry& e) { e.declaredSize = declaredSize; });
}

constexpr quint32 kMegabyte = 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Documents, ZipEntries,
    ::testing::Values(
        ArchiveRow{"whole", {entry("a.xml")}, QByteArray("content")},
        ArchiveRow{"wrongChecksum", {entry("a.xml", [](Entry& e) { e.crc = 1; })}, std::nullopt},
        ArchiveRow{"shorterThanItSays", {sized("a.xml", 8)}, std::nullopt},
        ArchiveRow{"longerThanItSays", {sized("a.xml", 6)}, std::nullopt, ArchiveRow::OverLimit},
        ArchiveRow{"overThePartLimit", {sized("a.xml", 65 * kMegabyte)}, std::nullopt, ArchiveRow::OverLimit},
        ArchiveRow("encrypted", {entry("a.xml", [](Entry& e) { e.encrypted = true; })}, std::nullopt,
                   ArchiveRow::Encrypted),
        ArchiveRow("oneOverTheEntryLimit", {entry("a.xml"), sized("x.png", 513 * kMegabyte)},
                   QByteArray("content"), ArchiveRow::Oversized),
        ArchiveRow("allOverTheTotalLimit",
                   {entry("a.xml"), sized("x.png", 500 * kMegabyte), sized("y.png", 500 * kMegabyte),
                    sized("z.png", 500 * kMegabyte)},
                   QByteArray("content"), ArchiveRow::Oversized)),
    [](const auto& info) { return std::string(info.param.name); });

// Text that runs on without markup is cut short before the XML reader holds all of it.
TEST(ZipEntry, TextPastTheLimitFails)
{
    const QByteArray bytes =
        zipmaker::container({zipmaker::repeated("a.xml", "<a>", QByteArray(1000 * 1000, 'a'), 61, "</a>")});
    const documents::ZipArchive archive(bytes);
    const std::unique_ptr<documents::ZipEntry> entry = archive.open(QStringLiteral("a.xml"));
    ASSERT_TRUE(entry);
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    qint64 read = 0;
    for (qint64 got = 0; (got = entry->read(chunk.data(), chunk.size())) > 0;)
        read += got;
    EXPECT_TRUE(entry->failed());
    EXPECT_TRUE(archive.overLimit());
    EXPECT_LT(read, 61'000'000);
}

// A read asked to stop stops in each reader that the budget watches, and says so.
TEST(CancelledRead, StopsInEveryNativeReader)
{
    QTemporaryDir dir;
    const std::pair<const char*, QByteArray> files[] = {
        {"a.docx", hostile::docx("<w:p><w:r><w:t>正文</w:t></w:r></w:p>")},
        {"a.odt", hostile::odt("<text:p>正文</text:p>")},
        {"a.pdf", pdffixture::make({{pdffixture::Line{72, 100, 12, QStringLiteral("正文")}}})},
    };
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        documents::CancelFlag cancel = false;
        EXPECT_EQ(documents::read(path, {}, &cancel), documents::Read(QStringLiteral("正文"))) << name;
        cancel = true;
        EXPECT_EQ(documents::read(path, {}, &cancel), documents::Read(Failure::Cancelled)) << name;
    }
}

TEST(OpenFailureMessage, NamesTheFileAndWhy)
{
    const std::tuple<const char*, Failure, const char*> rows[] = {
        {"docx", Failure::Overexpanded, "文档展开后超过 2000 万字，可能已损坏或被恶意构造。"},
        {"pdf", Failure::Encrypted, "文件设有密码（已加密），无法读取。请换用一份打开时不需要密码的文件。"},
        {"pdf", Failure::Damaged, "文件已损坏，无法读取。"},
        {"pdf", Failure::TimeLimit, "文件过于复杂，读取超过了 60 秒。"},
        {"pdf", Failure::MemoryLimit, "文件过于复杂，读取需要的内存超过了 2 GB。"},
        {"docx", Failure::NotAContainer,
         "文件的扩展名是 .docx，但内容既不是这种文档，也不是文本（可能已损坏，或只是改了扩展名）。"},
    };
    for (const auto& [suffix, failure, why] : rows) {
        const QString path = QStringLiteral("/tmp/论文.") + QLatin1String(suffix);
        EXPECT_EQ(documents::openFailureMessage(path, failure),
                  QStringLiteral("无法打开文件“") + path + QStringLiteral("”：\n") + QString::fromUtf8(why));
    }
}

} // namespace
