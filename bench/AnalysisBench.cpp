#include "Article.h"
#include "analysis/Analysis.h"
#include "analysis/SentenceCutting.h"
#include "analysis/SentencePlace.h"

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

// A double-click in the results window: the last sentence's place in the editor's text, once with the
// text analysed and once after the text was replaced, when no earlier sentence is found any more.
static void BM_SentencePlace(benchmark::State& state)
{
    const QString analysed = makeArticle(state.range(0));
    const QStringList sentences = analysis::cutSentences(analysed).pieces;
    const QString shown = state.range(1) ? makeArticle(state.range(0), 54321) : analysed;
    for (auto _ : state)
        benchmark::DoNotOptimize(analysis::sentencePlace(shown, sentences, sentences.size() - 1));
    state.counters["sentences"] = static_cast<double>(sentences.size());
}
BENCHMARK(BM_SentencePlace)
    ->ArgNames({"chars", "replaced"})
    ->Args({200000, 1})
    ->Args({600000, 0})
    ->Args({600000, 1})
    ->Unit(benchmark::kMillisecond);
