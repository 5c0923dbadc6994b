#pragma once

#include "analysis/SentencePlace.h"

#include <QList>
#include <QString>
#include <QStringList>

// Cutting the article at the ends of its sentences rather than at fixed positions: a piece never
// crosses a sentence end, and an unchanged sentence gives the same pieces after any edit elsewhere.
namespace analysis {

// Why a piece is or is not searched.
enum class PieceUse : quint8 {
    Searched,
    TooShort,  // its sentence has fewer than kShortestSearched characters: a search would match anything
    Reference, // an entry of the reference list: it always matches and would inflate the figure
    Contents,  // a line of the table of contents: headings, not the writer's prose
};

inline constexpr qsizetype kShortestSearched = 8;

struct SentencePieces
{
    QStringList pieces;      // every piece, also those not searched, in article order, as listed
    QStringList searchTexts; // one per piece: the piece without its citation markers
    QList<PieceUse> uses;    // one per piece
    QList<Place> places;     // one per piece: where it stands in the editor's text
};

// editorText separates lines with CR LF. A sentence ends after ；。！？ ! ? and …… and at every line
// break; it loses its outer white space and the ASCII spaces that do not separate two Latin words
// (those become one space). A longer one is cut into the fewest pieces of at most kSentenceLength
// UTF-16 units, of equal length within one unit where the text allows it: never inside a Latin word
// of at most that length, never inside a character outside the BMP, a space at a cut dropped. Lines
// of the table of contents and of reference lists are listed but not searched, and so is a
// sentence shorter than kShortestSearched without its citation markers.
SentencePieces cutSentences(const QString& editorText);

// The word that says why a piece is not searched ("过短", "目录", "参考文献"); empty for a searched one.
QString pieceUseName(PieceUse use);

} // namespace analysis
