#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Where a sentence of the analysis stands in the editor's text, so that a window can show it there.
namespace analysis {

struct Place
{
    qsizetype start = 0;  // offset into the editor's text
    qsizetype length = 0; // editor characters it spans, line breaks and spaces inside included
    bool operator==(const Place&) const = default;
};

// The place of sentences[index] in editorText (CR LF line breaks). The sentences are looked for in
// their order, so a sentence that occurs more than once is found where the analysis cut it; the
// editor's line breaks and ASCII spaces, which analysis removed, are passed over. nullopt when the
// text no longer holds the sentence (the article was edited after the analysis).
std::optional<Place> sentencePlace(const QString& editorText, const QStringList& sentences, qsizetype index);

// sentencePlace for every index, in one walk.
QList<std::optional<Place>> sentencePlaces(const QString& editorText, const QStringList& sentences);

} // namespace analysis
