#include "report/SiteStatsCommand.h"

#include "platform/Browser.h"
#include "platform/Wait.h"

#include <QPointer>
#include <QPushButton>

namespace {
constexpr float kWaitBeforeReport = 5;
}

SiteStatsCommand::SiteStatsCommand(CheckState& state, QPushButton* command5, Browser* pane,
                                   std::function<void()> refresh, QObject* parent)
    : QObject(parent), m_state(state), m_command5(command5), m_pane(pane), m_refresh(std::move(refresh))
{
}

void SiteStatsCommand::run()
{
    if (m_running)
        return;
    m_running = true;
    m_command5->setEnabled(false);
    m_command5->setText(QStringLiteral("正在统计中……"));
    if (m_state.statsPending) {
        // Counted afresh on a copy: the tables stay in sentence order for the pages still to come.
        m_state.titleCounts = report::slotCounts(m_state.titleTexts);
        m_lastRows = report::siteRows(m_state.titleTexts, m_state.titleBlocks, m_state.titleCounts);
    }
    QPointer<SiteStatsCommand> self(this);
    const bool waited = WaitSeconds(kWaitBeforeReport);
    if (!self)
        return;
    m_running = false;
    if (waited)
        m_pane->pasteHtmlAtSelection(report::reportPieces(m_lastRows), {});
    m_state.statsPending = false;
    m_command5->setEnabled(true);
    m_command5->setText(QStringLiteral("统计相似性网站"));
    if (m_refresh)
        m_refresh();
}
