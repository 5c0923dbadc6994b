#pragma once

#include "documents/Loading.h"
#include "platform/WordProcessor.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QProcess;
class QTemporaryDir;
class QTimer;

// One read of a document through the word processor without blocking the thread: the process runs
// while the event loop goes on, and finished() tells the outcome exactly once (text, the program
// missing, the time limit passed, no text, or a cancel). Destroying a running job cancels it.
class WordProcessorJob : public QObject
{
    Q_OBJECT
public:
    // Reads with WordProcessor::options(), or through WordProcessor::handler() when tests set one.
    explicit WordProcessorJob(const QString& path, QObject* parent = nullptr);
    WordProcessorJob(const QString& path, const WordProcessor::Options& options, QObject* parent = nullptr);
    ~WordProcessorJob() override;

    void start();
    // Kills the word processor with everything it started; finished() reports Cancelled.
    void cancel();
    bool isDone() const { return m_done; }

signals:
    void finished(const documents::WordProcessorResult& result);

private:
    void startProcess();
    void finish(const documents::WordProcessorResult& result);
    void killGroup();
    void processFinished();

    QString m_path;
    WordProcessor::Options m_options;
    bool m_useHandler = false;
    bool m_done = false;
    QProcess* m_process = nullptr;
    QTimer* m_limit = nullptr;
    std::unique_ptr<QTemporaryDir> m_profile;
    qint64 m_group = 0;
    QByteArray m_output;
};
