#include "analysis/SentencePlace.h"

#include <QHash>
#include <QList>

#include <algorithm>

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
    k.text.reserve(editorText.size());
    k.at.reserve(editorText.size());
    for (qsizetype i = 0; i < editorText.size(); ++i) {
        if (!removedByAnalysis(editorText[i])) {
            k.text.append(editorText[i]);
            k.at.append(i);
        }
    }
    return k;
}

quint32 keyAt(QStringView s, qsizetype i)
{
    return i + 1 < s.size() ? (quint32(s[i].unicode()) << 16) | s[i + 1].unicode() : quint32(s[i].unicode());
}

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

} // namespace

std::optional<Place> sentencePlace(const QString& editorText, const QStringList& sentences, qsizetype index)
{
    if (index < 0 || index >= sentences.size() || sentences[index].isEmpty())
        return std::nullopt;
    // Every occurrence of every sentence up to index, found in one pass over the text: looking for each
    // sentence in turn took a pass per sentence, seconds on a long text that no longer holds them.
    const Kept kept = keptOf(editorText);
    const QStringView text(kept.text);
    QHash<QStringView, qsizetype> ids;
    QList<qsizetype> idOf(index + 1, -1);
    QHash<quint32, QList<qsizetype>> byKey; // distinct sentences by their first two characters (or one)
    for (qsizetype i = 0; i <= index; ++i) {
        const QString& s = sentences[i];
        if (s.isEmpty() || std::any_of(s.cbegin(), s.cend(), removedByAnalysis))
            continue;
        auto it = ids.constFind(QStringView(s));
        if (it == ids.cend()) {
            it = ids.insert(QStringView(s), ids.size());
            byKey[keyAt(s, 0)].append(*it);
        }
        idOf[i] = *it;
    }
    QList<QStringView> distinct(ids.size());
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        distinct[*it] = it.key();
    QList<QList<qsizetype>> occurrences(ids.size()); // in the kept text, ascending
    for (qsizetype p = 0; p < text.size() && !byKey.isEmpty(); ++p) {
        for (const quint32 key : {keyAt(text, p), quint32(text[p].unicode())}) {
            if (const auto found = byKey.constFind(key); found != byKey.cend()) {
                for (const qsizetype id : *found) {
                    if (text.mid(p).startsWith(distinct[id]))
                        occurrences[id].append(p);
                }
            }
            if (p + 1 >= text.size())
                break; // one key only at the end
        }
    }

    auto find = [&](qsizetype i, qsizetype from) -> std::optional<Place> {
        if (idOf[i] < 0)
            return sentences[i].isEmpty() ? std::nullopt : findLiterally(editorText, sentences[i], from);
        const qsizetype keptFrom =
            std::lower_bound(kept.at.cbegin(), kept.at.cend(), from) - kept.at.cbegin();
        const QList<qsizetype>& occ = occurrences[idOf[i]];
        const auto p = std::lower_bound(occ.cbegin(), occ.cend(), keptFrom);
        if (p == occ.cend())
            return std::nullopt;
        const qsizetype start = kept.at[*p];
        return Place{start, kept.at[*p + sentences[i].size() - 1] + 1 - start};
    };
    // Each earlier sentence found moves the start of the search past it; one not found (edited away)
    // leaves it where it was.
    qsizetype from = 0;
    for (qsizetype i = 0; i < index; ++i) {
        if (const auto place = find(i, from))
            from = place->start + place->length;
    }
    if (auto place = find(index, from))
        return place;
    // The text before it changed in a way the walk could not follow: its first occurrence then.
    return find(index, 0);
}

} // namespace analysis
