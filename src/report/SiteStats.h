#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The similar-website statistics: every distinct result title once, with how often it turned up,
// the most frequent first.
namespace report {

struct Row
{
    QString block; // the title's HTML as found on the result page
    int count = 0;
};

// Counts, orders and thins the title tables (ten slots per sentence and one spare slot at the end,
// which is never read). The order is that of the exchange procedure the statistics have always used
// (equal counts in the order it leaves them), computed in about linear time.
QList<Row> siteRows(const QStringList& titleTexts, const QStringList& titleBlocks);

// The counts each slot's title got, in slot order (0 for an empty title and for the spare slot).
QList<int> slotCounts(const QStringList& titleTexts);

// siteRows for counts already taken with slotCounts.
QList<Row> siteRows(const QStringList& titleTexts, const QStringList& titleBlocks, QList<int> counts);

// The report as the pieces pasted one after the other: head, one row per entry, tail.
QStringList reportPieces(const QList<Row>& rows);

// A title block from a web page with its scripts, event-handler attributes and javascript: addresses
// removed, so that pasting it runs nothing.
QString sanitizeTitleBlock(const QString& block);

} // namespace report
