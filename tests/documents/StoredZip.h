#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// ZIP containers made in memory for the reader tests: each entry stored as it is, with its checksum.
namespace storedzip {

inline quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// entries: (name, content) in order.
inline QByteArray container(const QList<QPair<QByteArray, QByteArray>>& entries)
{
    auto le = [](QByteArray& out, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    QByteArray out, directory;
    for (const auto& [name, data] : entries) {
        const quint32 offset = static_cast<quint32>(out.size());
        auto common = [&](QByteArray& h) {
            le(h, 20, 2); // version needed
            le(h, 0, 2);  // flags
            le(h, 0, 2);  // stored
            le(h, 0, 4);  // time and date
            le(h, crc32(data), 4);
            le(h, static_cast<quint32>(data.size()), 4);
            le(h, static_cast<quint32>(data.size()), 4);
            le(h, static_cast<quint32>(name.size()), 2);
            le(h, 0, 2); // extra field
        };
        le(out, 0x04034b50, 4);
        common(out);
        out += name + data;
        le(directory, 0x02014b50, 4);
        le(directory, 20, 2); // made by
        common(directory);
        for (const int bytes : {2, 2, 2, 4}) // comment, disk, internal and external attributes
            le(directory, 0, bytes);
        le(directory, offset, 4);
        directory += name;
    }
    const quint32 directoryOffset = static_cast<quint32>(out.size());
    out += directory;
    le(out, 0x06054b50, 4);
    le(out, 0, 4);
    le(out, static_cast<quint32>(entries.size()), 2);
    le(out, static_cast<quint32>(entries.size()), 2);
    le(out, static_cast<quint32>(directory.size()), 4);
    le(out, directoryOffset, 4);
    le(out, 0, 2);
    return out;
}

} // namespace storedzip
