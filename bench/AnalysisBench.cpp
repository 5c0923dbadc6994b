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

// A double-click in the results window: the last sentence's place in the editor's text, with the text
// analysed or replaced since (no earlier sentence is found any more); the first click on a text, or a
// later one.
static void BM_SentencePlace(benchmark::State& state)
{
    const QString analysed = makeArticle(state.range(0));
    const QStringList sentences = analysis::cutSentences(analysed).pieces;
    const QString shown = state.range(1) ? makeArticle(state.range(0), 54321) : analysed;
    const bool first = state.range(2) == 0;
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            const QString copy(shown.constData(), shown.size()); // a text not seen before
            state.ResumeTiming();
            benchmark::DoNotOptimize(analysis::sentencePlace(copy, sentences, sentences.size() - 1));
        } else {
            benchmark::DoNotOptimize(analysis::sentencePlace(shown, sentences, sentences.size() - 1));
        }
    }
    state.counters["sentences"] = static_cast<double>(sentences.size());
}
BENCHMARK(BM_SentencePlace)
    ->ArgNames({"chars", "replaced", "later"})
    ->Args({200000, 1, 0})
    ->Args({600000, 0, 0})
    ->Args({600000, 1, 0})
    ->Args({600000, 1, 1})
    ->Unit(benchmark::kMillisecond);
