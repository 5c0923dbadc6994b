#pragma once

#include "report/SiteTable.h"
#include "search/CheckRun.h"

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

    // The titles are counted from the title slots of the run's record.
    SiteTableCommand(const search::CheckRun& run, Browser* pane,
                     std::chrono::milliseconds wait = kWaitBeforeTable, QObject* parent = nullptr);

    // Does nothing while a table is on its way.
    void run();
    bool isBusy() const { return m_busy; }
    // The table a run would paste now, counted on a copy: the counts do not change.
    QList<report::TitleCount> rowsNow() const;
    // Occurrences the latest count found, per title slot (see search::TitleSlots).
    const QList<int>& titleCounts() const { return m_titleCounts; }
    // Compare steps ran since the titles were last counted.
    bool isPending() const { return m_pending; }

signals:
    void busyChanged(bool busy);

private:
    void writeTable();
    // A new analysis: the counts start at zero and the rows of the last table are discarded.
    void recordReset();

    const search::CheckRecord& m_record;
    Browser* m_pane;
    QTimer m_wait;
    QList<report::TitleCount> m_lastRows;
    QList<int> m_titleCounts;
    bool m_pending = false;
    bool m_busy = false;
};
