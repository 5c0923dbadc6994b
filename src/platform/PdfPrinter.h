#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>

class QWebEnginePage;
class QWebEngineProfile;

// Prints an HTML document to PDF with the browser engine, off screen. The document is loaded from a
// temporary file (a page set from a string is limited to 2 MB) with scripts off, in a profile that
// keeps nothing. One print at a time.
class PdfPrinter : public QObject
{
    Q_OBJECT
public:
    // The PDF, or an empty array when the engine could not make it.
    using Done = std::function<void(const QByteArray& pdf)>;

    explicit PdfPrinter(QObject* parent = nullptr);
    ~PdfPrinter() override;

    bool isBusy() const { return static_cast<bool>(m_done); }
    // done is called later, from the event loop; never when the printer is destroyed first.
    void print(const QString& html, Done done);

private:
    void loaded(bool ok);
    void finish(const QByteArray& pdf);

    QWebEngineProfile* m_profile;
    QWebEnginePage* m_page = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
    QUrl m_document;
    Done m_done;
};
