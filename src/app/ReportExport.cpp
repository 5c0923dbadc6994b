#include "app/ReportExport.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrinter.h"
#include "platform/Shell.h"
#include "report/HtmlReport.h"
#include "report/PrintedReport.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QUrl>
#include <QWidget>

ReportExport::ReportExport(std::function<report::CheckReportData()> data,
                           std::function<QString()> documentPath, QWidget* parent)
    : QObject(parent), m_data(std::move(data)), m_documentPath(std::move(documentPath)), m_parent(parent)
{
}

std::optional<report::ExportTarget> ReportExport::askWhere()
{
    QString offered = report::offeredReportPath(m_documentPath ? m_documentPath() : QString(), m_lastPath,
                                                QDir::homePath());
    for (;;) {
        const std::optional<FileDialog::Choice> chosen = FileDialog::choose(
            m_parent,
            {FileDialog::Mode::Save,
             QStringLiteral("导出检测报告"),
             {report::htmlFilter(), report::pdfFilter()},
             report::exportTarget(offered, QString()).kind == report::ReportKind::Pdf ? report::pdfFilter()
                                                                                      : QString(),
             offered});
        if (!chosen || chosen->fileName.isEmpty())
            return std::nullopt;
        const report::ExportTarget target = report::exportTarget(chosen->fileName, chosen->filter);
        if (!QFileInfo::exists(target.path) ||
            MessageBox::show(
                m_parent, {QStringLiteral("“%1”已存在，要替换它吗？").arg(QFileInfo(target.path).fileName()),
                           QString(), MessageBox::Icon::Question, MessageBox::Buttons::YesNo,
                           MessageBox::Answer::No}) == MessageBox::Answer::Yes)
            return target;
        offered = target.path; // 否: choose again
    }
}

void ReportExport::run()
{
    if (m_busy)
        return;
    const std::optional<report::ExportTarget> target = askWhere();
    if (!target)
        return;
    m_lastPath = target->path;
    // Made at once, so that the report holds the check as it was when the user asked.
    report::CheckReportData data = m_data();
    data.madeAt = QDateTime::currentDateTime();
    if (target->kind == report::ReportKind::Html)
        finished(target->path, report::saveReportFile(target->path, report::checkReportHtml(data).toUtf8()));
    else
        printPdf(target->path, std::move(data));
}

void ReportExport::printPdf(const QString& path, report::CheckReportData data)
{
    if (!m_printer)
        m_printer = new PdfPrinter(this);
    setBusy(true);
    m_progress = new QProgressDialog(QStringLiteral("正在生成 PDF 检测报告…"), QStringLiteral("取消"), 0, 100,
                                     m_parent);
    m_progress->setObjectName(QStringLiteral("pdfProgress"));
    m_progress->setWindowTitle(QStringLiteral("导出检测报告"));
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(300);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_printer, &PdfPrinter::progress, m_progress, &QProgressDialog::setValue);
    connect(m_progress, &QProgressDialog::canceled, this, [this] {
        m_printer->cancel();
        m_progress->close();
        setBusy(false);
    });
    m_printer->print(report::printedReport(data), [this, path](const QByteArray& pdf) {
        if (m_progress) {
            m_progress->disconnect(this);
            m_progress->close();
        }
        setBusy(false);
        if (pdf.isEmpty()) {
            finished(path, QStringLiteral("无法导出检测报告“%1”：未能生成 PDF 文件。")
                               .arg(QDir::toNativeSeparators(path)));
            return;
        }
        finished(path, report::saveReportFile(path, pdf));
    });
}

void ReportExport::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

void ReportExport::finished(const QString& path, const std::optional<QString>& failure)
{
    if (failure) {
        MessageBox::show(m_parent, {*failure, QString(), MessageBox::Icon::Error, MessageBox::Buttons::Ok});
        return;
    }
    const MessageBox::Answer open = MessageBox::show(
        m_parent,
        {QStringLiteral("检测报告已导出到：\n%1\n\n现在打开它吗？").arg(QDir::toNativeSeparators(path)),
         QString(), MessageBox::Icon::Question, MessageBox::Buttons::YesNo});
    if (open != MessageBox::Answer::Yes)
        return;
    // The desktop opens a local file with the program it has for that kind of file.
    if (!Shell::openInDefaultBrowser(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()))) {
        MessageBox::show(m_parent, {QStringLiteral("无法打开检测报告，请在文件夹中找到它后手动打开。"),
                                    QString(), MessageBox::Icon::Error, MessageBox::Buttons::Ok});
    }
}
