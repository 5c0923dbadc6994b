#include "Article.h"
#include "report/SiteTable.h"
#include "search/PageScore.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// A result page of about the given size: markup, Chinese text, highlights and ten headings.
QString resultPage(qsizetype size)
{
    const QString text = makeArticle(400);
    QString html;
    html.reserve(size + 1000);
    int k = 0;
    while (html.size() < size) {
        html += QStringLiteral("<div class=\"result c-container\" id=\"%1\"><h3 class=\"t\"><a "
                               "href=\"http://www.example.com/link?url=abc%1\" target=\"_blank\" "
                               "data-click=\"{'F':'778317EA'}\">标题 <em>论文</em> 第%1条</a></h3><div "
                               "class=\"c-abstract\">")
                    .arg(k++);
        html += text.left(120) + QStringLiteral("<em>") + text.mid(120, 20) + QStringLiteral("</em>") +
                text.mid(140, 100);
        html +=
            QStringLiteral("</div><script>var x = 'ascii noise to make the page realistic';</script></div>");
    }
    return html;
}

} // namespace

static void BM_ScorePage(benchmark::State& state)
{
    const QString html = resultPage(state.range(0));
    const QString sentence = makeArticle(38);
    search::scorePage(QStringLiteral("预热"), sentence, 0, 1); // tables are built once per program
    for (auto _ : state) {
        search::PageScore s = search::scorePage(html, sentence, 10, 2);
        benchmark::DoNotOptimize(s);
    }
    state.counters["chars"] = static_cast<double>(html.size());
}
BENCHMARK(BM_ScorePage)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);

// The statistics of a full thesis: 5,300 sentences, ten title slots each, titles repeating as result
// pages of one field do (a few sites very often, many once).
static void BM_SiteStatistics(benchmark::State& state)
{
    const int sentences = static_cast<int>(state.range(0));
    QStringList texts(10 * sentences + 1);
    QStringList blocks(10 * sentences + 1);
    std::mt19937 rng(7);
    std::geometric_distribution<int> popular(0.002);
    for (qsizetype i = 0; i + 1 < texts.size(); ++i) {
        if (rng() % 10 == 0)
            continue; // pages with fewer than ten results
        const int site = popular(rng);
        texts[i] = QStringLiteral("网站标题 %1").arg(site);
        blocks[i] = QStringLiteral("<a href=\"http://site%1.example/\">网站标题 %1</a>").arg(site);
    }
    qsizetype rows = 0;
    for (auto _ : state) {
        QList<report::TitleCount> r = report::siteRows(texts, blocks);
        rows = r.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_SiteStatistics)->Arg(5300)->Unit(benchmark::kMillisecond);
