#pragma once

#include "platform/PrintedDocument.h"
#include "report/ReportData.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>

// The printed report, for the PDF that a reader reads through, and the article's paragraphs that
// both forms of the report lay the text out in.
namespace report {

// What the PDF holds: the summary, the legend, the whole text coloured by band with its sentence
// numbers, the sentences of kListedFigure or more with their first titles (highest first), the
// site table, and how many sentences the rest are.
printed::Document printedReport(const CheckReportData& data);
inline constexpr double kListedFigure = 20;

// The paragraph ends of editorText (lines separated by CR LF) as offsets into sentences joined, when
// articleText is editorText normalised and sentences are the analysis of it; empty when the editor's
// text is no longer the one analysed.
QList<qsizetype> paragraphEnds(const QString& editorText, const QString& articleText,
                               const QStringList& sentences);

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
