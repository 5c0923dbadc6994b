#pragma once

// The title collection of the older result-page markup, kept as the oracle for pages in that markup:
// the page's exact title tags are replaced by markers and every odd block between two markers is a
// title, its text after the link-text start.
#include "search/PageScore.h"
#include "support/LiteralMarkedPage.h"

namespace search {

inline QList<Title> legacyTitles(const QString& pageHtml)
{
    const QString marker = QStringLiteral("<bbbbbbbb>");
    const QString linkTextStart = QStringLiteral("}\">");
    QList<Title> out;
    const QString marked = literalMarkedPage(pageHtml);
    const QStringList blocks = marked.split(marker);
    for (qsizetype b = 1; b < blocks.size() - 1 && out.size() < kResultsPerPage; b += 2) {
        Title t;
        t.html = blocks[b];
        const qsizetype start = t.html.indexOf(linkTextStart);
        if (start >= 0) {
            QString title = t.html.mid(start + linkTextStart.size());
            const qsizetype nextStart = title.indexOf(linkTextStart);
            if (nextStart >= 0)
                title = title.left(nextStart);
            const qsizetype end = title.indexOf(QStringLiteral("</a"));
            if (end >= 0)
                title = title.left(end);
            t.text = title;
        }
        out.append(t);
    }
    return out;
}

} // namespace search
