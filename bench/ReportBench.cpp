// The check report of a whole thesis: 5,300 sentences in paragraphs, every one scored with ten titles.
#include "Article.h"
#include "analysis/Analysis.h"
#include "analysis/SentenceCutting.h"
#include "platform/PdfPrinter.h"
#include "report/ArticleParagraphs.h"
#include "report/HtmlReport.h"
#include "report/PrintedReport.h"
#include "report/ReportText.h"
#include "report/SiteTable.h"

#include <QEventLoop>
#include <QRegularExpression>

#include <optional>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSentences = 5300;

struct Thesis
{
    report::CheckReportData data;
    QStringList titleTexts;
    QStringList titleBlocks;
};

// distinctTitles: how many different result titles the whole check turned up. highShare: when set,
// the share of sentences (in percent) at 20 % or more, the rest below; else figures spread over 0–100.
// articleLength: when set, the article of that length cut by sentence (pieces of about 20 characters,
// as a thesis gives); else long enough for the pieces of 38 wanted.
Thesis makeThesis(int distinctTitles, int sentences = kSentences, std::optional<int> highShare = {},
                  qsizetype articleLength = 0)
{
    Thesis t;
    QString article;
    if (articleLength > 0) {
        article = makeArticle(articleLength);
        t.data.sentences = analysis::cutSentences(article).pieces;
        sentences = static_cast<int>(t.data.sentences.size());
    } else {
        // Long enough for the sentences wanted once line breaks and spaces are gone.
        article = makeArticle(sentences * 40);
        const analysis::Result analysed = analysis::analyse(article);
        t.data.sentences = analysed.sentences.mid(0, sentences);
        t.data.paragraphEnds = report::paragraphEnds(article, analysed.articleText, t.data.sentences);
    }
    t.data.record.reset(sentences, article);
    t.titleTexts = QStringList(sentences * search::kResultsPerPage + 1);
    t.titleBlocks = t.titleTexts;
    for (int i = 0; i < sentences; ++i) {
        search::PageScore score;
        score.sentenceFigure = (i * 37) % 101;
        if (highShare)
            score.sentenceFigure = i % 100 < *highShare ? 20 + (i * 37) % 81 : (i * 37) % 20;
        score.overall = 23.45;
        score.caption =
            QStringLiteral("本句相似度：%1%\r\n\r\n目前总体相似度：23.45%").arg(*score.sentenceFigure);
        for (int n = 0; n < search::kResultsPerPage; ++n) {
            const int k = (i * search::kResultsPerPage + n * 7919) % distinctTitles;
            const QString text = QStringLiteral("关于论文写作与学术规范的研究综述 第%1篇").arg(k);
            const QString block =
                QStringLiteral("<a href=\"http://www.baidu.com/link?url=abcdefghijklmnop%1&amp;wd=x\" "
                               "target=\"_blank\" data-click=\"{'F':'778317EA'}\">%2</a>")
                    .arg(k)
                    .arg(text);
            score.titles.append({block, text});
            t.titleTexts[i * search::kResultsPerPage + n] = text;
            t.titleBlocks[i * search::kResultsPerPage + n] = block;
        }
        t.data.record.markSearched(i, search::Engine::Baidu);
        t.data.record.pageScored(i, score);
    }
    t.data.services = t.data.record.engines();
    t.data.madeAt = QDateTime::currentDateTime();
    t.data.program = QStringLiteral("Tessaro V2016.7.27");
    return t;
}

// What an export does before it writes: the site table counted on a copy, the HTML, its UTF-8.
QByteArray exportHtml(Thesis& t)
{
    t.data.sites = report::siteRows(t.titleTexts, t.titleBlocks);
    return report::checkReportHtml(t.data).toUtf8();
}

} // namespace

static void BM_CheckReportHtml(benchmark::State& state)
{
    Thesis t = makeThesis(static_cast<int>(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray html = exportHtml(t);
        bytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    state.counters["MB"] = bytes / 1e6;
    state.counters["sites"] = static_cast<double>(t.data.sites.size());
}
BENCHMARK(BM_CheckReportHtml)
    ->Arg(5000)
    ->Arg(kSentences* search::kResultsPerPage)
    ->Unit(benchmark::kMillisecond);

static void BM_CheckReportPdf(benchmark::State& state)
{
    Thesis t = makeThesis(static_cast<int>(state.range(0)));
    PdfPrinter printer;
    qsizetype bytes = 0;
    for (auto _ : state) {
        t.data.sites = report::siteRows(t.titleTexts, t.titleBlocks);
        QEventLoop loop;
        printer.print(report::printedReport(t.data), [&](const QByteArray& pdf) {
            bytes = pdf.size();
            loop.quit();
        });
        loop.exec();
    }
    if (bytes == 0)
        state.SkipWithError("no PDF");
    state.counters["MB"] = bytes / 1e6;
    state.counters["paragraphs"] = static_cast<double>(t.data.paragraphEnds.size());
}
BENCHMARK(BM_CheckReportPdf)
    ->Arg(5000)
    ->Arg(kSentences* search::kResultsPerPage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The page count goal: every sentence scored, a fifth of them at 20 % or more, each title seen about
// twice on average (most of the site table is titles seen once). Arg 0: a 30-page thesis, 20,000
// characters cut by sentence (about 1,000 pieces); else that many pieces of 38.
static void BM_PrintedReportPages(benchmark::State& state)
{
    const int sentences = state.range(0) > 0 ? static_cast<int>(state.range(0)) : 1000;
    Thesis t =
        makeThesis(sentences * search::kResultsPerPage / 2, sentences, 20, state.range(0) > 0 ? 0 : 20000);
    PdfPrinter printer;
    QByteArray pdf;
    for (auto _ : state) {
        t.data.sites = report::siteRows(t.titleTexts, t.titleBlocks);
        QEventLoop loop;
        printer.print(report::printedReport(t.data), [&](const QByteArray& made) {
            pdf = made;
            loop.quit();
        });
        loop.exec();
    }
    if (pdf.isEmpty())
        state.SkipWithError("no PDF");
    // Each page object is "/Type /Page" (the page tree is "/Type /Pages").
    state.counters["pages"] = static_cast<double>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
    state.counters["articleChars"] = static_cast<double>(t.data.record.article().size());
    state.counters["sentences"] = static_cast<double>(t.data.sentences.size());
}
BENCHMARK(BM_PrintedReportPages)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(1);
