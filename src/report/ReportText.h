#pragma once

#include <QStringView>

#include <algorithm>

#include "report/ReportData.h"
#include "report/TitleLink.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The texts, titles and counts that the HTML report, the printed report and the results window
// share. Everything that came from a web page is isolated from its neighbours' text direction.
namespace report {

// How far the check got: sentences with a figure of the sentences to be searched, whether any is
// still to be searched or could not be read, and how many are listed but never searched, by reason.
struct Coverage
{
    qsizetype checked = 0;
    qsizetype total = 0;
    bool finished = true;
    QList<std::pair<analysis::PieceUse, qsizetype>> notSearched; // reasons with at least one piece
};
Coverage coverage(const search::CheckRecord& record);
// "已检测 N/M 句，检测完成" or "…，检测尚未完成", then "（另有 K 句不检测：过短 a 句、…）" when some
// pieces are never searched.
QString coverageText(const Coverage& c);
// The reasons a piece is listed and never searched, in the order reports name them.
const QList<analysis::PieceUse>& notSearchedUses();

// A title as the report shows it: at most kShownTitleLength characters, a longer one cut with "…".
inline constexpr qsizetype kShownTitleLength = 300;
QString shownTitle(const QString& title);
// A result title as the report and the results table show it: plain data only, its own text (else
// its markup's, else its link), cut as shownTitle cuts it, and its markup's link.
TitleLink titleOf(const search::Title& title);

// Control characters mean nothing in a report and some (NUL) break the HTML: all but tab and line
// feed go, wherever the text comes from.
bool droppedFromReport(QChar c);

// text as the report shows it where no markup can isolate it (the HTML title, the printed report):
// without control characters (all C0 but tab and line feed, DEL, C1; the HTML report drops them
// everywhere), and, when it holds a direction control, wrapped in a first-strong isolate with its own
// isolates balanced, so that no direction control in it reaches beyond it. Other text is returned as
// it is.
QString isolated(const QString& text);

// The article's first non-blank line, trimmed, at most 60 characters: the report's heading.
QString articleHeading(const QString& editorText);

// Shared by both forms of the report.
extern const QString kReportTitle;
extern const QString kEstimateNotice;
extern const QString kRunningNotice;
extern const QString kReusedLine; // %1: the number of sentences taken over

// The record's states in the order the report counts them, each with its name there. A state that
// could not be checked is also listed by its sentence numbers.
struct StateRow
{
    search::SentenceState state;
    QString name;
    bool listed;
};
const QList<StateRow>& stateRows();
bool hasFigure(search::SentenceState state);

qsizetype sentenceCount(const CheckReportData& d);
// The result titles a sentence shows: the first few with text or markup, as plain data.
QList<TitleLink> shownTitles(const search::SentenceEntry& e);
TitleLink siteTitle(const TitleCount& row);
// Sentences with a figure of at least minFigure, the highest first (equal figures in text order).
std::vector<int> rankedSentences(const CheckReportData& d, double minFigure);
QStringList serviceNames(const CheckReportData& d);
QString overallText(const search::CheckRecord& r);
QString similarityLabel(const search::SentenceEntry& e);

// Walks the sentences joined, cutting each at the article's paragraph ends: piece(i, text, first)
// for each part of sentence i (first: the part that starts it), paragraphEnd() between paragraphs.
template <typename Piece, typename ParagraphEnd>
void walkText(const CheckReportData& d, Piece piece, ParagraphEnd paragraphEnd)
{
    const qsizetype n = std::min(d.sentences.size(), d.record.size());
    const QList<qsizetype>& ends = d.paragraphEnds;
    qsizetype at = 0;
    qsizetype next = 0; // the first paragraph end not yet passed
    for (qsizetype i = 0; i < n; ++i) {
        const QString& s = d.sentences.at(i);
        const qsizetype end = at + s.size();
        qsizetype from = at;
        bool first = true;
        while (next < ends.size() && ends[next] <= at)
            ++next;
        while (next < ends.size() && ends[next] < end) {
            piece(i, QStringView(s).mid(from - at, ends[next] - from), first);
            first = false;
            paragraphEnd();
            from = ends[next++];
        }
        piece(i, QStringView(s).mid(from - at), first);
        if (next < ends.size() && ends[next] == end && i + 1 < n) {
            paragraphEnd();
            ++next;
        }
        at = end;
    }
}

} // namespace report
