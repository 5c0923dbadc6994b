#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Cutting the article at the ends of its sentences rather than at fixed positions: a piece never
// crosses a sentence end, and an unchanged sentence gives the same pieces after any edit elsewhere.
namespace analysis {

// Why a piece is or is not searched.
enum class PieceUse : quint8 {
    Searched,
    TooShort,  // fewer than kShortestSearched characters: a search would match anything
    Reference, // an entry of the reference list: it always matches and would inflate the figure
};

inline constexpr qsizetype kShortestSearched = 8;

struct SentencePieces
{
    QStringList pieces;   // every piece, also those not searched, in article order
    QList<PieceUse> uses; // one per piece
};

// editorText separates lines with CR LF. A sentence ends after ；。！？ ! ? and …… and at every line
// break; it loses its outer white space and its ASCII spaces; a longer one is cut into pieces of
// kSentenceLength UTF-16 units, the last one shorter; a cut that would split a character outside the
// BMP falls one unit earlier.
SentencePieces cutSentences(const QString& editorText);

// The word that says why a piece is not searched ("过短", "参考文献"); empty for a searched one.
QString pieceUseName(PieceUse use);

} // namespace analysis
