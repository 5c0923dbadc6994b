#include "support/FakeBrowser.h"

#include <utility>

void FakeBrowser::navigate(const QString& u)
{
    navigations.append(u);
    url = u;
    busy = true;
    failed = false;
    emit downloadBegin();
}

void FakeBrowser::writeDocument(const QString& html)
{
    body = html;
}

void FakeBrowser::readBodyHtml(HtmlCallback done)
{
    if (holdReads)
        heldReads.append(std::move(done));
    else
        done(body);
}

void FakeBrowser::answerHeldReads()
{
    const QList<HtmlCallback> reads = std::exchange(heldReads, {});
    for (const HtmlCallback& done : reads)
        done(body);
}

void FakeBrowser::insertTableAtSelection(const LinkTable& table, DoneCallback done)
{
    const bool ok = body.has_value();
    if (ok)
        siteTables.append(table);
    if (done)
        done(ok);
}

void FakeBrowser::finish(std::optional<QString> b, bool ok, const QString& finalUrl)
{
    body = std::move(b);
    if (!finalUrl.isEmpty())
        url = finalUrl;
    busy = false;
    failed = !ok;
    emit downloadComplete();
}
