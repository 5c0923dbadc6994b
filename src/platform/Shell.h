#pragma once

#include <QUrl>

#include <functional>

// Opens addresses in the user's default browser, with a seam for tests.
class Shell
{
public:
    using Handler = std::function<bool(const QUrl&)>;

    // True when the default browser was asked to open url.
    static bool openInDefaultBrowser(const QUrl& url);

    // Tests: later calls go to handler instead of the desktop. An empty handler restores the desktop.
    static void setHandler(Handler handler);

private:
    static Handler& handler();
};
