#pragma once

#include "platform/LinkTable.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <QList>

#include <functional>
#include <optional>

// What the program relies on from a browser pane. One real implementation (Qt WebEngine) and a fake
// for tests. All calls return at once; loading and reading go on in the background.
class Browser : public QObject
{
    Q_OBJECT
public:
    using HtmlCallback = std::function<void(std::optional<QString>)>;
    using DoneCallback = std::function<void(bool)>;

    using QObject::QObject;
    ~Browser() override = default;

    virtual void navigate(const QString& url) = 0;
    // True from the start of a navigation until its download has ended.
    virtual bool isBusy() const = 0;
    // While silent the pane shows no dialog boxes of its own (script alerts and the like).
    virtual void setSilent(bool silent) = 0;
    // Replaces the shown document with html without a navigation; an empty string blanks the page.
    virtual void writeDocument(const QString& html) = 0;
    // The body's inner HTML of the shown page; nullopt when there is no document or no body. The
    // callback is never called for a page that a later navigation has replaced.
    virtual void readBodyHtml(HtmlCallback done) = 0;
    // Inserts the table at the current selection of the shown page (at the start of its body without
    // one), built from nodes, never from markup; false when the page has no body.
    virtual void insertTableAtSelection(const LinkTable& table, DoneCallback done) = 0;
    // Address of the page shown, once it has loaded.
    virtual QString currentUrl() const = 0;
    // Title of the page shown, once it has loaded.
    virtual QString currentTitle() const = 0;
    // Whether the last navigation ended in a failure (no page or an error page).
    virtual bool lastLoadFailed() const = 0;

signals:
    void downloadBegin();
    void downloadComplete();
};
