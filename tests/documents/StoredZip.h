#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <initializer_list>
#include <utility>

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
    auto le = [](QByteArray& out, std::initializer_list<std::pair<quint32, int>> fields) {
        for (const auto& [value, bytes] : fields) {
            for (int i = 0; i < bytes; ++i)
                out += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    QByteArray out, directory;
    for (const auto& [name, data] : entries) {
        const auto size = static_cast<quint32>(data.size());
        // Version needed, flags, stored, time and date, checksum, sizes, name length, extra field.
        QByteArray common;
        le(common, {{20, 2}, {0, 2}, {0, 2}, {0, 4}, {crc32(data), 4}, {size, 4}, {size, 4},
                    {static_cast<quint32>(name.size()), 2}, {0, 2}});
        // Made by, then comment, disk, internal and external attributes, and where the entry is.
        le(directory, {{0x02014b50, 4}, {20, 2}});
        directory += common;
        le(directory, {{0, 2}, {0, 2}, {0, 2}, {0, 4}, {static_cast<quint32>(out.size()), 4}});
        directory += name;
        le(out, {{0x04034b50, 4}});
        out += common + name + data;
    }
    const auto count = static_cast<quint32>(entries.size());
    const auto offset = static_cast<quint32>(out.size());
    out += directory;
    le(out, {{0x06054b50, 4}, {0, 4}, {count, 2}, {count, 2}, {static_cast<quint32>(directory.size()), 4}, {offset, 4}, {0, 2}});
    return out;
}

} // namespace storedzip
