#pragma once

// Builds ZIP containers in memory for the reader tests, hostile ones included: wrong checksums,
// sizes that lie, entries marked encrypted, and entries that inflate to hundreds of megabytes from
// a few hundred kilobytes. Nothing of the kind is kept in the repository.

#include <QByteArray>
#include <QList>

#include <optional>

#include <zlib.h>

namespace zipmaker {

struct Entry
{
    QByteArray name;
    QByteArray data;                     // the entry's content, deflated when written
    std::optional<QByteArray> deflated;  // a ready raw deflate stream of data (see repeated())
    std::optional<quint32> crc;          // instead of data's checksum
    std::optional<quint32> declaredSize; // instead of data's length
    bool encrypted = false;              // marked as encrypted with a ZIP password
};

inline QByteArray rawDeflate(const QByteArray& data, int flush = Z_FINISH)
{
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(data.size()))) + 64,
                   Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, flush);
    out.truncate(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return out;
}

// An entry of head, then unit times times, then tail, made without ever holding it whole: unit is
// deflated once into a self-contained block that is repeated.
inline Entry repeated(const QByteArray& name, const QByteArray& head, const QByteArray& unit, qint64 times,
                      const QByteArray& tail)
{
    Entry e{name, {}};
    QByteArray stream = rawDeflate(head, Z_FULL_FLUSH);
    const QByteArray block = rawDeflate(unit, Z_FULL_FLUSH);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(head.constData()), static_cast<uInt>(head.size()));
    const uLong unitCrc =
        crc32(0, reinterpret_cast<const Bytef*>(unit.constData()), static_cast<uInt>(unit.size()));
    stream.reserve(stream.size() + block.size() * times + tail.size() + 64);
    for (qint64 i = 0; i < times; ++i) {
        stream += block;
        crc = crc32_combine(crc, unitCrc, static_cast<z_off_t>(unit.size()));
    }
    stream += rawDeflate(tail);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(tail.constData()), static_cast<uInt>(tail.size()));
    e.deflated = stream;
    e.crc = static_cast<quint32>(crc);
    e.declaredSize = static_cast<quint32>(head.size() + unit.size() * times + tail.size());
    return e;
}

inline QByteArray container(const QList<Entry>& entries)
{
    auto le = [](QByteArray& out, quint64 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    QByteArray out, directory;
    for (const Entry& e : entries) {
        const QByteArray packed = e.deflated ? *e.deflated : rawDeflate(e.data);
        const quint32 crc =
            e.crc ? *e.crc
                  : static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(e.data.constData()),
                                               static_cast<uInt>(e.data.size())));
        const quint32 size = e.declaredSize ? *e.declaredSize : static_cast<quint32>(e.data.size());
        const quint32 offset = static_cast<quint32>(out.size());
        auto common = [&](QByteArray& h) {
            le(h, 20, 2);                  // version needed
            le(h, e.encrypted ? 1 : 0, 2); // flags
            le(h, 8, 2);                   // deflated
            le(h, 0, 4);                   // time and date
            le(h, crc, 4);
            le(h, static_cast<quint64>(packed.size()), 4);
            le(h, size, 4);
            le(h, static_cast<quint64>(e.name.size()), 2);
            le(h, 0, 2); // extra field
        };
        le(out, 0x04034b50, 4);
        common(out);
        out += e.name;
        out += packed;
        le(directory, 0x02014b50, 4);
        le(directory, 20, 2); // made by
        common(directory);
        le(directory, 0, 6); // comment length, disk, internal attributes
        le(directory, 0, 4); // external attributes
        le(directory, offset, 4);
        directory += e.name;
    }
    const quint64 directoryOffset = static_cast<quint64>(out.size());
    out += directory;
    le(out, 0x06054b50, 4);
    le(out, 0, 4);
    le(out, static_cast<quint64>(entries.size()), 2);
    le(out, static_cast<quint64>(entries.size()), 2);
    le(out, static_cast<quint64>(directory.size()), 4);
    le(out, directoryOffset, 4);
    le(out, 0, 2);
    return out;
}

} // namespace zipmaker
