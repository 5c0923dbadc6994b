#pragma once

#include "sources/LocalCheck.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// The writer's own sources, kept in a SQLite file of their own (sources.sqlite).
namespace sources {

struct LibraryEntry
{
    qint64 id = 0;
    QStringList paths; // every path it was added under, absolute
    QString title;
    qint64 size = 0;  // bytes of the file
    qint64 chars = 0; // characters of its text
};

// One source per content: a file added again unchanged is not read again, the same content under
// another path is listed under both, and a changed file replaces what its path held. The file is in
// write-ahead-log mode with a schema version; a damaged file, or one of another schema, is renamed
// aside (never deleted) and a new one started, with a notice. Not thread-safe: one thread uses a
// library object (Qt SQL connections belong to their thread); two objects may share the file.
class Library
{
public:
    explicit Library(QString filePath);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    static QString fileName() { return QStringLiteral("sources.sqlite"); }
    // The window's library: beside the kept results, in the program's data folder.
    static QString defaultPath();
    QString filePath() const { return m_path; }

    // Opens or creates the file; false with error() when it cannot be read or written.
    bool open();
    QString error() const { return m_error; }
    // What the person must be told once (a damaged file set aside); empty when nothing.
    QString takeNotice() { return std::exchange(m_notice, QString()); }

    // The content hash of a file's bytes.
    static QByteArray contentHash(const QByteArray& bytes);
    // The hash path was added with; nothing when it is not in the library.
    std::optional<QByteArray> hashOf(const QString& path);
    // Lists path under the source with this content, if there is one (a path that held other content
    // is moved to it). True when the content was there.
    bool addPath(const QString& path, const QByteArray& hash);
    // A new source read from path.
    bool addSource(const QString& path, const QByteArray& hash, qint64 size, const QString& title,
                   const QString& text);
    // Removes path; a source goes with its last path. False when path is not in the library.
    bool remove(const QString& path);

    QList<LibraryEntry> entries();
    // The fingerprints of every source, for checks.
    bool loadIndex(SourceIndex& index);
    // The source's text as it was read; empty when unknown.
    QString text(qint64 source);

private:
    bool run(const QString& statement, const QVariantList& values = {});
    bool openFile(bool retry);
    bool fail(const QString& what);
    void close();
    void detach(const QString& path);

    QString m_path;
    QString m_connection;
    bool m_open = false;
    QString m_error;
    QString m_notice;
};

} // namespace sources
