#pragma once

#include "platform/PrintedDocument.h"
#include "report/ReportData.h"

// The printed report, for the PDF that a reader reads through.
namespace report {

// What the PDF holds: the summary, the legend, the whole text coloured by band with its sentence
// numbers, the sentences of kListedFigure or more with their first titles (highest first), the
// site table, and how many sentences the rest are.
printed::Document printedReport(const CheckReportData& data);
inline constexpr double kListedFigure = 20;

} // namespace report
