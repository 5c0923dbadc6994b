#pragma once

#include "search/CheckRun.h"

#include <QObject>

#include <functional>

class Browser;

// The result pane's side of the online check: feeds the pane's finished downloads and the body reads
// the run asks for into the check run, and hands what the run decides to the window (decided). It
// decides nothing and writes no control; it keeps the pane silent.
class OnlineCheck : public QObject
{
    Q_OBJECT
public:
    using Facts = std::function<search::WindowFacts()>;

    OnlineCheck(search::CheckRun& run, Browser& pane, Facts facts, QObject* parent = nullptr);

    // Reads the pane's body for the step tagged tag, as an effect asked.
    void readBody(quint64 tag);

signals:
    void decided(const search::RunEffects& fx);

private:
    void downloadComplete();

    search::CheckRun& m_run;
    Browser& m_pane;
    Facts m_facts;
};
