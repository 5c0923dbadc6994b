#include "report/ReportFile.h"

#include "documents/Saving.h"

#include <QDir>

namespace report {

ReportKind reportKind(const QString& path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? ReportKind::Pdf : ReportKind::Html;
}

std::optional<QString> saveReportFile(const QString& path, const QByteArray& bytes)
{
    // The same atomic write, and the same reasons, as a saved document.
    const std::optional<documents::SaveError> error = documents::writeFile(path, bytes);
    if (!error)
        return std::nullopt;
    return QStringLiteral("无法导出检测报告“%1”：%2")
        .arg(QDir::toNativeSeparators(path), documents::saveFailureReason(*error));
}

} // namespace report
