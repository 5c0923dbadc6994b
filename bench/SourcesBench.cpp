// The library of sources at the size the program promises: 500 sources of 24,000 characters indexed
// into the library file, and a 100,000-character article checked against them, in the core and as a
// whole tessaro-sources process.
#include "sources/Library.h"
#include "sources/LocalCheck.h"
#include "support/SourcesCorpus.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace {

constexpr int kSources = 500;
constexpr int kSourceChars = 24'000;
constexpr int kArticleChars = 100'000;

struct Corpus
{
    QList<QString> sources;
    QString article;
    QTemporaryDir dir;
    QString libraryPath;
    QString articlePath;

    Corpus()
    {
        sourcescorpus::Writer writer(5);
        for (int i = 0; i < kSources; ++i)
            sources.append(writer.prose(kSourceChars));
        // A thesis that takes 30 passages of 50 to 800 characters from 20 of the sources.
        QRandomGenerator& random = writer.random();
        while (article.size() < kArticleChars) {
            article += writer.prose(2500);
            const QString& source = sources[random.bounded(20)];
            const int length = 50 + random.bounded(750);
            article += source.mid(random.bounded(kSourceChars - length), length);
        }
        libraryPath = dir.filePath(QStringLiteral("sources.sqlite"));
        articlePath = dir.filePath(QStringLiteral("article.txt"));
        QFile file(articlePath);
        if (file.open(QIODevice::WriteOnly))
            file.write(article.toUtf8());
    }
};

Corpus& corpus()
{
    static Corpus c;
    return c;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_IndexIntoTheLibraryFile(benchmark::State& state)
{
    Corpus& c = corpus();
    for (auto _ : state) {
        QFile::remove(c.libraryPath);
        sources::Library library(c.libraryPath);
        for (int i = 0; i < kSources; ++i) {
            const QByteArray bytes = c.sources[i].toUtf8();
            library.addSource(c.dir.filePath(QStringLiteral("%1.txt").arg(i)),
                              sources::Library::contentHash(bytes), bytes.size(), QString::number(i),
                              c.sources[i]);
        }
    }
    state.counters["file_MB"] = QFileInfo(c.libraryPath).size() / 1048576.0;
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_IndexIntoTheLibraryFile)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadIndex(benchmark::State& state)
{
    Corpus& c = corpus();
    for (auto _ : state) {
        sources::Library library(c.libraryPath);
        sources::SourceIndex index;
        library.loadIndex(index);
        state.counters["fingerprints"] = static_cast<double>(index.size());
    }
}
BENCHMARK(BM_LoadIndex)->Unit(benchmark::kMillisecond);

void BM_CheckInTheCore(benchmark::State& state)
{
    Corpus& c = corpus();
    sourcescorpus::MemoryLibrary library;
    for (int i = 0; i < kSources; ++i)
        library.add(i + 1, c.sources[i]);
    library.index.finish();
    sources::CheckResult result;
    for (auto _ : state)
        result = library.check(c.article);
    state.counters["ratio"] = result.ratio;
    state.counters["compared"] = result.sourcesCompared;
}
BENCHMARK(BM_CheckInTheCore)->Unit(benchmark::kMillisecond);

// The whole command as a user runs it: start, read the article through the reader process, load the
// library, check, print the JSON.
void BM_CheckCommand(benchmark::State& state)
{
    Corpus& c = corpus();
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(TESSARO_SOURCES_PATH),
                {QStringLiteral("--library"), c.libraryPath, QStringLiteral("check"), c.articlePath,
                 QStringLiteral("--json")});
        p.waitForFinished(60'000);
        if (p.exitCode() != 0)
            state.SkipWithError("tessaro-sources failed");
    }
}
BENCHMARK(BM_CheckCommand)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
