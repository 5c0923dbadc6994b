#include "sources/LocalCheck.h"

#include "sources/Alignment.h"
#include "sources/ArticleParts.h"
#include "sources/Chapters.h"
#include "sources/Citations.h"

#include <QHash>

#include <algorithm>
#include <memory>

namespace sources {
namespace {

// A piece of a passage left by a cut (at a quotation or an excluded part) shorter than this is noise.
constexpr qint32 kMinPieceTokens = 4;

struct Piece
{
    Match match;
    qint64 source;
    const Tokens* sourceTokens;
    bool cited;
};

// Marks each UTF-16 position inside spans.
std::vector<char> spanMask(qsizetype size, const QList<Span>& spans)
{
    std::vector<char> mask(static_cast<size_t>(size), 0);
    for (const Span& s : spans) {
        for (qsizetype i = std::max<qsizetype>(s.start, 0); i < std::min(s.end, size); ++i)
            mask[static_cast<size_t>(i)] = 1;
    }
    return mask;
}

qint64 codePoints(const QString& text, qsizetype from, qsizetype to)
{
    qint64 n = 0;
    for (qsizetype i = from; i < to; ++i)
        n += !text[i].isLowSurrogate();
    return n;
}

} // namespace

QList<quint64> fingerprintKeys(const Tokens& tokens)
{
    const QList<quint64> hashes = runHashes(tokens.values, kIndexRun);
    QList<quint64> keys;
    for (qint32 place : winnow(hashes))
        keys.append(fingerprintKey(hashes[place]));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

void SourceIndex::add(qint64 source, std::span<const quint64> keys)
{
    const quint64 place = static_cast<quint64>(m_ids.size());
    m_ids.append(source);
    for (quint64 key : keys)
        m_postings.push_back((key << kPlaceBits) | place);
}

void SourceIndex::finish()
{
    // A directory by the fingerprint's top bits, so that a look-up reads a few postings rather than
    // searching millions; the postings are placed by it (a counting sort, where one sort of millions
    // took most of a library's loading) and sorted within each bucket.
    auto bucketOf = [](quint64 posting) { return posting >> (64 - kBucketBits); };
    m_buckets.assign((1u << kBucketBits) + 1, 0);
    for (quint64 posting : m_postings)
        ++m_buckets[bucketOf(posting) + 1];
    for (size_t i = 1; i < m_buckets.size(); ++i)
        m_buckets[i] += m_buckets[i - 1];
    std::vector<quint64> placed(m_postings.size());
    std::vector<quint32> next(m_buckets.begin(), m_buckets.end() - 1);
    for (quint64 posting : m_postings)
        placed[next[bucketOf(posting)]++] = posting;
    m_postings = std::move(placed);
    for (size_t i = 0; i + 1 < m_buckets.size(); ++i) {
        if (m_buckets[i + 1] - m_buckets[i] > 1)
            std::sort(m_postings.begin() + m_buckets[i], m_postings.begin() + m_buckets[i + 1]);
    }
}

QList<qint64> SourceIndex::candidates(const QList<quint64>& keys, int boilerplate) const
{
    QList<qint64> out;
    if (m_buckets.empty())
        return out;
    std::vector<int> shared(static_cast<size_t>(m_ids.size()), 0);
    for (quint64 key : keys) {
        const quint64 bucket = key >> (kKeyBits - kBucketBits);
        const auto begin = m_postings.begin() + m_buckets[bucket];
        const auto end = m_postings.begin() + m_buckets[bucket + 1];
        const quint64 low = key << kPlaceBits;
        const auto first = std::lower_bound(begin, end, low);
        const auto last = std::lower_bound(first, end, low + (1ULL << kPlaceBits));
        if (first == last || last - first > boilerplate)
            continue;
        for (auto it = first; it != last; ++it)
            ++shared[*it & ((1ULL << kPlaceBits) - 1)];
    }
    QList<std::pair<int, qsizetype>> order;
    for (size_t i = 0; i < shared.size(); ++i) {
        if (shared[i] > 0)
            order.append({-shared[i], static_cast<qsizetype>(i)});
    }
    std::sort(order.begin(), order.end());
    for (const auto& [count, place] : order)
        out.append(m_ids[place]);
    return out;
}

namespace {

// The article as the check reads it: its tokens, and which of its places are excluded or cited.
struct CheckedArticle
{
    const QString& text;
    Tokens tokens;
    std::vector<char> excluded;
    std::vector<char> cited;
};

CheckedArticle readArticle(const QString& article)
{
    const ArticleParts parts = articleParts(article);
    return {article, tokenise(article), spanMask(article.size(), parts.excluded),
            spanMask(article.size(), citedSpans(article, referenceEntries(article, parts.references)))};
}

// Every run of the article, not only the winnowed ones the library keeps.
QList<quint64> articleKeys(const Tokens& tokens)
{
    QList<quint64> keys;
    for (quint64 hash : runHashes(tokens.values, kIndexRun))
        keys.append(fingerprintKey(hash));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

// Each exact passage cut where it enters or leaves an excluded part or a cited quotation, then joined
// over light edits with its own kind only: a quotation never grows into the words before it.
void addPieces(const CheckedArticle& a, const QList<Match>& matches, qint64 source,
               const Tokens* sourceTokens, QList<Piece>& pieces)
{
    const auto classOf = [&](qint32 t) {
        const auto at = static_cast<size_t>(a.tokens.starts[t]);
        return a.excluded[at] ? 2 : a.cited[at] ? 1 : 0;
    };
    QList<Match> byKind[2];
    for (const Match& m : matches) {
        qint32 begin = m.articleStart;
        while (begin < m.articleEnd) {
            const int kind = classOf(begin);
            qint32 end = begin + 1;
            while (end < m.articleEnd && classOf(end) == kind)
                ++end;
            const bool whole = begin == m.articleStart && end == m.articleEnd;
            if (kind != 2 && (whole || end - begin >= kMinPieceTokens)) {
                const qint32 shift = begin - m.articleStart;
                byKind[kind].append(
                    {begin, end, m.sourceStart + shift, m.sourceStart + shift + (end - begin)});
            }
            begin = end;
        }
    }
    for (int kind = 0; kind < 2; ++kind) {
        for (const Match& m : joinMatches(byKind[kind]))
            pieces.append({m, source, sourceTokens, kind == 1});
    }
}

// What the passages taken so far cover of the article (1 copied, 2 cited), and how much each source gave.
struct ArticleCover
{
    std::vector<char> covered;
    QHash<qint64, qint64> perSource;
};

// Takes the article tokens a0 to a1 of piece p as a passage, counting the characters no longer one covers.
void takePassage(const CheckedArticle& a, const Piece& p, qint32 a0, qint32 a1, ArticleCover& cover,
                 CheckResult& result)
{
    Passage passage;
    passage.start = a.tokens.starts[a0];
    passage.end = a.tokens.ends[a1 - 1];
    passage.source = p.source;
    passage.cited = p.cited;
    const Tokens& st = *p.sourceTokens;
    const qint32 s0 = std::clamp(p.match.sourceStart + (a0 - p.match.articleStart), p.match.sourceStart,
                                 p.match.sourceEnd - 1);
    const qint32 s1 = std::clamp(p.match.sourceEnd - (p.match.articleEnd - a1), s0 + 1, p.match.sourceEnd);
    passage.sourceStart = st.starts[s0];
    passage.sourceEnd = st.ends[s1 - 1];
    qint64 counted = 0;
    for (qsizetype i = passage.start; i < passage.end; ++i) {
        if (cover.covered[static_cast<size_t>(i)] || a.excluded[static_cast<size_t>(i)])
            continue;
        cover.covered[static_cast<size_t>(i)] = p.cited ? 2 : 1;
        counted += !a.text[i].isLowSurrogate();
    }
    (p.cited ? result.citedChars : result.copiedChars) += counted;
    cover.perSource[p.source] += counted;
    result.passages.append(passage);
}

void takePassages(const CheckedArticle& a, QList<Piece>& pieces, int run, ArticleCover& cover,
                  CheckResult& result)
{
    // Longest first: each character goes to the longest passage that covers it.
    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& x, const Piece& y) {
        return x.match.articleEnd - x.match.articleStart > y.match.articleEnd - y.match.articleStart;
    });
    const auto isCovered = [&](qint32 t) {
        return cover.covered[static_cast<size_t>(a.tokens.starts[t])] != 0;
    };
    for (const Piece& p : pieces) {
        // What longer passages left of this one, each stretch on its own; a stretch shorter than a
        // run (or than the whole, for a short piece) is inside them.
        const qint32 least = std::min<qint32>(run, p.match.articleEnd - p.match.articleStart);
        qint32 a0 = p.match.articleStart;
        while (a0 < p.match.articleEnd) {
            if (isCovered(a0)) {
                ++a0;
                continue;
            }
            qint32 a1 = a0 + 1;
            while (a1 < p.match.articleEnd && !isCovered(a1))
                ++a1;
            if (a1 - a0 >= least)
                takePassage(a, p, a0, a1, cover, result);
            a0 = a1;
        }
    }
    std::sort(result.passages.begin(), result.passages.end(),
              [](const Passage& x, const Passage& y) { return x.start < y.start; });
}

void addShares(const QHash<qint64, qint64>& perSource, CheckResult& result)
{
    const double total = static_cast<double>(std::max<qint64>(result.articleChars, 1));
    result.ratio = (result.copiedChars + result.citedChars) / total;
    result.ratioWithoutCited = result.copiedChars / total;
    for (auto it = perSource.cbegin(); it != perSource.cend(); ++it) {
        if (it.value() > 0)
            result.sources.append({it.key(), it.value(), it.value() / total});
    }
    std::sort(result.sources.begin(), result.sources.end(), [](const SourceFigure& x, const SourceFigure& y) {
        return x.chars != y.chars ? x.chars > y.chars : x.source < y.source;
    });
    if (!result.sources.isEmpty())
        result.largestSourceRatio = result.sources.front().ratio;
}

void addChapterShares(const QString& article, const std::vector<char>& covered, CheckResult& result)
{
    for (const Chapter& c : chapters(article)) {
        ChapterFigure f{c.title, c.start, c.end, codePoints(article, c.start, c.end), 0, 0, 0};
        for (qsizetype i = c.start; i < c.end; ++i) {
            if (article[i].isLowSurrogate())
                continue;
            f.copied += covered[static_cast<size_t>(i)] == 1;
            f.cited += covered[static_cast<size_t>(i)] == 2;
        }
        f.ratio = f.chars > 0 ? static_cast<double>(f.copied + f.cited) / f.chars : 0;
        result.chapters.append(f);
    }
}

} // namespace

CheckResult check(const QString& article, const SourceIndex& index, const SourceTexts& texts,
                  const CheckOptions& options, const std::atomic<bool>* cancel)
{
    CheckResult result;
    result.articleChars = codePoints(article, 0, article.size());
    const int run = std::clamp(options.run, kMinRun, kMaxRun);
    const CheckedArticle a = readArticle(article);
    const QList<qint64> candidates = index.candidates(articleKeys(a.tokens), options.boilerplate);
    result.sourcesCompared = static_cast<int>(candidates.size());

    const ArticleRuns runs(a.tokens.values, run);
    std::vector<std::unique_ptr<Tokens>> sourceTokens; // of the sources that gave passages
    auto st = std::make_unique<Tokens>();              // reused while a source gives none
    QList<quint64> hashes;
    QList<Piece> pieces;
    for (qint64 source : candidates) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            return result;
        }
        const QString text = texts(source);
        if (text.isEmpty())
            continue;
        tokenise(text, *st);
        const qsizetype before = pieces.size();
        addPieces(a, maximalMatches(runs, st->values, hashes), source, st.get(), pieces);
        if (pieces.size() > before) {
            sourceTokens.push_back(std::move(st));
            st = std::make_unique<Tokens>();
        }
    }
    ArticleCover cover{std::vector<char>(static_cast<size_t>(article.size()), 0), {}};
    takePassages(a, pieces, run, cover, result);
    addShares(cover.perSource, result);
    addChapterShares(article, cover.covered, result);
    return result;
}

} // namespace sources
