#include "app/ReportExport.h"

#include "app/Form1.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrinter.h"
#include "platform/Shell.h"
#include "report/CheckReport.h"
#include "report/ReportFile.h"
#include "report/SiteTableCommand.h"
#include "search/CheckRun.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>

ReportExport::ReportExport(Form1& form, const CheckState& state, const search::CheckRun& run,
                           const SiteTableCommand& stats)
    : QObject(&form), m_form(form), m_state(state), m_run(run), m_stats(stats)
{
}

QString ReportExport::reportHtml() const
{
    report::CheckReportData data;
    data.record = m_run.record();
    data.sentences = m_state.sentences;
    data.sites = m_stats.rowsNow();
    data.services = m_run.record().engines();
    if (data.services.isEmpty())
        data.services = {m_form.selectedEngine()};
    data.madeAt = QDateTime::currentDateTime();
    data.program = m_form.windowTitle();
    data.running = m_state.autoRun;
    return report::checkReportHtml(data);
}

void ReportExport::run()
{
    if (m_busy)
        return;
    const QString offered =
        m_lastPath.isEmpty() ? QDir::home().filePath(QStringLiteral("检测报告.html")) : m_lastPath;
    const std::optional<QString> chosen =
        FileDialog::show(&m_form, {FileDialog::Mode::Save,
                                   QStringLiteral("导出检测报告"),
                                   {QStringLiteral("网页文件 (*.html)"), QStringLiteral("PDF 文件 (*.pdf)")},
                                   QString(),
                                   offered});
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = *chosen;
    m_lastPath = path;
    // Made at once, so that the report holds the check as it was when the user asked.
    const QString html = reportHtml();
    if (report::reportKind(path) == report::ReportKind::Html) {
        finished(path, report::saveReportFile(path, html.toUtf8()));
        return;
    }
    if (!m_printer)
        m_printer = new PdfPrinter(this);
    setBusy(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPointer<ReportExport> self(this);
    m_printer->print(html, [self, path](const QByteArray& pdf) {
        QApplication::restoreOverrideCursor();
        if (!self)
            return;
        self->setBusy(false);
        if (pdf.isEmpty()) {
            self->finished(path, QStringLiteral("无法导出检测报告“%1”：浏览器组件未能生成 PDF 文件。")
                                     .arg(QDir::toNativeSeparators(path)));
            return;
        }
        self->finished(path, report::saveReportFile(path, pdf));
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
        MessageBox::show(&m_form, {*failure, QString(), MessageBox::Icon::Error, MessageBox::Buttons::Ok});
        return;
    }
    const MessageBox::Answer open = MessageBox::show(
        &m_form,
        {QStringLiteral("检测报告已导出到：\n%1\n\n现在打开它吗？").arg(QDir::toNativeSeparators(path)),
         QString(), MessageBox::Icon::Question, MessageBox::Buttons::YesNo});
    if (open != MessageBox::Answer::Yes)
        return;
    // The desktop opens a local file with the program it has for that kind of file.
    if (!Shell::openInDefaultBrowser(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()))) {
        MessageBox::show(&m_form, {QStringLiteral("无法打开检测报告，请在文件夹中找到它后手动打开。"),
                                   QString(), MessageBox::Icon::Error, MessageBox::Buttons::Ok});
    }
}
