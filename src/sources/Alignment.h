#pragma once

#include <QList>
#include <QtGlobal>

#include <span>
#include <utility>
#include <vector>

// Exact alignment of an article with one source, in tokens.
namespace sources {

// Passages of the same source separated by at most this many tokens on both sides are one passage:
// a few characters changed, inserted or deleted in fifty.
inline constexpr int kJoinGap = 5;
// A run that occurs more often than this in the article is a repetition (a table, a refrain), not a
// copy: its further places are not seeds.
inline constexpr int kMaxSeedsPerRun = 64;

// A common passage: tokens [articleStart, articleEnd) of the article and [sourceStart, sourceEnd)
// of the source.
struct Match
{
    qint32 articleStart = 0;
    qint32 articleEnd = 0;
    qint32 sourceStart = 0;
    qint32 sourceEnd = 0;
    friend bool operator==(const Match&, const Match&) = default;
};

// The article's runs of k tokens by hash, made once per check and shared by every source.
class ArticleRuns
{
public:
    ArticleRuns(std::span<const quint32> tokens, int k);

    int run() const { return m_k; }
    std::span<const quint32> tokens() const { return m_tokens; }
    // Places of the runs with this hash, in order.
    std::span<const std::pair<quint64, qint32>> find(quint64 hash) const;
    // Every run's hash, by place.
    const QList<quint64>& hashes() const { return m_hashes; }
    // False when no run has this hash; true for every run's hash and a few others.
    bool mayHave(quint64 hash) const
    {
        const quint64 bit = hash & kFilterMask;
        return (m_filter[bit >> 6] >> (bit & 63)) & 1;
    }

private:
    static constexpr quint64 kFilterMask = (1ULL << 22) - 1;
    std::vector<quint64> m_filter; // a bit per value of a hash's low bits: most of a source misses at once
    // Open addressing over the distinct hashes: where each one's places begin in m_byHash, and how many.
    struct Slot
    {
        quint64 hash = 0;
        qint32 first = -1;
        qint32 count = 0;
    };
    std::vector<Slot> m_slots;
    quint64 m_slotMask = 0;
    std::span<const quint32> m_tokens;
    int m_k;
    QList<quint64> m_hashes;
    std::vector<std::pair<quint64, qint32>> m_byHash;
};

// Every maximal common passage of at least the article's run length, each once, ordered by article
// place. A passage repeated in the source is found at each of its places there.
QList<Match> maximalMatches(const ArticleRuns& article, std::span<const quint32> source);
// The same with the caller's buffer for the source's run hashes, kept from one source to the next.
QList<Match> maximalMatches(const ArticleRuns& article, std::span<const quint32> source,
                            QList<quint64>& hashes);

// Joins matches (ordered by article place) that follow each other in both texts with gaps of at most
// kJoinGap tokens; matches inside a longer one are dropped.
QList<Match> joinMatches(QList<Match> matches, int gap = kJoinGap);

} // namespace sources
