#include "comparator/ArticleIndex.h"

#include <algorithm>
#include <cstdint>

namespace comparator {
namespace {

// Suffix array by induced sorting (SA-IS), linear in the length. s holds values 0..upper. The
// article's characters come as 16-bit values: half the memory of the random reads that dominate.
template <typename Symbol> std::vector<int> inducedSort(const std::vector<Symbol>& s, int upper);

// One level of the induced sorting: the suffix types, the buckets and the induction over them.
template <typename Symbol> class InducedSorter
{
public:
    InducedSorter(const std::vector<Symbol>& s, int upper)
        : s(s), n(static_cast<int>(s.size())), sa(n), isS(n), bucketL(upper + 1), bucketS(upper + 1)
    {
        // isS[i]: the suffix at i sorts before the one at i + 1 (S type); the last one is L type.
        for (int i = n - 2; i >= 0; --i)
            isS[i] = s[i] == s[i + 1] ? isS[i + 1] : s[i] < s[i + 1];
        // Bucket starts: bucketL[c] where the L-type suffixes of c begin, bucketS[c] where its S-types do.
        for (int i = 0; i < n; ++i) {
            if (!isS[i])
                ++bucketS[s[i]];
            else
                ++bucketL[s[i] + 1];
        }
        for (int c = 0; c <= upper; ++c) {
            bucketS[c] += bucketL[c];
            if (c < upper)
                bucketL[c + 1] += bucketS[c];
        }
    }

    std::vector<int> sort()
    {
        // LMS positions: an S type right after an L type.
        std::vector<int> lmsNumber(n + 1, -1);
        std::vector<int> lms;
        for (int i = 1; i < n; ++i) {
            if (!isS[i - 1] && isS[i]) {
                lmsNumber[i] = static_cast<int>(lms.size());
                lms.push_back(i);
            }
        }
        const int m = static_cast<int>(lms.size());
        induce(lms);
        if (m == 0)
            return sa;

        // Name the LMS substrings in their induced order, sort the reduced string, induce again.
        std::vector<int> sortedLms;
        sortedLms.reserve(m);
        for (const int v : sa) {
            if (lmsNumber[v] != -1)
                sortedLms.push_back(v);
        }
        std::vector<int> reduced(m);
        int names = 0;
        reduced[lmsNumber[sortedLms[0]]] = 0;
        for (int i = 1; i < m; ++i) {
            if (!sameLmsSubstring(sortedLms[i - 1], sortedLms[i], lms, lmsNumber))
                ++names;
            reduced[lmsNumber[sortedLms[i]]] = names;
        }
        const std::vector<int> reducedSa = inducedSort(reduced, names);
        for (int i = 0; i < m; ++i)
            sortedLms[i] = lms[reducedSa[i]];
        induce(sortedLms);
        return sa;
    }

private:
    void induce(const std::vector<int>& lms)
    {
        std::fill(sa.begin(), sa.end(), -1);
        std::vector<int> buf(bucketS);
        for (const int d : lms) {
            if (d != n)
                sa[buf[s[d]]++] = d;
        }
        buf = bucketL;
        sa[buf[s[n - 1]]++] = n - 1;
        for (int i = 0; i < n; ++i) {
            const int v = sa[i];
            if (v >= 1 && !isS[v - 1])
                sa[buf[s[v - 1]]++] = v - 1;
        }
        buf = bucketL;
        for (int i = n - 1; i >= 0; --i) {
            const int v = sa[i];
            if (v >= 1 && isS[v - 1])
                sa[--buf[s[v - 1] + 1]] = v - 1;
        }
    }

    // The LMS substrings that start at l and r (each up to the next LMS position) are equal.
    bool sameLmsSubstring(int l, int r, const std::vector<int>& lms, const std::vector<int>& lmsNumber) const
    {
        const int m = static_cast<int>(lms.size());
        const int endL = lmsNumber[l] + 1 < m ? lms[lmsNumber[l] + 1] : n;
        const int endR = lmsNumber[r] + 1 < m ? lms[lmsNumber[r] + 1] : n;
        if (endL - l != endR - r)
            return false;
        while (l < endL && s[l] == s[r]) {
            ++l;
            ++r;
        }
        return l != n && s[l] == s[r];
    }

    const std::vector<Symbol>& s;
    const int n;
    std::vector<int> sa;
    std::vector<std::uint8_t> isS;
    std::vector<int> bucketL, bucketS;
};

template <typename Symbol> std::vector<int> inducedSort(const std::vector<Symbol>& s, int upper)
{
    const int n = static_cast<int>(s.size());
    if (n == 0)
        return {};
    if (n == 1)
        return {0};
    if (n == 2)
        return s[0] < s[1] ? std::vector<int>{0, 1} : std::vector<int>{1, 0};
    return InducedSorter<Symbol>(s, upper).sort();
}

} // namespace

ArticleIndex::ArticleIndex(QStringView article) : m_article(article.toString())
{
    // Code units renumbered densely in their order: the sort's buckets then fit the characters used
    // instead of all 65,536.
    std::vector<int> rank(0x10000, 0);
    for (const QChar c : m_article)
        rank[c.unicode()] = 1;
    int upper = -1;
    for (int& r : rank)
        r = r ? ++upper : 0;
    std::vector<std::uint16_t> s(m_article.size());
    for (qsizetype i = 0; i < m_article.size(); ++i)
        s[i] = static_cast<std::uint16_t>(rank[m_article.at(i).unicode()]);
    m_suffixes = inducedSort(s, std::max(upper, 0));
}

int ArticleIndex::compareSuffix(int start, QStringView piece) const
{
    const char16_t* a = QStringView(m_article).utf16() + start;
    const qsizetype available = m_article.size() - start;
    const qsizetype n = std::min(available, piece.size());
    const char16_t* b = piece.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return available < piece.size() ? -1 : 0;
}

std::vector<qsizetype> ArticleIndex::occurrences(QStringView piece) const
{
    if (piece.isEmpty())
        return {};
    const auto first = std::partition_point(m_suffixes.begin(), m_suffixes.end(),
                                            [&](int start) { return compareSuffix(start, piece) < 0; });
    const auto last = std::partition_point(first, m_suffixes.end(),
                                           [&](int start) { return compareSuffix(start, piece) == 0; });
    std::vector<qsizetype> starts(first, last);
    std::sort(starts.begin(), starts.end());
    return starts;
}

} // namespace comparator
