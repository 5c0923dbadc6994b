#pragma once

#include <QString>

#include <span>

class QSqlDatabase;
class QSqlError;

// What the program's SQLite files share: the write-ahead log, a schema version with one step per
// version, and a damaged file renamed aside rather than deleted.
namespace store {

// How long a statement waits for another program's lock before it counts as busy.
inline constexpr int kBusyTimeoutMs = 1000;

// SQLite's primary result codes that the stores tell apart.
inline constexpr int kSqliteBusy = 5;
inline constexpr int kSqliteLocked = 6;
inline constexpr int kSqliteCorrupt = 11;
inline constexpr int kSqliteFull = 13;
inline constexpr int kSqliteNotADatabase = 26;

// The primary result code of a failed statement.
int sqliteCode(const QSqlError& error);

// Whether the log beside the file can belong to it (SQLite's header of a write-ahead log: magic,
// format, the file's page size and its checksum). A log left by another file passes only by chance.
bool walBelongs(const QString& path, const QString& walPath);

// Puts the open database in write-ahead-log mode and brings its schema to steps.size() (user_version),
// running the steps from the file's version on in one transaction. An invalid error on success; newer
// tells a later program's file, which is left as it is.
QSqlError migrate(QSqlDatabase& db, std::span<const char* const> steps, bool& newer);

// Renames path with its log and the log's index to path + kind + the local time (".damaged-" or
// ".other-"), never over an existing file. The new name, or empty when the file could not be moved.
QString setAside(const QString& path, const QString& kind);

} // namespace store
