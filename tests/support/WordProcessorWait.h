#pragma once

#include "platform/WordProcessorJob.h"

#include <QEventLoop>

// Tests and benchmarks that read a document synchronously: a word-processor job, waited for in a
// local event loop.
inline documents::Read readWithWordProcessor(const QString& path, WordProcessorJob::Options options = {})
{
    documents::Read result = documents::Failure::WordProcessorFailed;
    QEventLoop loop;
    WordProcessorJob job(path, std::move(options));
    QObject::connect(&job, &WordProcessorJob::finished, &loop, [&](const documents::Read& r) {
        result = r;
        loop.quit();
    });
    job.start();
    if (!job.isDone())
        loop.exec();
    return result;
}
