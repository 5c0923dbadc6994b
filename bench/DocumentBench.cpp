#include "Article.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "editor/DocumentFiles.h"
#include "editor/RichTextBox.h"
#include "widgets/WidgetTwips.h"

#include <QApplication>
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
