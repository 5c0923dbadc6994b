#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QProgressBar;
class QTextBrowser;
class QSortFilterProxyModel;
class QTableView;

namespace report {
class ResultTableModel;
class RunProgress;
} // namespace report
namespace search {
class CheckRun;
}

// 检测结果: the check record as a table, one row per sentence, that follows the run as it goes. It
// sorts by any column and can show only the sentences of 20 % or more; rows take the colours of the
// list and the report. A double click (or Enter) shows the sentence in the article's editor and
// searches nothing; the chosen row's result titles and links show below the table. Above the table,
// the overall figure and how far the check is, with a bar and the time left during an automatic run.
// A tool window of the main window: above it, first centred on it below its menu bar, then where the
// person left it (kept between starts); as a tool window, the main window's keys work in it too. Esc
// closes it.
class ResultWindow : public QWidget
{
    Q_OBJECT
public:
    // showInEditor shows sentence k (0-based) in the main editor; false when the article no longer
    // holds it.
    ResultWindow(const search::CheckRun& run, const report::RunProgress& progress,
                 std::function<bool(int)> showInEditor, QWidget* parent = nullptr);

    static const QString kTitle;
    // Rows the window shows at least when it first opens.
    static constexpr int kFirstRows = 20;

    // A row of buttons under the table, one per action (its name, caption and state), each triggering it.
    void addCommandButtons(const QList<QAction*>& actions);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildProgressRow();
    void buildTable();
    void showProgress();
    // Centred on the main window, below its menu bar, tall enough for kFirstRows rows.
    void placeOverMainWindow();
    int currentSentence() const;
    void showDetails();
    void showSentence(const QModelIndex& index);
    void openLink(const QUrl& link);

    const search::CheckRun& m_run;
    const report::RunProgress& m_progress;
    std::function<bool(int)> m_showInEditor;
    QLabel* m_summary = nullptr;
    QWidget* m_progressRow = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_timeLeft = nullptr;
    bool m_placed = false;
    report::ResultTableModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QTableView* m_table = nullptr;
    QCheckBox* m_onlyHigh = nullptr;
    QTextBrowser* m_details = nullptr;
    QString m_notice; // why the last double click showed nothing, until another row is chosen
};
