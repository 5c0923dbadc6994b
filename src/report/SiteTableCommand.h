#pragma once

#include "analysis/CheckState.h"
#include "report/SiteTable.h"
#include "search/CheckRecord.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class Browser;

// "统计相似性网站": counts the result titles of the run, waits, then writes the table into the page
// the pane shows at that moment. The wait is a timer, so the window, the automatic run and the
// scoring of arriving pages go on meanwhile.
class SiteTableCommand : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kWaitBeforeTable{5000};

    // The titles are counted from the record's title slots.
    SiteTableCommand(CheckState& state, const search::CheckRecord& record, Browser* pane,
                     std::chrono::milliseconds wait = kWaitBeforeTable, QObject* parent = nullptr);

    // Does nothing while a table is on its way.
    void run();
    bool isBusy() const { return m_busy; }
    // The table a run would paste now, counted on a copy: the check state does not change.
    QList<report::TitleCount> rowsNow() const;
    // A new analysis discards the rows the last table was counted from.
    void forgetLastTable() { m_lastRows.clear(); }

signals:
    void busyChanged(bool busy);

private:
    void writeTable();

    CheckState& m_state;
    const search::CheckRecord& m_record;
    Browser* m_pane;
    QTimer m_wait;
    QList<report::TitleCount> m_lastRows;
    bool m_busy = false;
};
