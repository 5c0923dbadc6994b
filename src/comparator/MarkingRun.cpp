#include "comparator/MarkingRun.h"

#include <algorithm>

namespace comparator {

MarkingRun::MarkingRun(QStringList pieces, const QString& article, Counts& totals)
    : m_pieces(std::move(pieces)), m_article(article), m_index(article), m_totals(totals)
{
}

void MarkingRun::articleChanged(const QString& article)
{
    m_article = article;
    m_index = ArticleIndex(article);
    if (m_inPiece)
        m_occurrences = m_index.occurrences(m_pieces.at(m_piece));
}

std::optional<qsizetype> MarkingRun::occurrenceFrom(qsizetype from) const
{
    const auto it = std::lower_bound(m_occurrences.begin(), m_occurrences.end(), from);
    if (it == m_occurrences.end())
        return std::nullopt;
    return *it;
}

void MarkingRun::finishPiece()
{
    m_inPiece = false;
    ++m_counts.pieces;
    ++m_totals.pieces;
}

std::optional<Mark> MarkingRun::step()
{
    if (m_inPiece) {
        const qsizetype length = m_pieces.at(m_piece).size();
        // Searched again: the article may have changed while the window yielded.
        const std::optional<qsizetype> p = occurrenceFrom(m_from);
        if (!p) {
            finishPiece();
            return std::nullopt;
        }
        ++m_counts.repeats;
        ++m_totals.repeats;
        m_from = *p + length;
        if (!occurrenceFrom(m_from))
            finishPiece();
        return Mark{*p, length};
    }

    if (m_nextPiece >= m_pieces.size())
        return std::nullopt;
    const qsizetype index = m_nextPiece++;
    const QString& piece = m_pieces.at(index);
    if (piece.size() < kMinPieceLength || m_article.isEmpty())
        return std::nullopt;
    m_occurrences = m_index.occurrences(piece);
    const std::optional<qsizetype> p = occurrenceFrom(0);
    if (!p)
        return std::nullopt;
    m_counts.matchedChars += piece.size();
    m_totals.matchedChars += piece.size();
    m_piece = index;
    m_inPiece = true;
    m_from = *p + piece.size();
    if (!occurrenceFrom(m_from))
        finishPiece();
    return Mark{*p, piece.size()};
}

} // namespace comparator
