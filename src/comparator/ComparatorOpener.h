#pragma once

#include "comparator/Counts.h"

#include <QObject>
#include <QPointer>

class Form2;
class RichTextBox;

// Opens the comparator from the main window: creates Form2 with a copy of the main editor's text
// when none is open, and otherwise shows the open one as it is. Owns the comparator totals, which
// every Form2 of the program adds to, so they outlive each window; the main window owns this, and
// it lives as long as the program.
class ComparatorOpener : public QObject
{
    Q_OBJECT
public:
    explicit ComparatorOpener(QObject* parent = nullptr);
    // An open comparator goes with its opener.
    ~ComparatorOpener() override;

    Form2* show(const RichTextBox& mainEditor);
    Form2* window() const;
    const comparator::Counts& totals() const { return m_totals; }

private:
    comparator::Counts m_totals;
    QPointer<Form2> m_window;
};
