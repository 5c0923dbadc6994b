#pragma once

#include "search/CheckRecord.h"
#include "search/Engines.h"
#include "search/PageScore.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QSqlError;

// The results of earlier checks, kept on disk so that a check can resume after the program closed.
namespace store {

// Results older than this are neither offered nor kept.
inline constexpr int kKeptDays = 30;

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
    QList<search::Title> titles() const;
};

// A SQLite file in one folder, opened when first needed. Each result is one transaction in
// write-ahead-log mode, so a killed program loses at most the result being written, and several
// programs can use the same file at once. Faults never stop the check: a damaged file is renamed
// aside and a new one started; when nothing can be written the store stops keeping. Either fault
// leaves one notice for the person.
class ResultStore
{
public:
    explicit ResultStore(QString directory);
    ~ResultStore();
    ResultStore(const ResultStore&) = delete;
    ResultStore& operator=(const ResultStore&) = delete;

    static QString fileName();
    QString filePath() const;

    // Keeps the result of searching query with engine, replacing an earlier one. False when it was
    // not kept.
    bool keep(search::Engine engine, const QString& query, const KeptResult& result);

    // The kept results for those of queries that another store (an earlier start of the program, or
    // another program) obtained with engine within kKeptDays before now, by query.
    QHash<QString, KeptResult> lookUp(search::Engine engine, const QStringList& queries,
                                      const QDateTime& now = QDateTime::currentDateTimeUtc());

    // Deletes every kept result and shrinks the file. False when that failed.
    bool clear();

    // What the person must be told about a fault since the last call, once; empty when nothing.
    QString takeNotice();

private:
    enum class Health { Closed, Open, NotKeeping };

    bool ensureOpen();
    // Opens the file and brings its schema up to date; false on any failure, which it has handled.
    bool openFile();
    void close();
    // A failed statement. A damaged file is set aside for a new one (true: try again); any other
    // failure of a write stops the keeping, of a read only gives no result.
    bool failed(const QSqlError& error, bool writing);
    QSqlError write(search::Engine engine, const QString& query, const KeptResult& result);
    QSqlError read(search::Engine engine, const QStringList& queries, const QDateTime& now,
                   QHash<QString, KeptResult>& found);
    void setAside();
    void stopKeeping();

    QString m_directory;
    QString m_connectionName;
    qint64 m_session;
    Health m_health = Health::Closed;
    bool m_recovered = false; // one new file per start: a file that breaks again is not renamed twice
    QString m_notice;
};

} // namespace store
