#include "sources/Library.h"

#include "store/SqliteFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>

namespace sources {
namespace {

const char* const kSchemaSteps[] = {
    "CREATE TABLE sources (id INTEGER PRIMARY KEY, hash BLOB NOT NULL UNIQUE, title TEXT NOT NULL, "
    "size INTEGER NOT NULL, chars INTEGER NOT NULL, text BLOB NOT NULL, fingerprints BLOB NOT NULL)",
    "CREATE TABLE paths (path TEXT PRIMARY KEY, source INTEGER NOT NULL REFERENCES sources (id))",
};

// Sorted fingerprints as the gaps between them, seven bits a byte: half their plain size.
QByteArray packKeys(const QList<quint64>& keys)
{
    QByteArray out;
    out.reserve(keys.size() * 4);
    quint64 last = 0;
    for (quint64 key : keys) {
        quint64 gap = key - last;
        last = key;
        while (gap >= 0x80) {
            out += static_cast<char>((gap & 0x7f) | 0x80);
            gap >>= 7;
        }
        out += static_cast<char>(gap);
    }
    return out;
}

std::optional<QList<quint64>> unpackKeys(const QByteArray& packed)
{
    QList<quint64> keys;
    keys.reserve(packed.size() / 3);
    quint64 last = 0;
    quint64 gap = 0;
    int shift = 0;
    for (char c : packed) {
        if (shift > kKeyBits)
            return std::nullopt;
        gap |= static_cast<quint64>(static_cast<quint8>(c) & 0x7f) << shift;
        if (static_cast<quint8>(c) & 0x80) {
            shift += 7;
            continue;
        }
        last += gap;
        if (last >> kKeyBits)
            return std::nullopt;
        keys.append(last);
        gap = 0;
        shift = 0;
    }
    return shift == 0 ? std::optional(keys) : std::nullopt;
}

} // namespace

Library::Library(QString filePath) : m_path(std::move(filePath))
{
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("tessaro-sources-%1").arg(++counter);
}

Library::~Library()
{
    close();
}

QString Library::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(fileName());
}

QByteArray Library::contentHash(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

void Library::close()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

bool Library::fail(const QString& what)
{
    m_error = QStringLiteral("来源库文件“%1”%2").arg(QDir::toNativeSeparators(m_path), what);
    close();
    return false;
}

bool Library::open()
{
    return m_open || openFile(true);
}

bool Library::openFile(bool retry)
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("所在的文件夹无法创建。"));
    const QString wal = m_path + QStringLiteral("-wal");
    bool damaged = info.exists() && QFileInfo(wal).size() > 0 && !store::walBelongs(m_path, wal);
    bool other = false;
    if (!damaged) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(store::kBusyTimeoutMs));
        if (!db.open())
            return fail(QStringLiteral("无法打开：") + db.lastError().text());
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
            q.value(0).toString() != QLatin1String("ok")) {
            const int code = store::sqliteCode(q.lastError());
            if (q.lastError().isValid() && code != store::kSqliteCorrupt &&
                code != store::kSqliteNotADatabase)
                return fail(QStringLiteral("无法读取：") + q.lastError().text());
            damaged = true;
        } else {
            q.finish();
            const QSqlError error = store::migrate(db, kSchemaSteps, other);
            if (error.isValid()) {
                const int code = store::sqliteCode(error);
                if (code != store::kSqliteCorrupt && code != store::kSqliteNotADatabase)
                    return fail(QStringLiteral("无法写入：") + error.text());
                damaged = true;
            }
        }
    }
    if (!damaged && !other) {
        m_open = true;
        run(QStringLiteral("PRAGMA foreign_keys=ON"));
        return true;
    }
    close();
    const QString aside =
        store::setAside(m_path, other ? QStringLiteral(".other-") : QStringLiteral(".damaged-"));
    if (aside.isEmpty() || !retry)
        return fail(QStringLiteral("已损坏，且无法改名移开。"));
    m_notice =
        QStringLiteral("来源库文件无法读取（已损坏或来自其他版本的程序）。原文件已改名为“%1”，保留在原来的"
                       "文件夹中；已开始新的来源库，请重新添加来源。")
            .arg(QDir::toNativeSeparators(aside));
    return openFile(false);
}

bool Library::run(const QString& statement, const QVariantList& values)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(statement);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (q.exec())
        return true;
    m_error = QStringLiteral("来源库文件“%1”无法写入：%2")
                  .arg(QDir::toNativeSeparators(m_path), q.lastError().text());
    return false;
}

std::optional<QByteArray> Library::hashOf(const QString& path)
{
    if (!open())
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(
        QStringLiteral("SELECT s.hash FROM paths p JOIN sources s ON s.id = p.source WHERE p.path = ?"));
    q.addBindValue(path);
    if (q.exec() && q.next())
        return q.value(0).toByteArray();
    return std::nullopt;
}

void Library::detach(const QString& path)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT source FROM paths WHERE path = ?"));
    q.addBindValue(path);
    if (!q.exec() || !q.next())
        return;
    const qint64 source = q.value(0).toLongLong();
    q.finish();
    run(QStringLiteral("DELETE FROM paths WHERE path = ?"), {path});
    run(QStringLiteral(
            "DELETE FROM sources WHERE id = ? AND NOT EXISTS (SELECT 1 FROM paths WHERE source = ?)"),
        {source, source});
}

bool Library::addPath(const QString& path, const QByteArray& hash)
{
    if (!open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    qint64 source = 0;
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT id FROM sources WHERE hash = ?"));
        q.addBindValue(hash);
        if (!q.exec() || !q.next())
            return false;
        source = q.value(0).toLongLong();
    }
    db.transaction();
    detach(path);
    const bool done =
        run(QStringLiteral("INSERT OR REPLACE INTO paths (path, source) VALUES (?, ?)"), {path, source});
    return db.commit() && done;
}

bool Library::addSource(const QString& path, const QByteArray& hash, qint64 size, const QString& title,
                        const QString& text)
{
    if (!open())
        return false;
    const Tokens tokens = tokenise(text);
    const QByteArray keys = packKeys(fingerprintKeys(tokens));
    const QByteArray packed = qCompress(text.toUtf8(), 1); // fast: indexing hundreds of files
    qint64 chars = 0;
    for (QChar c : text)
        chars += !c.isLowSurrogate();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.transaction();
    detach(path);
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO sources (hash, title, size, chars, text, fingerprints) VALUES (?, ?, ?, ?, ?, ?)"));
    for (const QVariant& v : QVariantList{hash, title, size, chars, packed, keys})
        q.addBindValue(v);
    if (!q.exec()) {
        m_error = QStringLiteral("来源库文件“%1”无法写入：%2")
                      .arg(QDir::toNativeSeparators(m_path), q.lastError().text());
        db.rollback();
        return false;
    }
    const qint64 source = q.lastInsertId().toLongLong();
    if (!run(QStringLiteral("INSERT INTO paths (path, source) VALUES (?, ?)"), {path, source})) {
        db.rollback();
        return false;
    }
    return db.commit();
}

bool Library::remove(const QString& path)
{
    if (!open() || !hashOf(path))
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.transaction();
    detach(path);
    return db.commit();
}

QList<LibraryEntry> Library::entries()
{
    QList<LibraryEntry> out;
    if (!open())
        return out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT s.id, s.title, s.size, s.chars, p.path FROM sources s JOIN paths p ON "
                               "p.source = s.id ORDER BY s.id, p.path")))
        return out;
    while (q.next()) {
        const qint64 id = q.value(0).toLongLong();
        if (out.isEmpty() || out.back().id != id)
            out.append({id, {}, q.value(1).toString(), q.value(2).toLongLong(), q.value(3).toLongLong()});
        out.back().paths.append(q.value(4).toString());
    }
    return out;
}

bool Library::loadIndex(SourceIndex& index)
{
    if (!open())
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, fingerprints FROM sources")))
        return fail(QStringLiteral("无法读取：") + q.lastError().text());
    while (q.next()) {
        const std::optional<QList<quint64>> keys = unpackKeys(q.value(1).toByteArray());
        if (keys)
            index.add(q.value(0).toLongLong(), *keys);
    }
    index.finish();
    return true;
}

QString Library::text(qint64 source)
{
    if (!open())
        return QString();
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT text FROM sources WHERE id = ?"));
    q.addBindValue(source);
    if (!q.exec() || !q.next())
        return QString();
    return QString::fromUtf8(qUncompress(q.value(0).toByteArray()));
}

} // namespace sources
