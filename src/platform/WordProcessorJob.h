#pragma once

#include "documents/Loading.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace tempfiles {
class TemporaryFolder;
}

class QProcess;
class QTimer;

// The program a word-processor job starts and how long it may take.
struct WordProcessorOptions
{
    QString program = QStringLiteral("soffice");
    std::chrono::milliseconds timeout{60'000};
};

// One read of a document's plain text through the word processor (LibreOffice, headless, with a
// private profile) without blocking the thread: the process runs while the event loop goes on, and
// finished() tells the outcome exactly once (text, the program missing, the time limit passed, no
// text, or a cancel). Destroying a running job cancels it.
//
// Nothing it starts outlives the program: the process gets a parent-death signal, and a small guard
// started with it kills the whole process group and removes the profile as soon as the program's end
// of a pipe closes, which happens however the program ends (a kill, a logout's SIGHUP, a crash).
class WordProcessorJob : public QObject
{
    Q_OBJECT
public:
    using Options = WordProcessorOptions;

    explicit WordProcessorJob(const QString& path, Options options = {}, QObject* parent = nullptr);
    ~WordProcessorJob() override;

    const Options& options() const { return m_options; }
    void start();
    // Kills the word processor with everything it started; finished() reports Cancelled.
    void cancel();
    bool isDone() const { return m_done; }

    // Removes the profiles in folder (the private folder, or where earlier versions put them) whose
    // program is no longer running (left by a power cut or a guard that could not run), following no
    // link. Called once at start-up. New profiles go in tempfiles::privateFolder().
    static void removeStaleProfiles(const QString& folder);

signals:
    void finished(const documents::Read& result);

private:
    void startProcess();
    void finish(const documents::Read& result);
    void killGroup();
    void closeGuard();
    void processFinished();

    QString m_path;
    Options m_options;
    bool m_done = false;
    QProcess* m_process = nullptr;
    QTimer* m_limit = nullptr;
    std::unique_ptr<tempfiles::TemporaryFolder> m_profile;
    qint64 m_group = 0;
    int m_guard = -1; // the program's end of the guard's pipe
    QByteArray m_output;
};

// Where a window gets its word-processor jobs: the real program with the given options, or, in tests,
// a stand-in.
using WordProcessorJobs = std::function<std::unique_ptr<WordProcessorJob>(const QString& path)>;
WordProcessorJobs wordProcessorJobs(WordProcessorJob::Options options = {});
