#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>

struct zip;
struct zip_file;

// Read-only view of a ZIP container held in memory (.docx, .odt), over libzip.
namespace documents {

// An entry as it inflates: a sequential device. libzip checks the checksum once the data ends but
// not the length, so the entry counts: a wrong checksum, or more or fewer bytes than the directory
// gave, makes its read fail (-1) and failed() true. An XML entry also fails, over the limit, at text
// that runs on past kMaxTextBytes without markup: the XML reader would hold it whole.
class ZipEntry : public QIODevice
{
public:
    ZipEntry(zip_file* file, qint64 size, bool xml, bool& overLimit);
    ~ZipEntry() override;
    bool isSequential() const override { return true; }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file* m_file;
    qint64 m_size;
    qint64 m_done = 0;
    bool m_xml;
    qint64 m_sinceMarkup = 0; // bytes since the last '<'
    bool m_failed = false;
    bool& m_overLimit;
};

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
    // Whether any entry is.
    bool hasEncryptedEntry() const;
    // Whether the directory says that an entry, or all of them together, unpack past the limits.
    bool hasOversizedEntry() const;
    // The entry's uncompressed content, its checksum and length checked; nothing when it is missing,
    // encrypted, broken or larger than limit. A part read whole is small; the document's body is
    // read through open().
    std::optional<QByteArray> read(const QString& name, qint64 limit = kMaxPartBytes) const;
    // The XML entry read as it inflates, up to kMaxEntryBytes; null when it is missing, encrypted or
    // larger. The archive must outlive it.
    std::unique_ptr<ZipEntry> open(const QString& name) const;
    // Inflates every entry to its end, keeping nothing, so that what the directory says about the
    // lengths holds for whoever reads the container next (the word processor): an entry longer than
    // it says sets overLimit(). Costs at most kMaxTotalBytes of inflating once hasOversizedEntry()
    // is false.
    void checkLengths() const;
    // Whether a read, an open or checkLengths() met an entry that unpacks past its limit or past the
    // length it gives: a file that is refused, not handed to the word processor.
    bool overLimit() const { return m_overLimit; }

    // No part of a 50 MB document unpacks to more than this, short of a ZIP bomb.
    static constexpr qint64 kMaxEntryBytes = 512LL * 1024 * 1024;
    // Nor do all parts together to more than this.
    static constexpr qint64 kMaxTotalBytes = 2 * kMaxEntryBytes;
    // Styles, numbering, relationships: what a reader holds whole while it reads the body.
    static constexpr qint64 kMaxPartBytes = 64LL * 1024 * 1024;
    // Text between two tags this long holds more characters than a document may have (three bytes
    // a character at most in UTF-8, short of character references).
    static constexpr qint64 kMaxTextBytes = 60'000'000;

private:
    std::unique_ptr<ZipEntry> openIndex(qint64 index, bool xml) const;

    zip* m_zip = nullptr;
    mutable bool m_overLimit = false;
};

} // namespace documents
