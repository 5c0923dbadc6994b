#pragma once

#include "search/CheckRun.h"

class Browser;
class Form1;

// Shows what the check run decided, in the order of RunEffects, on the main window and its result
// pane. It decides nothing.
class RunEffectsView
{
public:
    RunEffectsView(Form1& form, Browser& resultPane);

    void apply(const search::RunEffects& fx);

private:
    // Returns false when a step that ran while it yielded has taken over, or the window went.
    bool markSentence(const QString& sentence);

    Form1& m_form;
    Browser& m_resultPane;
};
