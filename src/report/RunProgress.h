#pragma once

#include "report/ReportText.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace search {
class CheckRun;
}

// How far the check has got and, during an automatic run, how long the rest will take at the run's
// own pace. The results window and the main window's caption read it.
namespace report {

// The share of the sentences checked, in whole percent, rounded down: 100 only when all are.
int checkedPercent(const Coverage& c);

// The pace of one automatic run: sentences checked since it started over the time since then.
class RunPace
{
public:
    void start(qsizetype checked, qint64 nowMs);
    void stop() { m_running = false; }
    bool isRunning() const { return m_running; }
    // Milliseconds left for the sentences not yet checked; none until one was checked during the run.
    std::optional<qint64> remainingMs(const Coverage& c, qint64 nowMs) const;

private:
    bool m_running = false;
    qsizetype m_startChecked = 0;
    qint64 m_startMs = 0;
};

// "约剩 24 分钟", "约剩 2 小时 5 分钟", "约剩不到 1 分钟"; before the pace is known, that it is being
// estimated.
QString timeLeftText(std::optional<qint64> remainingMs);

// Follows the run: its coverage as the record changes, and the pace while the automatic run goes on.
// The clock gives monotonic milliseconds.
class RunProgress : public QObject
{
    Q_OBJECT
public:
    RunProgress(const search::CheckRun& run, std::function<qint64()> clock, QObject* parent = nullptr);

    Coverage coverage() const;
    bool isRunning() const;
    QString timeLeft() const;

signals:
    // The record or the running state changed.
    void changed();

private:
    void runningChanged(bool running);

    const search::CheckRun& m_run;
    std::function<qint64()> m_clock;
    RunPace m_pace;
};

} // namespace report
