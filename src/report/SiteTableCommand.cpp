#include "report/SiteTableCommand.h"

#include "platform/Browser.h"

SiteTableCommand::SiteTableCommand(CheckState& state, const search::CheckRecord& record, Browser* pane,
                                   std::chrono::milliseconds wait, QObject* parent)
    : QObject(parent), m_state(state), m_record(record), m_pane(pane)
{
    m_wait.setSingleShot(true);
    m_wait.setInterval(wait);
    connect(&m_wait, &QTimer::timeout, this, &SiteTableCommand::writeTable);
}

void SiteTableCommand::run()
{
    if (m_busy)
        return;
    m_busy = true;
    emit busyChanged(true);
    if (m_state.statsPending) {
        // Counted afresh on a copy: the tables stay in sentence order for the pages still to come.
        const search::TitleSlots table = m_record.titleSlots();
        m_state.titleCounts = report::slotCounts(table.texts);
        m_lastRows = report::siteRows(table.texts, table.html, m_state.titleCounts);
    }
    m_wait.start();
}

QList<report::TitleCount> SiteTableCommand::rowsNow() const
{
    if (!m_state.statsPending)
        return m_lastRows;
    const search::TitleSlots table = m_record.titleSlots();
    return report::siteRows(table.texts, table.html);
}

void SiteTableCommand::writeTable()
{
    m_pane->insertSiteTableAtSelection(report::siteTable(m_lastRows), {});
    m_state.statsPending = false;
    m_busy = false;
    emit busyChanged(false);
}
