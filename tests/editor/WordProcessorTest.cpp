// Slow: these tests start LibreOffice, which makes documents from our text and reads ours.
#include "documents/Loading.h"
#include "documents/RtfReader.h"
#include "documents/TextFileDecoding.h"
#include "editor/DocumentFiles.h"
#include "editor/DocumentTestHelpers.h"
#include "editor/RichTextBox.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "support/WordProcessorWait.h"

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

const QString kArticle = QStringLiteral("论文第一段：中文、English 123。\n第二段……“引号”《书名》￥€é");

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class LibreOffice : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_profile = new QTemporaryDir; }
    static void TearDownTestSuite()
    {
        delete s_profile;
        s_profile = nullptr;
    }

    // Converts input with LibreOffice into dir; returns the new file's path.
    QString convert(const QString& input, const QString& target, const QString& extension,
                    const QString& inputFilter = QString())
    {
        QStringList args{QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=") +
                                                           QUrl::fromLocalFile(s_profile->path()).toString()};
        if (!inputFilter.isEmpty())
            args << QStringLiteral("--infilter=") + inputFilter;
        args << QStringLiteral("--convert-to") << target << QStringLiteral("--outdir") << out.path() << input;
        QProcess p;
        p.start(QStringLiteral("soffice"), args);
        EXPECT_TRUE(p.waitForFinished(120'000)) << "soffice did not finish";
        const QString made = out.filePath(QFileInfo(input).completeBaseName() + u'.' + extension);
        EXPECT_TRUE(QFileInfo::exists(made)) << made.toStdString() << p.readAllStandardError().toStdString();
        return made;
    }

    QString textFile(const char* name, const QString& text)
    {
        const QString path = in.filePath(QLatin1String(name));
        write(path, text.toUtf8());
        return path;
    }

    static inline QTemporaryDir* s_profile = nullptr;
    QTemporaryDir in, out;
};

TEST_F(LibreOffice, WordDocumentsOpenWithTheirText)
{
    const QString source = textFile("article.txt", kArticle);
    const QString utf8 = QStringLiteral("Text (encoded):UTF8,LF,,,");
    const QString doc = convert(source, QStringLiteral("doc:MS Word 97"), QStringLiteral("doc"), utf8);
    const QString docx =
        convert(source, QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("docx"), utf8);

    EXPECT_EQ(readWithWordProcessor(doc), Result(kArticle));
    EXPECT_EQ(readWithWordProcessor(docx), Result(kArticle));

    RichTextBox editor;
    ASSERT_TRUE(editor::show(
        editor,
        documents::read(docx, {.wordProcessor = [](const QString& p) { return readWithWordProcessor(p); }})))
        << "a .docx is recognised by its content";
    EXPECT_EQ(editor.text(), QString(kArticle).replace(u'\n', QStringLiteral("\r\n")));
}

TEST_F(LibreOffice, ItsRichTextReadsWithColours)
{
    const QString html = in.filePath(QStringLiteral("marked.html"));
    write(html, QStringLiteral(
                    "<html><head><meta charset=\"utf-8\"></head><body><p>黑字<font color=\"#ff0000\">红字中文"
                    "</font>黑 abc \U0001F600 €</p><p><font face=\"宋体\">第二段</font></p></body></html>")
                    .toUtf8());
    const QString rtfPath = convert(html, QStringLiteral("rtf:Rich Text Format"), QStringLiteral("rtf"),
                                    QStringLiteral("HTML (StarWriter)"));
    const std::optional<richtext::Document> d = rtf::read(contentOf(rtfPath));
    ASSERT_TRUE(d);
    RichTextBox editor;
    editor::setRichText(*editor.document(), *d);
    EXPECT_EQ(editor.text(), QStringLiteral("黑字红字中文黑 abc \U0001F600 €\r\n第二段"));
    const QString map = colourMap(*editor.document());
    EXPECT_EQ(map.mid(2, 4), QStringLiteral("rrrr"));
    EXPECT_NE(map.at(0), u'r');
    EXPECT_NE(map.at(6), u'r');
}

TEST_F(LibreOffice, ReadsOurRichTextWithEveryCharacterAndMark)
{
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

    const QString txt = convert(ours, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt"));
    std::optional<QString> text = textfile::decode(contentOf(txt));
    ASSERT_TRUE(text);
    if (text->endsWith(u'\n'))
        text->chop(1);
    EXPECT_EQ(*text, QString(editor.text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    const QString back = convert(ours, QStringLiteral("rtf:Rich Text Format"), QStringLiteral("rtf"));
    const std::optional<richtext::Document> reread = rtf::read(contentOf(back));
    ASSERT_TRUE(reread);
    RichTextBox rereadEditor;
    editor::setRichText(*rereadEditor.document(), *reread);
    EXPECT_EQ(rereadEditor.text(), editor.text());
    const QString map = colourMap(*rereadEditor.document());
    const QString expected = colourMap(d);
    ASSERT_EQ(map.size(), expected.size());
    for (qsizetype i = 0; i < map.size(); ++i)
        EXPECT_EQ(map.at(i) == u'r', expected.at(i) == u'r') << "character " << i;
}

TEST_F(LibreOffice, MissingAndBrokenDocumentsGiveNothing)
{
    EXPECT_EQ(readWithWordProcessor(in.filePath(QStringLiteral("missing.doc"))), Result(Failure::Missing));
    const QString broken = in.filePath(QStringLiteral("broken.doc"));
    QByteArray noise(4096, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    write(broken, noise);
    EXPECT_EQ(readWithWordProcessor(broken), Result(Failure::WordProcessorFailed));
}

// The same documents through both routes: the native readers and LibreOffice give one text.
struct NativeRoute
{
    static constexpr bool kChecksTheName = true; // the content, not the name, picks the reader
    static documents::Read read(const QString& path)
    {
        const documents::Read step = documents::read(path); // no word processor
        if (const QString* text = std::get_if<QString>(&step))
            return *text;
        return Failure::NotText; // the native reader did not take it
    }
};

struct LibreOfficeRoute
{
    static constexpr bool kChecksTheName = false; // LibreOffice looks at the content itself
    static documents::Read read(const QString& path)
    {
        return documents::read(path, {documents::Readers::WordProcessorOnly,
                                      [](const QString& p) { return readWithWordProcessor(p); }});
    }
};

template <typename Route> class BothRoutes : public LibreOffice
{
};

using Routes = ::testing::Types<NativeRoute, LibreOfficeRoute>;
TYPED_TEST_SUITE(BothRoutes, Routes);

TYPED_TEST(BothRoutes, DocumentsGiveTheirText)
{
    const QString article = kArticle + QStringLiteral("\n\n第四段\t制表符后");
    const QString source = this->textFile("article.txt", article);
    const QString utf8 = QStringLiteral("Text (encoded):UTF8,LF,,,");
    const std::pair<const char*, const char*> targets[] = {{"docx:MS Word 2007 XML", "docx"},
                                                           {"odt:writer8", "odt"}};
    for (const auto& [target, extension] : targets) {
        const QString made = this->convert(source, QLatin1String(target), QLatin1String(extension), utf8);
        // Whatever the name: the content decides.
        QStringList paths{made};
        if (TypeParam::kChecksTheName) {
            paths << made + QStringLiteral(".bin");
            ASSERT_TRUE(QFile::copy(made, paths.last()));
        }
        for (const QString& path : paths) {
            const documents::Read loaded = TypeParam::read(path);
            ASSERT_TRUE(std::holds_alternative<QString>(loaded)) << path.toStdString();
            EXPECT_EQ(std::get<QString>(loaded), article) << path.toStdString();
        }
    }
}

TYPED_TEST(BothRoutes, ABrokenContainerGivesNoText)
{
    const QString path = this->in.filePath(QStringLiteral("broken.docx"));
    write(path, QByteArray("PK\x03\x04") + QByteArray(2000, 'x'));
    EXPECT_FALSE(std::holds_alternative<QString>(TypeParam::read(path)));
}

// A stand-in for the office program: a shell script with the given body.
QString script(const QTemporaryDir& dir, const QByteArray& body)
{
    const QString path = dir.filePath(QStringLiteral("fake-office"));
    write(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(WordProcessorProcess, OverrunningProcessIsKilledWithWhatItStarted)
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("child.pid"));
    const QString doc = dir.filePath(QStringLiteral("a.doc"));
    write(doc, "x");
    const QString program = script(dir, "sleep 300 &\necho $! > '" + pidFile.toUtf8() + "'\nwait\n");

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(readWithWordProcessor(doc, {program, 500ms}), Result(Failure::WordProcessorTimedOut));
    EXPECT_LT(clock.elapsed(), 10'000);
    const qint64 child = contentOf(pidFile).trimmed().toLongLong();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(waitUntil([child] { return processGone(child); }, 5000))
        << "the office's own child outlived it";
}

TEST(WordProcessorProcess, ClosedOutputStillTimesOut)
{
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("a.doc"));
    write(doc, "x");
    const QString program = script(dir, "exec >&-\nsleep 300\n");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(readWithWordProcessor(doc, {program, 500ms}), Result(Failure::WordProcessorTimedOut));
    EXPECT_LT(clock.elapsed(), 10'000) << "one limit for the whole read, not one per wait";
}

TEST(WordProcessorProcess, PrintedTextComesBack)
{
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("a b.doc"));
    write(doc, "x");
    // Prints its last argument's name after the byte-order mark, as the office prints a document.
    const QString program = script(dir, "printf '\\357\\273\\277%s\\n' \"$(basename \"$4\")\"\n");
    EXPECT_EQ(readWithWordProcessor(doc, {program, 10s}), Result(QStringLiteral("a b.doc")));
    EXPECT_EQ(readWithWordProcessor(doc, {dir.filePath(QStringLiteral("no-such-program")), 10s}),
              Result(Failure::WordProcessorMissing));
}

// The program ends while the office reads, by a signal it does not handle: the office, what it
// started and its profile go with it. The test runs itself as that program (the environment says so).
const char kParentVariable[] = "TESSARO_TEST_OFFICE_PARENT";

class KilledProgram : public ::testing::TestWithParam<int>
{
};

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
    const QString doc = dir.filePath(QStringLiteral("a.doc"));
    write(doc, "x");
    const QString info = dir.filePath(QStringLiteral("office.info"));
    // Records its own pid, its child's and the profile it was given, then waits, with a link to the
    // document's folder in its profile that the guard must remove as a link.
    const QString program = script(dir, "ln -s '" + dir.path().toUtf8() +
                                            "' \"${2#-env:UserInstallation=file://}/linked\"\nsleep 300 &\necho $$ $! \"${2#-env:UserInstallation=file://}\" > '" +
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
    const QStringList started = QString::fromUtf8(contentOf(info)).trimmed().split(u' ');
    ASSERT_EQ(started.size(), 3);
    const qint64 office = started[0].toLongLong(), child = started[1].toLongLong();
    const QString profile = QUrl::fromPercentEncoding(started[2].toUtf8());
    ASSERT_TRUE(profile.startsWith(temp.path() + QStringLiteral("/tessaro-%1/tessaro-office-").arg(::geteuid())))
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

TEST(WordProcessorProfiles, StaleOnesGoAtTheNextStart)
{
    QTemporaryDir temp;
    // No process has a number above the kernel's largest (4,194,304).
    const QString stale = QStringLiteral("tessaro-office-999999999-aB3dE9");
    const QString live = QStringLiteral("tessaro-office-%1-aB3dE9").arg(QCoreApplication::applicationPid());
    const QString other = QStringLiteral("tessaro-office-notes");
    for (const QString& name : {stale, live, other}) {
        ASSERT_TRUE(QDir(temp.path()).mkpath(name + QStringLiteral("/user")));
        write(temp.filePath(name + QStringLiteral("/user/registrymodifications.xcu")), "x");
    }
    WordProcessorJob::removeStaleProfiles(temp.path());
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(stale)));
    EXPECT_TRUE(QFileInfo::exists(temp.filePath(live))) << "a running program's profile stays";
    EXPECT_TRUE(QFileInfo::exists(temp.filePath(other))) << "only the program's own names";
}

} // namespace
