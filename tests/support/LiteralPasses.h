#pragma once

// The passes that strip white space before line breaks, done literally: one replacement each, in
// order. Shared by the literal oracles of the analysis and of the comparator.
#include "text/TextRules.h"

#include <QString>

namespace oracle {

inline void literalStripBeforeBreaks(QString& t)
{
    using text::kCrLf;
    const QString ideo(1, QChar(text::kIdeographicSpace));
    t.replace(QStringLiteral("  ") + kCrLf, kCrLf);
    t.replace(QStringLiteral(" ") + kCrLf, kCrLf);
    t.replace(ideo + ideo + kCrLf, kCrLf);
    t.replace(ideo + kCrLf, kCrLf);
    t.replace(QStringLiteral("\t") + kCrLf, kCrLf);
}

} // namespace oracle
