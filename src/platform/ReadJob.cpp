#include "platform/ReadJob.h"

#include "documents/ReadTransfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <new>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// More than the largest report a file of the size the program opens can give.
constexpr qsizetype kMaxReportBytes = 512LL * 1024 * 1024;

// The reader's exit codes other than success.
constexpr int kExitOutOfMemory = 3;
constexpr int kExitCrashed = 4;
constexpr int kExitUsage = 2;

const QString kWordProcessorOnly = QStringLiteral("--word-processor-only");
const QString kMemoryLimit = QStringLiteral("--memory-limit");

// Runs in the reader's process between fork and exec: only async-signal-safe calls.
struct ReaderSetup
{
    pid_t program;
    rlim_t memoryLimit;

    void operator()() const
    {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != program)
            ::_exit(127); // the program ended before the signal was set
        const rlimit limit{memoryLimit, memoryLimit};
        ::setrlimit(RLIMIT_AS, &limit);
    }
};

// The reader's address-space limit, for its crash handler: a crash with much of it taken was a failed
// allocation that a library did not survive (Poppler aborts on one). No file the program opens
// needs half of it.
rlim_t g_memoryLimit = 0;

// The VmSize line of /proc/self/status in bytes; 0 when it cannot be read. Async-signal-safe.
long long addressSpaceInUse()
{
    char buffer[4096];
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (n <= 0)
        return 0;
    buffer[n] = '\0';
    const char key[] = "VmSize:";
    for (ssize_t i = 0; i + 7 < n; ++i) {
        bool match = true;
        for (int k = 0; k < 7 && match; ++k)
            match = buffer[i + k] == key[k];
        if (!match)
            continue;
        long long kb = 0;
        for (ssize_t j = i + 7; j < n && buffer[j] != '\n'; ++j)
            if (buffer[j] >= '0' && buffer[j] <= '9')
                kb = kb * 10 + (buffer[j] - '0');
        return kb * 1024;
    }
    return 0;
}

void onCrash(int)
{
    const bool nearLimit =
        g_memoryLimit > 0 && addressSpaceInUse() > static_cast<long long>(g_memoryLimit / 2);
    ::_exit(nearLimit ? kExitOutOfMemory : kExitCrashed);
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace

QString ReadJobOptions::installedReader()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tessaro-reader"));
}

int ReadJob::runReader(const QStringList& arguments)
{
    documents::ReadOptions options;
    QString path;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == kWordProcessorOnly)
            options.readers = documents::Readers::WordProcessorOnly;
        else if (arguments[i] == kMemoryLimit && i + 1 < arguments.size())
            g_memoryLimit = arguments[++i].toULongLong();
        else if (arguments[i] == QStringLiteral("--") && i + 1 < arguments.size())
            path = arguments[++i];
    }
    if (path.isEmpty())
        return kExitUsage;
    std::set_new_handler([] { ::_exit(kExitOutOfMemory); });
    for (const int signal : {SIGABRT, SIGSEGV, SIGBUS})
        ::signal(signal, onCrash);

    documents::ReaderReport report;
    // The program runs the word processor itself: here only that the file needs it is noted.
    options.wordProcessor = [&report](const QString&) -> documents::Read {
        report.needsWordProcessor = true;
        return documents::Failure::WordProcessorFailed;
    };
    try {
        report.read = documents::read(path, options);
    } catch (const std::bad_alloc&) {
        // Qt reports a failed allocation by throwing, not through the new handler.
        return kExitOutOfMemory;
    }
    return writeAll(STDOUT_FILENO, documents::serialise(report)) ? 0 : kExitCrashed;
}

ReadJob::ReadJob(const QString& path, Options options, QObject* parent)
    : QObject(parent), m_path(path), m_options(std::move(options))
{
}

ReadJob::~ReadJob()
{
    m_done = true; // no signal from a dying job
    stopReader();
}

qint64 ReadJob::readerPid() const
{
    return m_process && m_process->state() != QProcess::NotRunning ? m_process->processId() : 0;
}

void ReadJob::start()
{
    m_process = new QProcess(this);
    m_process->setProgram(m_options.reader);
    QStringList arguments{kMemoryLimit, QString::number(m_options.memoryLimit)};
    if (m_options.readers == documents::Readers::WordProcessorOnly)
        arguments << kWordProcessorOnly;
    m_process->setArguments(arguments << QStringLiteral("--") << m_path);
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->setChildProcessModifier(ReaderSetup{::getpid(), static_cast<rlim_t>(m_options.memoryLimit)});

    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] {
        m_output += m_process->readAllStandardOutput();
        if (m_output.size() > kMaxReportBytes)
            finish(documents::Failure::MemoryLimit);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(documents::Failure::ReaderMissing);
    });
    connect(m_process, &QProcess::finished, this, &ReadJob::readerFinished);

    m_limit = new QTimer(this);
    m_limit->setSingleShot(true);
    connect(m_limit, &QTimer::timeout, this, [this] { finish(documents::Failure::TimeLimit); });
    m_limit->start(m_options.timeLimit);
    m_process->start();
}

void ReadJob::readerFinished()
{
    if (m_done || !m_process)
        return;
    m_limit->stop();
    m_output += m_process->readAllStandardOutput();
    const bool normal = m_process->exitStatus() == QProcess::NormalExit;
    const int code = m_process->exitCode();
    m_process->deleteLater();
    m_process = nullptr;
    if (normal && code == kExitOutOfMemory) {
        finish(documents::Failure::MemoryLimit);
        return;
    }
    std::optional<documents::ReaderReport> report;
    if (normal && code == 0)
        report = documents::deserialise(m_output);
    m_output.clear();
    if (!report) {
        // A reader that died otherwise met something in the file it could not survive.
        finish(documents::Failure::Damaged);
        return;
    }
    if (report->needsWordProcessor)
        startWordProcessor(std::move(report->read));
    else
        finish(std::move(report->read));
}

void ReadJob::startWordProcessor(documents::Read ifItFails)
{
    if (!m_options.wordProcessor) {
        finish(documents::Failure::WordProcessorMissing);
        return;
    }
    m_wordProcessor = m_options.wordProcessor(m_path);
    m_wordProcessorLimit = m_wordProcessor->options().timeout;
    connect(m_wordProcessor.get(), &WordProcessorJob::finished, this,
            [this, ifItFails = std::move(ifItFails)](const documents::Read& read) {
                const documents::Failure* failure = std::get_if<documents::Failure>(&read);
                finish(failure && *failure == documents::Failure::WordProcessorFailed ? ifItFails : read);
            });
    m_wordProcessor->start();
}

void ReadJob::cancel()
{
    finish(documents::Failure::Cancelled);
}

void ReadJob::stopReader()
{
    if (m_limit)
        m_limit->stop();
    if (m_process) {
        // Killed at once; it is reaped when it has gone, without the thread waiting for that.
        QProcess* process = m_process;
        m_process = nullptr;
        process->disconnect(this);
        process->setParent(nullptr);
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        if (process->state() == QProcess::NotRunning)
            process->deleteLater();
        else
            process->kill();
    }
    if (m_wordProcessor) {
        m_wordProcessor->disconnect(this);
        m_wordProcessor->cancel(); // kills the word processor now
        // The job may be inside its own signal: it goes once the event loop comes back.
        m_wordProcessor.release()->deleteLater();
    }
}

void ReadJob::finish(documents::Read read)
{
    if (m_done)
        return;
    m_done = true;
    stopReader();
    m_output.clear();
    emit finished(read);
}
