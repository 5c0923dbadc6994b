#pragma once

#include "comparator/Counts.h"

#include <QString>

namespace comparator {

// part / whole rounded to two decimals (an exact half to the even neighbour) and shown as a whole
// percentage: 0.2349 gives 23, 14 / 11 gives 127. Without a denominator the share is 0.
qint64 roundedPercent(qint64 part, qint64 whole);

// The three lines for Label1. Fresh marking shows this run's figures, cumulative marking the
// totals; the similarity to the reference always uses this run's matched characters, since it
// describes the reference now in the window.
QString summaryText(qsizetype articleLength, qsizetype referenceLength, const Counts& run,
                    const Counts& totals, bool cumulative);

} // namespace comparator
