#pragma once

#include "search/CheckRun.h"

#include <QObject>

#include <functional>

class Browser;

// The result pane's side of the online check: feeds the pane's finished downloads into the check run,
// reads the pane's body when the run asks for it and feeds that in too, and hands what the run decides
// to the window (decided). It decides nothing and writes no control; it keeps the pane silent.
class OnlineCheck : public QObject
{
    Q_OBJECT
public:
    using Facts = std::function<search::WindowFacts()>;

    OnlineCheck(search::CheckRun& run, Browser& pane, Facts facts, QObject* parent = nullptr);

signals:
    void decided(const search::RunEffects& fx);

private:
    void downloadComplete();
    // Reads the pane's body for the step tagged tag.
    void readBody(quint64 tag);

    search::CheckRun& m_run;
    Browser& m_pane;
    Facts m_facts;
};
