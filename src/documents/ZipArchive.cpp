#include "documents/ZipArchive.h"

#include <zip.h>

#include <cstring>

namespace documents {
namespace {

zip_int64_t indexOf(zip_t* archive, const QString& name)
{
    return archive ? zip_name_locate(archive, name.toUtf8().constData(), 0) : -1;
}

bool encrypted(const zip_stat_t& stat)
{
    return (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
}

} // namespace

ZipEntry::ZipEntry(zip_file* file, qint64 size, bool xml, bool& overLimit)
    : m_file(file), m_size(size), m_xml(xml), m_overLimit(overLimit)
{
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

ZipEntry::~ZipEntry()
{
    zip_fclose(m_file);
}

qint64 ZipEntry::readData(char* data, qint64 maxSize)
{
    if (m_failed)
        return -1;
    // At the end one byte more than promised is asked for, so that libzip reaches the data's end
    // and checks the checksum, and so that a longer entry shows before it inflates any further.
    const qint64 wanted = std::min(maxSize, m_size - m_done + 1);
    const zip_int64_t got = wanted > 0 ? zip_fread(m_file, data, static_cast<zip_uint64_t>(wanted)) : 0;
    if (got < 0 || m_done + got > m_size || (got == 0 && m_done != m_size)) {
        // More than it said it holds: refused like an entry over the limit.
        m_overLimit = m_overLimit || (got > 0 && m_done + got > m_size);
        m_failed = true;
        return -1;
    }
    m_done += got;
    if (m_xml && got > 0) {
        const auto* first = static_cast<const char*>(memchr(data, '<', static_cast<size_t>(got)));
        const auto* last = static_cast<const char*>(memrchr(data, '<', static_cast<size_t>(got)));
        const bool tooLong =
            (first ? m_sinceMarkup + (first - data) : m_sinceMarkup + got) > ZipArchive::kMaxTextBytes;
        m_sinceMarkup = last ? data + got - last - 1 : m_sinceMarkup + got;
        if (tooLong) {
            m_overLimit = true;
            m_failed = true;
            return -1;
        }
    }
    return got;
}

ZipArchive::ZipArchive(const QByteArray& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (source) {
        m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!m_zip)
            zip_source_free(source);
    }
    zip_error_fini(&error);
}

ZipArchive::~ZipArchive()
{
    if (m_zip)
        zip_discard(m_zip);
}

bool ZipArchive::contains(const QString& name) const
{
    return indexOf(m_zip, name) >= 0;
}

bool ZipArchive::isEncrypted(const QString& name) const
{
    const zip_int64_t index = indexOf(m_zip, name);
    zip_stat_t stat;
    return index >= 0 && zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
           encrypted(stat);
}

bool ZipArchive::hasEncryptedEntry() const
{
    const zip_int64_t count = m_zip ? zip_get_num_entries(m_zip, 0) : 0;
    zip_stat_t stat;
    for (zip_int64_t i = 0; i < count; ++i) {
        if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(i), 0, &stat) == 0 && encrypted(stat))
            return true;
    }
    return false;
}

bool ZipArchive::hasOversizedEntry() const
{
    const zip_int64_t count = m_zip ? zip_get_num_entries(m_zip, 0) : 0;
    zip_stat_t stat;
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE))
            continue;
        if (stat.size > static_cast<zip_uint64_t>(kMaxEntryBytes))
            return true;
        total += stat.size;
        if (total > static_cast<zip_uint64_t>(kMaxTotalBytes))
            return true;
    }
    return false;
}

std::optional<QByteArray> ZipArchive::read(const QString& name, qint64 limit) const
{
    const zip_int64_t index = indexOf(m_zip, name);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || encrypted(stat))
        return std::nullopt;
    if (stat.size > static_cast<zip_uint64_t>(std::min(limit, kMaxEntryBytes))) {
        m_overLimit = true;
        return std::nullopt;
    }
    const std::unique_ptr<ZipEntry> device = openIndex(index, false);
    if (!device)
        return std::nullopt;
    QByteArray content(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    qsizetype done = 0;
    for (qint64 got = 0; done < content.size(); done += got) {
        got = device->read(content.data() + done, content.size() - done);
        if (got <= 0)
            return std::nullopt;
    }
    char more;
    if (device->read(&more, 1) != 0)
        return std::nullopt; // a wrong checksum, or more than the entry promised
    return content;
}

std::unique_ptr<ZipEntry> ZipArchive::open(const QString& name) const
{
    return openIndex(indexOf(m_zip, name), true);
}

void ZipArchive::checkLengths() const
{
    const zip_int64_t count = m_zip ? zip_get_num_entries(m_zip, 0) : 0;
    QByteArray scratch(64 * 1024, Qt::Uninitialized);
    for (zip_int64_t i = 0; i < count && !m_overLimit; ++i) {
        if (const std::unique_ptr<ZipEntry> entry = openIndex(i, false)) {
            while (entry->read(scratch.data(), scratch.size()) > 0) {
            }
        }
    }
}

std::unique_ptr<ZipEntry> ZipArchive::openIndex(qint64 index, bool xml) const
{
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || encrypted(stat))
        return nullptr;
    if (stat.size > static_cast<zip_uint64_t>(kMaxEntryBytes)) {
        m_overLimit = true;
        return nullptr;
    }
    zip_file_t* file = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        return nullptr;
    return std::make_unique<ZipEntry>(file, static_cast<qint64>(stat.size), xml, m_overLimit);
}

} // namespace documents
