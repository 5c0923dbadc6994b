#include "report/RunProgress.h"

#include "search/CheckRun.h"

#include <cmath>

namespace report {

int checkedPercent(const Coverage& c)
{
    if (c.total <= 0)
        return 0;
    return static_cast<int>(c.checked * 100 / c.total);
}

void RunPace::start(qsizetype checked, qint64 nowMs)
{
    m_running = true;
    m_startChecked = checked;
    m_startMs = nowMs;
}

std::optional<qint64> RunPace::remainingMs(const Coverage& c, qint64 nowMs) const
{
    const qsizetype done = c.checked - m_startChecked;
    const qint64 spent = nowMs - m_startMs;
    if (!m_running || done <= 0 || spent <= 0)
        return std::nullopt;
    const qsizetype left = std::max<qsizetype>(0, c.total - c.checked);
    return static_cast<qint64>(std::llround(double(spent) * double(left) / double(done)));
}

QString timeLeftText(std::optional<qint64> remainingMs)
{
    if (!remainingMs)
        return QStringLiteral("正在估算剩余时间……");
    const qint64 minutes = (*remainingMs + 30'000) / 60'000; // to the nearest minute
    if (minutes < 1)
        return QStringLiteral("约剩不到 1 分钟");
    if (minutes < 60)
        return QStringLiteral("约剩 %1 分钟").arg(minutes);
    if (minutes % 60 == 0)
        return QStringLiteral("约剩 %1 小时").arg(minutes / 60);
    return QStringLiteral("约剩 %1 小时 %2 分钟").arg(minutes / 60).arg(minutes % 60);
}

RunProgress::RunProgress(const search::CheckRun& run, std::function<qint64()> clock, QObject* parent)
    : QObject(parent), m_run(run), m_clock(std::move(clock))
{
    connect(&run, &search::CheckRun::runningChanged, this, &RunProgress::runningChanged);
    connect(&run, &search::CheckRun::recordChanged, this, &RunProgress::changed);
    connect(&run, &search::CheckRun::recordReset, this, &RunProgress::changed);
    if (run.isRunning())
        runningChanged(true);
}

Coverage RunProgress::coverage() const
{
    return report::coverage(m_run.record());
}

bool RunProgress::isRunning() const
{
    return m_run.isRunning();
}

QString RunProgress::timeLeft() const
{
    return timeLeftText(m_pace.remainingMs(coverage(), m_clock()));
}

void RunProgress::runningChanged(bool running)
{
    if (running)
        m_pace.start(coverage().checked, m_clock());
    else
        m_pace.stop();
    emit changed();
}

} // namespace report
