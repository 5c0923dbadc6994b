#pragma once

#include "search/CheckRecord.h"
#include "search/Engines.h"
#include "search/PageScore.h"
#include "store/SqliteFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>

class QSqlError;

// The results of earlier checks, kept on disk so that a check can resume after the program closed.
namespace store {

// Results older than this are neither offered nor kept.
inline constexpr int kKeptDays = 30;

// Bounds of a kept result read back: a row beyond them is damaged or hostile and is ignored.
inline constexpr int kMaxKeptTitles = 10;
inline constexpr int kMaxTitleText = 300;
inline constexpr int kMaxLink = 2000;
inline constexpr int kMaxHeadingHtml = 4000; // a link, the title and the markup around them
inline constexpr int kMaxUnpackedTitles = 64 * 1024;

// One search's result as the record holds it: a scored page (with or without a figure) or a short one.
// The titles stay packed until they are needed: a look-up over a whole thesis reads them all, while
// only a resumed check unpacks them.
struct KeptResult
{
    search::SentenceState state = search::SentenceState::Scored;
    std::optional<double> similarity;
    QDateTime obtained;
    QByteArray packedTitles;

    void setTitles(const QList<search::Title>& titles);
    // Empty when the packed titles are beyond the bounds above.
    QList<search::Title> titles() const;
};

// The titles of packed, or nullopt when they are damaged or beyond the bounds; the unpacked size is
// checked before anything is unpacked.
std::optional<QList<search::Title>> unpackTitles(const QByteArray& packed);

// A SQLite file in one folder, opened when first needed. Each result is one transaction in
// write-ahead-log mode, so a killed program loses at most the result being written, and several
// programs can use the same file at once. Faults never stop the check: a damaged file (or one of
// another schema, or with a log that does not belong to it) is renamed aside with its log and a new
// one started, and is never written into; a file that is not writable is only read; when nothing can
// be written the store stops keeping. Each fault leaves one notice for the person. Not thread-safe:
// one thread uses a store (Qt SQL connections belong to the thread that made them).
class ResultStore
{
public:
    enum class Outcome { Done, Busy, Failed };

    explicit ResultStore(QString directory, int busyTimeoutMs = kBusyTimeoutMs);
    ~ResultStore();
    ResultStore(const ResultStore&) = delete;
    ResultStore& operator=(const ResultStore&) = delete;

    static QString fileName();
    QString filePath() const;

    // Keeps the result of searching query with engine, replacing an earlier one. False when it was
    // not kept.
    bool keep(search::Engine engine, const QString& query, const KeptResult& result)
    {
        return tryKeep(engine, query, result) == Outcome::Done;
    }
    // Busy: another program holds the file; the caller may try again later.
    Outcome tryKeep(search::Engine engine, const QString& query, const KeptResult& result);

    // The kept results for those of queries that another store (an earlier start of the program, or
    // another program) obtained with engine within kKeptDays before now, by query.
    QHash<QString, KeptResult> lookUp(search::Engine engine, const QStringList& queries,
                                      const QDateTime& now = QDateTime::currentDateTimeUtc());

    // Deletes every kept result and shrinks the file. False when that failed.
    bool clear();
    // How many results the file keeps; -1 when it cannot be read.
    int count();

    // Deletes at most limit results older than kKeptDays before now; how many, or -1 on a failure.
    int expire(const QDateTime& now, int limit);
    // Gives free pages back to the disk, at most pageLimit of them in a file that can do so step by
    // step; true when no more are to be given back.
    bool shrink(int pageLimit = std::numeric_limits<int>::max());

    // What the person must be told about a fault since the last call, once; empty when nothing.
    QString takeNotice();

private:
    enum class Health { Closed, Open, ReadOnly, NotKeeping };
    enum class Fault { Busy, Full, Unwritable, ReadOnlyFile, Damaged, OtherSchema, DamagedStays };
    enum class Check { Sound, Damaged, OtherSchema, Busy, Failed };

    bool ensureOpen();
    // Opens the file and brings its schema up to date; false on any failure, which it has handled.
    bool openFile();
    std::optional<bool> checkExisting(const QString& path, bool writable);
    // The file as found, read through a read-only connection that never writes (nor checkpoints) it.
    Check checkFile(bool immutable);
    bool connect(const QString& options, const QString& name);
    void close();
    // A failed statement. A damaged file is set aside for a new one (true: try again); any other
    // failure of a write stops the keeping, of a read only gives no result.
    bool failed(const QSqlError& error, bool writing);
    QSqlError write(search::Engine engine, const QString& query, const KeptResult& result);
    QSqlError read(search::Engine engine, const QStringList& queries, const QDateTime& now,
                   QHash<QString, KeptResult>& found);
    void setAside(Fault why);
    void stopKeeping(Fault why);
    void say(Fault fault);
    void removeRows(const QList<qint64>& keys);

    QString m_directory;
    QString m_connectionName;
    qint64 m_session;
    int m_busyTimeoutMs;
    Health m_health = Health::Closed;
    bool m_busySaid = false; // one notice per busy spell
    bool m_readOnlySaid = false;
    QString m_asidePath;
    bool m_recovered = false; // one new file per start: a file that breaks again is not renamed twice
    QString m_notice;
};

} // namespace store
