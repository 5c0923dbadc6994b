#pragma once

#include "platform/PrintedDocument.h"
#include "report/SiteTable.h"
#include "report/TitleLink.h"
#include "search/CheckRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The report of a check, in two forms made from the same data: one self-contained HTML document
// (inline style, no script, no outside resource) that names every sentence with its figure and
// sources, and a shorter printed document for the PDF that a reader reads through. Everything that
// came from a web page is escaped, isolated from its neighbours' text direction, and only http and
// https links are kept.
namespace report {

struct CheckReportData
{
    search::CheckRecord record;
    QStringList sentences;            // the analysis, in order
    QList<qsizetype> paragraphEnds;   // where the article's paragraphs end, as offsets into the
                                      // sentences joined; empty: the text is one block
    QList<TitleCount> sites;          // the site table as the window would show it now
    QList<search::Engine> services;   // the services searched; the chosen one when none was searched yet
    QDateTime madeAt;
    QString program;      // name and version
    bool running = false; // the automatic run is still going on
};

QString checkReportHtml(const CheckReportData& data);

// What the PDF holds: the summary, the legend, the whole text coloured by band with its sentence
// numbers, the sentences of kListedFigure or more with their first titles (highest first), the
// site table, and how many sentences the rest are.
printed::Document printedReport(const CheckReportData& data);
inline constexpr double kListedFigure = 20;

// How far the check got: sentences with a figure of all sentences, and whether any is still to be
// searched or could not be read.
struct Coverage
{
    qsizetype checked = 0;
    qsizetype total = 0;
    bool finished = true;
};
Coverage coverage(const search::CheckRecord& record);
// "已检测 N/M 句", with "，检测尚未完成" when unfinished.
QString coverageText(const Coverage& c);

// The paragraph ends of editorText (lines separated by CR LF) as offsets into sentences joined, when
// articleText is editorText normalised and sentences are the analysis of it; empty when the editor's
// text is no longer the one analysed.
QList<qsizetype> paragraphEnds(const QString& editorText, const QString& articleText,
                               const QStringList& sentences);

// A title as the report shows it: at most kShownTitleLength characters, a longer one cut with "…".
inline constexpr qsizetype kShownTitleLength = 300;
QString shownTitle(const QString& title);
// A result title as the report and the results table show it: plain data only, its own text (else
// its markup's, else its link), cut as shownTitle cuts it, and its markup's link.
TitleLink titleOf(const search::Title& title);

// text as the report shows it where no markup can isolate it (the HTML title, the printed report):
// without control characters (all C0 but tab and line feed, DEL, C1; the HTML report drops them
// everywhere), and, when it holds a direction control, wrapped in a first-strong isolate with its own
// isolates balanced, so that no direction control in it reaches beyond it. Other text is returned as
// it is.
QString isolated(const QString& text);

// The article's first non-blank line, trimmed, at most 60 characters: the report's heading.
QString articleHeading(const QString& editorText);

} // namespace report
