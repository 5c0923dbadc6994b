#include "report/ReportData.h"

#include "report/ArticleParagraphs.h"
#include "search/CheckRun.h"

namespace report {
namespace {

// Each piece as it stands in the article, with the spaces that follow it on its line, so that the
// pieces joined give the article's own lines; a paragraph ends where the next piece is on a later line.
void writersText(const search::CheckRun& run, CheckReportData& d)
{
    const QString& article = run.record().article();
    const QList<analysis::Place>& places = run.places();
    qsizetype joined = 0;
    for (qsizetype k = 0; k < places.size(); ++k) {
        const qsizetype start = places[k].start;
        qsizetype end = start + places[k].length;
        if (k + 1 < places.size()) {
            const qsizetype next = places[k + 1].start;
            const QStringView gap = QStringView(article).mid(end, next - end);
            if (gap.contains(u'\n'))
                d.paragraphEnds.append(joined + (end - start));
            else
                end = next;
        }
        d.sentences.append(article.mid(start, end - start));
        joined += end - start;
    }
}

} // namespace

CheckReportData checkReportData(const search::CheckRun& run, const QString& editorText,
                                QList<TitleCount> sites, search::Engine chosen, const QString& program)
{
    CheckReportData d;
    d.record = run.record();
    if (run.places().isEmpty()) {
        d.sentences = run.sentences();
        d.paragraphEnds = paragraphEnds(editorText, run.articleText(), d.sentences);
    } else {
        writersText(run, d);
    }
    d.sites = std::move(sites);
    d.services = d.record.engines().isEmpty() ? QList<search::Engine>{chosen} : d.record.engines();
    d.program = program;
    d.running = run.isRunning();
    return d;
}

} // namespace report
