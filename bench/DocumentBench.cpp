#include "Article.h"
#include "documents/HostileDocuments.h"
#include "documents/Loading.h"
#include "documents/PdfFixture.h"
#include "documents/PdfReader.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "editor/DocumentFiles.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextConversion.h"
#include "platform/ReadJob.h"
#include "platform/WordProcessorJob.h"
#include "support/WordProcessorWait.h"
#include "widgets/WidgetTwips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr qsizetype kArticleLength = 200000;
constexpr qsizetype kRunLength = 50; // 4,000 colour runs, alternately black and red

// A marked thesis: the deterministic article in "宋体" 10.5 pt, every other 50 characters red.
richtext::Document markedArticle()
{
    richtext::Document d;
    bool red = false;
    qsizetype inRun = 0;
    for (const QString& line : makeArticle(kArticleLength).split(QStringLiteral("\r\n"))) {
        richtext::Paragraph p;
        for (qsizetype i = 0; i < line.size();) {
            const qsizetype n = std::min(kRunLength - inRun, line.size() - i);
            richtext::CharFormat f{QStringLiteral("宋体"), 21, richtext::Color{red ? 255 : 0, 0, 0}};
            if (!p.runs.isEmpty() && p.runs.last().format == f)
                p.runs.last().text += line.mid(i, n);
            else
                p.runs.append({line.mid(i, n), f});
            i += n;
            inRun += n;
            if (inRun == kRunLength) {
                inRun = 0;
                red = !red;
            }
        }
        d.paragraphs.append(p);
    }
    return d;
}

struct Files
{
    QTemporaryDir dir;
    QString article = dir.filePath(QStringLiteral("article.rtf"));
    QString saved = dir.filePath(QStringLiteral("saved.rtf"));
    QByteArray rtf;
    qsizetype runs = 0;

    Files()
    {
        const richtext::Document d = markedArticle();
        for (const richtext::Paragraph& p : d.paragraphs)
            runs += p.runs.size();
        rtf = rtf::write(d);
        QFile f(article);
        if (f.open(QIODevice::WriteOnly))
            f.write(rtf);
    }
};

Files& files()
{
    static Files f;
    return f;
}

void showEditor(RichTextBox& editor)
{
    twips::setGeometry(&editor, 0, 0, 10140, 6225);
    editor.show();
    QCoreApplication::processEvents();
}

} // namespace

// Open: the file read, parsed and put into the editor, and the editor painted with its text.
static void BM_OpenMarkedRtf(benchmark::State& state)
{
    RichTextBox editor;
    showEditor(editor);
    for (auto _ : state) {
        if (!editor::show(editor, documents::read(files().article)))
            state.SkipWithError("load failed");
        editor.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    state.counters["characters"] = static_cast<double>(editor.toPlainText().size());
    state.counters["runs"] = static_cast<double>(files().runs);
    state.counters["bytes"] = static_cast<double>(files().rtf.size());
}
BENCHMARK(BM_OpenMarkedRtf)->Unit(benchmark::kMillisecond)->Iterations(10);

// Save: the editor's content as RTF through QSaveFile.
static void BM_SaveMarkedRtf(benchmark::State& state)
{
    RichTextBox editor;
    showEditor(editor);
    editor::show(editor, documents::read(files().article));
    for (auto _ : state) {
        if (!editor::saveFile(editor, files().saved))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveMarkedRtf)->Unit(benchmark::kMillisecond)->Iterations(10);

// The parts: parsing alone and writing alone.
static void BM_ReadRtf(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf::read(files().rtf));
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

static void BM_WriteRtf(benchmark::State& state)
{
    const richtext::Document d = markedArticle();
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf::write(d));
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);

namespace {

QString writeTemp(QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

void openAndPaint(benchmark::State& state, const QString& path)
{
    RichTextBox editor;
    showEditor(editor);
    for (auto _ : state) {
        if (!editor::show(editor, documents::read(path)))
            state.SkipWithError("load failed");
        editor.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    state.counters["characters"] = static_cast<double>(editor.document()->characterCount() - 1);
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

} // namespace

// 100,000 format runs in one paragraph: two letters each, bold and not in turn.
static void BM_OpenManyRunsOneParagraph(benchmark::State& state)
{
    QTemporaryDir dir;
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int i = 0; i < 100000; ++i)
        rtf += i % 2 ? "\\b0 ab" : "\\b ab";
    rtf += "\\par}";
    openAndPaint(state, writeTemp(dir, QStringLiteral("runs.rtf"), rtf));
}
BENCHMARK(BM_OpenManyRunsOneParagraph)->Unit(benchmark::kMillisecond)->Iterations(3);

// A text file of one line of 1,000,000 Latin letters, no space in it.
static void BM_OpenLongLatinLine(benchmark::State& state)
{
    QTemporaryDir dir;
    QByteArray text(1000000, 'a');
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i % 26);
    openAndPaint(state, writeTemp(dir, QStringLiteral("line.txt"), text));
}
BENCHMARK(BM_OpenLongLatinLine)->Unit(benchmark::kMillisecond)->Iterations(3);

// 40 MB of rich text with one letter in each nested group.
static void BM_OpenDeeplyNestedRtf(benchmark::State& state)
{
    QTemporaryDir dir;
    const qsizetype depth = 40 * 1000 * 1000 / 3;
    QByteArray rtf = "{\\rtf1\\ansi ";
    rtf.reserve(depth * 3 + 32);
    for (qsizetype i = 0; i < depth; ++i) {
        rtf += '{';
        rtf += static_cast<char>('a' + i % 26);
    }
    rtf += QByteArray(depth, '}');
    rtf += '}';
    openAndPaint(state, writeTemp(dir, QStringLiteral("nested.rtf"), rtf));
}
BENCHMARK(BM_OpenDeeplyNestedRtf)->Unit(benchmark::kMillisecond)->Iterations(1);

// A marked document of 10,000,000 characters saved and opened again.
static void BM_SaveAndReopenTenMillion(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ten-million.rtf"));
    richtext::Document d;
    const QString article = makeArticle(200000).remove(QStringLiteral("\r\n"));
    for (int p = 0; p < 100; ++p) {
        richtext::Paragraph para;
        const QString text = article.left(100000);
        for (qsizetype i = 0; i < text.size(); i += 500)
            para.runs.append(
                {text.mid(i, 500), richtext::CharFormat{QStringLiteral("宋体"), 21,
                                                        richtext::Color{i % 1000 ? 255 : 0, 0, 0}}});
        d.paragraphs.append(para);
    }
    RichTextBox editor;
    showEditor(editor);
    editor::setRichText(editor, d);
    for (auto _ : state) {
        if (!editor::saveFile(editor, path))
            state.SkipWithError("save failed");
        if (!editor::show(editor, documents::read(path)))
            state.SkipWithError("reopen failed");
        editor.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    state.counters["characters"] = static_cast<double>(editor.document()->characterCount() - 1);
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_SaveAndReopenTenMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

// Building the editor's document alone (no layout) from 100,000 runs in one paragraph.
static void BM_BuildManyRunsOneParagraph(benchmark::State& state)
{
    richtext::Document d;
    d.paragraphs.append(richtext::Paragraph{});
    for (int i = 0; i < state.range(0); ++i) {
        richtext::CharFormat f;
        f.bold = i % 2;
        d.paragraphs[0].runs.append({QStringLiteral("ab"), f});
    }
    for (auto _ : state) {
        QTextDocument document;
        editor::setRichText(document, d);
        benchmark::DoNotOptimize(document.characterCount());
    }
}
BENCHMARK(BM_BuildManyRunsOneParagraph)
    ->Unit(benchmark::kMillisecond)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1);

// The same 200,000-character article as .docx, .odt and .doc, made by LibreOffice once per run.
struct WordDocuments
{
    QTemporaryDir dir;
    QString docx, odt, doc;

    WordDocuments()
    {
        const QString txt = dir.filePath(QStringLiteral("thesis.txt"));
        QFile f(txt);
        if (f.open(QIODevice::WriteOnly))
            f.write(QString(makeArticle(kArticleLength))
                        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                        .toUtf8());
        f.close();
        QTemporaryDir profile;
        for (const char* target : {"docx:MS Word 2007 XML", "odt:writer8", "doc:MS Word 97"}) {
            QProcess p;
            p.start(
                QStringLiteral("soffice"),
                {QStringLiteral("--headless"),
                 QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                 QStringLiteral("--infilter=Text (encoded):UTF8,LF,,,"), QStringLiteral("--convert-to"),
                 QLatin1String(target), QStringLiteral("--outdir"), dir.path(), txt});
            p.waitForFinished(180'000);
        }
        docx = dir.filePath(QStringLiteral("thesis.docx"));
        odt = dir.filePath(QStringLiteral("thesis.odt"));
        doc = dir.filePath(QStringLiteral("thesis.doc"));
    }
};

WordDocuments& wordDocuments()
{
    static WordDocuments d;
    return d;
}

// Open a document into the editor: read, put into the editor, painted. Argument 0: the native
// readers first; 1: LibreOffice only, as before.
void openDocument(benchmark::State& state, const QString& path)
{
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("LibreOffice made no document");
        return;
    }
    const auto readers =
        state.range(0) == 0 ? documents::Readers::NativeFirst : documents::Readers::WordProcessorOnly;
    RichTextBox editor;
    showEditor(editor);
    for (auto _ : state) {
        if (!editor::show(editor, documents::read(path, {readers, [](const QString& p) {
                                                             return readWithWordProcessor(p);
                                                         }})))
            state.SkipWithError("load failed");
        editor.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    state.counters["characters"] = static_cast<double>(editor.toPlainText().size());
}

static void BM_OpenDocx(benchmark::State& state)
{
    openDocument(state, wordDocuments().docx);
}
BENCHMARK(BM_OpenDocx)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_OpenOdt(benchmark::State& state)
{
    openDocument(state, wordDocuments().odt);
}
BENCHMARK(BM_OpenOdt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The native readers alone, without the editor: argument 0 the .docx, 1 the .odt.
static void BM_ReadWordDocumentText(benchmark::State& state)
{
    const QString path = state.range(0) == 0 ? wordDocuments().docx : wordDocuments().odt;
    qsizetype characters = 0;
    for (auto _ : state) {
        const documents::Read read = documents::read(path);
        if (const QString* text = std::get_if<QString>(&read))
            characters = text->size();
        else
            state.SkipWithError("no text");
    }
    state.counters["characters"] = static_cast<double>(characters);
}
BENCHMARK(BM_ReadWordDocumentText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// While LibreOffice reads a .doc, how late a 10 ms timer's events arrive: the window's answer time.
static void BM_EventLatencyWhileLibreOfficeReadsDoc(benchmark::State& state)
{
    const QString doc = wordDocuments().doc;
    if (!QFileInfo::exists(doc)) {
        state.SkipWithError("LibreOffice made no document");
        return;
    }
    qint64 worst = 0, events = 0;
    for (auto _ : state) {
        WordProcessorJob job(doc);
        bool done = false;
        QObject::connect(&job, &WordProcessorJob::finished, [&](const documents::Read& r) {
            done = true;
            if (!std::holds_alternative<QString>(r))
                state.SkipWithError("LibreOffice read nothing");
        });
        QElapsedTimer clock;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(10);
        qint64 last = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            worst = std::max(worst, now - last - 10);
            last = now;
            ++events;
        });
        clock.start();
        tick.start();
        job.start();
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.counters["worst_latency_ms"] = static_cast<double>(worst);
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_EventLatencyWhileLibreOfficeReadsDoc)->Unit(benchmark::kMillisecond)->Iterations(2);

// ---- The whole open as the menu item does it -------------------------------------------------
// From the open dialog's answer to the text painted in the editor, through DocumentCommands: the
// read (in the reader process), the editor's new text, the unsaved-text baseline and the
// first paint. Argument 0: a 200,000-character .txt; 1: the same article as .docx; 2: a 100-page PDF
// thesis with footnotes and page numbers, read as paragraphs.
#include "editor/DocumentCommands.h"
#include "platform/FileDialog.h"
#include "platform/Fonts.h"

namespace {

ReadJobOptions benchReading()
{
    ReadJobOptions options;
    options.reader = QStringLiteral(TESSARO_READER_PATH);
    return options;
}

QString openBenchFile(int which)
{
    static QTemporaryDir dir;
    if (which == 1)
        return wordDocuments().docx;
    if (which == 2) {
        const QString path = dir.filePath(QStringLiteral("thesis.pdf"));
        if (!QFileInfo::exists(path))
            writeTemp(dir, QStringLiteral("thesis.pdf"), pdffixture::thesis(100).file);
        return path;
    }
    const QString path = dir.filePath(QStringLiteral("thesis.txt"));
    if (!QFileInfo::exists(path))
        writeTemp(dir, QStringLiteral("thesis.txt"), makeArticle(kArticleLength).toUtf8());
    return path;
}

} // namespace

static void BM_OpenThroughDocumentCommand(benchmark::State& state)
{
    const QString path = openBenchFile(static_cast<int>(state.range(0)));
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("no document to open");
        return;
    }
    QWidget window;
    twips::setGeometry(&window, 0, 0, 10500, 6600);
    auto* editor = new RichTextBox(&window);
    editor->document()->setDefaultFont(QFont(fonts::kSongTi, 10)); // as the main window sets it
    twips::setGeometry(editor, 0, 0, 10140, 6225);
    window.show();
    QCoreApplication::processEvents();
    DocumentCommands commands(&window, editor);
    commands.setReading(benchReading());
    FileDialog::setHandler([&](const FileDialog::Request&) { return std::optional<QString>(path); });
    for (auto _ : state) {
        state.PauseTiming();
        commands.newDocument();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        commands.open();
        while (commands.isReading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        editor->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    FileDialog::setHandler({});
    state.counters["characters"] = static_cast<double>(editor->document()->characterCount() - 1);
}
// CPU: the program's process's (the reader's own process is not counted); on a loaded machine it says more
// than the wall-clock time, which then counts the waits for a core.
BENCHMARK(BM_OpenThroughDocumentCommand)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The text of a 100-page PDF thesis (footnotes, page numbers, a contents page) in the program itself:
// the reading as paragraphs without the reader process and the editor.
static void BM_ReadPdfThesis(benchmark::State& state)
{
    const QByteArray file = pdffixture::thesis(100).file;
    qsizetype characters = 0;
    for (auto _ : state) {
        const std::variant<QString, documents::Failure> text = pdf::read(file);
        if (!std::holds_alternative<QString>(text))
            state.SkipWithError("no text");
        else
            characters = std::get<QString>(text).size();
    }
    state.counters["characters"] = static_cast<double>(characters);
}
BENCHMARK(BM_ReadPdfThesis)->Unit(benchmark::kMillisecond)->Iterations(5);

// A small PDF read in the program itself (argument 0) and through a read job, in the reader process
// (1): what the process costs each read.
static void BM_ReadSmallPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path =
        writeTemp(dir, QStringLiteral("small.pdf"),
                  pdffixture::make({{pdffixture::Line{72, 100, 12, QStringLiteral("论文的文字")}}}));
    for (auto _ : state) {
        documents::Read read = documents::Failure::NotText;
        if (state.range(0) == 0) {
            read = documents::read(path);
        } else {
            ReadJob job(path, benchReading());
            bool done = false;
            QObject::connect(&job, &ReadJob::finished, [&](const documents::Read& r) {
                read = r;
                done = true;
            });
            job.start();
            while (!done)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (!std::holds_alternative<QString>(read))
            state.SkipWithError("no text");
    }
}
BENCHMARK(BM_ReadSmallPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

// A read of a PDF whose text all stands at one spot, cancelled once it has begun, then a small PDF
// opened: the time from the cancel to the small PDF's text in the editor.
static void BM_OpenAfterCancelledRead(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString piledUp = writeTemp(dir, QStringLiteral("piled-up.pdf"), pdffixture::pileUp(8000));
    const QString small =
        writeTemp(dir, QStringLiteral("small.pdf"),
                  pdffixture::make({{pdffixture::Line{72, 100, 12, QStringLiteral("论文的文字")}}}));
    QWidget window;
    auto* editor = new RichTextBox(&window);
    window.show();
    DocumentCommands commands(&window, editor);
    commands.setReading(benchReading());
    QString next;
    FileDialog::setHandler([&](const FileDialog::Request&) { return std::optional<QString>(next); });
    for (auto _ : state) {
        state.PauseTiming();
        next = piledUp;
        commands.open();
        while (commands.readJob() && commands.readJob()->readerPid() == 0)
            QCoreApplication::processEvents();
        state.ResumeTiming();
        next = small;
        commands.open(); // cancels the read under way
        while (commands.isReading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (editor->toPlainText() != QStringLiteral("论文的文字"))
            state.SkipWithError("the small PDF did not open");
    }
    FileDialog::setHandler({});
}
BENCHMARK(BM_OpenAfterCancelledRead)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(10);

namespace {

// A file made to unfold into far more than it holds, opened as 文件→打开 opens it: read, and shown
// in the editor when it opens. The word processor is never to be asked: it would be told to fail.
// Run one shape per process (--benchmark_filter) for its own peak memory.
void openHostile(benchmark::State& state, const char* name, const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString path = writeTemp(dir, QLatin1String(name), bytes);
    RichTextBox editor;
    showEditor(editor);
    bool refused = false, asked = false;
    for (auto _ : state) {
        const documents::Read loaded =
            documents::read(path, {.wordProcessor = [&](const QString&) {
                                asked = true;
                                return documents::Read(documents::Failure::WordProcessorFailed);
                            }});
        refused = std::holds_alternative<documents::Failure>(loaded) &&
                  std::get<documents::Failure>(loaded) == documents::Failure::Overexpanded;
        editor::show(editor, loaded);
        editor.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["file_kb"] = static_cast<double>(bytes.size()) / 1024;
    state.counters["refused"] = refused;
    state.counters["word_processor_asked"] = asked;
    state.counters["characters"] = static_cast<double>(editor.document()->characterCount() - 1);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

} // namespace

// 20,000 <text:s text:c="10000"/>: 200 M spaces asked for in 2 KB.
static void BM_OpenHostileSpaces(benchmark::State& state)
{
    openHostile(state, "spaces.odt", hostile::odtSpaces(20000, 10000));
}
BENCHMARK(BM_OpenHostileSpaces)->Unit(benchmark::kMillisecond)->Iterations(1);

// Ten nested list levels counting in letters from 2147483647, every level shown.
static void BM_OpenHostileLetterLists(benchmark::State& state)
{
    openHostile(state, "letters.odt", hostile::odtNestedLetterLists(10, "2147483647", 2));
}
BENCHMARK(BM_OpenHostileLetterLists)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same in a .docx: nine levels in letters from 2147483647.
static void BM_OpenHostileLetterLevels(benchmark::State& state)
{
    openHostile(
        state, "letters.docx",
        hostile::docx(hostile::docxListItems(2, 8),
                      {hostile::docxNumbering("lowerLetter", "2147483647", "%1.%2.%3.%4.%5.%6.%7.%8.%9")}));
}
BENCHMARK(BM_OpenHostileLetterLevels)->Unit(benchmark::kMillisecond)->Iterations(1);

// A run of 100 million letters in a .docx of about 100 KB.
static void BM_OpenHostileLongRun(benchmark::State& state)
{
    openHostile(state, "run.docx", hostile::docxLongRun(100));
}
BENCHMARK(BM_OpenHostileLongRun)->Unit(benchmark::kMillisecond)->Iterations(1);

// 500 MB of short paragraphs (13.5 M) in a .docx of about 1 MB.
static void BM_OpenHostileParagraphs(benchmark::State& state)
{
    openHostile(state, "paragraphs.docx",
                hostile::docxParagraphs(135, "<w:p><w:r><w:t>abc</w:t></w:r></w:p>"));
}
BENCHMARK(BM_OpenHostileParagraphs)->Unit(benchmark::kMillisecond)->Iterations(1);

// 100,000 lists one in another.
static void BM_OpenHostileNestedLists(benchmark::State& state)
{
    openHostile(state, "lists.odt", hostile::odtNestedLists(100000, 1));
}
BENCHMARK(BM_OpenHostileNestedLists)->Unit(benchmark::kMillisecond)->Iterations(1);

// 100,000 fields begun and never ended.
static void BM_OpenHostileOpenFields(benchmark::State& state)
{
    openHostile(state, "fields.docx", hostile::docxOpenFields(100000));
}
BENCHMARK(BM_OpenHostileOpenFields)->Unit(benchmark::kMillisecond)->Iterations(1);

// An entry that unpacks to 600 MB, beside a readable body: refused, not handed to LibreOffice.
static void BM_OpenHostileLargeEntry(benchmark::State& state)
{
    openHostile(state, "entry.docx",
                hostile::docx("<w:p><w:r><w:t>x</w:t></w:r></w:p>",
                              {zipmaker::repeated("word/media/image1.bmp", "BM",
                                                  QByteArray(1000 * 1000, '\0'), 600, "")}));
}
BENCHMARK(BM_OpenHostileLargeEntry)->Unit(benchmark::kMillisecond)->Iterations(1);

// Within the limits, each paragraph costs the same however deep its list: 999 lists one in another
// with 100,000 paragraphs in the innermost.
static void BM_OpenDeepListManyParagraphs(benchmark::State& state)
{
    openHostile(state, "deep.odt", hostile::odtNestedLists(999, 100000));
}
BENCHMARK(BM_OpenDeepListManyParagraphs)->Unit(benchmark::kMillisecond)->Iterations(1);
