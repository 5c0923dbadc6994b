// Slow: these tests start LibreOffice, to read what only it reads and to read our rich text.
#include "documents/Loading.h"
#include "documents/RtfReader.h"
#include "editor/DocumentFiles.h"
#include "editor/RichTextBox.h"
#include "support/DocumentTestHelpers.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "support/WordProcessorWait.h"

#include "TestData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using documents::Failure;
using Result = documents::Read;

// The text of tests/data/libreoffice.doc, .docx and .odt, which LibreOffice made from it.
const QString kArticle =
    QStringLiteral("论文第一段：中文、English 123。\n第二段……“引号”《书名》￥€é\n\n第四段\t制表符后");

documents::Read readThroughLibreOffice(const QString& path)
{
    return documents::read(path, {documents::Readers::WordProcessorOnly,
                                  [](const QString& p) { return readWithWordProcessor(p); }});
}

// Only LibreOffice reads .doc; the LibreOffice route's .docx gives the text the native reader gives
// (the native readers read these fixtures in LoadingTest).
using LibreOfficeReads = ::testing::TestWithParam<const char*>;

TEST_P(LibreOfficeReads, WordDocumentsWithTheirText)
{
    EXPECT_EQ(readThroughLibreOffice(testdata::path(GetParam())), Result(kArticle));
}

INSTANTIATE_TEST_SUITE_P(Documents, LibreOfficeReads,
                         ::testing::Values("libreoffice.doc", "libreoffice.docx"));

TEST(LibreOffice, MissingAndBrokenDocumentsGiveNothing)
{
    QTemporaryDir in;
    EXPECT_EQ(readWithWordProcessor(in.filePath(QStringLiteral("missing.doc"))), Result(Failure::Missing));
    QByteArray noise(4096, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    EXPECT_EQ(readWithWordProcessor(writeFile(in, "broken.doc", noise)),
              Result(Failure::WordProcessorFailed));
}

// LibreOffice reads our rich text with every character and mark, and what it writes back reads the
// same. (tests/data/libreoffice.rtf holds what it writes from its own documents.)
TEST(LibreOffice, ReadsOurRichTextAndWritesItBack)
{
    QTemporaryDir in, out, profile;
    RichTextBox editor;
    QTextDocument& d = *editor.document();
    d.clear();
    appendText(d, QStringLiteral("中文 ASCII {x} \\ €é…"), QColor(0, 0, 0));
    appendText(d, QStringLiteral("红色标记・\U0001F600"), QColor(255, 0, 0));
    appendText(d, QStringLiteral("Arial 黑"), QColor(0, 0, 0), QStringLiteral("Arial"), 14);
    QTextCursor c(&d);
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    appendText(d, QStringLiteral("第二段\t制表"), QColor(255, 0, 0));
    const QString ours = in.filePath(QStringLiteral("ours.rtf"));
    ASSERT_TRUE(editor::saveFile(editor, ours));

    QProcess p;
    p.start(QStringLiteral("soffice"),
            {QStringLiteral("--headless"),
             QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
             QStringLiteral("--convert-to"), QStringLiteral("rtf:Rich Text Format"),
             QStringLiteral("--outdir"), out.path(), ours});
    ASSERT_TRUE(p.waitForFinished(120'000)) << "soffice did not finish";
    const std::optional<richtext::Document> reread =
        rtf::read(readFile(out.filePath(QStringLiteral("ours.rtf"))));
    ASSERT_TRUE(reread) << p.readAllStandardError().toStdString();
    RichTextBox rereadEditor;
    editor::setRichText(*rereadEditor.document(), *reread);
    EXPECT_EQ(rereadEditor.text(), editor.text());
    const QString map = colourMap(*rereadEditor.document());
    const QString expected = colourMap(d);
    ASSERT_EQ(map.size(), expected.size());
    for (qsizetype i = 0; i < map.size(); ++i)
        EXPECT_EQ(map.at(i) == u'r', expected.at(i) == u'r') << "character " << i;
}

// Past its limit the office is killed with what it started, also when it has closed its output.
TEST(WordProcessorProcess, OverrunningProcessIsKilledWithWhatItStarted)
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("child.pid"));
    const QString doc = writeFile(dir, "a.doc", "x");
    for (const QByteArray closing : {QByteArray(), QByteArray("exec >&-\n")}) {
        QFile::remove(pidFile);
        const QString program = writeScript(
            dir, "fake-office", closing + "sleep 300 &\necho $! > '" + pidFile.toUtf8() + "'\nwait\n");
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(readWithWordProcessor(doc, {program, 500ms}), Result(Failure::WordProcessorTimedOut));
        EXPECT_LT(clock.elapsed(), 10'000) << "one limit for the whole read, not one per wait";
        const qint64 child = readFile(pidFile).trimmed().toLongLong();
        ASSERT_GT(child, 0);
        EXPECT_TRUE(waitUntil([child] { return processGone(child); }, 5000))
            << "the office's own child outlived it";
    }
}

TEST(WordProcessorProcess, PrintedTextComesBack)
{
    QTemporaryDir dir;
    const QString doc = writeFile(dir, "a b.doc", "x");
    // Prints its last argument's name after the byte-order mark, as the office prints a document.
    const QString program =
        writeScript(dir, "fake-office", "printf '\\357\\273\\277%s\\n' \"$(basename \"$4\")\"\n");
    EXPECT_EQ(readWithWordProcessor(doc, {program, 10s}), Result(QStringLiteral("a b.doc")));
    EXPECT_EQ(readWithWordProcessor(doc, {dir.filePath(QStringLiteral("no-such-program")), 10s}),
              Result(Failure::WordProcessorMissing));
}

// The program ends while the office reads, by a signal it does not handle: the office, what it
// started and its profile go with it. The test runs itself as that program (the environment says so).
const char kParentVariable[] = "TESSARO_TEST_OFFICE_PARENT";

using KilledProgram = ::testing::TestWithParam<int>;

TEST_P(KilledProgram, LeavesNoOfficeAndNoProfile)
{
    if (qEnvironmentVariableIsSet(kParentVariable)) {
        // The program: starts a read and waits for its end, which does not come.
        const QStringList given = qEnvironmentVariable(kParentVariable).split(u'|');
        WordProcessorJob job(given[1], {given[0], std::chrono::minutes(5)});
        job.start();
        QEventLoop().exec();
        return;
    }
    QTemporaryDir dir, temp;
    const QString doc = writeFile(dir, "a.doc", "x");
    const QString info = dir.filePath(QStringLiteral("office.info"));
    // Records its own pid, its child's and the profile it was given, then waits, with a link to the
    // document's folder in its profile that the guard must remove as a link.
    const QString program = writeScript(dir, "fake-office",
                                        "ln -s '" + dir.path().toUtf8() +
                                            "' \"${2#-env:UserInstallation=file://}/linked\"\nsleep 300 "
                                            "&\necho $$ $! \"${2#-env:UserInstallation=file://}\" > '" +
                                            info.toUtf8() + ".part'\nmv '" + info.toUtf8() + ".part' '" +
                                            info.toUtf8() + "'\nwait\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kParentVariable), program + u'|' + doc);
    environment.insert(QStringLiteral("TMPDIR"), temp.path());
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.remove(QStringLiteral("GTEST_SHARD_INDEX"));
    environment.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));
    QProcess parent;
    parent.setProcessEnvironment(environment);
    parent.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    parent.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=") +
         QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
         u'.' + QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name())});
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(info); }, 20'000)) << "the office never started";
    const QStringList started = QString::fromUtf8(readFile(info)).trimmed().split(u' ');
    ASSERT_EQ(started.size(), 3);
    const qint64 office = started[0].toLongLong(), child = started[1].toLongLong();
    const QString profile = QUrl::fromPercentEncoding(started[2].toUtf8());
    ASSERT_TRUE(
        profile.startsWith(temp.path() + QStringLiteral("/tessaro-%1/tessaro-office-").arg(::geteuid())))
        << profile.toStdString();
    ASSERT_TRUE(QFileInfo::exists(profile));

    const qint64 programPid = parent.processId();
    ASSERT_GT(programPid, 0) << "the program ended by itself";
    ::kill(static_cast<pid_t>(programPid), GetParam());
    ASSERT_TRUE(parent.waitForFinished(10'000));
    EXPECT_TRUE(waitUntil([&] {
        return processGone(office) && processGone(child) && !QFileInfo::exists(profile);
    })) << "office "
        << processGone(office) << ", its child " << processGone(child) << ", profile "
        << QFileInfo::exists(profile);
    EXPECT_TRUE(QFileInfo::exists(doc)) << "the guard removed what a link in the profile points to";
}

INSTANTIATE_TEST_SUITE_P(Signals, KilledProgram, ::testing::Values(SIGTERM, SIGHUP, SIGKILL));

} // namespace
