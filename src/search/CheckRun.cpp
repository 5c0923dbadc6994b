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
    take(first.listEntries, then.listEntries);
    first.blankPane |= then.blankPane;
    take(first.chooseFirstEntry, then.chooseFirstEntry);
    take(first.showSimilarity, then.showSimilarity);
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

RunEffects CheckRun::analyse(analysis::Result result, const QString& heading,
                             const QList<analysis::PieceUse>& uses)
{
    const qsizetype charCount = result.charCount;
    m_state.articleText = std::move(result.articleText);
    m_state.sentences = std::move(result.sentences);
    m_state.nextIndex = 0;
    m_state.lastIndex = 0;
    m_state.pageCount = 1;
    m_state.similaritySum = 0;
    m_state.statsPending = false;
    m_state.firstStepPending = true;
    m_state.titleCounts = QList<int>(m_state.sentences.size() * kResultsPerPage + 1, 0);
    m_analysed = true;
    setAutoRun(false);
    m_record.reset(m_state.sentences.size(), heading);
    m_record.setUses(uses);

    RunEffects fx;
    // A verification page met by hand belongs to the sentences before: nothing waits for it now.
    if (std::exchange(m_waitingForPerson, false))
        fx.uncoverPane = false;
    QStringList entries;
    entries.reserve(m_state.sentences.size());
    for (qsizetype k = 0; k < m_state.sentences.size(); ++k)
        entries.append(analysis::listEntry(k, m_state.sentences[k]));
    fx.listEntries = std::move(entries);
    fx.showSimilarity = false;
    fx.label1 = analysis::reportLine(charCount, m_state.sentences.size());
    emit recordReset();
    return fx;
}

RunState CheckRun::state() const
{
    if (!m_state.autoRun)
        return RunState::Idle;
    if (m_waitingForPerson)
        return RunState::WaitingForPerson;
    if (m_tickWaiting)
        return RunState::TickWaiting;
    if (m_page == Page::Loading || m_page == Page::Reading)
        return RunState::WaitingForPage;
    return RunState::DueForTick;
}

bool CheckRun::hasSentenceTable() const
{
    return m_analysed;
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
    RunEffects fx = beginStep(window);
    // Pieces not to be searched, and those whose kept result was taken over, cost neither a search
    // nor a tick.
    if (!window.editorEmpty)
        m_state.nextIndex = m_record.nextToSearch(m_state.nextIndex);
    if (window.editorEmpty || !hasSentenceTable() || m_state.nextIndex > m_state.sentences.size() - 1)
        return endOfCheck(window, std::move(fx));
    const QString sentence = m_state.sentences[m_state.nextIndex];
    const QString query = queryText(sentence);
    if (isBlankQuery(query))
        skipBlankSentence();
    else
        searchSentence(sentence, query, window, fx);
    return fx;
}

RunEffects CheckRun::beginStep(const WindowFacts& window)
{
    RunEffects fx;
    // An answer for the page that is blanked now no longer counts.
    ++m_navigation;
    pageMissed(m_state.lastIndex);
    m_page = Page::None;
    m_pageCounted = false;
    m_pageArrived = false;
    m_lastStepSkipped = false;
    if (std::exchange(m_waitingForPerson, false))
        fx.uncoverPane = false;
    fx.blankPane = true;

    if (m_state.firstStepPending && window.listCount > 0) {
        fx.chooseFirstEntry = 0;
        if (!m_state.sentences.isEmpty())
            fx.listToolTip = m_state.sentences[0];
        m_state.nextIndex = 0;
        m_state.firstStepPending = false;
    }
    fx.showSimilarity = true;
    fx.compactLayout = true;
    m_state.statsPending = true;
    return fx;
}

RunEffects CheckRun::endOfCheck(const WindowFacts& window, RunEffects fx)
{
    // The run stops before the message box shows: the box is modal, and a run still on would go on
    // ticking behind it and stack a box a second.
    setAutoRun(false);
    if (window.editorEmpty) {
        fx.fullLayout = true;
        fx.informationBox = QStringLiteral("请先输入关键字");
    } else {
        fx.stopAction = true;
        fx.informationBox = QStringLiteral("本次对比结束！");
    }
    return fx;
}

void CheckRun::skipBlankSentence()
{
    // Nothing to search: the step moves on, so that neither a user stepping by hand nor the
    // automatic run stays on a sentence of punctuation.
    if (m_record.markBlank(m_state.nextIndex))
        emit recordChanged(m_state.nextIndex);
    m_state.lastIndex = m_state.nextIndex;
    m_state.nextIndex = m_state.nextIndex + 1;
    m_lastStepSkipped = true;
    m_page = Page::Settled;
}

void CheckRun::searchSentence(const QString& sentence, const QString& query, const WindowFacts& window,
                              RunEffects& fx)
{
    if (const auto url = searchUrl(window.engine, query)) {
        m_state.searchUrl = *url;
        m_searchedEngine = window.engine;
    }
    if (m_state.nextIndex != m_foreignPagesSentence) {
        m_foreignPagesSentence = m_state.nextIndex;
        m_foreignPages = 0;
    }
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
}

RunEffects CheckRun::adoptKept(const QList<std::pair<int, SentenceEntry>>& kept)
{
    RunEffects fx;
    int adopted = 0;
    for (const auto& [index, entry] : kept) {
        if (!m_record.adopt(index, entry))
            continue;
        // Counted as scoring counts a page: a short page or one without a figure adds nothing to the sum.
        if (entry.state == SentenceState::Scored && entry.similarity)
            m_state.similaritySum += *entry.similarity;
        m_state.pageCount = m_state.pageCount + 1;
        ++adopted;
        emit recordChanged(index);
    }
    if (adopted == 0)
        return fx;
    m_state.statsPending = true;
    const QString caption = QStringLiteral("已沿用 %1 句的检测结果\r\n\r\n").arg(adopted) +
                            overallLine(m_state.similaritySum, m_state.pageCount - 1);
    m_record.setCaption(caption);
    fx.label2 = caption;
    fx.showSimilarity = true;
    return fx;
}

RunEffects CheckRun::listEntryChosen(int row, const WindowFacts& window)
{
    RunEffects fx;
    if (row < 0)
        return fx;
    m_state.nextIndex = row;
    if (!m_state.firstStepPending) {
        // A kept result the person chose is searched anew; a piece never searched stays so.
        m_record.releaseKept(row);
        fx = step(window);
    }
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
    if (m_state.autoRun && std::exchange(m_waitingForPerson, false)) {
        m_state.nextIndex = m_state.lastIndex;
        fx.uncoverPane = false;
        m_foreignPages = 0; // the person has seen the page: the next start tries afresh
    }
    setAutoRun(false);
    return fx;
}

RunEffects CheckRun::tick(const WindowFacts& window, bool paneBusy)
{
    // While the person solves a verification the run neither retries nor goes on.
    if (!m_state.autoRun || m_waitingForPerson)
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
    QString line;
    if (!m_pageArrived && !m_lastStepSkipped) {
        m_state.nextIndex = m_state.lastIndex;
        // Only a page that scoring counted is taken back out of the divisor.
        if (m_pageCounted)
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

RunEffects CheckRun::pageSettled(bool paneBusy, const WindowFacts& window)
{
    if (m_page != Page::None)
        m_page = Page::Settled;
    if (m_tickWaiting && !paneBusy && m_state.autoRun)
        return decideTick(window);
    return {};
}

bool CheckRun::isFromSearchedService(const QString& url) const
{
    // Before the first search the pane shows the blank start page, which is scored like any page.
    if (!m_searchedEngine)
        return true;
    return isServiceHost(*m_searchedEngine, url);
}

RunEffects CheckRun::downloadComplete(const PaneFacts& pane, const WindowFacts& window)
{
    if (pane.busy)
        return {};
    const bool foreign = !isFromSearchedService(pane.url);
    if (!pane.failed && (isVerificationHost(pane.url) || (foreign && asksForVerification(pane.title, std::nullopt))))
        return verificationShown();
    // A failed load shows the browser's own error page, and a page from another host is a login or
    // other page the service redirected to: neither is a result page. Nothing is scored and the
    // status line stays, so that the retry line of a run remains to be read.
    if (pane.failed || foreign) {
        if (m_waitingForPerson)
            return {}; // the verification goes on
        pageMissed(m_state.nextIndex - 1);
        // Retried a few times; then the person is shown the page instead of a retry a second for ever.
        if (foreign && ++m_foreignPages > kForeignPagesRetried)
            return askPerson(foreignPageLine(pane.url));
        return pageSettled(false, window);
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
    if (body && asksForVerification(m_pageTitle, body, m_searchedEngine))
        return verificationShown();
    RunEffects fx;
    if (std::exchange(m_waitingForPerson, false))
        fx.uncoverPane = false; // solved: this is the waiting sentence's page
    scorePage(body, fx);
    // A tick that waited for this page goes on at once; its effects follow the scoring's.
    followWith(fx, pageSettled(false, window));
    return fx;
}

void CheckRun::pageMissed(int sentence)
{
    if (m_record.markNotArrived(sentence))
        emit recordChanged(sentence);
}

RunEffects CheckRun::verificationShown()
{
    // Neither scored nor counted: the page says nothing about the sentence.
    const int index = m_state.nextIndex - 1;
    if (m_record.markVerification(index))
        emit recordChanged(index);
    return askPerson(kVerificationRequest);
}

RunEffects CheckRun::askPerson(const QString& line)
{
    m_page = Page::PersonAsked;
    m_waitingForPerson = true;
    m_tickWaiting = false;
    RunEffects fx;
    fx.label1 = line;
    fx.uncoverPane = true;
    return fx;
}

QString foreignPageLine(const QString& url)
{
    QString shown = QUrl(url).toDisplayString(QUrl::RemoveUserInfo);
    if (shown.size() > 80)
        shown = shown.left(79) + u'…';
    return QStringLiteral("结果窗口显示的不是搜索服务的结果页，而是 %1 ：请查看上方结果窗口，处理后检测将自动继续。").arg(shown);
}

void CheckRun::scorePage(const std::optional<QString>& body, RunEffects& fx)
{
    const QString page = body.value_or(QString());
    m_pageCounted = !page.isEmpty();
    m_pageArrived = false;
    if (!page.isEmpty()) {
        const int index = m_state.nextIndex - 1;
        const std::optional<QString> sentence =
            (index >= 0 && index < m_state.sentences.size()) ? std::optional<QString>(m_state.sentences[index])
                                                            : std::nullopt;
        const PageScore score = search::scorePage(page, sentence, m_state.similaritySum, m_state.pageCount);
        // A page without double-byte text is no result page: the tick searches the sentence again.
        m_pageArrived = score.pageSize > 0;
        m_state.similaritySum = score.sum;
        m_state.pageCount = m_state.pageCount + 1;
        m_foreignPages = 0;
        if (m_record.pageScored(index, score))
            emit recordChanged(index);
        // The record keeps the caption; the display shows it.
        if (score.caption)
            fx.label2 = m_record.caption();
    } else {
        pageMissed(m_state.nextIndex - 1);
    }
    if (hasSentenceTable())
        fx.label1 = progressLine(m_state.nextIndex);
}

} // namespace search
