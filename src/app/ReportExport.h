#pragma once

#include <QObject>
#include <QString>

#include <optional>

class Form1;
class PdfPrinter;
class SiteTableCommand;
struct CheckState;
namespace search {
class CheckRun;
}

// "导出检测报告…": asks where to, writes the report of the check as HTML or, for a name ending in
// .pdf, as a PDF printed by the browser engine, and offers to open it.
class ReportExport : public QObject
{
    Q_OBJECT
public:
    ReportExport(Form1& form, const CheckState& state, const search::CheckRun& run,
                 const SiteTableCommand& stats);

    // True while a PDF is being made.
    bool isBusy() const { return m_busy; }
    void run();

signals:
    void busyChanged(bool busy);

private:
    QString reportHtml() const;
    void setBusy(bool busy);
    void finished(const QString& path, const std::optional<QString>& failure);

    Form1& m_form;
    const CheckState& m_state;
    const search::CheckRun& m_run;
    const SiteTableCommand& m_stats;
    PdfPrinter* m_printer = nullptr;
    QString m_lastPath;
    bool m_busy = false;
};
