#include "app/RunEffectsView.h"

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
#include <QWebEngineView>

RunEffectsView::RunEffectsView(Form1& form, Browser& resultPane) : m_form(form), m_resultPane(resultPane) {}

void RunEffectsView::apply(const search::RunEffects& fx)
{
    const Form1::Controls& c = m_form.controls();
    if (fx.listEntries)
        m_form.showSentenceEntries(*fx.listEntries);
    if (fx.blankPane)
        m_resultPane.writeDocument(QString());
    if (fx.chooseFirstEntry)
        m_form.selectEntry(*fx.chooseFirstEntry);
    if (fx.showSimilarity)
        m_form.showSimilarity(*fx.showSimilarity);
    if (fx.compactLayout) {
        m_form.giveBackRunSelection();
        m_form.compactLayout();
        c.editor->setSelectionColor(marks::kBlack);
    }
    if (fx.fullLayout)
        m_form.fullLayout();
    if (fx.stopAction)
        m_form.showStopped();
    if (fx.uncoverPane)
        m_form.uncoverResultPane(*fx.uncoverPane);
    if (fx.navigate) {
        m_resultPane.navigate(*fx.navigate);
        c.resultView->setVisible(true);
    }
    if (fx.label1)
        c.status->setText(*fx.label1);
    if (fx.label2)
        c.similarity->setText(*fx.label2);
    if (fx.markSentence) {
        if (!markSentence(*fx.markSentence))
            return;
        m_form.restoreHeldSentence();
    }
    if (fx.selectEntry)
        m_form.selectEntry(*fx.selectEntry);
    if (fx.listToolTip)
        c.sentenceList->setToolTip(*fx.listToolTip);
    if (fx.informationBox)
        MessageBox::show(&m_form, {*fx.informationBox, QString(), MessageBox::Icon::Information});
}

bool RunEffectsView::markSentence(const QString& sentence)
{
    QPointer<Form1> form(&m_form);
    const search::CheckRun& run = m_form.checkRun();
    const quint64 step = run.navigation();
    return editor::markOccurrences(*m_form.controls().editor, sentence, marks::kRed, [&] {
        QCoreApplication::processEvents();
        // The window closed, or a step that ran meanwhile has taken over.
        return form && run.navigation() == step;
    });
}
