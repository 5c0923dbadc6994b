#pragma once

#include "report/SiteTable.h"
#include "search/CheckRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The report of a check: one self-contained HTML document (inline style, no script, no outside
// resource) that names every sentence with its figure and sources. Everything that came from a web
// page is escaped and only http and https links are kept.
namespace report {

struct CheckReportData
{
    search::CheckRecord record;
    QStringList sentences;          // the analysis, in order
    QList<TitleCount> sites;               // the similar-website table as the statistics would show it now
    QList<search::Engine> services; // the services searched; the chosen one when none was searched yet
    QDateTime madeAt;
    QString program;      // name and version
    bool running = false; // the automatic run is still going on
};

QString checkReportHtml(const CheckReportData& data);

// The article's first non-blank line, trimmed, at most 60 characters: the report's heading.
QString articleHeading(const QString& editorText);

// The engine menu's name for a service.
QString serviceName(search::Engine engine);

} // namespace report
