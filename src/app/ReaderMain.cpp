// tessaro-reader: reads one document for the program (ReadJob) in a process of its own, so that a
// file a library spends minutes or gigabytes on can be stopped. No window, no application object.
#include "platform/ReadJob.h"

#include <QFile>
#include <QStringList>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    return ReadJob::runReader(arguments);
}
