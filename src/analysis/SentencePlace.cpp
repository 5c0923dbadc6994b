#include "analysis/SentencePlace.h"

namespace analysis {

namespace {

bool removedByAnalysis(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u' ';
}

// The first place at or after from where sentence matches, passing over what analysis removed.
std::optional<Place> findFrom(const QString& text, const QString& sentence, qsizetype from)
{
    if (sentence.isEmpty())
        return std::nullopt;
    for (qsizetype start = from; start < text.size(); ++start) {
        if (text[start] != sentence[0])
            continue;
        qsizetype t = start;
        qsizetype s = 0;
        while (s < sentence.size() && t < text.size()) {
            if (text[t] == sentence[s]) {
                ++s;
                ++t;
            } else if (removedByAnalysis(text[t])) {
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
    if (index < 0 || index >= sentences.size())
        return std::nullopt;
    // Each earlier sentence found moves the start of the search past it; one not found (edited away)
    // leaves it where it was.
    qsizetype from = 0;
    for (qsizetype i = 0; i < index; ++i) {
        if (const auto place = findFrom(editorText, sentences[i], from))
            from = place->start + place->length;
    }
    if (auto place = findFrom(editorText, sentences[index], from))
        return place;
    // The text before it changed in a way the walk could not follow: its first occurrence then.
    return findFrom(editorText, sentences[index], 0);
}

} // namespace analysis
