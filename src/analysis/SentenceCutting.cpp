#include "analysis/SentenceCutting.h"

#include "analysis/Analysis.h"
#include "analysis/ArticleStructure.h"
#include "text/TextRules.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace analysis {
namespace {

bool isOuterSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == text::kIdeographicSpace;
}

// Latin, Greek, Cyrillic text and ASCII signs, beside which an ASCII space separates words.
bool isLatinSide(QChar c)
{
    return c.unicode() < 0x2000 && !c.isSpace();
}

bool isWordChar(QChar c)
{
    return c.unicode() < 0x2000 && c.isLetterOrNumber();
}

// Where a piece ends and the next begins: the same place, or one past a space that a cut drops.
struct Cut
{
    qsizetype leftEnd;
    qsizetype rightStart;
};

// Scratch space kept between sentences.
struct CutSpace
{
    std::vector<char> allowed;
    std::vector<Cut> nodes;
    std::vector<qsizetype> chosen;
};

// Where a cut may fall: not inside a Latin word unless the word itself is too long, not inside a
// surrogate pair; at a space the space goes. True when it may fall everywhere.
bool markAllowedCuts(const QString& t, std::vector<char>& allowed)
{
    const qsizetype n = t.size();
    allowed.assign(n + 1, 1);
    bool everywhere = true;
    for (qsizetype i = 0; i < n;) {
        if (!isWordChar(t[i])) {
            if (t[i] == u' ' || (i > 0 && t[i].isLowSurrogate())) {
                everywhere = false;
                allowed[i] = t[i] == u' ';
            }
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && isWordChar(t[j]))
            ++j;
        if (j - i <= kSentenceLength && j - i > 1) {
            everywhere = false;
            for (qsizetype k = i + 1; k < j; ++k)
                allowed[k] = 0;
        }
        i = j;
    }
    return everywhere;
}

// Chinese text: every place is a word boundary, equal lengths.
void equalCuts(qsizetype n, qsizetype count, std::vector<Cut>& cuts)
{
    const qsizetype base = n / count;
    const qsizetype longer = n % count;
    qsizetype at = 0;
    for (qsizetype k = 0; k + 1 < count; ++k) {
        at += base + (k < longer ? 1 : 0);
        cuts.push_back({at, at});
    }
}

// Nodes: the start, every allowed cut, the end; a piece runs from a node's rightStart to a later
// node's leftEnd.
void collectNodes(const QString& t, const std::vector<char>& allowed, std::vector<Cut>& nodes)
{
    const qsizetype n = t.size();
    nodes.clear();
    nodes.push_back({0, 0});
    for (qsizetype p = 1; p < n; ++p) {
        if (t[p] == u' ') {
            if (t[p - 1] != u' ' && p + 1 < n && t[p + 1] != u' ')
                nodes.push_back({p, p + 1});
        } else if (t[p - 1] != u' ' && allowed[p]) {
            nodes.push_back({p, p});
        }
    }
    nodes.push_back({n, n});
}

qsizetype pieceLength(const std::vector<Cut>& nodes, qsizetype a, qsizetype b)
{
    return nodes[b].leftEnd - nodes[a].rightStart;
}

// The fewest pieces: the farthest reach from each node.
qsizetype fewestPieces(const std::vector<Cut>& nodes)
{
    const qsizetype m = static_cast<qsizetype>(nodes.size());
    qsizetype count = 0;
    for (qsizetype a = 0; a < m - 1; ++count) {
        qsizetype b = a + 1;
        while (b + 1 < m && pieceLength(nodes, a, b + 1) <= kSentenceLength)
            ++b;
        a = b;
    }
    return count;
}

// Mostly the allowed cut nearest to each place of an equal cut will do; false when it does not.
bool nearestCuts(const std::vector<Cut>& nodes, qsizetype n, qsizetype count, std::vector<qsizetype>& chosen,
                 std::vector<Cut>& cuts)
{
    const qsizetype m = static_cast<qsizetype>(nodes.size());
    chosen.assign(1, 0);
    for (qsizetype j = 1; j < count; ++j) {
        const qsizetype target = (j * n + count / 2) / count;
        const auto after = std::lower_bound(nodes.begin() + chosen.back() + 1, nodes.end() - 1, target,
                                            [](const Cut& c, qsizetype v) { return c.leftEnd < v; });
        qsizetype b = after - nodes.begin();
        if (b > chosen.back() + 1 && target - nodes[b - 1].leftEnd <= nodes[b].leftEnd - target)
            --b;
        chosen.push_back(std::min(b, m - 2));
    }
    chosen.push_back(m - 1);
    bool fits = true;
    for (size_t k = 1; k < chosen.size() && fits; ++k)
        fits = chosen[k] > chosen[k - 1] && pieceLength(nodes, chosen[k - 1], chosen[k]) <= kSentenceLength;
    if (!fits)
        return false;
    for (size_t k = 1; k + 1 < chosen.size(); ++k)
        cuts.push_back(nodes[chosen[k]]);
    return true;
}

// The most equal among the fewest: the least sum of squared differences from the mean.
void mostEqualCuts(const std::vector<Cut>& nodes, qsizetype n, qsizetype count, std::vector<Cut>& cuts)
{
    const qsizetype m = static_cast<qsizetype>(nodes.size());
    const double mean = static_cast<double>(n) / static_cast<double>(count);
    constexpr double kNone = std::numeric_limits<double>::infinity();
    std::vector<std::vector<double>> cost(count + 1, std::vector<double>(m, kNone));
    std::vector<std::vector<qsizetype>> from(count + 1, std::vector<qsizetype>(m, -1));
    cost[0][0] = 0;
    for (qsizetype j = 0; j < count; ++j) {
        for (qsizetype a = 0; a < m - 1; ++a) {
            if (cost[j][a] == kNone)
                continue;
            for (qsizetype b = a + 1; b < m && pieceLength(nodes, a, b) <= kSentenceLength; ++b) {
                const double d = static_cast<double>(pieceLength(nodes, a, b)) - mean;
                if (cost[j][a] + d * d < cost[j + 1][b]) {
                    cost[j + 1][b] = cost[j][a] + d * d;
                    from[j + 1][b] = a;
                }
            }
        }
    }
    if (from[count][m - 1] < 0) {
        // No way through (the cuts above always leave one): plain cuts of full length.
        for (qsizetype at = kSentenceLength; at < n; at += kSentenceLength)
            cuts.push_back({at, at});
        return;
    }
    for (qsizetype b = m - 1, j = count; j > 1; --j) {
        b = from[j][b];
        cuts.push_back(nodes[b]);
    }
    std::reverse(cuts.begin(), cuts.end());
}

// The fewest pieces of at most kSentenceLength, as equal as the allowed cuts let them be.
void cutsOf(const QString& t, std::vector<Cut>& cuts, CutSpace& space)
{
    const qsizetype n = t.size();
    cuts.clear();
    if (n <= kSentenceLength)
        return;
    if (markAllowedCuts(t, space.allowed)) {
        equalCuts(n, (n + kSentenceLength - 1) / kSentenceLength, cuts);
        return;
    }
    collectNodes(t, space.allowed, space.nodes);
    const qsizetype count = fewestPieces(space.nodes);
    if (!nearestCuts(space.nodes, n, count, space.chosen, cuts))
        mostEqualCuts(space.nodes, n, count, cuts);
}

class Cutter
{
public:
    Cutter(const QString& editorText, SentencePieces& out)
        : m_text(editorText), m_marker(editorText.size(), 0), m_out(out)
    {
        for (const MarkerSpan& m : citationMarkers(editorText))
            std::fill(m_marker.begin() + m.start, m_marker.begin() + m.end, 1);
    }

    void line(qsizetype start, qsizetype end, PieceUse lineUse)
    {
        m_lineUse = lineUse;
        m_lineStart = start;
        m_gathered.clear();
        for (qsizetype i = start; i < end; ++i) {
            const QChar c = m_text[i];
            bool ends = true;
            switch (c.unicode()) {
            case u'；':
            case u'。':
            case u'！':
            case u'？':
            case u'!':
            case u'?':
                m_gathered.push_back(i);
                break;
            case u'.':
                // A full stop of Latin text: before a space and a capital, another script or the end.
                m_gathered.push_back(i);
                ends = latinSentenceEnds(i, end);
                break;
            case u'…':
                m_gathered.push_back(i);
                ends = i + 1 < end && m_text[i + 1] == u'…';
                if (ends)
                    m_gathered.push_back(++i);
                break;
            default:
                m_gathered.push_back(i);
                ends = false;
            }
            if (ends)
                sentence();
        }
        sentence();
    }

private:
    // The character at a place as the piece shows it: ! and ? become full-width, as the marks are.
    QChar shown(qsizetype at) const
    {
        const QChar c = m_text[at];
        return c == u'!' ? QChar(u'！') : c == u'?' ? QChar(u'？') : c;
    }

    bool latinSentenceEnds(qsizetype i, qsizetype end) const
    {
        if (i == 0 || !m_text[i - 1].isLetterOrNumber() || m_text[i - 1].unicode() >= 0x2000)
            return false;
        // The number of a heading or a list entry ("6. References") is no sentence.
        qsizetype k = m_lineStart;
        while (k < i && (m_text[k].isDigit() || m_text[k] == u'.' || isOuterSpace(m_text[k])))
            ++k;
        if (k == i)
            return false;
        if (i + 1 == end)
            return true;
        if (m_text[i + 1] != u' ')
            return false;
        qsizetype j = i + 1;
        while (j < end && m_text[j] == u' ')
            ++j;
        return j == end || m_text[j].isUpper() || m_text[j].unicode() >= 0x2E80;
    }

    void sentence()
    {
        const std::vector<qsizetype>& g = m_gathered;
        size_t begin = 0;
        size_t end = g.size();
        while (begin < end && isOuterSpace(m_text[g[begin]]))
            ++begin;
        while (end > begin && isOuterSpace(m_text[g[end - 1]]))
            --end;
        // ASCII spaces go, but one stays between two Latin words.
        m_kept.resize(static_cast<qsizetype>(end - begin));
        m_keptAt.resize(end - begin);
        QChar* kept = m_kept.data();
        qsizetype n = 0;
        for (size_t i = begin; i < end; ++i) {
            const QChar c = shown(g[i]);
            if (c != u' ') {
                kept[n] = c;
                m_keptAt[n++] = g[i];
                continue;
            }
            size_t j = i;
            while (j < end && m_text[g[j]] == u' ')
                ++j;
            if (n > 0 && j < end && isLatinSide(kept[n - 1]) && isLatinSide(m_text[g[j]])) {
                kept[n] = u' ';
                m_keptAt[n++] = g[i];
            }
            i = j - 1;
        }
        m_kept.truncate(n);
        m_keptAt.resize(n);
        m_gathered.clear();
        if (m_kept.isEmpty())
            return;

        PieceUse use = m_lineUse;
        if (use == PieceUse::Searched && searchLength() < kShortestSearched)
            use = PieceUse::TooShort;
        qsizetype from = 0;
        cutsOf(m_kept, m_cuts, m_space);
        for (const Cut& cut : m_cuts) {
            piece(from, cut.leftEnd, use);
            from = cut.rightStart;
        }
        piece(from, m_kept.size(), use);
    }

    // How long the whole sentence's search text is, up to kShortestSearched.
    qsizetype searchLength() const
    {
        qsizetype n = 0;
        for (qsizetype i = 0; i < m_kept.size() && n < kShortestSearched; ++i)
            n += m_marker[m_keptAt[i]] ? 0 : 1;
        return n < kShortestSearched ? searchText(0, m_kept.size()).size() : n;
    }

    QString searchText(qsizetype from, qsizetype to) const
    {
        QString s;
        s.reserve(to - from);
        for (qsizetype i = from; i < to; ++i) {
            if (m_marker[m_keptAt[i]])
                continue;
            // A marker taken out between two words leaves one space.
            if (m_kept[i] == u' ' && (s.isEmpty() || s.back() == u' '))
                continue;
            // ...and none before the punctuation that followed the marker: "matters (Li, 2019)." ->
            // "matters."
            if (s.endsWith(u' ') && QStringView(u".,;:!?").contains(m_kept[i]) && m_marker[m_keptAt[i - 1]])
                s.chop(1);
            s.append(m_kept[i]);
        }
        if (s.endsWith(u' '))
            s.chop(1);
        return s;
    }

    void piece(qsizetype from, qsizetype to, PieceUse use)
    {
        if (from >= to)
            return;
        QString piece = m_kept.mid(from, to - from);
        bool marked = false;
        for (qsizetype i = from; i < to && !marked; ++i)
            marked = m_marker[m_keptAt[i]];
        m_out.searchTexts.append(marked ? searchText(from, to) : piece);
        m_out.pieces.append(std::move(piece));
        m_out.uses.append(use);
        m_out.places.append({m_keptAt[from], m_keptAt[to - 1] + 1 - m_keptAt[from]});
    }

    const QString& m_text;
    std::vector<char> m_marker; // per place of the text: inside a citation marker
    SentencePieces& m_out;
    PieceUse m_lineUse = PieceUse::Searched;
    qsizetype m_lineStart = 0;
    std::vector<qsizetype> m_gathered; // places of the sentence's characters
    QString m_kept;                    // the sentence as listed
    std::vector<qsizetype> m_keptAt;   // the place of each of its characters
    std::vector<Cut> m_cuts;
    CutSpace m_space;
};

} // namespace

SentencePieces cutSentences(const QString& editorText)
{
    SentencePieces out;
    // About one piece in twenty characters: the lists grow once or twice, not at every power of two.
    const qsizetype expected = editorText.size() / 20 + 16;
    out.pieces.reserve(expected);
    out.searchTexts.reserve(expected);
    out.uses.reserve(expected);
    out.places.reserve(expected);
    const QList<ArticleRegion> regions = articleRegions(editorText);
    qsizetype region = 0;
    Cutter cutter(editorText, out);
    qsizetype start = 0;
    while (start <= editorText.size()) {
        qsizetype end = editorText.indexOf(u'\n', start);
        if (end < 0)
            end = editorText.size();
        const qsizetype next = end + 1;
        if (end > start && editorText[end - 1] == u'\r')
            --end;
        while (region < regions.size() && regions[region].end < start)
            ++region;
        PieceUse use = PieceUse::Searched;
        if (region < regions.size() && regions[region].start <= start)
            use = regions[region].kind == ArticleRegion::Kind::Contents ? PieceUse::Contents
                                                                        : PieceUse::Reference;
        cutter.line(start, end, use);
        start = next;
    }
    return out;
}

QString pieceUseName(PieceUse use)
{
    switch (use) {
    case PieceUse::TooShort:
        return QStringLiteral("过短");
    case PieceUse::Reference:
        return QStringLiteral("参考文献");
    case PieceUse::Contents:
        return QStringLiteral("目录");
    case PieceUse::Searched:
        break;
    }
    return QString();
}

} // namespace analysis
