#pragma once

#include "platform/PrintedDocument.h"
#include "report/ReportData.h"

// The printed report, for the PDF that a reader reads through.
namespace report {

// What the PDF holds: the summary, the legend, the whole text coloured by band with its sentence
// numbers, the sentences of kListedFigure or more with their first titles and when each result was
// obtained (highest first), how many sentences the rest are, and the titles seen more than once.
printed::Document printedReport(const CheckReportData& data);
inline constexpr double kListedFigure = 20;

} // namespace report
