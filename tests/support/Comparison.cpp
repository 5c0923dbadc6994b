#include "support/Comparison.h"

#include "comparator/MarkingRun.h"
#include "comparator/ReferencePieces.h"
#include "comparator/Summary.h"

namespace comparator {

Comparison compare(const QString& article, const QString& reference, bool cumulative, Counts& totals)
{
    Comparison result;
    result.clearsOldMarks = !cumulative;
    MarkingRun run(cutReference(reference), article, totals);
    while (!run.finished()) {
        if (const std::optional<Mark> mark = run.step())
            result.marks.append(*mark);
    }
    result.counts = run.counts();
    result.summary = summaryText(article.size(), reference.size(), run.counts(), totals, cumulative);
    return result;
}

} // namespace comparator
