#include "search/OnlineCheck.h"

#include "app/MainWindowGeometry.h"
#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"
#include "platform/Browser.h"
#include "platform/MessageBox.h"
#include "widgets/WidgetTwips.h"
#include "search/PageScore.h"
#include "search/QueryText.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

using mainwindow::kCompactHeight;
using mainwindow::kEditorFullHeight;
using mainwindow::kEditorFullWidth;

OnlineCheck::OnlineCheck(CheckState& state, OnlineCheckControls controls, QObject* parent)
    : QObject(parent), m_state(state), m_c(std::move(controls))
{
    connect(m_c.pane, &Browser::downloadBegin, this, &OnlineCheck::downloadBegin);
    connect(m_c.pane, &Browser::downloadComplete, this, &OnlineCheck::downloadComplete);
}

bool OnlineCheck::hasSentenceTable() const
{
    // An analysis always leaves at least the spare title slot, also for a text without sentences.
    return !m_state.titleTexts.isEmpty();
}

void OnlineCheck::refresh()
{
    if (m_c.refreshControlStates)
        m_c.refreshControlStates();
}

bool OnlineCheck::pageInFlight() const
{
    return m_c.pane->isBusy() || m_readPending;
}

void OnlineCheck::selectListEntry(int row)
{
    if (row < 0 || row >= m_c.list->count())
        return;
    m_selectingList = true;
    m_c.list->setCurrentRow(row);
    m_selectingList = false;
    if (row < m_state.sentences.size())
        m_c.list->setToolTip(m_state.sentences[row]);
}

void OnlineCheck::showProgress(int sentenceNumber)
{
    m_c.label1->setText(QStringLiteral("现在正在对比第 %1 句！共 %2 句。").arg(sentenceNumber).arg(m_state.sentences.size()));
}

void OnlineCheck::compareStep()
{
    m_state.pageHtml.clear();
    m_state.markedPage.clear();
    m_state.pageText.clear();
    m_readPending = false; // an answer for the page that is blanked now no longer counts
    m_lastStepSkipped = false;
    m_c.pane->writeDocument(QString());

    if (m_state.firstStepPending && m_c.list->count() > 0) {
        selectListEntry(0);
        m_state.nextIndex = 0;
        m_state.firstStepPending = false;
    }

    m_c.label2->setVisible(true);
    m_c.command5->setEnabled(true);

    const int W = twips::outerSize(m_c.window).width();
    twips::setHeight(m_c.editor, kCompactHeight);
    twips::setWidth(m_c.editor, W - 1605);
    m_c.editor->setSelectionColor(marks::kBlack);
    twips::setHeight(m_c.list, kCompactHeight);
    twips::setLeft(m_c.list, W - 1500);
    twips::setWidth(m_c.list, 1100);
    m_c.list->setVisible(true);

    m_state.statsPending = true;

    // The run stops before the message box shows: the box is modal, and a run still on would go on
    // ticking behind it and stack a box a second.
    if (m_c.editor->document()->isEmpty()) {
        m_state.autoRun = false;
        twips::setHeight(m_c.editor, kEditorFullHeight);
        twips::setWidth(m_c.editor, kEditorFullWidth);
        m_c.list->setVisible(false);
        refresh();
        MessageBox::show(m_c.window, {QStringLiteral("请先输入关键字"), QString(), MessageBox::Icon::Information});
        return;
    }
    if (!hasSentenceTable() || m_state.nextIndex > m_state.sentences.size() - 1) {
        stopAction();
        MessageBox::show(m_c.window, {QStringLiteral("本次对比结束！"), QString(), MessageBox::Icon::Information});
        return;
    }

    const QString sentence = m_state.sentences[m_state.nextIndex];
    const QString query = search::queryText(sentence);
    if (search::isBlankQuery(query)) {
        // Nothing to search: the step moves on, so that neither a user stepping by hand nor the
        // automatic run stays on a sentence of punctuation.
        m_state.lastIndex = m_state.nextIndex;
        m_state.nextIndex = m_state.nextIndex + 1;
        m_lastStepSkipped = true;
        return;
    }

    if (const auto url = search::searchUrl(m_c.engine(), query))
        m_state.searchUrl = *url;
    m_searchedHost = QUrl(m_state.searchUrl).host();
    m_c.pane->navigate(m_state.searchUrl);
    m_c.resultView->setVisible(true);

    if (!m_state.autoRun)
        showProgress(m_state.nextIndex + 1);

    if (!m_state.articleText.isEmpty())
        markSentence(sentence);

    m_state.lastIndex = m_state.nextIndex;
    m_state.nextIndex = m_state.nextIndex + 1;
    selectListEntry(m_state.lastIndex);
}

void OnlineCheck::markSentence(const QString& sentence)
{
    if (sentence.isEmpty())
        return;
    QPointer<RichTextBox> editor(m_c.editor);
    const QString text = editor->text();
    bool first = true;
    for (qsizetype pos = text.indexOf(sentence); pos >= 0; pos = text.indexOf(sentence, pos + sentence.size())) {
        if (!first) {
            QCoreApplication::processEvents();
            // An edit made meanwhile moves the occurrences: stop rather than colour the wrong text.
            if (!editor || editor->text() != text)
                return;
        }
        first = false;
        editor->select(pos, sentence.size());
        editor->setSelectionColor(marks::kRed);
    }
}

void OnlineCheck::listEntryChosen(int row)
{
    if (m_selectingList || row < 0)
        return;
    if (row < m_state.sentences.size())
        m_c.list->setToolTip(m_state.sentences[row]);
    m_state.nextIndex = row;
    if (!m_state.firstStepPending)
        compareStep();
    m_state.firstStepPending = false;
}

void OnlineCheck::startAutoRun()
{
    m_state.autoRun = true;
    refresh();
    compareStep();
}

void OnlineCheck::stopAction()
{
    m_state.autoRun = false;
    m_c.command3->setVisible(true);
    m_c.command4->setVisible(false);
    m_c.command5->setEnabled(true);
    refresh();
}

void OnlineCheck::abandonWaits()
{
    m_abandoned = true;
    emit pageSettled();
}

void OnlineCheck::timer2Tick()
{
    QPointer<OnlineCheck> self(this);
    QCoreApplication::processEvents();
    // Sleeps until the page has settled; the scoring of the page runs during this wait.
    while (self && !m_abandoned && pageInFlight()) {
        QEventLoop loop;
        bool settled = false;
        connect(this, &OnlineCheck::pageSettled, &loop, [&] {
            settled = true;
            loop.quit();
        });
        loop.exec();
        if (!settled)
            return; // the program is ending
    }
    if (!self || m_abandoned || !m_state.autoRun)
        return;

    const bool arrived = !m_state.pageHtml.isEmpty() && !m_state.markedPage.isEmpty() && !m_state.pageText.isEmpty();
    if (!arrived && !m_lastStepSkipped) {
        m_state.nextIndex = m_state.lastIndex;
        // Only a page that scoring counted is taken back out of the divisor.
        if (!m_state.pageHtml.isEmpty())
            m_state.pageCount = m_state.pageCount - 1;
        m_c.label1->setText(QStringLiteral("网络不给力，正在重新对比第 %1 句").arg(m_state.lastIndex + 1));
        compareStep();
        return;
    }
    showProgress(m_state.nextIndex);
    compareStep();
}

void OnlineCheck::downloadBegin()
{
    m_c.pane->setSilent(true);
}

bool OnlineCheck::pageIsFromSearchedHost() const
{
    // Before the first search the pane shows the blank start page, which is scored like any page.
    if (m_searchedHost.isEmpty())
        return true;
    return QUrl(m_c.pane->currentUrl()).host().compare(m_searchedHost, Qt::CaseInsensitive) == 0;
}

void OnlineCheck::downloadComplete()
{
    m_c.pane->setSilent(true);
    if (m_c.pane->isBusy())
        return;
    // A failed load shows the browser's own error page, and a page from another host is a
    // verification or login page the service redirected to: neither is a result page. Nothing is
    // scored and the status line stays, so that the retry line of a run remains to be read.
    if (m_c.pane->lastLoadFailed() || !pageIsFromSearchedHost()) {
        emit pageSettled();
        return;
    }
    m_readPending = true;
    QPointer<OnlineCheck> self(this);
    m_c.pane->readBodyHtml([self](std::optional<QString> body) {
        if (!self || !self->m_readPending)
            return;
        self->m_readPending = false;
        self->scorePage(body);
        emit self->pageSettled();
    });
}

void OnlineCheck::scorePage(const std::optional<QString>& body)
{
    m_state.pageHtml = body.value_or(QString());
    if (!m_state.pageHtml.isEmpty()) {
        const int index = m_state.nextIndex - 1;
        const std::optional<QString> sentence =
            (index >= 0 && index < m_state.sentences.size()) ? std::optional<QString>(m_state.sentences[index])
                                                            : std::nullopt;
        const search::PageScore score =
            search::scorePage(m_state.pageHtml, sentence, m_state.similaritySum, m_state.pageCount);
        m_state.pageText = score.pageText;
        m_state.similaritySum = score.sum;
        if (score.caption)
            m_c.label2->setText(*score.caption);
        m_state.markedPage = score.markedPage;
        for (int n = 0; n < score.titles.size(); ++n) {
            const qsizetype slot = static_cast<qsizetype>(index) * search::kResultsPerPage + n;
            if (slot < 0 || slot >= m_state.titleTexts.size())
                continue;
            m_state.titleTexts[slot] = score.titles[n].text;
            m_state.titleBlocks[slot] = score.titles[n].block;
        }
        m_state.pageCount = m_state.pageCount + 1;
    }
    if (hasSentenceTable())
        showProgress(m_state.nextIndex);
    m_c.pane->setSilent(true);
}
