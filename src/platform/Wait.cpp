#include "platform/Wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

bool WaitSeconds(float seconds)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 limitMs = static_cast<qint64>(std::ceil(static_cast<double>(seconds) * 1000.0));
    while (clock.elapsed() <= limitMs) {
        QEventLoop loop;
        bool timerFired = false;
        QTimer::singleShot(static_cast<int>(limitMs - clock.elapsed() + 1), &loop, [&] {
            timerFired = true;
            loop.quit();
        });
        loop.exec();
        if (!timerFired)
            return false; // the application is quitting: its exit ends every event loop
    }
    return true;
}
