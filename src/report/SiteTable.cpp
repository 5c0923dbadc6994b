#include "report/SiteTable.h"

#include "report/TitleLink.h"

#include <QHash>
#include <QSet>

#include <deque>
#include <map>
#include <numeric>
#include <vector>

namespace report {
namespace {

// Positions 0 to L of the tables, L = size - 2: the spare last slot is left out.
qsizetype lastPosition(const QStringList& titleTexts)
{
    return titleTexts.size() - 2;
}

// The order that this exchange procedure leaves:
//   for j in 1..L: for i in 0..L: if count[i] < count[j]: exchange records i and j
// The pass for j = 1 leaves positions 0 and 1 in non-increasing order with the smallest count of all
// at 1. From then on the prefix before j stays sorted with the smallest count at its end, and the pass
// for j inserts record j after the records of its own count while every group of records with a
// smaller count moves its first record to its end (each exchange hands the carried record on to the
// first record of the next smaller group). No exchange happens after position j.
std::vector<qsizetype> exchangeOrder(const QList<int>& counts)
{
    const qsizetype L = counts.size() - 1;
    std::vector<qsizetype> perm(static_cast<size_t>(counts.size()));
    std::iota(perm.begin(), perm.end(), 0);
    if (L < 1)
        return perm;
    auto value = [&](qsizetype pos) { return counts[perm[pos]]; };
    for (qsizetype i = 0; i <= L; ++i) {
        if (value(i) < value(1))
            std::swap(perm[i], perm[1]);
    }

    std::map<int, std::deque<qsizetype>> groups; // count -> records in order, ascending by count
    groups[value(0)].push_back(perm[0]);
    groups[value(1)].push_back(perm[1]);
    for (qsizetype j = 2; j <= L; ++j) {
        const qsizetype record = perm[j];
        const int v = counts[record];
        for (auto it = groups.begin(); it != groups.end() && it->first < v; ++it) {
            it->second.push_back(it->second.front());
            it->second.pop_front();
        }
        groups[v].push_back(record);
    }
    std::vector<qsizetype> ordered;
    ordered.reserve(perm.size());
    for (auto it = groups.rbegin(); it != groups.rend(); ++it)
        ordered.insert(ordered.end(), it->second.begin(), it->second.end());
    return ordered;
}

} // namespace

QList<int> slotCounts(const QStringList& titleTexts)
{
    const qsizetype L = lastPosition(titleTexts);
    QHash<QString, int> seen;
    for (qsizetype i = 0; i <= L; ++i) {
        if (!titleTexts[i].isEmpty())
            ++seen[titleTexts[i]];
    }
    QList<int> counts(titleTexts.size(), 0);
    for (qsizetype i = 0; i <= L; ++i) {
        if (!titleTexts[i].isEmpty())
            counts[i] = seen.value(titleTexts[i]);
    }
    return counts;
}

QList<TitleCount> siteRows(const QStringList& titleTexts, const QStringList& titleBlocks)
{
    return siteRows(titleTexts, titleBlocks, slotCounts(titleTexts));
}

QList<TitleCount> siteRows(const QStringList& titleTexts, const QStringList& titleBlocks, QList<int> counts)
{
    const qsizetype L = lastPosition(titleTexts);
    if (L < 0)
        return {};
    counts.resize(L + 1);
    const std::vector<qsizetype> order = exchangeOrder(counts);

    // Thinning keeps the first entry of each title text in the new order.
    QList<TitleCount> rows;
    QSet<QString> shown;
    for (const qsizetype k : order) {
        const QString& title = titleTexts[k];
        if (title.isEmpty() || shown.contains(title))
            continue;
        shown.insert(title);
        rows.append({titleBlocks.value(k), counts[k]});
    }
    return rows;
}

PrintedSites printedSites(const QList<TitleCount>& rows)
{
    PrintedSites p;
    for (const TitleCount& row : rows) {
        if (row.count < 2)
            ++p.seenOnce;
        else if (p.rows.size() < kPrintedSiteRows)
            p.rows.append(row);
        else
            ++p.moreRepeated;
    }
    return p;
}

LinkTable siteTable(const QList<TitleCount>& rows)
{
    LinkTable table;
    table.heading = QStringLiteral("相似性网站分析结果");
    table.rows.reserve(rows.size());
    for (const TitleCount& row : rows) {
        TitleLink title = titleLink(row.html);
        table.rows.append({std::move(title.text), std::move(title.link),
                           QStringLiteral("\u00A0\u00A0出现次数：") + QString::number(row.count)});
    }
    return table;
}

} // namespace report
