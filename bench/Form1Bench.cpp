#include "Article.h"
#include "app/Form1.h"
#include "editor/RichTextBox.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

// The whole "进行分析" click on a thesis-sized article, List1 filled.
static void BM_AnalyseClick(benchmark::State& state)
{
    Form1 form;
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
