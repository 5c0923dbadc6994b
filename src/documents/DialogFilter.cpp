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

QString fileTypeName(const QString& suffix)
{
    static const struct
    {
        const char* suffix;
        const char16_t* name;
    } kNames[] = {
        {"doc", u"Word 文档"},         {"docx", u"Word 文档"}, {"wps", u"WPS 文字文档"},
        {"odt", u"OpenDocument 文本"}, {"rtf", u"写字板文件"}, {"txt", u"文本文件"},
        {"pdf", u"PDF 文件"},          {"html", u"网页文件"},  {"htm", u"网页文件"},
    };
    const QString lower = suffix.toLower();
    for (const auto& n : kNames) {
        if (lower == QLatin1String(n.suffix))
            return QString::fromUtf16(n.name);
    }
    return suffix.isEmpty() ? QStringLiteral("文件") : suffix.toUpper() + QStringLiteral(" 文件");
}

} // namespace documents
