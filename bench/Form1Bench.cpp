#include "Article.h"
#include "analysis/Analysis.h"
#include "app/Program.h"
#include "editor/BandPainter.h"
#include "editor/Marking.h"
#include "editor/RichTextBox.h"
#include "platform/MessageBox.h"
#include "store/ResultStore.h"
#include "store/Resume.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

// The whole "进行分析" click on a thesis-sized article, List1 filled.
static void BM_AnalyseClick(benchmark::State& state)
{
    const std::unique_ptr<Form1> window = Program::makeMainWindow();
    Form1& form = *window;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        state.SkipWithError("the window was not shown");
    form.findChild<RichTextBox*>(QStringLiteral("RichTextBox1"))->setPlainText(makeArticle(state.range(0)));
    auto* command1 = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
    for (auto _ : state) {
        command1->click();
        QCoreApplication::processEvents(); // the list lays itself out before the click counts as done
    }
    state.counters["entries"] = list->count();
}
BENCHMARK(BM_AnalyseClick)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(10);

// The main window keeping its results in storeDirectory, shown, with article in its editor.
static std::unique_ptr<Form1> shownWithArticle(const QString& storeDirectory, const QString& article,
                                               benchmark::State& state)
{
    Program::Options options;
    options.storeDirectory = storeDirectory;
    std::unique_ptr<Form1> window = Program::makeMainWindow(std::move(options));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        state.SkipWithError("the window was not shown");
    window->findChild<RichTextBox*>(QStringLiteral("RichTextBox1"))->setPlainText(article);
    return window;
}

// Marking a searched piece that occurs 5,000 times in a 200,000-character article, with the window's
// events handled between batches of occurrences as the online check does.
static void BM_MarkOccurrences(benchmark::State& state)
{
    QString article = makeArticle(200000);
    article.replace(u'。', u'，');
    const int occurrences = static_cast<int>(state.range(0));
    const qsizetype spacing = article.size() / occurrences;
    for (int k = 0; k < occurrences; ++k) {
        qsizetype at = k * spacing;
        while (article.at(at) == u'\r' || article.at(at) == u'\n' || article.at(at) == u'\u3000')
            ++at;
        article[at] = u'。';
    }
    RichTextBox box;
    box.resize(800, 600);
    box.show();
    if (!QTest::qWaitForWindowExposed(&box))
        state.SkipWithError("the window was not shown");
    box.setPlainText(article);
    int marked = 0;
    for (auto _ : state) {
        marked = 0;
        editor::markOccurrences(box, QStringLiteral("。"), Qt::red, [&] {
            ++marked;
            QCoreApplication::processEvents();
            return true;
        });
    }
    state.counters["yields"] = marked;
}
BENCHMARK(BM_MarkOccurrences)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
// The same click when an earlier start kept a result for every piece and the person answers 沿用:
// analysis, look-up, question and taking the whole thesis over.
static void BM_AnalyseClickResumingEverything(benchmark::State& state)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString article = makeArticle(state.range(0));
    {
        store::ResultStore earlier(dir.path());
        store::KeptResult kept;
        kept.obtained = QDateTime::currentDateTimeUtc();
        kept.similarity = 30;
        QList<search::Title> titles;
        for (int n = 0; n < search::kResultsPerPage; ++n)
            titles.append({QStringLiteral("<a href=\"http://www.baidu.com/link?url=%1\">%2</a>")
                               .arg(n)
                               .arg(article.mid(n * 20, 20)),
                           article.mid(n * 20, 20)});
        kept.setTitles(titles);
        for (const QString& query : store::pieceQueries(analysis::analyse(article).sentences, {})) {
            if (!query.isEmpty())
                earlier.keep(search::Engine::Baidu, query, kept);
        }
    }
    MessageBox::setHandler([](const MessageBox::Request&) { return MessageBox::Answer::Yes; });
    const std::unique_ptr<Form1> window = shownWithArticle(dir.path(), article, state);
    Form1& form = *window;
    auto* command1 = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    for (auto _ : state) {
        command1->click();
        QCoreApplication::processEvents();
    }
    state.counters["reused"] = form.checkRun().pageCount() - 1;
    MessageBox::setHandler({});
}
BENCHMARK(BM_AnalyseClickResumingEverything)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(10);

// 按相似度标色 on a thesis whose every piece has a result (taken over from an earlier start, a quarter
// in each band): from the click until the last piece is coloured, with the longest time the window
// went without handling its events (a 1 ms timer that notes the longest gap between its ticks).
// 210,000 characters give 5,300 pieces of 38.
static void BM_ColourByBand(benchmark::State& state)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString article = makeArticle(state.range(0));
    {
        store::ResultStore earlier(dir.path());
        store::KeptResult kept;
        kept.obtained = QDateTime::currentDateTimeUtc();
        const double figures[] = {60, 30, 5, 0};
        int i = 0;
        for (const QString& query : store::pieceQueries(analysis::analyse(article).sentences, {})) {
            kept.similarity = figures[i++ % 4];
            if (!query.isEmpty())
                earlier.keep(search::Engine::Baidu, query, kept);
        }
    }
    MessageBox::setHandler([](const MessageBox::Request&) { return MessageBox::Answer::Yes; });
    const std::unique_ptr<Form1> window = shownWithArticle(dir.path(), article, state);
    Form1& form = *window;
    form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QCoreApplication::processEvents();
    auto* biaose = form.findChild<QAction*>(QStringLiteral("biaose"));
    auto* clear = form.findChild<QAction*>(QStringLiteral("qingchubiaose"));
    auto* painter = form.findChild<editor::BandPainter*>();
    if (!biaose || !biaose->isEnabled() || !painter)
        state.SkipWithError("nothing to colour by");
    qint64 longestGap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QEventLoop loop;
        QObject::connect(painter, &editor::BandPainter::finished, &loop, &QEventLoop::quit);
        clear->trigger();
        loop.exec();
        state.ResumeTiming();
        QTimer ticks;
        ticks.setTimerType(Qt::PreciseTimer);
        ticks.setInterval(1);
        QElapsedTimer sinceTick;
        QObject::connect(&ticks, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        ticks.start();
        sinceTick.start();
        biaose->trigger();
        loop.exec();
        longestGap = std::max(longestGap, sinceTick.elapsed());
    }
    state.counters["pieces"] = static_cast<double>(form.checkRun().sentences().size());
    state.counters["longestStallMs"] = static_cast<double>(longestGap);
    MessageBox::setHandler({});
}
BENCHMARK(BM_ColourByBand)->Arg(210000)->Unit(benchmark::kMillisecond)->Iterations(5);
