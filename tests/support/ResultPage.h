#pragma once

#include "search/Engines.h"
#include "search/QueryText.h"

#include <QStringList>

// A result page of the search service with enough counted text to be scored (600 double-byte
// characters), `highlighted` characters between the first two highlight markers, and one heading per
// title, linked to http://r.example/<title> and marked as the service marks its results.
inline QString resultPage(int highlighted, const QStringList& titles = {})
{
    QString html = QStringLiteral("<div>") + QString(600, QChar(u'页')) + QStringLiteral("</div><EM>") +
                   QString(highlighted, QChar(u'x')) + QStringLiteral("</EM><EM>");
    for (const QString& t : titles)
        html +=
            QStringLiteral("<h3 class=\"t\"><a href=\"http://r.example/%1\" data-click=\"{}\">%1</a></h3>")
                .arg(t);
    return html;
}

// The address the check searches for this sentence with the default engine.
inline QString searchUrlFor(const QString& sentence)
{
    return *search::searchUrl(search::Engine::Baidu, search::queryText(sentence));
}
