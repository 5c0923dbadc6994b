#pragma once

#include <QString>

#include <functional>
#include <optional>

// The system clipboard's plain text, with a seam for tests. Another program may hold the
// clipboard: the calls then report the failure instead of pretending to have worked.
class Clipboard
{
public:
    struct Handler
    {
        std::function<bool(const QString&)> setText;
        std::function<std::optional<QString>()> text;
    };

    // Puts text on the clipboard as plain text, every character kept; false when the clipboard did
    // not take it.
    static bool setText(const QString& text);
    // The clipboard's plain text: empty when it holds none, nullopt when there is no clipboard to
    // read.
    static std::optional<QString> text();

    // Tests: later calls go to handler instead of the system clipboard. An empty handler restores it.
    static void setHandler(Handler handler);

private:
    static Handler& handler();
};
