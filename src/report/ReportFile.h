#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Writing an exported report.
namespace report {

enum class ReportKind { Html, Pdf };

// A name ending in .pdf gives a PDF, any other name an HTML file.
ReportKind reportKind(const QString& path);

// Writes the file atomically: an existing file is replaced only once the new one is complete, and a
// failed write leaves no partial file. Returns why it failed, in Chinese, or nothing on success.
std::optional<QString> saveReportFile(const QString& path, const QByteArray& bytes);

} // namespace report
