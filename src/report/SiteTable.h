#pragma once

#include "platform/LinkTable.h"

#include <QList>
#include <QString>
#include <QStringList>

// The site table (the similar websites): every distinct result title once, with how often it turned up,
// the most frequent first.
namespace report {

struct TitleCount
{
    QString html; // the title's HTML as found on the result page
    int count = 0;
};

// Counts, orders and thins the title tables (ten slots per sentence and one spare slot at the end,
// which is never read). The order is that of the exchange procedure the statistics have always used
// (equal counts in the order it leaves them), computed in about linear time.
QList<TitleCount> siteRows(const QStringList& titleTexts, const QStringList& titleBlocks);

// The counts each slot's title got, in slot order (0 for an empty title and for the spare slot).
QList<int> slotCounts(const QStringList& titleTexts);

// siteRows for counts already taken with slotCounts.
QList<TitleCount> siteRows(const QStringList& titleTexts, const QStringList& titleBlocks, QList<int> counts);

// The site table of a printed report: the titles seen at least twice, at most kPrintedSiteRows of them;
// the others are only counted. A title seen once says little and filled pages.
inline constexpr qsizetype kPrintedSiteRows = 50;
struct PrintedSites
{
    QList<TitleCount> rows;
    qsizetype seenOnce = 0;     // titles seen once, not listed
    qsizetype moreRepeated = 0; // titles seen more often, beyond the rows listed
};
PrintedSites printedSites(const QList<TitleCount>& rows);

// The site table as plain data: the heading, and per row the title's text, its web address (see
// titleLink) and the count cell.
LinkTable siteTable(const QList<TitleCount>& rows);

} // namespace report
