#include "store/ResultStore.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <utility>

namespace store {
namespace {

// One statement per schema version: a file of version v runs the steps from v on. The key is a hash of
// engine and query, so that the table needs no second index over the query text; the text is kept to
// tell a rare collision from a hit.
const char* const kSchemaSteps[] = {
    "CREATE TABLE results (key INTEGER PRIMARY KEY, engine TEXT NOT NULL, query TEXT NOT NULL, "
    "obtained INTEGER NOT NULL, session INTEGER NOT NULL, state INTEGER NOT NULL, figure REAL, titles BLOB)",
    "CREATE INDEX results_obtained ON results (obtained)",
};
constexpr int kSchemaVersion = static_cast<int>(std::size(kSchemaSteps));

// SQLite's primary result codes that mean the file is not a usable database.
constexpr int kCorrupt = 11;
constexpr int kNotADatabase = 26;
// Another program holds the file for longer than this: the statement fails as any other.
const QString kConnectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");

constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;

QString engineKey(search::Engine engine)
{
    switch (engine) {
    case search::Engine::Baidu:
        return QStringLiteral("baidu");
    case search::Engine::Wenku:
        return QStringLiteral("wenku");
    case search::Engine::Longyuan:
        return QStringLiteral("longyuan");
    case search::Engine::Zhiwang:
        return QStringLiteral("zhiwang");
    }
    return QString();
}

// FNV-1a over the engine's key and the query's UTF-16 code units, kept to 63 bits: stable across
// programs and Qt versions, unlike qHash.
qint64 resultKey(const QString& engine, const QString& query)
{
    quint64 h = 14695981039346656037ULL;
    auto add = [&h](char16_t c) {
        h = (h ^ (c & 0xff)) * 1099511628211ULL;
        h = (h ^ (c >> 8)) * 1099511628211ULL;
    };
    for (QChar c : engine)
        add(c.unicode());
    add(0);
    for (QChar c : query)
        add(c.unicode());
    return static_cast<qint64>(h >> 1);
}

// Stored states: only results, never a search still waiting or a verification page.
int stateKey(search::SentenceState state)
{
    return state == search::SentenceState::ShortPage ? 2 : 1;
}

search::SentenceState stateOf(int key)
{
    return key == 2 ? search::SentenceState::ShortPage : search::SentenceState::Scored;
}

// A packed field: its length in four bytes, little-endian, then its UTF-8.
void appendField(QByteArray& out, const QString& field)
{
    const QByteArray utf8 = field.toUtf8();
    const quint32 n = static_cast<quint32>(utf8.size());
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((n >> shift) & 0xff);
    out += utf8;
}

// The next field of rest, which moves past it; nullopt when rest holds no whole field.
std::optional<QString> takeField(QByteArrayView& rest)
{
    if (rest.size() < 4)
        return std::nullopt;
    quint32 n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | static_cast<quint8>(rest[i]);
    if (n > static_cast<quint64>(rest.size() - 4))
        return std::nullopt;
    const QString field = QString::fromUtf8(rest.sliced(4, n));
    rest = rest.sliced(4 + n);
    return field;
}

// Opens the file in write-ahead-log mode and brings its schema to this version. An invalid error on
// success; newer tells a later program's file.
QSqlError prepareFile(QSqlDatabase& db, bool& newer)
{
    if (!db.open())
        return db.lastError();
    QSqlQuery q(db);
    // A new file only: with pages of 16 KB, results of about 2 KB fill a page up to the last few
    // hundred bytes, where pages of 4 KB would hold one result each.
    if (!q.exec(QStringLiteral("PRAGMA page_size=16384")) ||
        !q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) ||
        !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return q.lastError();
    const int version = q.value(0).toInt();
    newer = version > kSchemaVersion;
    if (version >= kSchemaVersion)
        return QSqlError();
    db.transaction();
    for (int step = version; step < kSchemaVersion; ++step) {
        if (!q.exec(QString::fromLatin1(kSchemaSteps[step]))) {
            const QSqlError error = q.lastError();
            db.rollback();
            return error;
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion)) || !db.commit()) {
        const QSqlError error = q.lastError().isValid() ? q.lastError() : db.lastError();
        db.rollback();
        return error;
    }
    return QSqlError();
}

} // namespace

// Compressed: a heading's markup repeats from one title to the next.
void KeptResult::setTitles(const QList<search::Title>& titles)
{
    QByteArray raw;
    for (const search::Title& t : titles) {
        appendField(raw, t.html);
        appendField(raw, t.text);
    }
    packedTitles = qCompress(raw, 9);
}

QList<search::Title> KeptResult::titles() const
{
    const QByteArray raw = qUncompress(packedTitles);
    QByteArrayView rest(raw);
    QList<search::Title> out;
    for (;;) {
        std::optional<QString> block = takeField(rest);
        std::optional<QString> text = block ? takeField(rest) : std::nullopt;
        if (!text)
            return out;
        out.append({std::move(*block), std::move(*text)});
    }
}

ResultStore::ResultStore(QString directory) : m_directory(std::move(directory))
{
    static std::atomic<int> counter{0};
    m_connectionName = QStringLiteral("tessaro-results-%1").arg(++counter);
    // Tells this start's results apart from those of earlier starts and other programs.
    m_session = static_cast<qint64>(QRandomGenerator::global()->generate64() >> 1);
}

ResultStore::~ResultStore()
{
    close();
}

QString ResultStore::fileName()
{
    return QStringLiteral("results.sqlite");
}

QString ResultStore::filePath() const
{
    return QDir(m_directory).filePath(fileName());
}

void ResultStore::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    if (m_health == Health::Open)
        m_health = Health::Closed;
}

bool ResultStore::ensureOpen()
{
    if (m_health == Health::Open)
        return true;
    if (m_health == Health::NotKeeping)
        return false;
    if (openFile())
        return true;
    // A damaged file was set aside: the new one gets one chance.
    return m_health == Health::Closed && openFile();
}

bool ResultStore::openFile()
{
    if (!QDir().mkpath(m_directory)) {
        stopKeeping();
        return false;
    }
    QSqlError error;
    bool newer = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(filePath());
        db.setConnectOptions(kConnectOptions);
        error = prepareFile(db, newer);
    }
    if (newer) {
        // A later program's file: left as it is, and nothing kept beside it.
        stopKeeping();
        return false;
    }
    if (error.isValid()) {
        failed(error, true);
        return false;
    }
    m_health = Health::Open;
    // What is older than the kept days goes when the store is first used, not at every look-up.
    {
        QSqlQuery expire(QSqlDatabase::database(m_connectionName, false));
        expire.prepare(QStringLiteral("DELETE FROM results WHERE obtained < ?"));
        expire.addBindValue(QDateTime::currentMSecsSinceEpoch() - kKeptDays * kDayMs);
        if (!expire.exec())
            error = expire.lastError();
    }
    return !error.isValid() || !failed(error, false);
}

bool ResultStore::failed(const QSqlError& error, bool writing)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if ((code == kCorrupt || code == kNotADatabase) && !m_recovered) {
        setAside();
        return true;
    }
    if (writing)
        stopKeeping();
    return false;
}

void ResultStore::setAside()
{
    close();
    m_recovered = true;
    const QString path = filePath();
    const QString aside = path + QStringLiteral(".damaged-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // The log and its index belong to the damaged file: they go with it.
    QFile::rename(path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::rename(path + QStringLiteral("-shm"), aside + QStringLiteral("-shm"));
    if (!QFile::rename(path, aside)) {
        stopKeeping();
        return;
    }
    m_health = Health::Closed;
    m_notice =
        QStringLiteral(
            "保存的检测结果无法读取。损坏的文件已改名为“%1”，保留在原来的文件夹中；程序已开始新的记录。")
            .arg(QDir::toNativeSeparators(aside));
}

void ResultStore::stopKeeping()
{
    close();
    if (m_health == Health::NotKeeping)
        return;
    m_health = Health::NotKeeping;
    m_notice =
        QStringLiteral(
            "检测结果无法保存（磁盘已满，或数据文件夹“%1”不可写）。检测照常进行，但这次的结果不会保存。")
            .arg(QDir::toNativeSeparators(m_directory));
}

QSqlError ResultStore::write(search::Engine engine, const QString& query, const KeptResult& result)
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(QStringLiteral(
        "INSERT OR REPLACE INTO results (key, engine, query, obtained, session, state, figure, titles) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    const QString name = engineKey(engine);
    q.addBindValue(resultKey(name, query));
    q.addBindValue(name);
    q.addBindValue(query);
    q.addBindValue(result.obtained.toMSecsSinceEpoch());
    q.addBindValue(m_session);
    q.addBindValue(stateKey(result.state));
    q.addBindValue(result.similarity ? QVariant(*result.similarity) : QVariant(QMetaType(QMetaType::Double)));
    q.addBindValue(result.packedTitles);
    return q.exec() ? QSqlError() : q.lastError();
}

bool ResultStore::keep(search::Engine engine, const QString& query, const KeptResult& result)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!ensureOpen())
            return false;
        const QSqlError error = write(engine, query, result);
        if (!error.isValid())
            return true;
        if (!failed(error, true))
            return false;
    }
    return false;
}

QSqlError ResultStore::read(search::Engine engine, const QStringList& queries, const QDateTime& now,
                            QHash<QString, KeptResult>& found)
{
    // One statement for all pieces: the keys go in as one JSON array, which costs one pass over the
    // answer instead of a statement per piece.
    const QString name = engineKey(engine);
    QHash<qint64, QString> byKey;
    QString keys;
    keys.reserve(queries.size() * 20 + 2);
    keys += u'[';
    for (const QString& query : queries) {
        const qint64 key = resultKey(name, query);
        if (byKey.contains(key))
            continue;
        byKey.insert(key, query);
        if (keys.size() > 1)
            keys += u',';
        keys += QString::number(key);
    }
    keys += u']';

    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT key, query, obtained, state, figure, titles FROM results "
        "WHERE key IN (SELECT value FROM json_each(?)) AND engine = ? AND session <> ? AND obtained >= ?"));
    q.addBindValue(keys);
    q.addBindValue(name);
    q.addBindValue(m_session);
    q.addBindValue(now.toMSecsSinceEpoch() - kKeptDays * kDayMs);
    if (!q.exec())
        return q.lastError();
    while (q.next()) {
        const QString query = byKey.value(q.value(0).toLongLong());
        if (query != q.value(1).toString())
            continue; // another query with the same key
        KeptResult r;
        r.obtained = QDateTime::fromMSecsSinceEpoch(q.value(2).toLongLong(), Qt::UTC);
        r.state = stateOf(q.value(3).toInt());
        if (!q.value(4).isNull())
            r.similarity = q.value(4).toDouble();
        r.packedTitles = q.value(5).toByteArray();
        found.insert(query, std::move(r));
    }
    return q.lastError();
}

QHash<QString, KeptResult> ResultStore::lookUp(search::Engine engine, const QStringList& queries,
                                               const QDateTime& now)
{
    QHash<QString, KeptResult> found;
    if (queries.isEmpty() || !ensureOpen())
        return found;
    const QSqlError error = read(engine, queries, now, found);
    if (!error.isValid())
        return found;
    failed(error, false);
    return {};
}

bool ResultStore::clear()
{
    if (!ensureOpen())
        return !QFile::exists(filePath());
    QSqlError error;
    {
        QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
        if (q.exec(QStringLiteral("DELETE FROM results"))) {
            // Shrinking is a courtesy: the results are gone even when another program holds the file.
            q.exec(QStringLiteral("VACUUM"));
            q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        } else {
            error = q.lastError();
        }
    }
    if (!error.isValid())
        return true;
    failed(error, true);
    return false;
}

QString ResultStore::takeNotice()
{
    return std::exchange(m_notice, QString());
}

} // namespace store
