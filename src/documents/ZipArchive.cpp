#include "documents/ZipArchive.h"

#include <zip.h>

namespace documents {
namespace {

zip_int64_t indexOf(zip_t* archive, const QString& name)
{
    return archive ? zip_name_locate(archive, name.toUtf8().constData(), 0) : -1;
}

} // namespace

ZipArchive::ZipArchive(const QByteArray& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
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
    if (index < 0 || zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        return false;
    return (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
}

std::optional<QByteArray> ZipArchive::read(const QString& name) const
{
    const zip_int64_t index = indexOf(m_zip, name);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || stat.size > static_cast<zip_uint64_t>(kMaxEntryBytes))
        return std::nullopt;
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        return std::nullopt;
    QByteArray content(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < content.size()) {
        const zip_int64_t got = zip_fread(file, content.data() + done, static_cast<zip_uint64_t>(content.size() - done));
        if (got <= 0)
            break;
        done += got;
    }
    zip_fclose(file);
    if (done != content.size())
        return std::nullopt; // a broken entry: its checksum or its length is wrong
    return content;
}

} // namespace documents
