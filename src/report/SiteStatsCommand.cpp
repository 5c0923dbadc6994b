#include "report/SiteStatsCommand.h"

#include "platform/Browser.h"

SiteStatsCommand::SiteStatsCommand(CheckState& state, const search::CheckRecord& record, Browser* pane,
                                   std::chrono::milliseconds wait, QObject* parent)
    : QObject(parent), m_state(state), m_record(record), m_pane(pane)
{
    m_wait.setSingleShot(true);
    m_wait.setInterval(wait);
    connect(&m_wait, &QTimer::timeout, this, &SiteStatsCommand::writeReport);
}

void SiteStatsCommand::run()
{
    if (m_busy)
        return;
    m_busy = true;
    emit busyChanged(true);
    if (m_state.statsPending) {
        // Counted afresh on a copy: the tables stay in sentence order for the pages still to come.
        const search::TitleSlots table = m_record.titleSlots();
        m_state.titleCounts = report::slotCounts(table.texts);
        m_lastRows = report::siteRows(table.texts, table.blocks, m_state.titleCounts);
    }
    m_wait.start();
}

QList<report::Row> SiteStatsCommand::rowsNow() const
{
    if (!m_state.statsPending)
        return m_lastRows;
    const search::TitleSlots table = m_record.titleSlots();
    return report::siteRows(table.texts, table.blocks);
}

void SiteStatsCommand::writeReport()
{
    m_pane->insertReportAtSelection(report::reportTable(m_lastRows), {});
    m_state.statsPending = false;
    m_busy = false;
    emit busyChanged(false);
}
