#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// Plain text of word-processor documents (.doc, .docx, .odt, .wps) through LibreOffice, run headless
// with a private profile that is removed afterwards. The process is given a time limit and killed with
// all it started when it overruns, so no process outlives a call. Blocks the calling thread.
class WordProcessor
{
public:
    struct Options
    {
        QString program = QStringLiteral("soffice");
        std::chrono::milliseconds timeout{60'000};
    };
    using Handler = std::function<std::optional<QString>(const QString& path)>;

    // The document's text, paragraphs joined by '\n', or nothing when it could not be read.
    static std::optional<QString> plainText(const QString& path);

    // The real component with the given program and time limit.
    static std::optional<QString> run(const QString& path, const Options& options);

    // Tests: every later plainText() call goes to handler. An empty handler restores LibreOffice.
    static void setHandler(Handler handler);

private:
    static Handler& handler();
};
