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

} // namespace documents
