#pragma once

#include "comparator/Counts.h"

#include <QList>
#include <QString>

// A whole comparison without the window, run to the end in one go: what the comparator's tests check
// the window and the index against, and what the benchmark times.
namespace comparator {

// What one comparison does to the article and the summary when nothing edits the article meanwhile.
struct Comparison
{
    bool clearsOldMarks = false; // fresh marking: the whole article turns black before the marks
    QList<Mark> marks;           // in the order made; the last one ends up selected
    Counts counts;               // this run's figures
    QString summary;             // Label1's caption
};

// Compares article with reference; totals, the program's running sums, grow by this run's counts.
Comparison compare(const QString& article, const QString& reference, bool cumulative, Counts& totals);

} // namespace comparator
