#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace comparator {

// A suffix array over the article's UTF-16 code units. Finding every occurrence of a piece costs a
// binary search over the suffixes instead of a scan of the whole article, which is what keeps a
// thesis against a long reference fast.
class ArticleIndex
{
public:
    ArticleIndex() = default;
    explicit ArticleIndex(QStringView article);

    // Start offsets of every occurrence of piece, overlapping ones included, ascending. Empty for
    // an empty piece.
    std::vector<qsizetype> occurrences(QStringView piece) const;

    // The suffix array itself: suffix starts in lexicographic order of code units.
    const std::vector<int>& suffixes() const { return m_suffixes; }

private:
    // <0, 0 or >0 as the suffix at start sorts before, begins with, or sorts after piece.
    int compareSuffix(int start, QStringView piece) const;

    QString m_article;
    std::vector<int> m_suffixes;
};

} // namespace comparator
