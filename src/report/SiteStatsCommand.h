#pragma once

#include "analysis/CheckState.h"
#include "report/SiteStats.h"

#include <QObject>

#include <functional>

class Browser;
class QPushButton;

// "统计相似性网站": counts the result titles of the run and pastes the table into the shown page.
class SiteStatsCommand : public QObject
{
    Q_OBJECT
public:
    SiteStatsCommand(CheckState& state, QPushButton* command5, Browser* pane, std::function<void()> refresh,
                     QObject* parent = nullptr);

    void run();
    // A new analysis discards the tables the last report was counted from.
    void forgetLastTable() { m_lastRows.clear(); }

private:
    CheckState& m_state;
    QPushButton* m_command5;
    Browser* m_pane;
    std::function<void()> m_refresh;
    QList<report::Row> m_lastRows;
    bool m_running = false; // a compare step during the wait enables the button again
};
