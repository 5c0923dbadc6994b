#include "sources/Fingerprints.h"

namespace sources {
namespace {

constexpr quint64 kBase = 0x100000001B3ULL;

// Spreads a token's value so that neighbouring code points give unrelated hashes.
quint64 mix(quint32 value)
{
    quint64 x = value + 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

QList<quint64> runHashes(std::span<const quint32> tokens, int k)
{
    QList<quint64> out;
    runHashes(tokens, k, out);
    return out;
}

void runHashes(std::span<const quint32> tokens, int k, QList<quint64>& out)
{
    const qsizetype n = static_cast<qsizetype>(tokens.size());
    if (k <= 0 || n < k) {
        out.clear();
        return;
    }
    // Rolling polynomial hash modulo 2^64; the power drops the token that leaves the run.
    quint64 power = 1;
    for (int i = 1; i < k; ++i)
        power *= kBase;
    out.resize(n - k + 1);
    quint64* hashes = out.data();
    quint64 h = 0;
    for (qsizetype i = 0; i < k - 1; ++i)
        h = h * kBase + mix(tokens[i]);
    for (qsizetype i = k - 1; i < n; ++i) {
        h = h * kBase + mix(tokens[i]);
        hashes[i - k + 1] = h;
        h -= mix(tokens[i - k + 1]) * power;
    }
}

QList<qint32> winnow(std::span<const quint64> hashes, int w)
{
    QList<qint32> kept;
    const qsizetype n = static_cast<qsizetype>(hashes.size());
    if (n == 0)
        return kept;
    if (w <= 1) {
        for (qsizetype i = 0; i < n; ++i)
            kept.append(static_cast<qint32>(i));
        return kept;
    }
    // A monotonic queue of places with rising hashes: its front is the window's minimum.
    QList<qint32> queue;
    queue.reserve(w + 1);
    qsizetype head = 0;
    qint32 last = -1;
    for (qsizetype i = 0; i < n; ++i) {
        while (queue.size() > head && hashes[queue.back()] >= hashes[i])
            queue.removeLast();
        queue.append(static_cast<qint32>(i));
        if (queue[head] <= i - w)
            ++head;
        if (i >= w - 1 || i == n - 1) {
            const qint32 minimum = queue[head];
            if (minimum != last) {
                kept.append(minimum);
                last = minimum;
            }
        }
        if (head > 64) {
            queue.remove(0, head);
            head = 0;
        }
    }
    return kept;
}

} // namespace sources
