#pragma once

#include "platform/Browser.h"

#include <QTimer>

#include <chrono>

class QWebEngineView;
class QuietPage;

// The browser pane over Qt WebEngine. Busy runs from loadStarted to loadFinished; download-begin and
// download-complete follow them. Body HTML is read through JavaScript, so each read is tagged with the
// navigation it belongs to and an answer for an earlier page is dropped. A load that has not finished
// after loadTimeout, and a renderer process that dies, end the download as failed, so that nothing
// waits for the pane forever.
class WebEngineBrowser : public Browser
{
    Q_OBJECT
public:
    // The view stays owned by its parent widget; the browser only drives it.
    static constexpr std::chrono::milliseconds kLoadTimeout{30000};

    explicit WebEngineBrowser(QWebEngineView* view, std::chrono::milliseconds loadTimeout = kLoadTimeout,
                              QObject* parent = nullptr);

    void navigate(const QString& url) override;
    bool isBusy() const override { return m_busy; }
    void setSilent(bool silent) override;
    void writeDocument(const QString& html) override;
    void readBodyHtml(HtmlCallback done) override;
    void insertTableAtSelection(const LinkTable& table, DoneCallback done) override;
    QString currentUrl() const override;
    QString currentTitle() const override;
    bool lastLoadFailed() const override { return m_lastLoadFailed; }

private:
    void endLoad(bool ok);

    QWebEngineView* m_view;
    QTimer m_loadTimer;
    QuietPage* m_page;
    bool m_busy = false;
    bool m_lastLoadFailed = false;
    quint64 m_generation = 0; // raised by every navigation and document write
};
