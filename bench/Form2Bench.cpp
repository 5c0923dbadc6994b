#include "Article.h"
#include "SharedReference.h"
#include "comparator/Form2.h"
#include "editor/RichTextBox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

// The whole "对比并标注" click in the comparator on thesis-sized texts: cutting, searching, yielding
// once per piece and per further occurrence, the marks applied in the article, the summary shown.
static void BM_CompareClick(benchmark::State& state)
{
    const QString article = makeArticle(state.range(0));
    comparator::Counts totals;
    auto* form = new Form2(article, totals);
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        state.SkipWithError("window not shown");
    form->findChild<RichTextBox*>(QStringLiteral("RichTextBox2"))
        ->setPlainText(makeSharedReference(article, state.range(0)));
    QTest::qWait(2000); // the first layout of both documents finishes
    auto* command1 = form->findChild<QPushButton*>(QStringLiteral("Command1"));
    for (auto _ : state) {
        command1->click();
        QCoreApplication::processEvents(); // what the click left to paint
    }
    state.counters["pieces"] = static_cast<double>(totals.pieces) / state.iterations();
    state.counters["marks"] = static_cast<double>(totals.pieces + totals.repeats) / state.iterations();
    delete form;
}
BENCHMARK(BM_CompareClick)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(5);
