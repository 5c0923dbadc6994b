#include "editor/BandMarks.h"

#include "report/Bands.h"

#include <algorithm>

namespace editor {
namespace {

// The bands that a figure puts a sentence in; a sentence that could not be read is left as it is.
std::optional<unsigned> backgroundOf(const search::SentenceEntry& entry)
{
    switch (report::bandOf(entry)) {
    case report::Band::High:
    case report::Band::Medium:
    case report::Band::Low:
    case report::Band::NoneFound:
        return report::bandColour(entry);
    case report::Band::Unchecked:
    case report::Band::NoSimilarity:
        break;
    }
    return std::nullopt;
}

} // namespace

QList<BandMark> bandMarks(const QList<std::optional<analysis::Place>>& places,
                          const search::CheckRecord& record)
{
    QList<BandMark> marks;
    marks.reserve(places.size());
    const qsizetype n = std::min(places.size(), record.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (places[i] && places[i]->length > 0)
            marks.append({places[i]->start, places[i]->length, backgroundOf(record.at(i))});
    }
    return marks;
}

bool hasBandResult(const search::CheckRecord& record)
{
    const QList<search::SentenceEntry>& entries = record.entries();
    return std::any_of(entries.cbegin(), entries.cend(),
                       [](const search::SentenceEntry& e) { return backgroundOf(e).has_value(); });
}

} // namespace editor
