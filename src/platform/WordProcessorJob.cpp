#include "platform/WordProcessorJob.h"

#include "documents/DocumentKind.h"

#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <signal.h>
#include <unistd.h>

namespace {

// More text than any document of the size the program opens could hold.
constexpr qsizetype kMaxOutputBytes = 256LL * 1024 * 1024;

} // namespace

WordProcessorJob::WordProcessorJob(const QString& path, QObject* parent)
    : WordProcessorJob(path, WordProcessor::options(), parent)
{
    m_useHandler = static_cast<bool>(WordProcessor::handler());
}

WordProcessorJob::WordProcessorJob(const QString& path, const WordProcessor::Options& options, QObject* parent)
    : QObject(parent), m_path(path), m_options(options)
{
}

WordProcessorJob::~WordProcessorJob()
{
    m_done = true; // no signal from a dying job
    killGroup();
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(5000); // killed: ends at once
    }
}

void WordProcessorJob::start()
{
    if (m_useHandler) {
        // The stand-in answers from the event loop, as the real process does.
        const WordProcessor::Handler handler = WordProcessor::handler();
        QTimer::singleShot(0, this, [this, handler] {
            if (!m_done)
                finish(handler(m_path));
        });
        return;
    }
    startProcess();
}

void WordProcessorJob::startProcess()
{
    if (const std::optional<documents::Failure> failure = documents::fileFailure(m_path)) {
        finish(*failure);
        return;
    }
    const QFileInfo file(m_path);
    m_profile = std::make_unique<QTemporaryDir>();
    if (!m_profile->isValid()) {
        finish(documents::Failure::WordProcessorFailed);
        return;
    }

    m_process = new QProcess(this);
    m_process->setProgram(m_options.program);
    m_process->setArguments({QStringLiteral("--headless"),
                             QStringLiteral("-env:UserInstallation=") +
                                 QUrl::fromLocalFile(m_profile->path()).toString(QUrl::FullyEncoded),
                             QStringLiteral("--cat"), file.absoluteFilePath()});
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so that a kill reaches the office process that the launcher starts.
    m_process->setChildProcessModifier([] { ::setsid(); });

    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] {
        m_output += m_process->readAllStandardOutput();
        if (m_output.size() > kMaxOutputBytes)
            finish(documents::Failure::WordProcessorFailed);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(documents::Failure::WordProcessorMissing);
    });
    connect(m_process, &QProcess::finished, this, &WordProcessorJob::processFinished);

    // One limit for the whole read, however the process spends it.
    m_limit = new QTimer(this);
    m_limit->setSingleShot(true);
    connect(m_limit, &QTimer::timeout, this, [this] { finish(documents::Failure::WordProcessorTimedOut); });
    m_limit->start(m_options.timeout);

    m_process->start();
    if (m_process->waitForStarted(-1) && m_process->processId() > 0)
        m_group = m_process->processId();
}

void WordProcessorJob::processFinished()
{
    if (m_done)
        return;
    m_output += m_process->readAllStandardOutput();
    if (m_process->exitStatus() != QProcess::NormalExit) {
        finish(documents::Failure::WordProcessorFailed);
        return;
    }
    if (std::optional<QString> text = documents::wordProcessorText(m_output))
        finish(std::move(*text));
    else
        finish(documents::Failure::WordProcessorFailed);
}

void WordProcessorJob::cancel()
{
    finish(documents::Failure::Cancelled);
}

void WordProcessorJob::killGroup()
{
    if (m_group > 0)
        ::kill(static_cast<pid_t>(-m_group), SIGKILL);
    m_group = 0;
}

void WordProcessorJob::finish(const documents::WordProcessorResult& result)
{
    if (m_done)
        return;
    m_done = true;
    if (m_limit)
        m_limit->stop();
    // Whatever the outcome, nothing the word processor started stays behind.
    killGroup();
    if (m_process && m_process->state() != QProcess::NotRunning)
        m_process->kill();
    m_output.clear();
    emit finished(result);
}
