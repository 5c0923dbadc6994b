#include "sources/Alignment.h"
#include "sources/Fingerprints.h"
#include "sources/Tokens.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <set>
#include <tuple>

namespace {

using rows::PrintTo;

// The original characters of each token, so that a row reads as text.
QStringList tokenTexts(const QString& text)
{
    const sources::Tokens t = sources::tokenise(text);
    QStringList out;
    for (qsizetype i = 0; i < t.size(); ++i)
        out.append(text.mid(t.starts[i], t.ends[i] - t.starts[i]));
    return out;
}

struct TokenRow
{
    const char* name;
    QString text;
    QStringList tokens;
};

using TokenTable = ::testing::TestWithParam<TokenRow>;

TEST_P(TokenTable, KeepsPlacesInTheOriginal)
{
    EXPECT_EQ(tokenTexts(GetParam().text), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, TokenTable,
    ::testing::Values(
        TokenRow{"han_one_by_one_punctuation_dropped",
                 QStringLiteral("中文，研究。"),
                 {QStringLiteral("中"), QStringLiteral("文"), QStringLiteral("研"), QStringLiteral("究")}},
        TokenRow{"latin_word_and_number_one_token",
                 QStringLiteral("用 Python3 写"),
                 {QStringLiteral("用"), QStringLiteral("Python"), QStringLiteral("3"), QStringLiteral("写")}},
        TokenRow{"markers_dropped",
                 QStringLiteral("提高[3]效率［1，4］好[2-5]"),
                 {QStringLiteral("提"), QStringLiteral("高"), QStringLiteral("效"), QStringLiteral("率"),
                  QStringLiteral("好")}},
        TokenRow{"bracket_without_number_is_text", QStringLiteral("[ab]"), {QStringLiteral("ab")}},
        TokenRow{
            "surrogate_pair_one_token", QStringLiteral("𠀀字"), {QStringLiteral("𠀀"), QStringLiteral("字")}},
        TokenRow{"superscript_and_circled_dropped",
                 QStringLiteral("文¹字①"),
                 {QStringLiteral("文"), QStringLiteral("字")}}));

TEST(Tokens, FullWidthAndCaseFoldToTheSameValue)
{
    EXPECT_EQ(sources::tokenise(QStringLiteral("ＳＶＭ模型１２")).values,
              sources::tokenise(QStringLiteral("svm 模型 12")).values);
    EXPECT_NE(sources::tokenise(QStringLiteral("svm")).values,
              sources::tokenise(QStringLiteral("svn")).values);
}

QList<quint32> randomTokens(QRandomGenerator& random, int n, int alphabet)
{
    QList<quint32> out;
    for (int i = 0; i < n; ++i)
        out.append(0x4E00 + random.bounded(alphabet));
    return out;
}

// Winnowing's guarantee: two texts that share a run of k + w - 1 tokens share a kept fingerprint.
TEST(Winnowing, EveryLongEnoughCommonRunSharesAFingerprint)
{
    QRandomGenerator random(7);
    const int k = sources::kDefaultRun;
    for (int trial = 0; trial < 300; ++trial) {
        QList<quint32> a = randomTokens(random, 200, 3000);
        QList<quint32> b = randomTokens(random, 200, 3000);
        const int length = k + sources::kWindow - 1;
        const int from = random.bounded(200 - length);
        const int to = random.bounded(200 - length);
        for (int i = 0; i < length; ++i)
            b[to + i] = a[from + i];
        std::set<quint64> keptA;
        const QList<quint64> ha = sources::runHashes(a, k);
        for (qint32 place : sources::winnow(ha))
            keptA.insert(ha[place]);
        const QList<quint64> hb = sources::runHashes(b, k);
        bool shared = false;
        for (qint32 place : sources::winnow(hb))
            shared = shared || keptA.count(hb[place]);
        ASSERT_TRUE(shared) << "trial " << trial;
    }
}

TEST(Winnowing, KeepsAboutTwoInWPlusOne)
{
    QRandomGenerator random(3);
    const QList<quint64> hashes = sources::runHashes(randomTokens(random, 20000, 3000), sources::kDefaultRun);
    const double density = double(sources::winnow(hashes).size()) / hashes.size();
    EXPECT_NEAR(density, 2.0 / (sources::kWindow + 1), 0.05);
}

// The literal oracle: every pair of places that starts a common run of at least k tokens that cannot
// be extended to the left, with the run's full length.
std::set<std::tuple<int, int, int>> literalMatches(const QList<quint32>& a, const QList<quint32>& b, int k)
{
    std::set<std::tuple<int, int, int>> out;
    for (int i = 0; i < a.size(); ++i) {
        for (int j = 0; j < b.size(); ++j) {
            if (i > 0 && j > 0 && a[i - 1] == b[j - 1])
                continue;
            int n = 0;
            while (i + n < a.size() && j + n < b.size() && a[i + n] == b[j + n])
                ++n;
            if (n >= k)
                out.insert({i, j, n});
        }
    }
    return out;
}

TEST(Alignment, MaximalMatchesAgreeWithTheLiteralOracle)
{
    QRandomGenerator random(11);
    for (int trial = 0; trial < 200; ++trial) {
        // A small alphabet and copied stretches: repeats, overlaps and runs that touch.
        QList<quint32> a = randomTokens(random, 120, 4);
        QList<quint32> b = randomTokens(random, 120, 4);
        for (int copy = 0; copy < 3; ++copy) {
            const int length = 8 + random.bounded(30);
            const int from = random.bounded(120 - length);
            const int to = random.bounded(120 - length);
            for (int i = 0; i < length; ++i)
                b[to + i] = a[from + i];
        }
        const int k = 8;
        const sources::ArticleRuns runs(a, k);
        std::set<std::tuple<int, int, int>> found;
        for (const sources::Match& m : sources::maximalMatches(runs, b)) {
            EXPECT_EQ(m.articleEnd - m.articleStart, m.sourceEnd - m.sourceStart);
            found.insert({m.articleStart, m.sourceStart, m.articleEnd - m.articleStart});
        }
        ASSERT_EQ(found, literalMatches(a, b, k)) << "trial " << trial;
    }
}

struct JoinRow
{
    const char* name;
    QList<sources::Match> matches;
    QList<sources::Match> joined;
};

using JoinTable = ::testing::TestWithParam<JoinRow>;

TEST_P(JoinTable, JoinsSmallGapsOnBothSides)
{
    EXPECT_EQ(sources::joinMatches(GetParam().matches, 5), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(
    Alignment, JoinTable,
    ::testing::Values(
        JoinRow{"changed_character", {{0, 20, 100, 120}, {21, 40, 121, 140}}, {{0, 40, 100, 140}}},
        JoinRow{"inserted_in_article", {{0, 20, 0, 20}, {25, 40, 20, 35}}, {{0, 40, 0, 35}}},
        JoinRow{"gap_too_wide", {{0, 20, 0, 20}, {26, 40, 26, 40}}, {{0, 20, 0, 20}, {26, 40, 26, 40}}},
        JoinRow{"source_goes_back", {{0, 20, 50, 70}, {21, 40, 0, 19}}, {{0, 20, 50, 70}, {21, 40, 0, 19}}},
        JoinRow{"inside_a_longer_one", {{0, 40, 0, 40}, {10, 30, 200, 220}}, {{0, 40, 0, 40}}}));

} // namespace
