#pragma once

#include "comparator/ArticleIndex.h"
#include "comparator/Counts.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace comparator {

// One comparison, taken in the steps between which the window yields to the event loop: one step
// per reference piece and one per further occurrence of a piece. Every step raises the run's counts
// and the program's totals together. When the article changes between two steps, articleChanged()
// rebuilds the index, so the searches after it see the edit.
class MarkingRun
{
public:
    // Pieces shorter than this are never searched.
    static constexpr qsizetype kMinPieceLength = 6;

    MarkingRun(QStringList pieces, const QString& article, Counts& totals);

    bool finished() const { return !m_inPiece && m_nextPiece >= m_pieces.size(); }
    // Does the work up to the next yield; returns the mark it made, if any.
    std::optional<Mark> step();
    void articleChanged(const QString& article);

    const QString& article() const { return m_article; }
    const Counts& counts() const { return m_counts; }

private:
    std::optional<qsizetype> occurrenceFrom(qsizetype from) const;
    void finishPiece();

    QStringList m_pieces;
    qsizetype m_nextPiece = 0;
    // A piece with further occurrences still to mark: its index, its occurrences in the current
    // article (ascending, overlapping ones included) and where the next one may start.
    bool m_inPiece = false;
    qsizetype m_piece = 0;
    std::vector<qsizetype> m_occurrences;
    qsizetype m_from = 0;

    QString m_article;
    ArticleIndex m_index;
    Counts m_counts;
    Counts& m_totals;
};

} // namespace comparator
