// The indexed search and the one-pass cut against the literal procedures they replace.
#include "comparator/ReferencePieces.h"
#include "support/Comparison.h"
#include "support/LiteralPasses.h"
#include "support/QtPrinters.h"
#include "text/TextRules.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Every piece searched by a scan of the article from its start, every further occurrence by a scan
// from the end of the previous one.
comparator::Comparison literalMarking(const QString& article, const QStringList& pieces)
{
    comparator::Comparison out;
    for (const QString& piece : pieces) {
        if (piece.size() <= 5 || article.isEmpty())
            continue;
        qsizetype p = article.indexOf(piece, 0, Qt::CaseSensitive);
        if (p < 0)
            continue;
        const qsizetype length = piece.size();
        out.marks.append({p, length});
        out.counts.matchedChars += length;
        for (qsizetype q; (q = article.indexOf(piece, p + length, Qt::CaseSensitive)) >= 0;) {
            p = q;
            out.marks.append({p, length});
            ++out.counts.repeats;
        }
        ++out.counts.pieces;
    }
    return out;
}

// The reference cut by fourteen replacements, one pass each, then a split at CR LF.
QStringList literalCut(const QString& reference)
{
    using text::kCrLf;
    QString t = reference;
    t.replace(QStringLiteral(","), QStringLiteral("，"));
    t.replace(QStringLiteral("，"), QStringLiteral("，") + kCrLf);
    t.replace(QStringLiteral("."), QStringLiteral("。"));
    t.replace(QStringLiteral("。"), QStringLiteral("。") + kCrLf);
    t.replace(QStringLiteral("！"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("!"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("？"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("?"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("……"), QStringLiteral("……") + kCrLf);
    oracle::literalStripBeforeBreaks(t);
    QStringList pieces;
    for (const QString& part : t.split(kCrLf)) {
        if (text::hasNonSpace(part))
            pieces.append(part);
    }
    return pieces;
}

// Material that makes pieces, cuts them and breaks lines, with half- and full-width punctuation.
const QStringList kTokens{
    QStringLiteral("a"),  QStringLiteral("b"),      QStringLiteral("ab"), QStringLiteral("中"),
    QStringLiteral("文"), QStringLiteral("论文"),   QStringLiteral("，"), QStringLiteral(","),
    QStringLiteral("。"), QStringLiteral("."),      QStringLiteral("！"), QStringLiteral("!"),
    QStringLiteral("？"), QStringLiteral("?"),      QStringLiteral("…"),  QStringLiteral("……"),
    QStringLiteral(" "),  QStringLiteral("\u3000"), QStringLiteral("\t"), QStringLiteral("\r\n"),
    QStringLiteral("；"), QStringLiteral("、"),
};
constexpr int kWords = 6; // the tokens before the punctuation

class Generator
{
public:
    explicit Generator(unsigned seed) : m_rng(seed) {}

    int below(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

    QString tokens(int count)
    {
        QString s;
        // Mostly words, so that pieces reach six characters; a narrow alphabet now and then gives
        // long repeats and overlapping occurrences.
        const bool narrow = below(3) == 0;
        for (int i = 0; i < count; ++i) {
            if (below(4) != 0)
                s += kTokens.at(below(narrow ? 2 : kWords));
            else
                s += kTokens.at(kWords + below(kTokens.size() - kWords));
        }
        return s;
    }

    // A short unit repeated: pieces cut from it occur overlapping in a longer run of it.
    QString periodic(const QString& unit, int times) { return unit.repeated(times); }

    // An article and a reference that share passages: chunks of one copied into the other, some
    // of them several times, some right after each other.
    std::pair<QString, QString> pair(int scale)
    {
        QString article = tokens(below(scale));
        QString reference;
        const int chunks = below(8);
        for (int i = 0; i < chunks; ++i) {
            if (!article.isEmpty() && below(2) == 0) {
                const int from = below(article.size());
                reference += article.mid(from, 1 + below(30));
            } else {
                reference += tokens(1 + below(scale / 4 + 1));
            }
            if (below(3) == 0 && !reference.isEmpty()) {
                const QString copy = reference.right(1 + below(std::min<int>(reference.size(), 20)));
                const int times = 1 + below(3);
                for (int t = 0; t < times; ++t)
                    article.insert(below(article.size() + 1), copy);
            }
        }
        if (below(3) == 0) {
            const QString unit =
                kTokens.at(below(kWords)) + (below(2) ? kTokens.at(below(kWords)) : QString());
            reference += QStringLiteral("\r\n") + periodic(unit, 3 + below(6)) + QStringLiteral("\r\n");
            article.insert(below(article.size() + 1), periodic(unit, 4 + below(20)));
        }
        return {article, reference};
    }

private:
    std::mt19937 m_rng;
};

TEST(ComparisonDifferential, IndexedSearchAgreesWithTheLiteralScan)
{
    Generator gen(20240601);
    int withMarks = 0;
    int withRepeats = 0;
    int withOverlaps = 0; // a further occurrence overlapping the previous one was skipped
    for (int round = 0; round < 4000; ++round) {
        const auto [article, reference] = gen.pair(round % 10 == 0 ? 600 : 80);
        comparator::Counts totals;
        const comparator::Comparison fast = comparator::compare(article, reference, false, totals);
        const comparator::Comparison slow = literalMarking(article, comparator::cutReference(reference));
        ASSERT_EQ(fast.marks, slow.marks)
            << "article " << article.toStdString() << "\nreference " << reference.toStdString();
        ASSERT_EQ(fast.counts, slow.counts);
        ASSERT_EQ(totals, slow.counts);
        withMarks += !slow.marks.isEmpty();
        withRepeats += slow.counts.repeats > 0;
        for (const comparator::Mark& m : slow.marks) {
            if (article.indexOf(article.mid(m.start, m.length), m.start + 1) < m.start + m.length &&
                article.indexOf(article.mid(m.start, m.length), m.start + 1) >= 0) {
                ++withOverlaps;
                break;
            }
        }
    }
    // The generator must reach the interesting cases, or the comparison proves little.
    EXPECT_GT(withMarks, 1000) << withRepeats;
    EXPECT_GT(withRepeats, 300) << withMarks;
    EXPECT_GT(withOverlaps, 200) << withOverlaps;
}

TEST(ReferenceCutDifferential, OnePassAgreesWithTheLiteralReplacements)
{
    // Whitespace runs of every length before line breaks, lone CR and LF, ellipsis runs.
    const QStringList extra{QStringLiteral("  "), QStringLiteral("\u3000\u3000"), QStringLiteral("\t\t"),
                            QStringLiteral("\r"), QStringLiteral("\n"),           QStringLiteral("………")};
    Generator gen(99);
    for (int round = 0; round < 5000; ++round) {
        QString reference;
        const int count = gen.below(40);
        for (int i = 0; i < count; ++i)
            reference += gen.below(3) == 0 ? extra.at(gen.below(extra.size())) : gen.tokens(1);
        ASSERT_EQ(comparator::cutReference(reference), literalCut(reference)) << reference.toStdString();
    }
}

} // namespace
