#include "store/ResultStore.h"

#include "store/SqliteFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
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
// The results table's columns as the steps make them, name and type.
const char* const kColumns[] = {"key INTEGER",     "engine TEXT",   "query TEXT",  "obtained INTEGER",
                                "session INTEGER", "state INTEGER", "figure REAL", "titles BLOB"};
const QString kIndexName = QStringLiteral("results_obtained");

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
    // A new file only as well: expired results give their pages back to the disk.
    if (!q.exec(QStringLiteral("PRAGMA page_size=16384")) ||
        !q.exec(QStringLiteral("PRAGMA auto_vacuum=INCREMENTAL")))
        return q.lastError();
    return migrate(db, kSchemaSteps, newer);
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
    return unpackTitles(packedTitles).value_or(QList<search::Title>());
}

std::optional<QList<search::Title>> unpackTitles(const QByteArray& packed)
{
    QList<search::Title> out;
    if (packed.isEmpty())
        return out;
    if (packed.size() < 4)
        return std::nullopt;
    // qCompress puts the unpacked size first, big-endian.
    quint32 size = 0;
    for (int i = 0; i < 4; ++i)
        size = (size << 8) | static_cast<quint8>(packed[i]);
    if (size > static_cast<quint32>(kMaxUnpackedTitles))
        return std::nullopt;
    if (size == 0)
        return out;
    // zlib itself, into a buffer of the announced size: qUncompress would grow its buffer for as long
    // as a lying stream goes on.
    QByteArray raw(static_cast<qsizetype>(size), Qt::Uninitialized);
    uLongf length = size;
    if (::uncompress(reinterpret_cast<Bytef*>(raw.data()), &length,
                     reinterpret_cast<const Bytef*>(packed.constData()) + 4,
                     static_cast<uLong>(packed.size() - 4)) != Z_OK ||
        length != size)
        return std::nullopt;
    static const QRegularExpression link(QStringLiteral("href\\s*=\\s*[\"']([^\"']*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QByteArrayView rest(raw);
    while (!rest.isEmpty()) {
        std::optional<QString> html = takeField(rest);
        std::optional<QString> text = html ? takeField(rest) : std::nullopt;
        if (!text || out.size() == kMaxKeptTitles || html->size() > kMaxHeadingHtml ||
            text->size() > kMaxTitleText)
            return std::nullopt;
        for (auto it = link.globalMatch(*html); it.hasNext();) {
            if (it.next().capturedLength(1) > kMaxLink)
                return std::nullopt;
        }
        out.append({std::move(*html), std::move(*text)});
    }
    return out;
}

ResultStore::ResultStore(QString directory, int busyTimeoutMs)
    : m_directory(std::move(directory)), m_busyTimeoutMs(busyTimeoutMs)
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
    if (m_health == Health::Open || m_health == Health::ReadOnly)
        m_health = Health::Closed;
}

bool ResultStore::ensureOpen()
{
    if (m_health == Health::Open || m_health == Health::ReadOnly)
        return true;
    if (m_health == Health::NotKeeping)
        return false;
    if (openFile())
        return true;
    // A damaged file was set aside: the new one gets one chance.
    return m_health == Health::Closed && m_recovered && !QFile::exists(filePath()) && openFile();
}

bool ResultStore::connect(const QString& options, const QString& name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(name);
    db.setConnectOptions(options);
    return db.open();
}

ResultStore::Check ResultStore::checkFile(bool immutable)
{
    QString name = filePath();
    QString options = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs);
    if (immutable) {
        // Nothing is created beside a file that cannot be written, not even the log's index.
        options += QStringLiteral(";QSQLITE_OPEN_URI");
        name = QUrl::fromLocalFile(name).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1");
    }
    auto fault = [](const QSqlError& error) {
        const int code = error.nativeErrorCode().toInt() & 0xff;
        if (code == kSqliteBusy || code == kSqliteLocked)
            return Check::Busy;
        return code == kSqliteCorrupt || code == kSqliteNotADatabase ? Check::Damaged : Check::Failed;
    };
    if (!connect(options, name))
        return fault(QSqlDatabase::database(m_connectionName, false).lastError());
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
        return fault(q.lastError());
    if (!q.next() || q.value(0).toString() != QLatin1String("ok"))
        return Check::Damaged;
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return fault(q.lastError());
    const int version = q.value(0).toInt();
    if (version < 0 || version > kSchemaVersion)
        return Check::OtherSchema;
    if (!q.exec(QStringLiteral("PRAGMA table_info(results)")))
        return fault(q.lastError());
    QStringList columns;
    while (q.next())
        columns.append(q.value(1).toString() + u' ' + q.value(2).toString().toUpper());
    QStringList expected;
    for (const char* column : kColumns)
        expected.append(QString::fromLatin1(column));
    if (version == 0 ? !columns.isEmpty() : columns != expected)
        return Check::OtherSchema;
    if (version >= 2) {
        q.prepare(QStringLiteral(
            "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ? AND tbl_name = 'results'"));
        q.addBindValue(kIndexName);
        if (!q.exec() || !q.next())
            return fault(q.lastError());
        if (q.value(0).toInt() != 1)
            return Check::OtherSchema;
    }
    return Check::Sound;
}

// A file already there, checked before anything is written into it: nothing when it may be opened
// for writing, else what opening it comes to.
std::optional<bool> ResultStore::checkExisting(const QString& path, bool writable)
{
    const QString wal = path + QStringLiteral("-wal");
    if (QFileInfo(wal).size() > 0 && !walBelongs(path, wal)) {
        setAside(Fault::Damaged);
        return false;
    }
    const Check check = checkFile(!writable);
    if (check != Check::Sound || writable)
        close();
    switch (check) {
    case Check::Sound:
        break;
    case Check::Damaged:
        setAside(Fault::Damaged);
        return false;
    case Check::OtherSchema:
        setAside(Fault::OtherSchema);
        return false;
    case Check::Busy:
        return false; // tried again at the next use
    case Check::Failed:
        stopKeeping(Fault::Unwritable);
        return false;
    }
    if (!writable) {
        m_health = Health::ReadOnly;
        return true;
    }
    return std::nullopt;
}

bool ResultStore::openFile()
{
    if (!QDir().mkpath(m_directory)) {
        stopKeeping(Fault::Unwritable);
        return false;
    }
    const QString path = filePath();
    const QFileInfo info(path);
    // A file its owner made read-only is read only, also by a user whom the system would let write.
    const bool writable =
        !info.exists() || (info.isWritable() && (info.permissions() & QFileDevice::WriteOwner));
    if (info.exists() && info.size() > 0) {
        if (const std::optional<bool> outcome = checkExisting(path, writable))
            return *outcome;
    }
    QSqlError error;
    bool other = false;
    if (connect(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs), path)) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        error = prepareFile(db, other);
    } else {
        error = QSqlDatabase::database(m_connectionName, false).lastError();
    }
    if (other) {
        setAside(Fault::OtherSchema);
        return false;
    }
    if (error.isValid()) {
        const int code = error.nativeErrorCode().toInt() & 0xff;
        if (code == kSqliteBusy || code == kSqliteLocked) {
            close();
            return false;
        }
        failed(error, true);
        return false;
    }
    m_health = Health::Open;
    return true;
}

bool ResultStore::failed(const QSqlError& error, bool writing)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code == kSqliteCorrupt || code == kSqliteNotADatabase) {
        if (!m_recovered) {
            setAside(Fault::Damaged);
            return true;
        }
        stopKeeping(Fault::DamagedStays);
        return false;
    }
    if (writing)
        stopKeeping(code == kSqliteFull ? Fault::Full : Fault::Unwritable);
    return false;
}

void ResultStore::setAside(Fault why)
{
    close();
    m_recovered = true;
    const QString aside = store::setAside(
        filePath(), why == Fault::OtherSchema ? QStringLiteral(".other-") : QStringLiteral(".damaged-"));
    if (aside.isEmpty()) {
        stopKeeping(Fault::DamagedStays);
        return;
    }
    m_asidePath = aside;
    m_health = Health::Closed;
    say(why);
}

void ResultStore::stopKeeping(Fault why)
{
    close();
    if (m_health == Health::NotKeeping)
        return;
    m_health = Health::NotKeeping;
    say(why);
}

void ResultStore::say(Fault fault)
{
    const QString folder = QDir::toNativeSeparators(m_directory);
    const QString aside = QDir::toNativeSeparators(m_asidePath);
    switch (fault) {
    case Fault::Busy:
        m_notice = QStringLiteral("检测记录文件正被另一个程序占用，检测结果暂时无法保存。检测照常进行，"
                                  "文件空出后会自动补存。");
        return;
    case Fault::Full:
        m_notice = QStringLiteral("磁盘已满，检测结果无法保存。检测照常进行，但这次的结果不会保存。");
        return;
    case Fault::Unwritable:
        m_notice = QStringLiteral("检测结果无法保存（数据文件夹“%1”不可写或无法访问）。检测照常进行，"
                                  "但这次的结果不会保存。")
                       .arg(folder);
        return;
    case Fault::ReadOnlyFile:
        m_notice = QStringLiteral("检测记录文件“%1”是只读的，这次的检测结果不会保存；已保存的结果仍可沿用。")
                       .arg(QDir::toNativeSeparators(filePath()));
        return;
    case Fault::Damaged:
        m_notice = QStringLiteral("保存的检测结果无法读取。损坏的文件已改名为“%1”，保留在原来的文件夹中；"
                                  "程序已开始新的记录。")
                       .arg(aside);
        return;
    case Fault::OtherSchema:
        m_notice = QStringLiteral("保存的检测结果来自其他版本的程序或格式不符，无法使用。原文件已改名为“%1”，"
                                  "保留在原来的文件夹中；程序已开始新的记录。")
                       .arg(aside);
        return;
    case Fault::DamagedStays:
        m_notice =
            QStringLiteral("检测记录文件“%1”已损坏，且无法改名移开。检测照常进行，但这次的结果不会保存。")
                .arg(QDir::toNativeSeparators(filePath()));
        return;
    }
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

ResultStore::Outcome ResultStore::tryKeep(search::Engine engine, const QString& query,
                                          const KeptResult& result)
{
    auto busy = [this] {
        if (!std::exchange(m_busySaid, true))
            say(Fault::Busy);
        return Outcome::Busy;
    };
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!ensureOpen())
            return m_health == Health::Closed ? busy() : Outcome::Failed;
        if (m_health == Health::ReadOnly) {
            if (!std::exchange(m_readOnlySaid, true))
                say(Fault::ReadOnlyFile);
            return Outcome::Failed;
        }
        const QSqlError error = write(engine, query, result);
        if (!error.isValid()) {
            m_busySaid = false;
            return Outcome::Done;
        }
        const int code = error.nativeErrorCode().toInt() & 0xff;
        if (code == kSqliteBusy || code == kSqliteLocked)
            return busy();
        if (!failed(error, true))
            return Outcome::Failed;
    }
    return Outcome::Failed;
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

    QList<qint64> hostile;
    {
        QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT key, query, obtained, state, figure, titles FROM results "
                                 "WHERE key IN (SELECT value FROM json_each(?)) AND engine = ? AND session "
                                 "<> ? AND obtained >= ?"));
        q.addBindValue(keys);
        q.addBindValue(name);
        q.addBindValue(m_session);
        q.addBindValue(now.toMSecsSinceEpoch() - kKeptDays * kDayMs);
        if (!q.exec())
            return q.lastError();
        while (q.next()) {
            const qint64 key = q.value(0).toLongLong();
            const QString query = byKey.value(key);
            if (query != q.value(1).toString())
                continue; // another query with the same key
            // A row is trusted only within what this program writes.
            const int state = q.value(3).toInt();
            const QVariant figure = q.value(4);
            const double value = figure.isNull() ? 0 : figure.toDouble();
            KeptResult r;
            r.packedTitles = q.value(5).toByteArray();
            if ((state != 1 && state != 2) || !std::isfinite(value) || value < 0 || value > 100 ||
                !unpackTitles(r.packedTitles)) {
                hostile.append(key);
                continue;
            }
            r.obtained = QDateTime::fromMSecsSinceEpoch(q.value(2).toLongLong(), Qt::UTC);
            r.state = stateOf(state);
            if (!figure.isNull())
                r.similarity = value;
            found.insert(query, std::move(r));
        }
        if (q.lastError().isValid())
            return q.lastError();
    }
    removeRows(hostile);
    return QSqlError();
}

void ResultStore::removeRows(const QList<qint64>& keys)
{
    if (keys.isEmpty() || m_health != Health::Open)
        return;
    QStringList list;
    for (qint64 key : keys)
        list.append(QString::number(key));
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(QStringLiteral("DELETE FROM results WHERE key IN (SELECT value FROM json_each(?))"));
    q.addBindValue(u'[' + list.join(u',') + u']');
    q.exec(); // a courtesy: the rows are ignored whether or not they go
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
        return m_health == Health::NotKeeping && !QFile::exists(filePath());
    if (m_health == Health::ReadOnly)
        return false;
    QSqlError error;
    {
        QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
        if (!q.exec(QStringLiteral("DELETE FROM results")))
            error = q.lastError();
    }
    if (!error.isValid()) {
        // Shrinking is a courtesy: the results are gone even when another program holds the file.
        shrink();
        return true;
    }
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code != kSqliteBusy && code != kSqliteLocked)
        failed(error, true);
    return false;
}

int ResultStore::count()
{
    if (!ensureOpen())
        return m_health == Health::NotKeeping && !QFile::exists(filePath()) ? 0 : -1;
    QSqlError error;
    int counted = -1;
    {
        QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM results")) && q.next())
            counted = q.value(0).toInt();
        else
            error = q.lastError();
    }
    if (error.isValid())
        failed(error, false);
    return counted;
}

int ResultStore::expire(const QDateTime& now, int limit)
{
    if (!ensureOpen() || m_health != Health::Open)
        return -1;
    QSqlError error;
    {
        QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
        q.prepare(QStringLiteral(
            "DELETE FROM results WHERE key IN (SELECT key FROM results WHERE obtained < ? LIMIT ?)"));
        q.addBindValue(now.toMSecsSinceEpoch() - kKeptDays * kDayMs);
        q.addBindValue(limit);
        if (q.exec())
            return q.numRowsAffected();
        error = q.lastError();
    }
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code != kSqliteBusy && code != kSqliteLocked)
        failed(error, true);
    return -1;
}

bool ResultStore::shrink(int pageLimit)
{
    if (m_health != Health::Open)
        return true;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA freelist_count")) || !q.next())
        return true;
    const qint64 free = q.value(0).toLongLong();
    bool done = true;
    if (q.exec(QStringLiteral("PRAGMA auto_vacuum")) && q.next() && q.value(0).toInt() == 2) {
        // Each step of the statement gives back one page, and Qt steps a statement without columns once.
        const qint64 pages = std::min<qint64>(free, pageLimit);
        db.transaction();
        qint64 n = 0;
        while (n < pages && q.exec(QStringLiteral("PRAGMA incremental_vacuum")))
            ++n;
        q.finish(); // a statement still stepping would keep the commit from happening
        // Given up when another program holds the file: shrinking is a courtesy.
        done = !db.commit() || n < pages || pages == free;
    } else if (q.exec(QStringLiteral("PRAGMA page_count")) && q.next() &&
               free * 2 > q.value(0).toLongLong()) {
        // Turned incremental on the way, so that the next shrink needs no whole copy.
        q.exec(QStringLiteral("PRAGMA auto_vacuum=INCREMENTAL"));
        q.exec(QStringLiteral("VACUUM"));
    }
    if (done)
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return done;
}

QString ResultStore::takeNotice()
{
    return std::exchange(m_notice, QString());
}

} // namespace store
