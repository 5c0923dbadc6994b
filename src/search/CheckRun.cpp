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

CheckRun::CheckRun(QObject* parent) : QObject(parent) {}

RunEffects CheckRun::analyse(analysis::Result result, const QString& article,
                             const QList<analysis::PieceUse>& uses)
{
    const qsizetype charCount = result.charCount;
    m_articleText = std::move(result.articleText);
    m_sentences = std::move(result.sentences);
    m_searchTexts = std::move(result.searchTexts);
    m_places = std::move(result.places);
    if (m_searchTexts.size() != m_sentences.size())
        m_searchTexts.clear();
    if (m_places.size() != m_sentences.size())
        m_places.clear();
    setNextIndex(0);
    m_lastIndex = 0;
    m_pageCount = 1;
    m_similaritySum = 0;
    m_firstStepPending = true;
    m_analysed = true;
    m_inFlight.reset(); // a page still loading answers a search of the article before
    setAutoRun(false);
    m_record.reset(m_sentences.size(), article);
    m_record.setUses(uses);

    RunEffects fx;
    // A verification page met by hand belongs to the sentences before: nothing waits for it now.
    if (std::exchange(m_waitingForPerson, false))
        fx.uncoverPane = false;
    QStringList entries;
    entries.reserve(m_sentences.size());
    for (qsizetype k = 0; k < m_sentences.size(); ++k)
        entries.append(analysis::listEntry(k, m_sentences[k]));
    fx.listEntries = std::move(entries);
    fx.showSimilarity = false;
    fx.label1 = analysis::reportLine(charCount, m_sentences.size());
    emit recordReset();
    return fx;
}

QString CheckRun::shownText(int k) const
{
    if (k < 0 || k >= m_sentences.size())
        return QString();
    if (m_places.isEmpty())
        return m_sentences[k];
    return m_record.article().mid(m_places[k].start, m_places[k].length);
}

std::optional<analysis::Place> CheckRun::placeIn(const QString& text, int k) const
{
    if (!m_places.isEmpty() && text == m_record.article())
        return m_places.value(k);
    return analysis::sentencePlace(text, m_sentences, k);
}

QList<std::optional<analysis::Place>> CheckRun::placesIn(const QString& text) const
{
    if (m_places.isEmpty() || text != m_record.article())
        return analysis::sentencePlaces(text, m_sentences);
    return {m_places.cbegin(), m_places.cend()};
}

bool CheckRun::hasSentenceTable() const
{
    return m_analysed;
}

QString CheckRun::progressLine(int sentenceNumber) const
{
    return QStringLiteral("现在正在对比第 %1 句！共 %2 句。").arg(sentenceNumber).arg(m_sentences.size());
}

void CheckRun::setAutoRun(bool on)
{
    if (!on)
        m_tickWaiting = false;
    if (m_autoRun == on)
        return;
    m_autoRun = on;
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
        setNextIndex(m_record.nextToSearch(m_nextIndex));
    if (window.editorEmpty || !hasSentenceTable() || m_nextIndex > m_sentences.size() - 1)
        return endOfCheck(window, std::move(fx));
    const QString sentence = m_sentences[m_nextIndex];
    const QString query = queryText(searchTexts()[m_nextIndex]);
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
    pageMissed(m_lastIndex);
    m_inFlight.reset();
    m_page = Page::None;
    m_pageCounted = false;
    m_pageArrived = false;
    m_lastStepSkipped = false;
    if (std::exchange(m_waitingForPerson, false))
        fx.uncoverPane = false;
    fx.blankPane = true;

    if (m_firstStepPending && window.listCount > 0) {
        fx.chooseFirstEntry = 0;
        if (!m_sentences.isEmpty())
            fx.listToolTip = m_sentences[0];
        setNextIndex(0);
        m_firstStepPending = false;
    }
    fx.showSimilarity = true;
    fx.compactLayout = true;
    emit stepped();
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
    if (m_record.markBlank(m_nextIndex))
        emit recordChanged(m_nextIndex);
    m_lastIndex = m_nextIndex;
    setNextIndex(m_nextIndex + 1);
    m_lastStepSkipped = true;
    m_page = Page::Settled;
}

void CheckRun::searchSentence(const QString& sentence, const QString& query, const WindowFacts& window,
                              RunEffects& fx)
{
    const int index = m_nextIndex;
    if (const auto url = search::searchUrl(window.engine, query)) {
        m_searchUrl = *url;
        m_searchedEngine = window.engine;
    }
    if (index != m_foreignPagesSentence) {
        m_foreignPagesSentence = index;
        m_foreignPages = 0;
    }
    fx.navigate = m_searchUrl;
    m_page = Page::Loading;

    if (!m_autoRun)
        fx.label1 = progressLine(index + 1);
    if (!m_articleText.isEmpty() && !sentence.isEmpty())
        fx.markSentence = sentence;
    if (m_record.markSearched(index, window.engine, query))
        emit recordChanged(index);

    m_lastIndex = index;
    m_inFlight = InFlight{index, query, m_searchUrl};
    m_nextIndex = index + 1;
    if (m_lastIndex < window.listCount) {
        fx.selectEntry = m_lastIndex;
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
            m_similaritySum += *entry.similarity;
        ++m_pageCount;
        ++adopted;
        emit recordChanged(index);
    }
    if (adopted == 0)
        return fx;
    emit stepped();
    const double overall = overallFigure(m_similaritySum, m_pageCount - 1);
    const QString caption =
        QStringLiteral("已沿用 %1 句的检测结果\r\n\r\n").arg(adopted) + overallText(overall);
    m_record.setCaption(caption, overall);
    fx.label2 = caption;
    fx.showSimilarity = true;
    return fx;
}

RunEffects CheckRun::listEntryChosen(int row, const WindowFacts& window)
{
    RunEffects fx;
    if (row < 0)
        return fx;
    setNextIndex(row);
    if (!m_firstStepPending) {
        // A kept result the person chose is searched anew; a piece never searched stays so.
        m_record.releaseKept(row);
        fx = step(window);
    }
    m_firstStepPending = false;
    // The tooltip names the chosen sentence unless the step selected another entry.
    if (!fx.listToolTip && row < m_sentences.size())
        fx.listToolTip = m_sentences[row];
    return fx;
}

RunEffects CheckRun::start(const WindowFacts& window)
{
    // A page still on its way when the run was stopped will not come once the step navigates: the
    // run takes its piece up again.
    if (m_inFlight)
        setNextIndex(m_inFlight->piece);
    setAutoRun(true);
    return step(window);
}

RunEffects CheckRun::stop()
{
    RunEffects fx;
    if (m_autoRun && std::exchange(m_waitingForPerson, false)) {
        setNextIndex(m_lastIndex);
        fx.uncoverPane = false;
        m_foreignPages = 0; // the person has seen the page: the next start tries afresh
    }
    setAutoRun(false);
    return fx;
}

RunEffects CheckRun::tick(const WindowFacts& window, bool paneBusy)
{
    // While the person solves a verification the run neither retries nor goes on.
    if (!m_autoRun || m_waitingForPerson)
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
        setNextIndex(m_lastIndex);
        // Only a page that scoring counted is taken back out of the divisor.
        if (m_pageCounted)
            --m_pageCount;
        line = QStringLiteral("网络不给力，正在重新对比第 %1 句").arg(m_lastIndex + 1);
    } else {
        line = progressLine(m_nextIndex);
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
    if (m_tickWaiting && !paneBusy && m_autoRun)
        return decideTick(window);
    return {};
}

bool CheckRun::answersInFlight(const QString& url) const
{
    return m_inFlight && answersSearch(url, m_inFlight->url, m_inFlight->query);
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
    if (!pane.failed &&
        (isVerificationHost(pane.url) || (foreign && asksForVerification(pane.title, std::nullopt))))
        return verificationShown();
    // A failed load shows the browser's own error page, and a page from another host is a login or
    // other page the service redirected to: neither is a result page. Nothing is scored and the
    // status line stays, so that the retry line of a run remains to be read.
    if (pane.failed || foreign) {
        if (m_waitingForPerson)
            return {}; // the verification goes on
        pageMissed(awaited());
        // Retried a few times; then the person is shown the page instead of a retry a second for ever.
        if (foreign && ++m_foreignPages > kForeignPagesRetried)
            return askPerson(foreignPageLine(pane.url));
        return pageSettled(false, window);
    }
    if (!answersInFlight(pane.url)) {
        // Another search's page, one of the service's other pages, or a page nothing waits for any
        // more: neither scored nor kept.
        if (m_waitingForPerson)
            return {};
        pageMissed(awaited());
        return pageSettled(false, window);
    }
    m_reading = m_inFlight->piece;
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
    if (m_record.markVerification(awaited()))
        emit recordChanged(awaited());
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
    return QStringLiteral(
               "结果窗口显示的不是搜索服务的结果页，而是 %1 ：请查看上方结果窗口，处理后检测将自动继续。")
        .arg(shown);
}

void CheckRun::scorePage(const std::optional<QString>& body, RunEffects& fx)
{
    const QString page = body.value_or(QString());
    const int index = m_reading;
    m_pageCounted = !page.isEmpty();
    m_pageArrived = false;
    if (!m_inFlight || m_inFlight->piece != index || index < 0 || index >= m_sentences.size()) {
        m_pageCounted = false;
        return;
    }
    // A piece that has its result already (its page came twice) keeps the first.
    const SentenceState state = m_record.at(index).state;
    if (state == SentenceState::Scored || state == SentenceState::ShortPage) {
        m_pageCounted = false;
        m_pageArrived = true;
        return;
    }
    if (!page.isEmpty()) {
        const PageScore score = search::scorePage(page, searchTexts()[index], m_similaritySum, m_pageCount);
        // A page without double-byte text is no result page: the tick searches the sentence again.
        m_pageArrived = score.pageSize > 0;
        m_similaritySum = score.sum;
        ++m_pageCount;
        m_foreignPages = 0;
        if (m_record.pageScored(index, score))
            emit recordChanged(index);
        // The record keeps the caption; the display shows it.
        if (score.caption)
            fx.label2 = m_record.caption();
        if (m_pageArrived) {
            m_inFlight.reset();
            // Answered after a stop that put the run back on it: the next piece to search follows it.
            if (m_nextIndex == index)
                m_nextIndex = index + 1;
        }
    } else {
        pageMissed(index);
    }
    if (hasSentenceTable())
        fx.label1 = progressLine(m_nextIndex);
}

} // namespace search
