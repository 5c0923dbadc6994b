#include "search/QueryText.h"

#include "text/TextRules.h"

#include <QStringList>

namespace search {

QString queryText(const QString& sentence)
{
    QString q = text::trimSpaces(sentence);
    q.replace(u',', u'，');
    // One mark after the other, in this order; the commas of the first replacement become spaces too.
    static const QStringList toSpace{QStringLiteral("《"), QStringLiteral("》"), QStringLiteral("【"),
                                     QStringLiteral("】"), QStringLiteral("："), QStringLiteral("“"),
                                     QStringLiteral("”"),  QStringLiteral("……"), QStringLiteral("（"),
                                     QStringLiteral("）"), QStringLiteral("，")};
    for (const QString& mark : toSpace)
        q.replace(mark, QStringLiteral(" "));
    // A single pass: a run of three or four spaces becomes two.
    q.replace(QStringLiteral("  "), QStringLiteral(" "));
    q.replace(u'"', u' ');
    q.replace(u'！', u' ');
    q.replace(u'。', u' ');
    return q;
}

bool isBlankQuery(const QString& query)
{
    return query.isEmpty() || query == QStringLiteral(" ") || query == QStringLiteral("\uE003");
}

} // namespace search
