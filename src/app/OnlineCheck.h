#pragma once

#include "search/CheckRun.h"

#include <QObject>

class Browser;
class Form1;
class QLabel;
class QListWidget;
class RichTextBox;

// Feeds the result pane's events and the window's commands into the check run, and applies what the
// run decides to the main window's controls. It makes no decision of its own.
class OnlineCheck : public QObject
{
    Q_OBJECT
public:
    struct Controls
    {
        RichTextBox* editor = nullptr;
        QListWidget* list = nullptr;
        QLabel* label1 = nullptr;
        QLabel* label2 = nullptr;
        Browser* pane = nullptr;
    };

    OnlineCheck(CheckState& state, Form1& form, Controls controls);

    search::CheckRun& run() { return *m_run; }

    void compareStep();
    void listEntryChosen(int row);
    void start();
    void stop();
    void tick();

private:
    search::WindowFacts facts() const;
    void apply(const search::RunEffects& fx);
    // Returns false when a step that ran while it yielded has taken over.
    bool markSentence(const QString& sentence);
    void selectEntry(int row);
    void downloadComplete();
    void readBody(quint64 tag);

    search::CheckRun* m_run;
    Form1& m_form;
    Controls m_c;
    bool m_selectingList = false;
};
