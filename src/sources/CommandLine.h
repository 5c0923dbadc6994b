#pragma once

#include "platform/ReadJob.h"
#include "sources/Library.h"
#include "sources/LocalCheck.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class QTextStream;

// tessaro-sources: the library and the local check for batches, without a window.
namespace sources {

// The exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUnreadable = 1; // the article or the library cannot be read
inline constexpr int kExitUsage = 2;

struct CommandOptions
{
    QString library = Library::defaultPath(); // without --library
    ReadJob::Options read;
};

// Runs one command (the arguments without the program's name): add, list, remove or check. Needs a
// QCoreApplication, whose event loop the reads go through. Returns the exit status.
int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
               const CommandOptions& options = {});

// One JSON object for a check: offsets and counts in code points; a source named by its first path.
QByteArray checkJson(const QString& articlePath, const QString& article, const CheckResult& result,
                     const QHash<qint64, QString>& sourcePaths, const SourceTexts& sourceTexts);

} // namespace sources
