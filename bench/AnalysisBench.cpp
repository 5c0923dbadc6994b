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

// The cutting by sentence with every rule: contents, reference lists, citation markers, Latin words,
// equal pieces. The article has a table of contents, markers, English sentences and a reference list.
static void BM_CutSentences(benchmark::State& state)
{
    QString article =
        QStringLiteral("目  录\r\n摘要\tI\r\n第一章 绪论\r\n1.1研究背景与意义\t2\r\n参考文献\t40\r\n");
    const QString body = makeArticle(state.range(0) * 8 / 10);
    // Citation markers and English sentences through the body, a reference list at its end.
    for (qsizetype at = 0; at < body.size(); at += 1000) {
        article += QStringView(body).mid(at, 1000);
        article += (at / 1000) % 2 ? QStringLiteral("效率提高[3]1。（张三，2019）")
                                   : QStringLiteral(" Text similarity computation is a fundamental task "
                                                    "(Smith et al., 2019). It is hard. ");
    }
    article += QStringLiteral("\r\n参考文献\r\n");
    for (int k = 1; article.size() < state.range(0); ++k)
        article +=
            QStringLiteral("[%1] 张三, 李四. 文本相似度计算方法研究[J]. 计算机学报, 2019, 12(3): 45-50.\r\n")
                .arg(k);
    qsizetype pieces = 0;
    for (auto _ : state) {
        analysis::SentencePieces r = analysis::cutSentences(article);
        pieces = r.pieces.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["chars"] = static_cast<double>(article.size());
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_CutSentences)->Arg(200000)->Unit(benchmark::kMillisecond);

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
