#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QTextBrowser;
class QSortFilterProxyModel;
class QTableView;

namespace report {
class ResultTableModel;
}
namespace search {
class CheckRun;
}

// 检测结果: the check record as a table, one row per sentence, that follows the run as it goes. It
// sorts by any column and can show only the sentences of 20 % or more; rows take the colours of the
// list and the report. A double click (or Enter) shows the sentence in the article's editor and
// searches nothing; the chosen row's result titles and links show below the table.
class ResultWindow : public QWidget
{
    Q_OBJECT
public:
    // showInEditor shows sentence k (0-based) in the main editor; false when the article no longer
    // holds it.
    ResultWindow(const search::CheckRun& run, std::function<bool(int)> showInEditor,
                 QWidget* parent = nullptr);

    static const QString kTitle;

    // A row of buttons under the table, one per action (its name, caption and state), each triggering it.
    void addCommandButtons(const QList<QAction*>& actions);

private:
    int currentSentence() const;
    void showDetails();
    void showCoverage();
    void showSentence(const QModelIndex& index);
    void openLink(const QUrl& link);

    const search::CheckRun& m_run;
    std::function<bool(int)> m_showInEditor;
    report::ResultTableModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QTableView* m_table = nullptr;
    QCheckBox* m_onlyHigh = nullptr;
    QLabel* m_coverage = nullptr; // the overall figure and how far the check got
    QTextBrowser* m_details = nullptr;
    QString m_notice; // why the last double click showed nothing, until another row is chosen
};
