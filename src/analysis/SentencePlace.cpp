#include "analysis/SentencePlace.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <array>
#include <vector>

namespace analysis {

namespace {

bool removedByAnalysis(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u' ';
}

// The editor's text without what analysis removed, and where each of its characters stands in the
// editor's text: a sentence matches there as a plain substring.
struct Kept
{
    QString text;
    QList<qsizetype> at;
};

Kept keptOf(const QString& editorText)
{
    Kept k;
    k.text.resize(editorText.size());
    k.at.resize(editorText.size());
    QChar* text = k.text.data();
    qsizetype* at = k.at.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < editorText.size(); ++i) {
        if (!removedByAnalysis(editorText[i])) {
            text[n] = editorText[i];
            at[n++] = i;
        }
    }
    k.text.truncate(n);
    k.at.resize(n);
    return k;
}

// Sentences are looked up by their first characters, up to kKeyLength of them packed exactly in 64
// bits (a shorter sentence is its key); a bit filter per key length spares most hash lookups.
constexpr qsizetype kKeyLength = 4;

quint64 keyAt(QStringView s, qsizetype i, qsizetype length)
{
    quint64 key = 0;
    for (qsizetype k = 0; k < length; ++k)
        key = (key << 16) | s[i + k].unicode();
    return key;
}

struct Level
{
    explicit Level(int shift) : shift(shift), filter((1 << shift) / 64) {}
    quint64 bit(quint64 key) const { return (key * 0x9E3779B97F4A7C15ULL) >> (64 - shift); }
    void add(quint64 key, qsizetype id)
    {
        ids[key].append(id);
        filter[bit(key) / 64] |= quint64(1) << (bit(key) % 64);
    }
    const QList<qsizetype>* find(quint64 key) const
    {
        if (!(filter[bit(key) / 64] & (quint64(1) << (bit(key) % 64))))
            return nullptr;
        const auto found = ids.constFind(key);
        return found == ids.cend() ? nullptr : &*found;
    }

    int shift;
    std::vector<quint64> filter;
    QHash<quint64, QList<qsizetype>> ids; // distinct sentences by their key
};

// The first place at or after from (an offset into the editor's text) where sentence matches, passing
// over what analysis removed: a literal walk, for the rare sentence that holds such a character.
std::optional<Place> findLiterally(const QString& text, const QString& sentence, qsizetype from)
{
    for (qsizetype start = from; start < text.size(); ++start) {
        qsizetype t = start;
        qsizetype s = 0;
        while (s < sentence.size() && t < text.size()) {
            if (text[t] == sentence[s]) {
                ++s;
                ++t;
            } else if (removedByAnalysis(text[t]) && s > 0) {
                ++t;
            } else {
                break;
            }
        }
        if (s == sentence.size())
            return Place{start, t - start};
    }
    return std::nullopt;
}

// Every occurrence of every sentence, found in one pass over the text: looking for each sentence in
// turn took a pass per sentence, seconds on a long text that no longer holds them.
struct Occurrences
{
    // Copies share the caller's data, which therefore cannot change while they are kept: the same data
    // is the same text.
    QString editorText;
    QStringList sentences;
    Kept kept;
    QList<qsizetype> idOf;               // per sentence; -1: looked for literally
    QList<QList<qsizetype>> occurrences; // per distinct sentence, in the kept text, ascending

    bool isOf(const QString& t, const QStringList& s) const
    {
        return t.constData() == editorText.constData() && t.size() == editorText.size() &&
               s.constData() == sentences.constData() && s.size() == sentences.size();
    }
};

Occurrences occurrencesOf(const QString& editorText, const QStringList& sentences)
{
    Occurrences o{editorText, sentences, keptOf(editorText), {}, {}};
    const QStringView text(o.kept.text);
    const qsizetype index = sentences.size() - 1;
    QHash<QStringView, qsizetype> ids;
    QList<qsizetype>& idOf = o.idOf;
    idOf.fill(-1, sentences.size());
    // By key length; the long sentences' filter is larger, as they are most of them.
    std::array<Level, kKeyLength> levels{Level(16), Level(16), Level(16), Level(20)};
    for (qsizetype i = 0; i <= index; ++i) {
        const QString& s = sentences[i];
        if (s.isEmpty() || std::any_of(s.cbegin(), s.cend(), removedByAnalysis))
            continue;
        auto it = ids.constFind(QStringView(s));
        if (it == ids.cend()) {
            it = ids.insert(QStringView(s), ids.size());
            const qsizetype length = std::min(s.size(), kKeyLength);
            const quint64 key = keyAt(s, 0, length);
            levels[length - 1].add(key, *it);
        }
        idOf[i] = *it;
    }
    QList<QStringView> distinct(ids.size());
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        distinct[*it] = it.key();
    QList<QList<qsizetype>>& occurrences = o.occurrences;
    occurrences.resize(ids.size());
    for (qsizetype p = 0; p < text.size(); ++p) {
        quint64 key = 0;
        for (qsizetype length = 1; length <= kKeyLength && p + length <= text.size(); ++length) {
            key = (key << 16) | text[p + length - 1].unicode();
            const QList<qsizetype>* found = levels[length - 1].find(key);
            if (!found)
                continue;
            if (length < kKeyLength) {
                occurrences[found->constFirst()].append(p); // the key is the whole sentence
                continue;
            }
            for (const qsizetype id : *found) {
                if (text.mid(p).startsWith(distinct[id]))
                    occurrences[id].append(p);
            }
        }
    }
    return o;
}

// The occurrences of a text and its analysis, built once: each double-click after the first, and the
// colouring of every sentence, only walk.
const Occurrences& occurrencesFor(const QString& editorText, const QStringList& sentences)
{
    thread_local Occurrences cached;
    if (!cached.isOf(editorText, sentences))
        cached = occurrencesOf(editorText, sentences);
    return cached;
}

// The first place of sentence i at or after from (an offset into the editor's text).
std::optional<Place> findFrom(const Occurrences& o, qsizetype i, qsizetype from)
{
    const QStringList& sentences = o.sentences;
    if (o.idOf[i] < 0)
        return sentences[i].isEmpty() ? std::nullopt : findLiterally(o.editorText, sentences[i], from);
    const Kept& kept = o.kept;
    const qsizetype keptFrom = std::lower_bound(kept.at.cbegin(), kept.at.cend(), from) - kept.at.cbegin();
    const QList<qsizetype>& occ = o.occurrences[o.idOf[i]];
    const auto p = std::lower_bound(occ.cbegin(), occ.cend(), keptFrom);
    if (p == occ.cend())
        return std::nullopt;
    const qsizetype start = kept.at[*p];
    return Place{start, kept.at[*p + sentences[i].size() - 1] + 1 - start};
}

} // namespace

std::optional<Place> sentencePlace(const QString& editorText, const QStringList& sentences, qsizetype index)
{
    if (index < 0 || index >= sentences.size() || sentences[index].isEmpty())
        return std::nullopt;
    const Occurrences& o = occurrencesFor(editorText, sentences);
    // Each earlier sentence found moves the start of the search past it; one not found (edited away)
    // leaves it where it was.
    qsizetype from = 0;
    for (qsizetype i = 0; i < index; ++i) {
        if (const auto place = findFrom(o, i, from))
            from = place->start + place->length;
    }
    if (auto place = findFrom(o, index, from))
        return place;
    // The text before it changed in a way the walk could not follow: its first occurrence then.
    return findFrom(o, index, 0);
}

QList<std::optional<Place>> sentencePlaces(const QString& editorText, const QStringList& sentences)
{
    QList<std::optional<Place>> places(sentences.size());
    const Occurrences& o = occurrencesFor(editorText, sentences);
    qsizetype from = 0;
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        if (sentences[i].isEmpty())
            continue;
        if (auto place = findFrom(o, i, from)) {
            from = place->start + place->length;
            places[i] = place;
        } else {
            places[i] = findFrom(o, i, 0);
        }
    }
    return places;
}

} // namespace analysis
