#include "app/OnlineCheck.h"

#include "app/Form1.h"
#include "editor/MarkColors.h"
#include "editor/Marking.h"
#include "editor/RichTextBox.h"
#include "platform/Browser.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>

OnlineCheck::OnlineCheck(CheckState& state, Form1& form, Controls controls)
    : QObject(&form), m_run(new search::CheckRun(state, this)), m_form(form), m_c(controls)
{
    connect(m_c.pane, &Browser::downloadBegin, this, [this] { m_c.pane->setSilent(true); });
    connect(m_c.pane, &Browser::downloadComplete, this, &OnlineCheck::downloadComplete);
}

search::WindowFacts OnlineCheck::facts() const
{
    return {m_c.editor->document()->isEmpty(), m_c.list->count(), m_form.selectedEngine()};
}

void OnlineCheck::compareStep()
{
    apply(m_run->compareStep(facts()));
}

void OnlineCheck::listEntryChosen(int row)
{
    // A selection the run made itself is not the user's choice.
    if (m_selectingList)
        return;
    apply(m_run->listEntryChosen(row, facts()));
}

void OnlineCheck::start()
{
    apply(m_run->start(facts()));
}

void OnlineCheck::stop()
{
    apply(m_run->stop());
    m_form.stopAction();
}

void OnlineCheck::tick()
{
    apply(m_run->tick(facts(), m_c.pane->isBusy()));
}

void OnlineCheck::downloadComplete()
{
    m_c.pane->setSilent(true);
    apply(m_run->downloadComplete(
        {m_c.pane->isBusy(), m_c.pane->lastLoadFailed(), m_c.pane->currentUrl(), m_c.pane->currentTitle()}, facts()));
}

void OnlineCheck::readBody(quint64 tag)
{
    QPointer<OnlineCheck> self(this);
    m_c.pane->readBodyHtml([self, tag](std::optional<QString> body) {
        if (!self)
            return;
        self->apply(self->m_run->bodyRead(tag, body, self->facts()));
        self->m_c.pane->setSilent(true);
    });
}

void OnlineCheck::selectEntry(int row)
{
    if (row < 0 || row >= m_c.list->count())
        return;
    m_selectingList = true;
    m_c.list->setCurrentRow(row);
    m_selectingList = false;
}

void OnlineCheck::apply(const search::RunEffects& fx)
{
    if (fx.blankPane)
        m_c.pane->writeDocument(QString());
    if (fx.chooseFirstEntry)
        selectEntry(*fx.chooseFirstEntry);
    if (fx.showSimilarity)
        m_form.showSimilarity();
    if (fx.compactLayout) {
        m_form.compactLayout();
        m_c.editor->setSelectionColor(marks::kBlack);
    }
    if (fx.fullLayout)
        m_form.fullLayout();
    if (fx.stopAction)
        m_form.stopAction();
    if (fx.uncoverPane)
        m_form.uncoverResultPane(*fx.uncoverPane);
    if (fx.navigate) {
        m_c.pane->navigate(*fx.navigate);
        m_form.showResultPane();
    }
    if (fx.label1)
        m_c.label1->setText(*fx.label1);
    if (fx.label2)
        m_c.label2->setText(*fx.label2);
    if (fx.markSentence && !markSentence(*fx.markSentence))
        return;
    if (fx.selectEntry)
        selectEntry(*fx.selectEntry);
    if (fx.listToolTip)
        m_c.list->setToolTip(*fx.listToolTip);
    if (fx.readBody)
        readBody(*fx.readBody);
    if (fx.informationBox)
        MessageBox::show(&m_form, {*fx.informationBox, QString(), MessageBox::Icon::Information});
}

bool OnlineCheck::markSentence(const QString& sentence)
{
    QPointer<OnlineCheck> self(this);
    const quint64 step = m_run->navigation();
    return editor::markOccurrences(*m_c.editor, sentence, marks::kRed, [&] {
        QCoreApplication::processEvents();
        // The window closed, or a step that ran meanwhile has taken over.
        return self && m_run->navigation() == step;
    });
}
