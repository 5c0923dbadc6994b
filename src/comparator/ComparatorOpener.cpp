#include "comparator/ComparatorOpener.h"

#include "comparator/Form2.h"
#include "editor/RichTextBox.h"

ComparatorOpener::ComparatorOpener(QObject* parent) : QObject(parent) {}

ComparatorOpener::~ComparatorOpener()
{
    delete m_window.data();
}

Form2* ComparatorOpener::window() const
{
    return m_window;
}

Form2* ComparatorOpener::show(const RichTextBox& mainEditor)
{
    if (!m_window) {
        m_window = new Form2(mainEditor.text(), m_totals);
    }
    if (m_window->isMinimized())
        m_window->showNormal();
    else
        m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}
