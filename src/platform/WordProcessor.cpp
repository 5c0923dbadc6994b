#include "platform/WordProcessor.h"

#include "platform/WordProcessorJob.h"

#include <QEventLoop>

WordProcessor::Handler& WordProcessor::handlerSlot()
{
    static Handler h;
    return h;
}

WordProcessor::Options& WordProcessor::optionsSlot()
{
    static Options o;
    return o;
}

void WordProcessor::setHandler(Handler h)
{
    handlerSlot() = std::move(h);
}

const WordProcessor::Handler& WordProcessor::handler()
{
    return handlerSlot();
}

void WordProcessor::setOptions(const Options& options)
{
    optionsSlot() = options;
}

const WordProcessor::Options& WordProcessor::options()
{
    return optionsSlot();
}

documents::WordProcessorResult WordProcessor::plainText(const QString& path)
{
    if (handler())
        return handler()(path);
    return run(path, options());
}

documents::WordProcessorResult WordProcessor::run(const QString& path, const Options& options)
{
    documents::WordProcessorResult result = documents::Failure::WordProcessorFailed;
    QEventLoop loop;
    WordProcessorJob job(path, options);
    QObject::connect(&job, &WordProcessorJob::finished, &loop,
                     [&](const documents::WordProcessorResult& r) {
                         result = r;
                         loop.quit();
                     });
    job.start();
    if (!job.isDone())
        loop.exec();
    return result;
}
