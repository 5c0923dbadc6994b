// tessaro-sources: fills the library of sources and checks articles against it, for batches. No window,
// no browser; the same core and the same library file as the program's window.
#include "sources/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The same names as the program, so that the library without --library is the window's.
    QCoreApplication::setOrganizationName(QStringLiteral("tessaro"));
    QCoreApplication::setApplicationName(QStringLiteral("tessaro"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = sources::runCommand(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
