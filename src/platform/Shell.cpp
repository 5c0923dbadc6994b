#include "platform/Shell.h"

#include <QDesktopServices>

Shell::Handler& Shell::handler()
{
    static Handler h;
    return h;
}

void Shell::setHandler(Handler h)
{
    handler() = std::move(h);
}

bool Shell::openInDefaultBrowser(const QUrl& url)
{
    if (handler())
        return handler()(url);
    return QDesktopServices::openUrl(url);
}
