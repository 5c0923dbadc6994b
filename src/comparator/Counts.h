#pragma once

#include <QtGlobal>

namespace comparator {

// The figures of a comparison: of one run, or summed over every run of the program (the totals).
struct Counts
{
    qint64 repeats = 0;      // further occurrences marked after a piece's first one
    qint64 pieces = 0;       // pieces found at least once in the article
    qint64 matchedChars = 0; // lengths of the pieces found, each found piece counted once per run

    friend bool operator==(const Counts&, const Counts&) = default;
};

// A passage of the article to colour red: offsets into the article text (line breaks as CR LF).
struct Mark
{
    qsizetype start = 0;
    qsizetype length = 0;

    friend bool operator==(const Mark&, const Mark&) = default;
};

} // namespace comparator
