#include "Article.h"
#include "analysis/Analysis.h"

#include <benchmark/benchmark.h>

static void BM_AnalyseArticle(benchmark::State& state)
{
    const QString article = makeArticle(state.range(0));
    analysis::analyse(QStringLiteral("预热")); // the code page table is built once per program
    qsizetype sentences = 0;
    for (auto _ : state) {
        analysis::Result r = analysis::analyse(article);
        sentences = r.sentences.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["sentences"] = static_cast<double>(sentences);
}
BENCHMARK(BM_AnalyseArticle)->Arg(200000)->Unit(benchmark::kMillisecond);
