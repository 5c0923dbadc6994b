#include "documents/Saving.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace documents {
namespace {

// Why a write that failed with the given system reason did, judged from the file system after it.
SaveError diagnose(const QString& path, qint64 bytes, const QString& systemReason)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (target.isDir())
        return {SaveFailure::IsFolder, systemReason};
    if (!folder.isDir())
        return {SaveFailure::FolderMissing, systemReason};
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < bytes + 4096)
        return {SaveFailure::DiskFull, systemReason};
    if (!folder.isWritable() || storage.isReadOnly())
        return {SaveFailure::FolderReadOnly, systemReason};
    return {SaveFailure::WriteFailed, systemReason};
}

} // namespace

std::optional<SaveError> writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return diagnose(path, bytes.size(), file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return diagnose(path, bytes.size(), reason);
    }
    if (!file.commit())
        return diagnose(path, bytes.size(), file.errorString());
    return std::nullopt;
}

QString saveFailureReason(const SaveError& error)
{
    switch (error.failure) {
    case SaveFailure::FolderMissing:
        return QStringLiteral("所在的文件夹不存在。");
    case SaveFailure::FolderReadOnly:
        return QStringLiteral("所在的文件夹是只读的，不能在其中写入文件。");
    case SaveFailure::IsFolder:
        return QStringLiteral("这是一个文件夹的名字。");
    case SaveFailure::DiskFull:
        return QStringLiteral("磁盘空间不足。");
    case SaveFailure::WriteFailed:
        break;
    }
    return QStringLiteral("写入失败（%1）。").arg(error.systemReason);
}

QString saveFailureMessage(const QString& path, const SaveError& error)
{
    return QStringLiteral("无法保存文件“%1”：\n%2\n原有的文件没有改动。")
        .arg(QDir::toNativeSeparators(path), saveFailureReason(error));
}

} // namespace documents
