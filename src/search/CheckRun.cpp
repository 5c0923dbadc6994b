#include "search/CheckRun.h"

#include "search/PageScore.h"
#include "search/QueryText.h"
#include "search/Verification.h"

#include <QUrl>

#include <utility>

namespace search {

void followWith(RunEffects& first, const RunEffects& then)
{
    auto take = [](auto& field, const auto& later) {
        if (later)
            field = later;
    };
    first.blankPane |= then.blankPane;
    take(first.chooseFirstEntry, then.chooseFirstEntry);
    first.stepBegan |= then.stepBegan;
    first.compactLayout |= then.compactLayout;
    first.fullLayout |= then.fullLayout;
    first.stopAction |= then.stopAction;
    take(first.navigate, then.navigate);
    take(first.label1, then.label1);
    take(first.label2, then.label2);
    take(first.markSentence, then.markSentence);
    take(first.selectEntry, then.selectEntry);
    take(first.listToolTip, then.listToolTip);
    take(first.readBody, then.readBody);
    take(first.informationBox, then.informationBox);
    take(first.uncoverPane, then.uncoverPane);
}

CheckRun::CheckRun(CheckState& state, QObject* parent) : QObject(parent), m_state(state) {}

void CheckRun::analysed(const QString& heading)
{
    m_record.reset(m_state.sentences.size(), heading);
    // A verification page met by hand belongs to the sentences before: nothing waits for it now.
    m_personAsked = false;
    emit recordReset();
}

RunState CheckRun::state() const
{
    if (!m_state.autoRun)
        return RunState::Idle;
    if (m_personAsked)
        return RunState::WaitingForPerson;
    if (m_tickWaiting)
        return RunState::TickWaiting;
    if (m_page == Page::Loading || m_page == Page::Reading)
        return RunState::WaitingForPage;
    return RunState::DueForTick;
}

bool CheckRun::hasSentenceTable() const
{
    // An analysis always leaves at least the spare title slot, also for a text without sentences.
    return !m_state.titleTexts.isEmpty();
}

QString CheckRun::progressLine(int sentenceNumber) const
{
    return QStringLiteral("现在正在对比第 %1 句！共 %2 句。").arg(sentenceNumber).arg(m_state.sentences.size());
}

void CheckRun::setAutoRun(bool on)
{
    if (!on)
        m_tickWaiting = false;
    if (m_state.autoRun == on)
        return;
    m_state.autoRun = on;
    emit runningChanged(on);
}

RunEffects CheckRun::compareStep(const WindowFacts& window)
{
    return step(window);
}

RunEffects CheckRun::step(const WindowFacts& window)
{
    RunEffects fx;
    m_state.pageHtml.clear();
    m_state.markedPage.clear();
    m_state.pageText.clear();
    // An answer for the page that is blanked now no longer counts.
    ++m_navigation;
    m_page = Page::None;
    m_lastStepSkipped = false;
    if (std::exchange(m_personAsked, false))
        fx.uncoverPane = false;
    fx.blankPane = true;

    if (m_state.firstStepPending && window.listCount > 0) {
        fx.chooseFirstEntry = 0;
        if (!m_state.sentences.isEmpty())
            fx.listToolTip = m_state.sentences[0];
        m_state.nextIndex = 0;
        m_state.firstStepPending = false;
    }
    fx.stepBegan = true;
    fx.compactLayout = true;
    m_state.statsPending = true;

    // The run stops before the message box shows: the box is modal, and a run still on would go on
    // ticking behind it and stack a box a second.
    if (window.editorEmpty) {
        setAutoRun(false);
        fx.fullLayout = true;
        fx.informationBox = QStringLiteral("请先输入关键字");
        return fx;
    }
    if (!hasSentenceTable() || m_state.nextIndex > m_state.sentences.size() - 1) {
        setAutoRun(false);
        fx.stopAction = true;
        fx.informationBox = QStringLiteral("本次对比结束！");
        return fx;
    }

    const QString sentence = m_state.sentences[m_state.nextIndex];
    const QString query = queryText(sentence);
    if (isBlankQuery(query)) {
        // Nothing to search: the step moves on, so that neither a user stepping by hand nor the
        // automatic run stays on a sentence of punctuation.
        if (m_record.markBlank(m_state.nextIndex))
            emit recordChanged(m_state.nextIndex);
        m_state.lastIndex = m_state.nextIndex;
        m_state.nextIndex = m_state.nextIndex + 1;
        m_lastStepSkipped = true;
        m_page = Page::Settled;
        return fx;
    }

    if (const auto url = searchUrl(window.engine, query))
        m_state.searchUrl = *url;
    m_searchedHost = QUrl(m_state.searchUrl).host();
    fx.navigate = m_state.searchUrl;
    m_page = Page::Loading;

    if (!m_state.autoRun)
        fx.label1 = progressLine(m_state.nextIndex + 1);
    if (!m_state.articleText.isEmpty() && !sentence.isEmpty())
        fx.markSentence = sentence;
    if (m_record.markSearched(m_state.nextIndex, window.engine))
        emit recordChanged(m_state.nextIndex);

    m_state.lastIndex = m_state.nextIndex;
    m_state.nextIndex = m_state.nextIndex + 1;
    if (m_state.lastIndex < window.listCount) {
        fx.selectEntry = m_state.lastIndex;
        fx.listToolTip = sentence;
    }
    return fx;
}

RunEffects CheckRun::listEntryChosen(int row, const WindowFacts& window)
{
    RunEffects fx;
    if (row < 0)
        return fx;
    m_state.nextIndex = row;
    if (!m_state.firstStepPending)
        fx = step(window);
    m_state.firstStepPending = false;
    // The tooltip names the chosen sentence unless the step selected another entry.
    if (!fx.listToolTip && row < m_state.sentences.size())
        fx.listToolTip = m_state.sentences[row];
    return fx;
}

RunEffects CheckRun::start(const WindowFacts& window)
{
    setAutoRun(true);
    return step(window);
}

RunEffects CheckRun::stop()
{
    RunEffects fx;
    if (m_state.autoRun && std::exchange(m_personAsked, false)) {
        m_state.nextIndex = m_state.lastIndex;
        fx.uncoverPane = false;
    }
    setAutoRun(false);
    return fx;
}

RunEffects CheckRun::tick(const WindowFacts& window, bool paneBusy)
{
    // While the person solves a verification the run neither retries nor goes on.
    if (!m_state.autoRun || m_personAsked)
        return {};
    if (paneBusy || m_page == Page::Reading) {
        m_tickWaiting = true;
        return {};
    }
    return decideTick(window);
}

RunEffects CheckRun::decideTick(const WindowFacts& window)
{
    m_tickWaiting = false;
    const bool arrived = !m_state.pageHtml.isEmpty() && !m_state.markedPage.isEmpty() && !m_state.pageText.isEmpty();
    QString line;
    if (!arrived && !m_lastStepSkipped) {
        m_state.nextIndex = m_state.lastIndex;
        // Only a page that scoring counted is taken back out of the divisor.
        if (!m_state.pageHtml.isEmpty())
            m_state.pageCount = m_state.pageCount - 1;
        line = QStringLiteral("网络不给力，正在重新对比第 %1 句").arg(m_state.lastIndex + 1);
    } else {
        line = progressLine(m_state.nextIndex);
    }
    RunEffects fx;
    fx.label1 = line;
    followWith(fx, step(window));
    return fx;
}

RunEffects CheckRun::settled(bool paneBusy, const WindowFacts& window)
{
    if (m_page != Page::None)
        m_page = Page::Settled;
    if (m_tickWaiting && !paneBusy && m_state.autoRun)
        return decideTick(window);
    return {};
}

bool CheckRun::isFromSearchedHost(const QString& url) const
{
    // Before the first search the pane shows the blank start page, which is scored like any page.
    if (m_searchedHost.isEmpty())
        return true;
    return QUrl(url).host().compare(m_searchedHost, Qt::CaseInsensitive) == 0;
}

RunEffects CheckRun::downloadComplete(const PaneFacts& pane, const WindowFacts& window)
{
    if (pane.busy)
        return {};
    const bool foreign = !isFromSearchedHost(pane.url);
    if (!pane.failed && (isVerificationHost(pane.url) || (foreign && asksForVerification(pane.title, std::nullopt))))
        return verificationShown();
    // A failed load shows the browser's own error page, and a page from another host is a login or
    // other page the service redirected to: neither is a result page. Nothing is scored and the
    // status line stays, so that the retry line of a run remains to be read.
    if (pane.failed || foreign) {
        if (m_personAsked)
            return {}; // the verification goes on
        return settled(false, window);
    }
    m_pageTitle = pane.title;
    m_page = Page::Reading;
    RunEffects fx;
    fx.readBody = m_navigation;
    return fx;
}

RunEffects CheckRun::bodyRead(quint64 tag, const std::optional<QString>& body, const WindowFacts& window)
{
    if (tag != m_navigation || m_page != Page::Reading)
        return {}; // the answer for a page that a later step has replaced
    if (body && asksForVerification(m_pageTitle, body))
        return verificationShown();
    RunEffects fx;
    if (std::exchange(m_personAsked, false))
        fx.uncoverPane = false; // solved: this is the waiting sentence's page
    scorePage(body, fx);
    // A tick that waited for this page goes on at once; its effects follow the scoring's.
    followWith(fx, settled(false, window));
    return fx;
}

RunEffects CheckRun::verificationShown()
{
    // Neither scored nor counted: the page says nothing about the sentence.
    m_page = Page::Verification;
    m_personAsked = true;
    m_tickWaiting = false;
    const int index = m_state.nextIndex - 1;
    if (m_record.markVerification(index))
        emit recordChanged(index);
    RunEffects fx;
    fx.label1 = kVerificationRequest;
    fx.uncoverPane = true;
    return fx;
}

void CheckRun::scorePage(const std::optional<QString>& body, RunEffects& fx)
{
    m_state.pageHtml = body.value_or(QString());
    if (!m_state.pageHtml.isEmpty()) {
        const int index = m_state.nextIndex - 1;
        const std::optional<QString> sentence =
            (index >= 0 && index < m_state.sentences.size()) ? std::optional<QString>(m_state.sentences[index])
                                                            : std::nullopt;
        const PageScore score = search::scorePage(m_state.pageHtml, sentence, m_state.similaritySum, m_state.pageCount);
        m_state.pageText = score.pageText;
        m_state.similaritySum = score.sum;
        fx.label2 = score.caption;
        m_state.markedPage = score.markedPage;
        for (int n = 0; n < score.titles.size(); ++n) {
            const qsizetype slot = static_cast<qsizetype>(index) * kResultsPerPage + n;
            if (slot < 0 || slot >= m_state.titleTexts.size())
                continue;
            m_state.titleTexts[slot] = score.titles[n].text;
            m_state.titleBlocks[slot] = score.titles[n].html;
        }
        m_state.pageCount = m_state.pageCount + 1;
        if (m_record.pageScored(index, score))
            emit recordChanged(index);
    }
    if (hasSentenceTable())
        fx.label1 = progressLine(m_state.nextIndex);
}

} // namespace search
