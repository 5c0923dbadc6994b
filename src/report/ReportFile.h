#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Writing an exported report.
namespace report {

enum class ReportKind { Html, Pdf };

// The export dialog's filters, in the order it offers them.
const QString& htmlFilter();
const QString& pdfFilter();

struct ExportTarget
{
    QString path;
    ReportKind kind = ReportKind::Html;
    bool operator==(const ExportTarget&) const = default;
};

// Where and as what to write a report the user named in the export dialog. A typed extension .pdf or
// .html/.htm decides the format whatever the filter: it is the user's most explicit choice. Otherwise
// the chosen filter decides, and a name without extension gets the filter's; without either, HTML.
ExportTarget exportTarget(const QString& chosenPath, const QString& chosenFilter);

// The file the export dialog offers: beside the open document and named after it
// ("第三章-检测报告.html"); without one, the last export; else "检测报告.html" in home. A document's report
// takes the last export's kind (.pdf after a PDF).
QString offeredReportPath(const QString& documentPath, const QString& lastExport, const QString& home);

// Writes the file atomically: an existing file is replaced only once the new one is complete, and a
// failed write leaves no partial file. Returns why it failed, in Chinese, or nothing on success.
std::optional<QString> saveReportFile(const QString& path, const QByteArray& bytes);

// Earlier versions printed a PDF from a copy of the report in a temporary folder (named like
// "tessaro-Ab12Cd" and holding only report.html), which a crash during the print left behind. Removes
// such folders (the user's own, found directly in tempDir, with nothing else in them) and links under
// such names, following no link; returns how many went.
int removeLeftPrintFolders(const QString& tempDir, const QString& applicationName);

} // namespace report
