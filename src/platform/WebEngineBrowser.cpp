#include "platform/WebEngineBrowser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

// A page that answers script dialogs itself while the pane is silent.
class QuietPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;
    bool silent = false;

protected:
    void javaScriptAlert(const QUrl& origin, const QString& msg) override
    {
        if (!silent)
            QWebEnginePage::javaScriptAlert(origin, msg);
    }
    bool javaScriptConfirm(const QUrl& origin, const QString& msg) override
    {
        return silent ? false : QWebEnginePage::javaScriptConfirm(origin, msg);
    }
    bool javaScriptPrompt(const QUrl& origin, const QString& msg, const QString& def,
                          QString* result) override
    {
        return silent ? false : QWebEnginePage::javaScriptPrompt(origin, msg, def, result);
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override
    {
        // Result pages are full of script noise; the program logs nothing.
    }
};

WebEngineBrowser::WebEngineBrowser(QWebEngineView* view, std::chrono::milliseconds loadTimeout,
                                   QObject* parent)
    : Browser(parent), m_view(view), m_page(new QuietPage(view))
{
    m_view->setPage(m_page);
    m_loadTimer.setSingleShot(true);
    m_loadTimer.setInterval(loadTimeout);
    connect(&m_loadTimer, &QTimer::timeout, this, [this] {
        // The page is given up: the pane stops loading and is free for the next navigation.
        m_page->triggerAction(QWebEnginePage::Stop);
        if (m_busy)
            endLoad(false);
    });
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        m_busy = true;
        ++m_generation;
        m_loadTimer.start();
        emit downloadBegin();
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) { endLoad(ok); });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                // Whatever the dead renderer held is gone; the next navigation starts a new one.
                ++m_generation;
                endLoad(false);
            });
}

void WebEngineBrowser::endLoad(bool ok)
{
    m_loadTimer.stop();
    m_busy = false;
    m_lastLoadFailed = !ok;
    emit downloadComplete();
}

void WebEngineBrowser::navigate(const QString& url)
{
    const QUrl target(url);
    if (url.isEmpty() || !target.isValid())
        return; // nothing to load, and nothing that would ever end a busy state
    ++m_generation;
    // Busy from the call on, as a browser control is, not only once Chromium reports the start.
    m_busy = true;
    m_lastLoadFailed = false;
    m_loadTimer.start();
    m_view->load(target);
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_page->silent = silent;
}

void WebEngineBrowser::writeDocument(const QString& html)
{
    ++m_generation;
    const QString literal = QString::fromUtf8(QJsonDocument(QJsonArray{html}).toJson(QJsonDocument::Compact));
    m_page->runJavaScript(
        QStringLiteral(
            "(function(h){document.open();if(h[0].length)document.write(h[0]);document.close();})(%1)")
            .arg(literal));
}

void WebEngineBrowser::readBodyHtml(HtmlCallback done)
{
    const quint64 generation = m_generation;
    QPointer<WebEngineBrowser> self(this);
    m_page->runJavaScript(QStringLiteral("document.body ? document.body.innerHTML : null"),
                          [self, generation, done = std::move(done)](const QVariant& result) {
                              if (!self || self->m_generation != generation)
                                  return; // answer for a page that is no longer shown
                              if (result.typeId() != QMetaType::QString)
                                  done(std::nullopt);
                              else
                                  done(result.toString());
                          });
}

void WebEngineBrowser::insertTableAtSelection(const LinkTable& table, DoneCallback done)
{
    // The table goes to the page as JSON data; the script makes every node itself and sets only text
    // and the fixed attributes, so nothing in a title is ever read as markup. A link address is set
    // only if the page's own URL parser reads it as http or https.
    QJsonArray rows;
    for (const LinkTable::Row& row : table.rows)
        rows.append(QJsonArray{row.text, row.link, row.note});
    const QJsonArray data{table.heading, rows};
    const QString literal = QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact));
    const QString script = QStringLiteral(R"JS((function(d){
  if (!document.body) return false;
  function el(name, parent) { var e = document.createElement(name); if (parent) parent.appendChild(e); return e; }
  function webLink(address) {
    try { var u = new URL(address); if (u.protocol === 'http:' || u.protocol === 'https:') return u.href; }
    catch (e) {}
    return null;
  }
  var frag = document.createDocumentFragment();
  for (var b = 0; b < 5; ++b) el('br', frag);
  var table = el('table', frag), body = el('tbody', table);
  el('h1', el('td', el('tr', body))).textContent = d[0];
  d[1].forEach(function(r) {
    var tr = el('tr', body), first = el('td', tr), href = r[1] ? webLink(r[1]) : null;
    if (href) { var a = el('a', first); a.setAttribute('href', href); a.textContent = r[0]; }
    else first.textContent = r[0];
    var second = el('td', tr);
    second.setAttribute('width', '100');
    second.setAttribute('align', 'center');
    second.appendChild(document.createTextNode(r[2]));
    el('br', second);
  });
  var sel = window.getSelection(), range;
  if (sel && sel.rangeCount > 0) { range = sel.getRangeAt(0); }
  else { range = document.createRange(); range.setStart(document.body, 0); range.collapse(true); }
  range.deleteContents();
  range.insertNode(frag);
  if (sel) { range.setStartAfter(table); range.collapse(true); sel.removeAllRanges(); sel.addRange(range); }
  return true;
})(%1))JS")
                               .arg(literal);
    m_page->runJavaScript(script, [done = std::move(done)](const QVariant& result) {
        if (done)
            done(result.toBool());
    });
}

QString WebEngineBrowser::currentTitle() const
{
    return m_page->title();
}

QString WebEngineBrowser::currentUrl() const
{
    return m_view->url().toString();
}
