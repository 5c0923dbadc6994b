#include "Article.h"
#include "analysis/Analysis.h"
#include "search/CheckRun.h"
#include "store/ResultStore.h"
#include "store/Resume.h"
#include "store/StoreWorker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
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

// The worker's thread runs an event loop, which needs an application object.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_store";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

QString storeFile(const QTemporaryDir& dir)
{
    return dir.path() + u'/' + store::ResultStore::fileName();
}

} // namespace

// Another program holds the file's write lock for the whole run: each result handed to the worker
// costs the calling thread (the window's) no wait; the look-up for 沿用 waits only for the worker.
static void BM_KeepWhileAnotherProgramHoldsTheFile(benchmark::State& state)
{
    ensureApplication();
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString text = makeArticle(20000);
    std::mt19937 rng(3);
    const store::KeptResult result = realisticResult(rng, text);
    qint64 longestKeepNs = 0;
    qint64 longestLookUpNs = 0;
    {
        store::StoreWorker worker(dir.path());
        worker.keep(search::Engine::Baidu, QStringLiteral("打开"), result);
        while (worker.waiting() > 0)
            QThread::msleep(5);
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(storeFile(dir));
        other.open();
        QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE"));
        int k = 0;
        QElapsedTimer clock;
        for (auto _ : state) {
            const QString query = QStringLiteral("句子%1").arg(k++);
            clock.start();
            worker.keep(search::Engine::Baidu, query, result);
            longestKeepNs = std::max(longestKeepNs, clock.nsecsElapsed());
            if (k % 100 == 0) {
                clock.start();
                benchmark::DoNotOptimize(worker.lookUp(search::Engine::Baidu, {query}));
                longestLookUpNs = std::max(longestLookUpNs, clock.nsecsElapsed());
            }
        }
        if (worker.waiting() == 0)
            state.SkipWithError("kept through the lock");
        QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
        other.close();
    } // the worker keeps what waited, now that the file is free
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    state.counters["longest_keep_ms"] = longestKeepNs / 1e6;
    state.counters["longest_lookup_ms"] = longestLookUpNs / 1e6;
}
BENCHMARK(BM_KeepWhileAnotherProgramHoldsTheFile)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// 100,000 results older than the kept days, in a file made by this program (0) or by one that did not
// set up incremental vacuum (1): the worker expires them after the start while the calling thread
// looks up; the file's size after is a counter.
static void BM_ExpireThesesOffTheCallingThread(benchmark::State& state)
{
    ensureApplication();
    QStandardPaths::setTestModeEnabled(true);
    constexpr int kRows = 100000;
    const QString text = makeArticle(20000);
    std::mt19937 rng(11);
    const QByteArray titles = realisticResult(rng, text).packedTitles;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        store::ResultStore(dir.path())
            .keep(search::Engine::Baidu, QStringLiteral("打开"), realisticResult(rng, text));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
            db.setDatabaseName(storeFile(dir));
            db.open();
            QSqlQuery q(db);
            if (state.range(0) == 1) {
                q.exec(QStringLiteral("PRAGMA auto_vacuum=NONE"));
                q.exec(QStringLiteral("VACUUM"));
            }
            db.transaction();
            q.prepare(QStringLiteral("INSERT INTO results VALUES (?, 'baidu', ?, ?, 1, 1, 37.5, ?)"));
            const qint64 old = QDateTime::currentMSecsSinceEpoch() - 40LL * 24 * 3600 * 1000;
            for (int i = 0; i < kRows; ++i) {
                q.bindValue(0, i + 1);
                q.bindValue(1, QStringLiteral("旧句%1").arg(i));
                q.bindValue(2, old);
                q.bindValue(3, titles);
                q.exec();
            }
            db.commit();
            q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
        const qint64 before = QFileInfo(storeFile(dir)).size();
        state.ResumeTiming();

        std::atomic<bool> done{false};
        qint64 longestLookUpNs = 0;
        QElapsedTimer whole;
        whole.start();
        {
            store::StoreWorker worker(dir.path());
            QObject::connect(&worker, &store::StoreWorker::expiryDone, [&done] { done = true; });
            QElapsedTimer clock;
            clock.start();
            // The first waits for the file to be opened and checked.
            benchmark::DoNotOptimize(worker.lookUp(search::Engine::Baidu, {QStringLiteral("打开")}));
            state.counters["first_lookup_ms"] = clock.nsecsElapsed() / 1e6;
            while (!done) {
                clock.start();
                benchmark::DoNotOptimize(worker.lookUp(search::Engine::Baidu, {QStringLiteral("打开")}));
                longestLookUpNs = std::max(longestLookUpNs, clock.nsecsElapsed());
                QThread::msleep(10);
            }
        }
        state.counters["expiry_ms"] = whole.elapsed();
        state.counters["longest_lookup_ms"] = longestLookUpNs / 1e6;
        state.counters["bytes_before"] = static_cast<double>(before);
        state.counters["bytes_after"] = static_cast<double>(QFileInfo(storeFile(dir)).size());
    }
}
BENCHMARK(BM_ExpireThesesOffTheCallingThread)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

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
