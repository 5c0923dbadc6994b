#include "Article.h"
#include "SharedReference.h"
#include "comparator/ArticleIndex.h"
#include "comparator/ReferencePieces.h"
#include "support/Comparison.h"

#include <benchmark/benchmark.h>

// The whole comparison of "对比并标注" without the window: cutting, index, search, counts, summary.
static void BM_Compare(benchmark::State& state)
{
    const QString article = makeArticle(state.range(0));
    const QString reference = makeSharedReference(article, state.range(0));
    comparator::Counts totals;
    comparator::Comparison result;
    for (auto _ : state) {
        result = comparator::compare(article, reference, false, totals);
        benchmark::DoNotOptimize(result);
    }
    state.counters["marks"] = static_cast<double>(result.marks.size());
    state.counters["pieces"] = static_cast<double>(result.counts.pieces);
    state.counters["share%"] = static_cast<double>(result.counts.matchedChars) * 100.0 / article.size();
}
BENCHMARK(BM_Compare)->Arg(200000)->Unit(benchmark::kMillisecond);

static void BM_CutReference(benchmark::State& state)
{
    const QString reference = makeSharedReference(makeArticle(state.range(0)), state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(comparator::cutReference(reference));
}
BENCHMARK(BM_CutReference)->Arg(200000)->Unit(benchmark::kMillisecond);

// What an edit of the article during a comparison costs: the index is built again.
static void BM_BuildIndex(benchmark::State& state)
{
    const QString article = makeArticle(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(comparator::ArticleIndex(article));
}
BENCHMARK(BM_BuildIndex)->Arg(200000)->Unit(benchmark::kMillisecond);
