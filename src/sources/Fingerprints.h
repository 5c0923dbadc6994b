#pragma once

#include <QList>
#include <QtGlobal>

#include <span>

// Hashes of runs of tokens, and the winnowed choice of them that a library keeps per source.
namespace sources {

inline constexpr int kDefaultRun = 13; // the shortest repeated run that counts, in tokens
inline constexpr int kMinRun = 8;
inline constexpr int kMaxRun = 20;
// Winnowing window: every common run of run + kWindow - 1 tokens shares a kept fingerprint.
inline constexpr int kWindow = 4;

// The hash of each run of k tokens: element i covers tokens i .. i + k - 1. Empty when fewer than k.
QList<quint64> runHashes(std::span<const quint32> tokens, int k);
// The same into out, which keeps its capacity.
void runHashes(std::span<const quint32> tokens, int k, QList<quint64>& out);

// The winnowed fingerprints of the runs (Schleimer, Wilkerson and Aiken 2003, robust winnowing): in
// every window of w consecutive run hashes the smallest (the rightmost of equals) is kept, once per
// place. Returned as the places of the kept runs, in order.
QList<qint32> winnow(std::span<const quint64> hashes, int w = kWindow);

// The form a library stores and looks up: 40 bits, so that an article's hundred thousand runs meet
// the millions of a library's fingerprints by chance less than once (with 32 bits, a hundred times).
inline constexpr int kKeyBits = 40;
inline quint64 fingerprintKey(quint64 hash)
{
    return (hash ^ (hash >> 29)) & ((1ULL << kKeyBits) - 1);
}

} // namespace sources
