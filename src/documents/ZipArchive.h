#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct zip;

// Read-only view of a ZIP container held in memory (.docx, .odt), over libzip.
namespace documents {

class ZipArchive
{
public:
    // bytes must outlive the archive. isOpen() tells whether they hold a readable ZIP directory.
    explicit ZipArchive(const QByteArray& bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool isOpen() const { return m_zip != nullptr; }
    bool contains(const QString& name) const;
    // Whether the entry's data is encrypted with a ZIP password.
    bool isEncrypted(const QString& name) const;
    // The entry's uncompressed content; nothing when it is missing, encrypted, broken or larger than
    // kMaxEntryBytes.
    std::optional<QByteArray> read(const QString& name) const;

    // No part of a 50 MB document unpacks to more than this, short of a ZIP bomb.
    static constexpr qint64 kMaxEntryBytes = 512LL * 1024 * 1024;

private:
    zip* m_zip = nullptr;
};

} // namespace documents
