#include "report/ReportData.h"

#include "report/ArticleParagraphs.h"
#include "search/CheckRun.h"

namespace report {

CheckReportData checkReportData(const search::CheckRun& run, const QString& editorText,
                                QList<TitleCount> sites, search::Engine chosen, const QString& program)
{
    CheckReportData d;
    d.record = run.record();
    d.sentences = run.sentences();
    d.paragraphEnds = paragraphEnds(editorText, run.articleText(), d.sentences);
    d.sites = std::move(sites);
    d.services = d.record.engines().isEmpty() ? QList<search::Engine>{chosen} : d.record.engines();
    d.program = program;
    d.running = run.isRunning();
    return d;
}

} // namespace report
