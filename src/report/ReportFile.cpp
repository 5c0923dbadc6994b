#include "report/ReportFile.h"

#include "documents/Saving.h"
#include "platform/TemporaryFiles.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

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
    auto is = [&suffix](const char* s) { return suffix.compare(QLatin1String(s), Qt::CaseInsensitive) == 0; };
    if (is("pdf"))
        t.kind = ReportKind::Pdf;
    else if (!is("html") && !is("htm") && chosenFilter == pdfFilter())
        t.kind = ReportKind::Pdf;
    if (suffix.isEmpty()) {
        if (t.path.endsWith(u'.'))
            t.path.chop(1);
        t.path += t.kind == ReportKind::Pdf ? QLatin1String(".pdf") : QLatin1String(".html");
    }
    return t;
}

QString offeredReportPath(const QString& documentPath, const QString& lastExport, const QString& home)
{
    const QString suffix = exportTarget(lastExport, QString()).kind == ReportKind::Pdf
                               ? QStringLiteral(".pdf")
                               : QStringLiteral(".html");
    if (!documentPath.isEmpty()) {
        const QFileInfo document(documentPath);
        return QDir(document.absolutePath())
            .filePath(document.completeBaseName() + QStringLiteral("-检测报告") + suffix);
    }
    if (!lastExport.isEmpty())
        return lastExport;
    return QDir(home).filePath(QStringLiteral("检测报告") + suffix);
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
    const QStringList names =
        temp.entryList({applicationName + QStringLiteral("-??????")},
                       QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        // Looked at without following links: a link under such a name goes itself, and a folder only
        // when it is the user's own and holds nothing but the report.
        const QFileInfo entry(temp.filePath(name));
        bool left = entry.isSymLink();
        if (!left && entry.isDir() && entry.ownerId() == ::geteuid()) {
            const QFileInfoList inside =
                QDir(entry.filePath())
                    .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
            left = inside.size() == 1 && inside.constFirst().fileName() == QLatin1String("report.html") &&
                   !inside.constFirst().isSymLink() && inside.constFirst().isFile();
        }
        if (left && tempfiles::removeEntry(tempDir, name))
            ++removed;
    }
    return removed;
}

} // namespace report
