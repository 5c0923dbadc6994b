#pragma once

#include "analysis/SentencePlace.h"
#include "search/CheckRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The article coloured by its result: each sentence's place in the editor's text with the background
// of its band, the colours of the sentence list.
namespace editor {

struct BandMark
{
    qsizetype start = 0;  // offset into the editor's text (CR LF line breaks)
    qsizetype length = 0; // editor characters, line breaks and spaces inside included
    // The band's colour as 0xRRGGBB; none for a sentence without a figure (not searched, not read),
    // which loses a background an earlier colouring gave it.
    std::optional<unsigned> background;
    bool operator==(const BandMark&) const = default;
};

// One mark per sentence that has a place in the editor's text (places, in article order, from the
// analysis the record belongs to).
QList<BandMark> bandMarks(const QList<std::optional<analysis::Place>>& places,
                          const search::CheckRecord& record);

// Whether some sentence has a figure to colour by: the colouring command is of use only then.
bool hasBandResult(const search::CheckRecord& record);

} // namespace editor
