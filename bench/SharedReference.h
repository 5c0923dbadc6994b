#pragma once

#include "Article.h"

#include <QString>

#include <cstdint>

// A reference text of the given length of which about a third is passages copied from the
// article, the rest other text of the same kind.
inline QString makeSharedReference(const QString& article, qsizetype length, std::uint32_t seed = 777)
{
    const QString other = makeArticle(length, seed);
    QString out;
    out.reserve(length + 2000);
    XorShift next{seed};
    qsizetype otherPos = 0;
    while (out.size() < length) {
        const qsizetype passage = 200 + next() % 1000;
        if (next() % 3 == 0 && article.size() > passage) {
            out += article.mid(next() % (article.size() - passage), passage);
        } else {
            if (otherPos + passage > other.size())
                otherPos = 0;
            out += other.mid(otherPos, passage);
            otherPos += passage;
        }
    }
    out.truncate(length);
    return out;
}
