#pragma once

#include "documents/Loading.h"
#include "platform/WordProcessorJob.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QProcess;
class QTimer;

// How a read job reads: the reader program (the program's own readers in a process of their own),
// its limits, and the word processor for the files that need it.
struct ReadJobOptions
{
    QString reader = installedReader();
    documents::Readers readers = documents::Readers::NativeFirst;
    std::chrono::milliseconds timeLimit = documents::kReadTimeLimit;
    qint64 memoryLimit = documents::kReadMemoryLimit;
    WordProcessorJobs wordProcessor = wordProcessorJobs();

    // The reader installed beside the running program.
    static QString installedReader();
};

// One read of a file (documents::read) without blocking the thread and without widgets. The readers
// run in a child process, the reader program, since a library such as Poppler can spend minutes and
// gigabytes on one small file and cannot be interrupted: the process has a memory and a time limit,
// is killed at once on cancel, with the job, and when the program ends (a parent-death signal), and
// hands its read back through a pipe. A file that needs the word processor then goes to a
// WordProcessorJob. finished() tells the outcome exactly once: text, rich text, or a failure
// (TimeLimit, MemoryLimit, Cancelled among them).
class ReadJob : public QObject
{
    Q_OBJECT
public:
    using Options = ReadJobOptions;

    explicit ReadJob(const QString& path, Options options = {}, QObject* parent = nullptr);
    ~ReadJob() override;

    void start();
    void cancel();
    bool isDone() const { return m_done; }
    // The reader process while it runs; 0 otherwise.
    qint64 readerPid() const;
    // The time limit the word processor had, once it was asked; 0 before.
    std::chrono::milliseconds wordProcessorLimit() const { return m_wordProcessorLimit; }

    // The reader program's side: reads path (arguments as the job passes them) and writes the report to
    // standard output. Returns the process's exit code.
    static int runReader(const QStringList& arguments);

signals:
    void finished(const documents::Read& read);

private:
    void readerFinished();
    void startWordProcessor(documents::Read ifItFails);
    void finish(documents::Read read);
    void stopReader();

    QString m_path;
    Options m_options;
    bool m_done = false;
    QProcess* m_process = nullptr;
    QTimer* m_limit = nullptr;
    QByteArray m_output;
    std::unique_ptr<WordProcessorJob> m_wordProcessor;
    std::chrono::milliseconds m_wordProcessorLimit{0};
};
