#include "store/SqliteFile.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtEndian>

namespace store {

int sqliteCode(const QSqlError& error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

bool walBelongs(const QString& path, const QString& walPath)
{
    QFile main(path);
    QFile wal(walPath);
    if (!main.open(QIODevice::ReadOnly) || !wal.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = main.read(100);
    const QByteArray w = wal.read(32);
    if (header.size() < 100 || w.size() < 32)
        return false;
    auto big = [](const QByteArray& b, int at) {
        return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16) |
               (quint32(quint8(b[at + 2])) << 8) | quint32(quint8(b[at + 3]));
    };
    const quint32 magic = big(w, 0);
    if ((magic & 0xfffffffe) != 0x377f0682 || big(w, 4) != 3007000)
        return false;
    quint32 pageSize = (quint32(quint8(header[16])) << 8) | quint8(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    if (big(w, 8) != pageSize)
        return false;
    const bool bigEndian = magic & 1;
    quint32 s0 = 0;
    quint32 s1 = 0;
    for (int at = 0; at < 24; at += 8) {
        const quint32 x0 = bigEndian ? big(w, at) : qbswap(big(w, at));
        const quint32 x1 = bigEndian ? big(w, at + 4) : qbswap(big(w, at + 4));
        s0 += x0 + s1;
        s1 += x1 + s0;
    }
    return s0 == big(w, 24) && s1 == big(w, 28);
}

QSqlError migrate(QSqlDatabase& db, std::span<const char* const> steps, bool& newer)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) ||
        !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return q.lastError();
    const int version = q.value(0).toInt();
    const int target = static_cast<int>(steps.size());
    newer = version < 0 || version > target; // checked before; another program may have changed it
    if (newer || version == target)
        return QSqlError();
    db.transaction();
    for (int step = version; step < target; ++step) {
        if (!q.exec(QString::fromLatin1(steps[step]))) {
            const QSqlError error = q.lastError();
            db.rollback();
            return error;
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version=%1").arg(target)) || !db.commit()) {
        const QSqlError error = q.lastError().isValid() ? q.lastError() : db.lastError();
        db.rollback();
        return error;
    }
    return QSqlError();
}

QString setAside(const QString& path, const QString& kind)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + kind + stamp;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = path + kind + stamp + u'-' + QString::number(n);
    // The log and its index go with the file: replayed onto a new file, a foreign log would damage it.
    if (!QFile::rename(path, aside))
        return QString();
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(path + suffix) && !QFile::rename(path + suffix, aside + suffix))
            return QString();
    }
    return aside;
}

} // namespace store
