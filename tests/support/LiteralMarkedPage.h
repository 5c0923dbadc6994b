#pragma once

// The marking of a result page done literally: one replacement pass per tag, in order, as the legacy
// title reading marked a page.
#include <QString>

namespace search {

inline QString literalMarkedPage(const QString& pageHtml)
{
    const QString marker = QStringLiteral("<bbbbbbbb>");
    QString m = pageHtml;
    for (const char* tag : {"<H3 CLASS=\"T\">", "</H3>", "<h3 class=\"t\">", "</h3>"})
        m.replace(QLatin1String(tag), marker);
    for (const char* tag : {"<EM>", "<em>", "</EM>", "</em>"})
        m.remove(QLatin1String(tag));
    return m;
}

} // namespace search
