#pragma once

#include "search/CheckRecord.h"

#include <QList>
#include <QString>

#include <optional>

// The bands of a sentence's result: one table for the sentence list, the report and its legend.
namespace report {

enum class Band {
    High,         // P >= 50
    Medium,       // 20 <= P < 50
    Low,          // 0 < P < 20
    NoneFound,    // P = 0
    Unchecked,    // searched, but no result page could be read (not arrived, verification page)
    NoSimilarity, // no similarity to show: not searched, nothing to search, or no figure shown
};

struct BandStyle
{
    Band band;
    QString cssClass;
    QString name;                   // the legend's word for it
    QString meaning;                // what puts a sentence in it
    std::optional<unsigned> colour; // background as 0xRRGGBB; none for NoSimilarity
};

// Every band in legend order, the highest first.
const QList<BandStyle>& bandTable();
const BandStyle& bandStyle(Band band);

Band bandOf(search::SentenceState state, std::optional<double> similarity);
inline Band bandOf(const search::SentenceEntry& entry)
{
    return bandOf(entry.state, entry.similarity);
}
// The background of the entry's band wherever a sentence is shown: the sentence list, the results
// table and the report.
inline std::optional<unsigned> bandColour(const search::SentenceEntry& entry)
{
    return bandStyle(bandOf(entry)).colour;
}

} // namespace report
