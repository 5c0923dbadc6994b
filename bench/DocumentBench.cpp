#include "Article.h"
#include "documents/Loading.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "editor/DocumentFiles.h"
#include "editor/RichTextBox.h"
#include "platform/WordProcessor.h"
#include "platform/WordProcessorJob.h"
#include "widgets/WidgetTwips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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
        if (!editor::loadFile(editor, files().article))
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
    editor::loadFile(editor, files().article);
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
            f.write(QString(makeArticle(kArticleLength)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8());
        f.close();
        QTemporaryDir profile;
        for (const char* target : {"docx:MS Word 2007 XML", "odt:writer8", "doc:MS Word 97"}) {
            QProcess p;
            p.start(QStringLiteral("soffice"),
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
    const auto readers = state.range(0) == 0 ? documents::Readers::NativeFirst : documents::Readers::WordProcessorOnly;
    RichTextBox editor;
    showEditor(editor);
    for (auto _ : state) {
        if (!editor::show(editor, documents::load(path, &WordProcessor::plainText, readers)))
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
        QObject::connect(&job, &WordProcessorJob::finished, [&](const documents::WordProcessorResult& r) {
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
