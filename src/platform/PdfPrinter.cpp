#include "platform/PdfPrinter.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

PdfPrinter::PdfPrinter(QObject* parent) : QObject(parent), m_profile(new QWebEngineProfile(this)) {}

PdfPrinter::~PdfPrinter()
{
    // The page must go before its profile.
    delete m_page;
    m_page = nullptr;
}

void PdfPrinter::print(const QString& html, Done done)
{
    m_done = std::move(done);
    m_dir = std::make_unique<QTemporaryDir>();
    const QString path = m_dir->filePath(QStringLiteral("report.html"));
    QFile file(path);
    if (!m_dir->isValid() || !file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0) {
        // Answered from the event loop, as a print that ran would be.
        QTimer::singleShot(0, this, [this] { finish(QByteArray()); });
        return;
    }
    file.close();
    if (!m_page) {
        m_page = new QWebEnginePage(m_profile, this);
        m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        m_page->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, false);
        connect(m_page, &QWebEnginePage::loadFinished, this, &PdfPrinter::loaded);
    }
    m_document = QUrl::fromLocalFile(path);
    m_page->load(m_document);
}

void PdfPrinter::loaded(bool ok)
{
    if (!m_done || m_page->url() != m_document)
        return; // the blank page that frees the last document
    if (!ok) {
        finish(QByteArray());
        return;
    }
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                             QPageLayout::Millimeter);
    QPointer<PdfPrinter> self(this);
    m_page->printToPdf(
        [self](const QByteArray& pdf) {
            if (self)
                self->finish(pdf);
        },
        layout);
}

void PdfPrinter::finish(const QByteArray& pdf)
{
    Done done = std::exchange(m_done, {});
    m_dir.reset();
    if (m_page)
        m_page->load(QUrl(QStringLiteral("about:blank")));
    if (done)
        done(pdf);
}
