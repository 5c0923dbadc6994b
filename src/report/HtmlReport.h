#pragma once

#include "report/ReportData.h"

#include <QString>

namespace report {

// The report of a check as one self-contained HTML document (inline style, no script, no outside
// resource) that names every sentence with its figure and sources. Everything that came from a web
// page is escaped and isolated, and only http and https links are kept.
QString checkReportHtml(const CheckReportData& data);

} // namespace report
