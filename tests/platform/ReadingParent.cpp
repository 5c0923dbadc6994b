// A program that reads one file through a ReadJob and waits: the read-job test kills it to see that
// the reader process goes with it. Prints the reader's process id once it runs.
//   reading-parent READER FILE
#include "platform/ReadJob.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    ReadJobOptions options;
    options.reader = QString::fromLocal8Bit(argv[1]);
    ReadJob job(QString::fromLocal8Bit(argv[2]), options);
    job.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (job.readerPid() > 0) {
            std::printf("%lld\n", static_cast<long long>(job.readerPid()));
            std::fflush(stdout);
            poll.stop();
        }
    });
    poll.start(5);
    return app.exec();
}
