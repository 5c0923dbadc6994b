#include "report/ReportFile.h"

#include "documents/Saving.h"

#include <QDir>
#include <QFileInfo>

namespace report {

const QString& htmlFilter()
{
    static const QString filter = QStringLiteral("网页文件 (*.html)");
    return filter;
}

const QString& pdfFilter()
{
    static const QString filter = QStringLiteral("PDF 文件 (*.pdf)");
    return filter;
}

ExportTarget exportTarget(const QString& chosenPath, const QString& chosenFilter)
{
    ExportTarget t{chosenPath, ReportKind::Html};
    const QString suffix = QFileInfo(chosenPath).suffix();
    if (chosenFilter == pdfFilter() ||
        (chosenFilter.isEmpty() && suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0))
        t.kind = ReportKind::Pdf;
    if (suffix.isEmpty()) {
        if (t.path.endsWith(u'.'))
            t.path.chop(1);
        t.path += t.kind == ReportKind::Pdf ? QLatin1String(".pdf") : QLatin1String(".html");
    }
    return t;
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

int removeLeftPrintFolders(const QString& tempDir, const QString& applicationName)
{
    int removed = 0;
    const QDir temp(tempDir);
    const QStringList folders =
        temp.entryList({applicationName + QStringLiteral("-??????")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& name : folders) {
        QDir folder(temp.filePath(name));
        const QStringList entries = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        if (entries == QStringList{QStringLiteral("report.html")} && folder.removeRecursively())
            ++removed;
    }
    return removed;
}

} // namespace report
