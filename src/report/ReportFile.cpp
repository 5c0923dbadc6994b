#include "report/ReportFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace report {
namespace {

QString failure(const QString& path, const QString& why, const QString& systemText)
{
    QString text = QStringLiteral("无法导出检测报告“%1”：%2").arg(QDir::toNativeSeparators(path), why);
    if (!systemText.isEmpty())
        text += QStringLiteral("（系统提示：%1）").arg(systemText);
    return text;
}

} // namespace

ReportKind reportKind(const QString& path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? ReportKind::Pdf : ReportKind::Html;
}

std::optional<QString> saveReportFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return failure(path, QStringLiteral("所在的文件夹不存在。"), QString());
    if (info.isDir())
        return failure(path, QStringLiteral("这是一个文件夹的名字。"), QString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, QStringLiteral("无法创建文件，可能没有写入这个文件夹的权限。"),
                       file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString systemText = file.errorString();
        file.cancelWriting();
        return failure(path, QStringLiteral("写入时出错，磁盘可能已满。"), systemText);
    }
    if (!file.commit()) {
        return failure(path, QStringLiteral("无法替换原有的文件，它可能是只读的或正被其他程序使用。"),
                       file.errorString());
    }
    return std::nullopt;
}

} // namespace report
