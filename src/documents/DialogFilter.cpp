#include "documents/DialogFilter.h"

namespace documents {

QStringList toQtFilters(const QString& pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString pattern = parts[i + 1].trimmed();
        pattern.replace(u';', u' '); // Windows separates patterns with ';', Qt with spaces
        if (pattern.isEmpty())
            continue;
        // Qt reads the patterns from the entry's closing parentheses; a description that already ends
        // with its patterns needs none added.
        if (description.endsWith(u'(' + pattern + u')'))
            filters.append(description);
        else
            filters.append(description + QStringLiteral(" (") + pattern + u')');
    }
    return filters;
}

QString combinedFilter(const QString& description, const QStringList& qtFilters)
{
    QStringList patterns;
    for (const QString& filter : qtFilters) {
        // Qt reads an entry's patterns from its last parentheses.
        const qsizetype open = filter.lastIndexOf(u'(');
        const qsizetype close = filter.lastIndexOf(u')');
        if (open < 0 || close < open)
            continue;
        for (const QString& p : filter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts)) {
            if (!patterns.contains(p))
                patterns.append(p);
        }
    }
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

} // namespace documents
