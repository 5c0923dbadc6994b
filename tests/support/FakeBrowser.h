#pragma once

#include "platform/Browser.h"

#include <optional>

// An in-memory browser pane. A navigation stays busy until the test finishes it with a page (or with
// no page at all), which raises download-complete as the real pane does.
class FakeBrowser : public Browser
{
    Q_OBJECT
public:
    using Browser::Browser;

    void navigate(const QString& url) override;
    bool isBusy() const override { return busy; }
    void setSilent(bool s) override { silent = s; }
    void writeDocument(const QString& html) override;
    void readBodyHtml(HtmlCallback done) override;
    void insertTableAtSelection(const LinkTable& table, DoneCallback done) override;
    QString currentUrl() const override { return url; }
    QString currentTitle() const override { return title; }
    bool lastLoadFailed() const override { return failed; }

    // Ends the pending navigation: body is the page's body HTML, nullopt for a page without a body.
    void finish(std::optional<QString> body, bool ok = true, const QString& finalUrl = QString());
    // Answers the body reads held back while holdReads was true, with the body shown now.
    void answerHeldReads();

    // A read is answered later, as the real pane's script answer may come after the next step began.
    bool holdReads = false;
    QList<HtmlCallback> heldReads;

    QStringList navigations;
    QList<LinkTable> siteTables; // every table inserted, in order
    QString url;
    QString title;
    std::optional<QString> body;
    bool busy = false;
    bool silent = false;
    bool failed = false;
};
