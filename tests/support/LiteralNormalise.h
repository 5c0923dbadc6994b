#pragma once

// The normalisation of the article done literally, one replacement after the other, as an oracle
// for the one-pass version of the program.
#include "support/LiteralPasses.h"
#include "text/TextRules.h"

#include <QString>
#include <QStringList>

namespace oracle {

using text::kCrLf;

inline QString literalNormalise(const QString& editorText)
{
    QString t = editorText;

    // Sentence ends get a line break; half-width "!" and "?" become full-width on the way.
    t.replace(QStringLiteral("；"), QStringLiteral("；") + kCrLf);
    t.replace(QStringLiteral("。"), QStringLiteral("。") + kCrLf);
    t.replace(QStringLiteral("！"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("!"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("？"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("?"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("……"), QStringLiteral("……") + kCrLf);

    literalStripBeforeBreaks(t);

    QStringList kept;
    for (const QString& line : t.split(kCrLf))
        if (text::hasNonSpace(line))
            kept.append(line);
    t = kept.join(kCrLf);
    t.remove(kCrLf);
    t.remove(u' ');
    return t;
}

inline QStringList literalCut(const QString& articleText)
{
    if (articleText.isEmpty())
        return {};
    QString buffer;
    for (qsizetype i = 0; i < articleText.size(); i += 38) {
        buffer += articleText.mid(i, 38);
        if (i + 38 < articleText.size())
            buffer += QStringLiteral("|@|");
    }
    return buffer.split(QStringLiteral("|@|"));
}

} // namespace oracle
