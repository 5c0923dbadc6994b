#pragma once

// The reference cut literally: fourteen replacements, one pass each, then a split at CR LF. The
// oracle for the program's one-pass cut.
#include "support/LiteralPasses.h"
#include "text/TextRules.h"

#include <QString>
#include <QStringList>

namespace oracle {

inline QStringList literalCut(const QString& reference)
{
    using text::kCrLf;
    QString t = reference;
    t.replace(QStringLiteral(","), QStringLiteral("，"));
    t.replace(QStringLiteral("，"), QStringLiteral("，") + kCrLf);
    t.replace(QStringLiteral("."), QStringLiteral("。"));
    t.replace(QStringLiteral("。"), QStringLiteral("。") + kCrLf);
    t.replace(QStringLiteral("！"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("!"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("？"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("?"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("……"), QStringLiteral("……") + kCrLf);
    literalStripBeforeBreaks(t);

    QStringList pieces;
    for (const QString& part : t.split(kCrLf)) {
        if (text::hasNonSpace(part))
            pieces.append(part);
    }
    return pieces;
}

} // namespace oracle
