// The check report of a whole thesis: 5,300 sentences in paragraphs, every one scored with ten titles.
#include "Article.h"
#include "analysis/Analysis.h"
#include "platform/PdfPrinter.h"
#include "report/ArticleParagraphs.h"
#include "report/HtmlReport.h"
#include "report/PrintedReport.h"
#include "report/ReportText.h"
#include "report/SiteTable.h"

#include <QEventLoop>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSentences = 5300;

struct Thesis
{
    report::CheckReportData data;
    QStringList titleTexts;
    QStringList titleBlocks;
};

// distinctTitles: how many different result titles the whole check turned up.
Thesis makeThesis(int distinctTitles)
{
    Thesis t;
    // Long enough for the sentences wanted once line breaks and spaces are gone.
    const QString article = makeArticle(kSentences * 40);
    const analysis::Result analysed = analysis::analyse(article);
    t.data.sentences = analysed.sentences.mid(0, kSentences);
    t.data.paragraphEnds = report::paragraphEnds(article, analysed.articleText, t.data.sentences);
    t.data.record.reset(kSentences, article);
    t.titleTexts = QStringList(kSentences * search::kResultsPerPage + 1);
    t.titleBlocks = t.titleTexts;
    for (int i = 0; i < kSentences; ++i) {
        search::PageScore score;
        score.sentenceFigure = (i * 37) % 101;
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
