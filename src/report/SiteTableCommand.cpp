#include "report/SiteTableCommand.h"

#include "platform/Browser.h"

SiteTableCommand::SiteTableCommand(CheckState& state, Browser* pane, std::chrono::milliseconds wait,
                                   QObject* parent)
    : QObject(parent), m_state(state), m_pane(pane)
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
        m_state.titleCounts = report::slotCounts(m_state.titleTexts);
        m_lastRows = report::siteRows(m_state.titleTexts, m_state.titleBlocks, m_state.titleCounts);
    }
    m_wait.start();
}

QList<report::TitleCount> SiteTableCommand::rowsNow() const
{
    return m_state.statsPending ? report::siteRows(m_state.titleTexts, m_state.titleBlocks) : m_lastRows;
}

void SiteTableCommand::writeTable()
{
    m_pane->insertSiteTableAtSelection(report::siteTable(m_lastRows), {});
    m_state.statsPending = false;
    m_busy = false;
    emit busyChanged(false);
}
