#pragma once

#include "report/SiteTable.h"
#include "search/CheckRecord.h"
#include "sources/LocalReport.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace search {
class CheckRun;
}

// What a report of the check is made from; the HTML and the printed report read the same data.
namespace report {

struct CheckReportData
{
    search::CheckRecord record;
    QStringList sentences;          // the analysis, in order
    QList<qsizetype> paragraphEnds; // where the article's paragraphs end, as offsets into the
                                    // sentences joined; empty: the text is one block
    QList<TitleCount> sites;        // the site table as the window would show it now
    QList<search::Engine> services; // the services searched; the chosen one when none was searched yet
    QDateTime madeAt;
    QString program;      // name and version
    bool running = false; // the automatic run is still going on
    // The last local check against the library of sources, when one was made: a section of its own,
    // apart from the web check's figures.
    std::optional<sources::LocalReport> local;
};

// The report's data as the run stands now: editorText is the article editor's text (for its
// paragraphs), chosen the engine the menu marks, program the window's name and version.
CheckReportData checkReportData(const search::CheckRun& run, const QString& editorText,
                                QList<TitleCount> sites, search::Engine chosen, const QString& program);

} // namespace report
