#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Writing a document to disk, and saying why a write failed.
namespace documents {

enum class SaveFailure {
    FolderMissing,  // the folder of the chosen name does not exist
    FolderReadOnly, // the folder takes no new files
    IsFolder,       // the name is that of a folder
    DiskFull,       // less room left than the document needs
    WriteFailed,    // any other failure; the system's own reason goes with it
};

struct SaveError
{
    SaveFailure failure;
    QString systemReason;
};

// Writes bytes to path. An existing file is replaced only once the new one is completely written;
// on failure it stays as it was. Nothing on success.
std::optional<SaveError> writeFile(const QString& path, const QByteArray& bytes);

// Why a write failed, in a sentence for the user.
QString saveFailureReason(const SaveError& error);

// The message that tells the user why the document was not saved to path.
QString saveFailureMessage(const QString& path, const SaveError& error);

} // namespace documents
