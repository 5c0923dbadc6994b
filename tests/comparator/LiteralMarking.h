#pragma once

// The marking done literally: every piece searched by a scan of the article from its start, every
// further occurrence by a scan from the end of the previous one. The oracle for the indexed search.
#include "comparator/Counts.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace oracle {

struct LiteralMarking
{
    QList<comparator::Mark> marks;
    comparator::Counts counts;
};

inline LiteralMarking literalMarking(const QString& article, const QStringList& pieces)
{
    LiteralMarking out;
    for (const QString& piece : pieces) {
        if (piece.size() <= 5 || article.isEmpty())
            continue;
        qsizetype p = article.indexOf(piece, 0, Qt::CaseSensitive);
        if (p < 0)
            continue;
        const qsizetype length = piece.size();
        out.marks.append({p, length});
        out.counts.matchedChars += length;
        for (qsizetype q; (q = article.indexOf(piece, p + length, Qt::CaseSensitive)) >= 0;) {
            p = q;
            out.marks.append({p, length});
            ++out.counts.repeats;
        }
        ++out.counts.pieces;
    }
    return out;
}

} // namespace oracle
