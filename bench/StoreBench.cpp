#include "Article.h"
#include "analysis/Analysis.h"
#include "search/CheckRun.h"
#include "store/ResultStore.h"
#include "store/Resume.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kThesisPieces = 5300;

// Ten headings as a result page gives them: a redirect link of random characters (which do not
// compress), the service's click data and a Chinese title.
store::KeptResult realisticResult(std::mt19937& rng, const QString& text)
{
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
    store::KeptResult r;
    r.obtained = QDateTime::currentDateTimeUtc();
    r.similarity = 37.5;
    QList<search::Title> titles;
    for (int n = 0; n < 10; ++n) {
        QString link;
        for (int i = 0; i < 110; ++i)
            link.append(alphabet.at(rng() % alphabet.size()));
        const QString title = text.mid(rng() % (text.size() - 30), 24);
        search::Title t;
        t.html = QStringLiteral("<a "
                                 "data-click=\"{'F':'778317EA','F1':'9D73F1E4','F2':'4CA6DD6B','F3':'"
                                 "54E5243F','T':'%1','y':'EFBCEFFE'}\" "
                                 "href=\"http://www.baidu.com/link?url=%2\" target=\"_blank\">%3</a>")
                      .arg(rng())
                      .arg(link, title);
        t.text = title;
        titles.append(t);
    }
    r.setTitles(titles);
    return r;
}

QStringList pieceQueries(const QString& text, int count)
{
    QStringList queries;
    for (int k = 0; k < count; ++k)
        queries.append(text.mid((k * 38) % (text.size() - 38), 38) + QString::number(k));
    return queries;
}

} // namespace

// The look-up after an analysis: every piece of a thesis, all of them kept by an earlier start.
static void BM_LookUpThesis(benchmark::State& state)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString text = makeArticle(20000);
    const QStringList queries = pieceQueries(text, kThesisPieces);
    std::mt19937 rng(5300);
    state.counters["packed_titles"] = static_cast<double>(realisticResult(rng, text).packedTitles.size());
    {
        store::ResultStore earlier(dir.path());
        for (const QString& q : queries)
            earlier.keep(search::Engine::Baidu, q, realisticResult(rng, text));
    }
    const qint64 bytes = QFileInfo(dir.path() + u'/' + store::ResultStore::fileName()).size();
    for (auto _ : state) {
        store::ResultStore now(dir.path()); // opened by the look-up, as after a start
        const auto found = now.lookUp(search::Engine::Baidu, queries);
        if (found.size() != kThesisPieces)
            state.SkipWithError("not every piece found");
        benchmark::DoNotOptimize(found);
    }
    state.counters["bytes_per_result"] = static_cast<double>(bytes) / kThesisPieces;
}
BENCHMARK(BM_LookUpThesis)->Unit(benchmark::kMillisecond);

// Keeping one result (ten titles) as the check does after each page.
static void BM_KeepOne(benchmark::State& state)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString text = makeArticle(20000);
    std::mt19937 rng(1);
    store::ResultStore store(dir.path());
    store.keep(search::Engine::Baidu, QStringLiteral("打开"), realisticResult(rng, text));
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const store::KeptResult r = realisticResult(rng, text);
        const QString query = QStringLiteral("句子%1").arg(k++);
        state.ResumeTiming();
        if (!store.keep(search::Engine::Baidu, query, r))
            state.SkipWithError("not kept");
    }
}
BENCHMARK(BM_KeepOne)->Unit(benchmark::kMillisecond);

// 沿用 for a whole thesis: every piece's titles unpacked and taken over by the run.
static void BM_TakeOverThesis(benchmark::State& state)
{
    const QString text = makeArticle(kThesisPieces * analysis::kSentenceLength);
    std::mt19937 rng(7);
    store::ResumeOffer offer;
    for (int k = 0; k < kThesisPieces; ++k)
        offer.kept.append({k, realisticResult(rng, text)});
    for (auto _ : state) {
        state.PauseTiming();
        search::CheckRun run;
        run.analyse(analysis::analyse(text), QString());
        state.ResumeTiming();
        benchmark::DoNotOptimize(run.adoptKept(store::keptEntries(offer, search::Engine::Baidu)));
    }
}
BENCHMARK(BM_TakeOverThesis)->Unit(benchmark::kMillisecond);
