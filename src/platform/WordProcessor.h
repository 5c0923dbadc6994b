#pragma once

#include "documents/Loading.h"

#include <QString>

#include <chrono>
#include <functional>

// Plain text of word-processor documents (.doc, .wps, and .docx or .odt that the native readers
// cannot handle) through LibreOffice, run headless with a private profile that is removed afterwards.
// The process gets a time limit and is killed with all it started when it overruns or the read is
// cancelled, so no process outlives a read. WordProcessorJob reads without blocking; the calls here
// wait for it.
class WordProcessor
{
public:
    struct Options
    {
        QString program = QStringLiteral("soffice");
        std::chrono::milliseconds timeout{60'000};
    };
    using Handler = std::function<documents::WordProcessorResult(const QString& path)>;

    // The document's text, paragraphs joined by '\n', or why not. Waits in a local event loop.
    static documents::WordProcessorResult plainText(const QString& path);

    // The real component with the given program and time limit; waits in a local event loop.
    static documents::WordProcessorResult run(const QString& path, const Options& options);

    // Tests: every later read goes to handler (a WordProcessorJob answers from the event loop). An
    // empty handler restores LibreOffice.
    static void setHandler(Handler handler);
    static const Handler& handler();

    // Tests: the program and time limit of every later real read.
    static void setOptions(const Options& options);
    static const Options& options();

private:
    static Handler& handlerSlot();
    static Options& optionsSlot();
};
