#pragma once

#include "report/ReportData.h"
#include "report/ReportFile.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class PdfPrinter;
class QProgressDialog;
class QWidget;

// "导出检测报告…": asks where to and as what, writes the report of the check as HTML or as a PDF,
// and offers to open it. An existing file is replaced only after a question; the PDF is printed a
// slice at a time with a progress dialog that can cancel it.
class ReportExport : public QObject
{
    Q_OBJECT
public:
    // data gives the report's data as the check stands when it is called (madeAt is set here);
    // documentPath the file the article was opened from or saved to (empty: none), beside which the
    // dialog offers the report.
    ReportExport(std::function<report::CheckReportData()> data, std::function<QString()> documentPath,
                 QWidget* parent);

    // True while a PDF is being made.
    bool isBusy() const { return m_busy; }
    void run();

signals:
    void busyChanged(bool busy);

private:
    std::optional<report::ExportTarget> askWhere();
    void printPdf(const QString& path, report::CheckReportData data);
    void setBusy(bool busy);
    void finished(const QString& path, const std::optional<QString>& failure);

    std::function<report::CheckReportData()> m_data;
    std::function<QString()> m_documentPath;
    QWidget* m_parent;
    PdfPrinter* m_printer = nullptr;
    QPointer<QProgressDialog> m_progress;
    QString m_lastPath;
    bool m_busy = false;
};
