#include "sources/Alignment.h"

#include "sources/Fingerprints.h"

#include <QHash>

#include <algorithm>

namespace sources {

ArticleRuns::ArticleRuns(std::span<const quint32> tokens, int k)
    : m_tokens(tokens), m_k(k), m_hashes(runHashes(tokens, k)), m_filter((kFilterMask + 1) / 64, 0)
{
    m_byHash.reserve(m_hashes.size());
    for (qsizetype i = 0; i < m_hashes.size(); ++i) {
        m_byHash.emplace_back(m_hashes[i], static_cast<qint32>(i));
        const quint64 bit = m_hashes[i] & kFilterMask;
        m_filter[bit >> 6] |= 1ULL << (bit & 63);
    }
    std::sort(m_byHash.begin(), m_byHash.end());
    size_t capacity = 16;
    while (capacity < 2 * m_byHash.size())
        capacity *= 2;
    m_slots.assign(capacity, Slot{});
    m_slotMask = capacity - 1;
    for (size_t i = 0; i < m_byHash.size(); ++i) {
        const quint64 hash = m_byHash[i].first;
        if (i > 0 && m_byHash[i - 1].first == hash) {
            continue;
        }
        size_t at = (hash >> 20) & m_slotMask;
        while (m_slots[at].first >= 0)
            at = (at + 1) & m_slotMask;
        size_t end = i + 1;
        while (end < m_byHash.size() && m_byHash[end].first == hash)
            ++end;
        m_slots[at] = {hash, static_cast<qint32>(i), static_cast<qint32>(end - i)};
    }
}

std::span<const std::pair<quint64, qint32>> ArticleRuns::find(quint64 hash) const
{
    for (size_t at = (hash >> 20) & m_slotMask;; at = (at + 1) & m_slotMask) {
        const Slot& slot = m_slots[at];
        if (slot.first < 0)
            return {};
        if (slot.hash == hash)
            return {m_byHash.data() + slot.first, static_cast<size_t>(slot.count)};
    }
}

QList<Match> maximalMatches(const ArticleRuns& article, std::span<const quint32> source)
{
    QList<quint64> hashes;
    return maximalMatches(article, source, hashes);
}

QList<Match> maximalMatches(const ArticleRuns& article, std::span<const quint32> source,
                            QList<quint64>& hashes)
{
    QList<Match> out;
    const int k = article.run();
    const std::span<const quint32> a = article.tokens();
    runHashes(source, k, hashes);
    // Where the last match found on each diagonal (article place - source place) ends in the source:
    // a seed before that lies inside it.
    QHash<qint64, qint32> diagonalEnd;
    for (qsizetype j = 0; j < hashes.size(); ++j) {
        if (!article.mayHave(hashes[j]))
            continue;
        const auto places = article.find(hashes[j]);
        if (places.size() > kMaxSeedsPerRun)
            continue;
        for (const auto& [hash, i] : places) {
            const qint64 diagonal = static_cast<qint64>(i) - j;
            const auto end = diagonalEnd.constFind(diagonal);
            if (end != diagonalEnd.cend() && *end > j)
                continue;
            if (!std::equal(a.begin() + i, a.begin() + i + k, source.begin() + j))
                continue; // a hash collision
            qsizetype length = k;
            while (i + length < static_cast<qsizetype>(a.size()) &&
                   j + length < static_cast<qsizetype>(source.size()) && a[i + length] == source[j + length])
                ++length;
            diagonalEnd.insert(diagonal, static_cast<qint32>(j + length));
            out.append({i, static_cast<qint32>(i + length), static_cast<qint32>(j),
                        static_cast<qint32>(j + length)});
        }
    }
    std::sort(out.begin(), out.end(), [](const Match& x, const Match& y) {
        return x.articleStart != y.articleStart ? x.articleStart < y.articleStart
                                                : x.articleEnd > y.articleEnd;
    });
    return out;
}

QList<Match> joinMatches(QList<Match> matches, int gap)
{
    QList<Match> out;
    for (const Match& m : matches) {
        if (!out.isEmpty()) {
            Match& p = out.back();
            if (m.articleEnd <= p.articleEnd)
                continue; // inside the passage already
            const qint32 gapA = m.articleStart - p.articleEnd;
            const qint32 gapS = m.sourceStart - p.sourceEnd;
            if (gapA <= gap && gapS <= gap && gapS >= -gap && m.sourceStart > p.sourceStart &&
                m.sourceEnd > p.sourceEnd) {
                p.articleEnd = m.articleEnd;
                p.sourceEnd = m.sourceEnd;
                continue;
            }
        }
        out.append(m);
    }
    return out;
}

} // namespace sources
