#include "platform/WordProcessor.h"

#include "documents/DocumentKind.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <signal.h>
#include <unistd.h>

namespace {

// More text than any document of the size the program opens could hold.
constexpr qsizetype kMaxOutputBytes = 256LL * 1024 * 1024;

} // namespace

WordProcessor::Handler& WordProcessor::handler()
{
    static Handler h;
    return h;
}

void WordProcessor::setHandler(Handler h)
{
    handler() = std::move(h);
}

std::optional<QString> WordProcessor::plainText(const QString& path)
{
    if (handler())
        return handler()(path);
    return run(path, Options());
}

std::optional<QString> WordProcessor::run(const QString& path, const Options& options)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable() || file.size() > documents::kMaxFileBytes)
        return std::nullopt;
    QTemporaryDir profile;
    if (!profile.isValid())
        return std::nullopt;

    QProcess process;
    process.setProgram(options.program);
    process.setArguments({QStringLiteral("--headless"),
                          QStringLiteral("-env:UserInstallation=") +
                              QUrl::fromLocalFile(profile.path()).toString(QUrl::FullyEncoded),
                          QStringLiteral("--cat"), file.absoluteFilePath()});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so that a kill reaches the office process that the launcher starts.
    process.setChildProcessModifier([] { ::setsid(); });

    QElapsedTimer clock;
    clock.start();
    process.start();
    if (!process.waitForStarted(static_cast<int>(options.timeout.count())))
        return std::nullopt;
    const qint64 group = process.processId();

    QByteArray output;
    bool complete = false;
    for (;;) {
        const qint64 remaining = options.timeout.count() - clock.elapsed();
        if (remaining <= 0)
            break;
        if (process.waitForReadyRead(static_cast<int>(remaining))) {
            output += process.readAllStandardOutput();
            if (output.size() > kMaxOutputBytes)
                break;
            continue;
        }
        if (process.state() == QProcess::NotRunning) {
            complete = true;
            break;
        }
        // Output closed but the process goes on: wait for its end within the limit.
        if (process.waitForFinished(static_cast<int>(std::max<qint64>(1, remaining)))) {
            complete = true;
            break;
        }
    }
    if (group > 0)
        ::kill(static_cast<pid_t>(-group), SIGKILL);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
    if (!complete || process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    output += process.readAllStandardOutput();
    return documents::wordProcessorText(output);
}
