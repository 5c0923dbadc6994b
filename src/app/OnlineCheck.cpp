#include "app/OnlineCheck.h"

#include "platform/Browser.h"

#include <QPointer>

#include <utility>

OnlineCheck::OnlineCheck(search::CheckRun& run, Browser& pane, Facts facts, QObject* parent)
    : QObject(parent), m_run(run), m_pane(pane), m_facts(std::move(facts))
{
    connect(&m_pane, &Browser::downloadBegin, this, [this] { m_pane.setSilent(true); });
    connect(&m_pane, &Browser::downloadComplete, this, &OnlineCheck::downloadComplete);
}

void OnlineCheck::downloadComplete()
{
    m_pane.setSilent(true);
    search::RunEffects fx = m_run.downloadComplete(
        {m_pane.isBusy(), m_pane.lastLoadFailed(), m_pane.currentUrl(), m_pane.currentTitle()}, m_facts());
    const std::optional<quint64> read = std::exchange(fx.readBody, std::nullopt);
    QPointer<OnlineCheck> self(this);
    emit decided(fx);
    if (read && self)
        readBody(*read);
}

void OnlineCheck::readBody(quint64 tag)
{
    QPointer<OnlineCheck> self(this);
    m_pane.readBodyHtml([self, tag](std::optional<QString> body) {
        if (!self)
            return;
        emit self->decided(self->m_run.bodyRead(tag, body, self->m_facts()));
        if (self)
            self->m_pane.setSilent(true);
    });
}
