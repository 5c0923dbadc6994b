#include "comparator/ArticleIndex.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string_view>

namespace {

std::vector<int> naiveSuffixArray(const QString& s)
{
    std::vector<int> sa(s.size());
    std::iota(sa.begin(), sa.end(), 0);
    const std::u16string_view v(QStringView(s).utf16(), s.size());
    std::sort(sa.begin(), sa.end(), [&](int a, int b) { return v.substr(a) < v.substr(b); });
    return sa;
}

std::vector<qsizetype> naiveOccurrences(const QString& s, const QString& piece)
{
    std::vector<qsizetype> out;
    for (qsizetype i = 0; i + piece.size() <= s.size(); ++i) {
        if (QStringView(s).mid(i, piece.size()) == piece)
            out.push_back(i);
    }
    return out;
}

QString randomText(std::mt19937& rng, const std::vector<char16_t>& alphabet, int length)
{
    QString s;
    for (int i = 0; i < length; ++i)
        s += QChar(alphabet[rng() % alphabet.size()]);
    return s;
}

// Small alphabets give the long runs and repeats that exercise the recursion of the induced sort;
// 0 and 0xFFFF test the ends of the code-unit range.
const std::vector<std::vector<char16_t>> kAlphabets{
    {u'a'}, {u'a', u'b'}, {u'a', u'b', u'c'}, {0, 0xFFFF, u'中'}, {u'中', u'文', u'，', u'。', u'\r', u'\n'},
};

TEST(ArticleIndex, SuffixOrderMatchesANaiveSort)
{
    std::mt19937 rng(7);
    for (const auto& alphabet : kAlphabets) {
        for (int round = 0; round < 300; ++round) {
            const QString s = randomText(rng, alphabet, static_cast<int>(rng() % 60));
            ASSERT_EQ(comparator::ArticleIndex(s).suffixes(), naiveSuffixArray(s)) << s.toStdString();
        }
    }
    // A periodic text, and a long one with a long run.
    for (const QString& s : {QStringLiteral("abcabcabcabcabcabcabcabcab"),
                             randomText(rng, {u'a', u'b', u'中'}, 3000) + QString(310, u'a')})
        EXPECT_EQ(comparator::ArticleIndex(s).suffixes(), naiveSuffixArray(s));
}

TEST(ArticleIndex, OccurrencesIncludeOverlapsInOrder)
{
    std::mt19937 rng(3);
    for (const auto& alphabet : kAlphabets) {
        for (int round = 0; round < 200; ++round) {
            const QString s = randomText(rng, alphabet, static_cast<int>(rng() % 80));
            const comparator::ArticleIndex index(s);
            const QString piece = rng() % 2 && s.size() > 2 ? s.mid(rng() % s.size(), 1 + rng() % 4)
                                                            : randomText(rng, alphabet, 1 + rng() % 4);
            ASSERT_EQ(index.occurrences(piece), naiveOccurrences(s, piece))
                << s.toStdString() << " / " << piece.toStdString();
        }
    }
}

TEST(ArticleIndex, EdgeCases)
{
    EXPECT_TRUE(comparator::ArticleIndex(QString()).occurrences(QStringLiteral("a")).empty());
    const comparator::ArticleIndex index(QStringLiteral("aaaa"));
    EXPECT_TRUE(index.occurrences(QString()).empty());
    EXPECT_EQ(index.occurrences(QStringLiteral("aa")), (std::vector<qsizetype>{0, 1, 2}));
    EXPECT_TRUE(index.occurrences(QStringLiteral("aaaaa")).empty()); // longer than the article
    EXPECT_EQ(comparator::ArticleIndex(QStringLiteral("ab")).occurrences(QStringLiteral("b")),
              (std::vector<qsizetype>{1}));
}

} // namespace
