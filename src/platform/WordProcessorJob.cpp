#include "platform/WordProcessorJob.h"

#include "documents/DocumentKind.h"
#include "platform/TemporaryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <array>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// More text than any document of the size the program opens could hold.
constexpr qsizetype kMaxOutputBytes = 256LL * 1024 * 1024;

// The guard: waits until the program's end of its pipe closes, then kills the process group given as
// $1 and removes the profile named $3 from the private folder $2, and only when $2 is still that
// folder of this user's, reached through no link (rm removes links, never what they point to).
// A shell, so that it runs no code of ours after a fork. A group number of 1 or less would reach
// every process: never.
const char kGuardScript[] = "read _; [ \"$1\" -gt 1 ] && kill -s KILL -- \"-$1\" 2>/dev/null; "
                            "cd -P -- \"$2\" && [ \"$(pwd -P)\" = \"$2\" ] && [ -O . ] && rm -rf -- \"./$3\"";

// Decimal digits of a positive number into out, without allocating (after fork, before exec).
void writeDecimal(char* out, long value)
{
    char reversed[24];
    int n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 23);
    for (int i = 0; i < n; ++i)
        out[i] = reversed[n - 1 - i];
    out[n] = '\0';
}

// Runs in the word processor's process between fork and exec: only async-signal-safe calls.
struct ChildSetup
{
    pid_t program;      // the program that starts the word processor
    int guardInput;     // the guard's end of the pipe
    QByteArray folder;  // the private folder and
    QByteArray profile; // the profile's name in it, for the guard to remove
    std::array<char, 24> group{};

    void operator()()
    {
        // Its own process group, so that one kill reaches the office process the launcher starts.
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != program)
            ::_exit(127); // the program ended before the signal was set
        // The group is this process's own (setsid): known here, before the guard could lose its parent.
        writeDecimal(group.data(), static_cast<long>(::getpid()));
        const pid_t guard = ::fork();
        if (guard != 0)
            return; // the word processor goes on to exec; the guard's input closes there (close-on-exec)
        // The guard leaves the group it is to kill, keeps only its pipe and exec's the shell.
        ::setpgid(0, 0);
        ::dup2(guardInput, STDIN_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        if (::syscall(SYS_close_range, 3U, ~0U, 0U) != 0) {
            for (int fd = 3; fd < 4096; ++fd)
                ::close(fd);
        }
        char shell[] = "/bin/sh";
        char dashC[] = "-c";
        char script[sizeof kGuardScript];
        for (std::size_t i = 0; i < sizeof kGuardScript; ++i)
            script[i] = kGuardScript[i];
        char name[] = "tessaro-office-guard";
        char* argv[] = {shell,
                        dashC,
                        script,
                        name,
                        group.data(),
                        const_cast<char*>(folder.constData()),
                        const_cast<char*>(profile.constData()),
                        nullptr};
        ::execv(shell, argv);
        ::_exit(127);
    }
};

} // namespace

WordProcessorJobs wordProcessorJobs(WordProcessorJob::Options options)
{
    return [options](const QString& path) { return std::make_unique<WordProcessorJob>(path, options); };
}

WordProcessorJob::WordProcessorJob(const QString& path, Options options, QObject* parent)
    : QObject(parent), m_path(path), m_options(std::move(options))
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
    closeGuard();
}

void WordProcessorJob::removeStaleProfiles(const QString& folder)
{
    tempfiles::removeStaleOfficeProfiles(folder);
}

void WordProcessorJob::start()
{
    startProcess();
}

void WordProcessorJob::startProcess()
{
    if (const std::optional<documents::Failure> failure = documents::fileFailure(m_path)) {
        QTimer::singleShot(0, this, [this, failure] { finish(*failure); });
        return;
    }
    const QFileInfo file(m_path);
    m_profile = std::make_unique<tempfiles::TemporaryFolder>(
        tempfiles::privateFolder(), tempfiles::officeProfileTemplate(QCoreApplication::applicationPid()));
    int pipe[2];
    if (!m_profile->isValid() || ::pipe2(pipe, O_CLOEXEC) != 0) {
        QTimer::singleShot(0, this, [this] { finish(documents::Failure::WordProcessorFailed); });
        return;
    }
    m_guard = pipe[1];

    m_process = new QProcess(this);
    m_process->setProgram(m_options.program);
    m_process->setArguments({QStringLiteral("--headless"),
                             QStringLiteral("-env:UserInstallation=") +
                                 QUrl::fromLocalFile(m_profile->path()).toString(QUrl::FullyEncoded),
                             QStringLiteral("--cat"), file.absoluteFilePath()});
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->setChildProcessModifier(ChildSetup{::getpid(),
                                                  pipe[0],
                                                  QFile::encodeName(m_profile->folder()),
                                                  QFile::encodeName(m_profile->name()),
                                                  {}});

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
    ::close(pipe[0]); // the guard has its own copy
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

void WordProcessorJob::closeGuard()
{
    // The guard wakes, finds the group gone and removes the profile (again).
    if (m_guard >= 0)
        ::close(m_guard);
    m_guard = -1;
}

void WordProcessorJob::finish(const documents::Read& result)
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
    closeGuard();
    m_output.clear();
    emit finished(result);
}
