#pragma once

#include "platform/ReadJob.h"
#include "sources/Library.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// Filling a library from files and folders, one file at a time, without blocking the thread.
namespace sources {

struct AddedFile
{
    enum class Outcome {
        Read,        // read and added
        Unchanged,   // already there with this content: not read again
        SameContent, // another path of the library has this content: listed under this one too
        Failed,      // could not be read or kept; reason says why
    };
    QString path;
    Outcome outcome = Outcome::Read;
    QString reason;
    qint64 chars = 0;
};

// The files of paths: a file as given, a folder walked through its subfolders for the kinds of file
// the program opens (.txt .rtf .docx .odt .pdf .doc .wps), each in name order; absolute paths.
QStringList sourceFiles(const QStringList& paths);

// Reads each file through the program's read route (ReadJob: its own readers in the reader process,
// the word processor for .doc and .wps, one process at a time under the limits of an open; a plain
// text file is decoded here) and adds
// it to the library. fileDone() tells each file's outcome, in order; finished() comes once, after the
// last file or a cancel.
class SourceAdding : public QObject
{
    Q_OBJECT
public:
    SourceAdding(Library& library, QStringList files, ReadJob::Options options = {},
                 QObject* parent = nullptr);
    ~SourceAdding() override;

    void start();
    void cancel();
    int total() const { return static_cast<int>(m_files.size()); }

signals:
    // Before file number done + 1 of total is read.
    void progress(int done, int total);
    void fileDone(const sources::AddedFile& file);
    void finished(bool cancelled);

private:
    void next();
    void readFinished(const documents::Read& read);
    // Adds what reading path gave, or tells why it cannot be added.
    void keep(const QString& path, const documents::Read& read, std::chrono::milliseconds limit);
    void done(AddedFile file);

    Library& m_library;
    QStringList m_files;
    ReadJob::Options m_options;
    qsizetype m_next = 0;
    bool m_cancelled = false;
    bool m_finished = false;
    std::unique_ptr<ReadJob> m_job;
    QByteArray m_hash;
    qint64 m_size = 0;
};

// The text of the document at path, as the program reads it (line breaks as one '\n'), or the reason
// it could not be read, waiting for the read in a local event loop: for the command line.
struct ReadText
{
    QString text;
    QString failure; // empty on success
};
ReadText readDocument(const QString& path, ReadJob::Options options = {});

} // namespace sources
