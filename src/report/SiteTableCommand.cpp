#include "report/SiteTableCommand.h"

#include "platform/Browser.h"

SiteTableCommand::SiteTableCommand(const search::CheckRun& run, Browser* pane, std::chrono::milliseconds wait,
                                   QObject* parent)
    : QObject(parent), m_record(run.record()), m_pane(pane)
{
    m_wait.setSingleShot(true);
    m_wait.setInterval(wait);
    connect(&m_wait, &QTimer::timeout, this, &SiteTableCommand::writeTable);
    connect(&run, &search::CheckRun::stepped, this, [this] { m_pending = true; });
    connect(&run, &search::CheckRun::recordReset, this, &SiteTableCommand::recordReset);
}

void SiteTableCommand::recordReset()
{
    m_pending = false;
    m_titleCounts = QList<int>(m_record.size() * search::kResultsPerPage + 1, 0);
    m_lastRows.clear();
}

void SiteTableCommand::run()
{
    if (m_busy)
        return;
    m_busy = true;
    emit busyChanged(true);
    if (m_pending) {
        // Counted afresh on a copy: the tables stay in sentence order for the pages still to come.
        const search::TitleSlots table = m_record.titleSlots();
        m_titleCounts = report::slotCounts(table.texts);
        m_lastRows = report::siteRows(table.texts, table.html, m_titleCounts);
    }
    m_wait.start();
}

QList<report::TitleCount> SiteTableCommand::rowsNow() const
{
    if (!m_pending)
        return m_lastRows;
    const search::TitleSlots table = m_record.titleSlots();
    return report::siteRows(table.texts, table.html);
}

void SiteTableCommand::writeTable()
{
    m_pane->insertTableAtSelection(report::siteTable(m_lastRows), {});
    m_pending = false;
    m_busy = false;
    emit busyChanged(false);
}
