#pragma once

#include "analysis/Analysis.h"
#include "report/SiteTableCommand.h"
#include "search/CheckRun.h"
#include "support/ResultPage.h"

#include <optional>
#include <utility>

// Plays the window's part: applies what the run asks and keeps what a user would see.
class ScriptedRun
{
public:
    search::CheckRun run;
    SiteTableCommand stats{run, nullptr}; // counts the titles; it never writes a table here
    search::WindowFacts facts;

    QStringList listEntries;
    bool similarityShown = false;
    QStringList navigations;
    QStringList boxes;
    QString label1;
    QString label2;
    QStringList marked;
    int selected = -1;
    int stopActions = 0;
    int runningChanges = 0;
    bool fullLayout = false;
    bool paneUncovered = false;
    bool paneBusy = false;
    QString paneUrl = QStringLiteral("about:blank");
    std::optional<quint64> pendingRead;

    ScriptedRun()
    {
        QObject::connect(&run, &search::CheckRun::runningChanged, [this] { ++runningChanges; });
    }

    void analyse(const QString& text) { analyse(analysis::analyse(text)); }
    void analyse(analysis::Result result)
    {
        apply(run.analyse(std::move(result), QString()));
        facts.listCount = static_cast<int>(listEntries.size());
    }
    void apply(const search::RunEffects& fx)
    {
        if (fx.listEntries)
            listEntries = *fx.listEntries;
        if (fx.showSimilarity)
            similarityShown = *fx.showSimilarity;
        if (fx.chooseFirstEntry)
            selected = *fx.chooseFirstEntry;
        fullLayout = fx.fullLayout;
        stopActions += fx.stopAction ? 1 : 0;
        if (fx.uncoverPane)
            paneUncovered = *fx.uncoverPane;
        if (fx.navigate) {
            navigations.append(*fx.navigate);
            paneUrl = *fx.navigate;
            paneBusy = true;
        }
        if (fx.label1)
            label1 = *fx.label1;
        if (fx.label2)
            label2 = *fx.label2;
        if (fx.markSentence)
            marked.append(*fx.markSentence);
        if (fx.selectEntry)
            selected = *fx.selectEntry;
        if (fx.readBody)
            pendingRead = fx.readBody;
        if (fx.informationBox)
            boxes.append(*fx.informationBox);
    }

    void step() { apply(run.compareStep(facts)); }
    void click(int row) { apply(run.listEntryChosen(row, facts)); }
    void start() { apply(run.start(facts)); }
    void tick() { apply(run.tick(facts, paneBusy)); }
    // The pane ends its load; a page from the searched host is read at once unless held.
    void finish(std::optional<QString> body, bool ok = true, const QString& finalUrl = QString(),
                bool holdRead = false, const QString& title = QString())
    {
        paneBusy = false;
        if (!finalUrl.isEmpty())
            paneUrl = finalUrl;
        apply(run.downloadComplete({false, !ok, paneUrl, title}, facts));
        if (pendingRead && !holdRead)
            answerRead(std::move(body));
    }
    void answerRead(std::optional<QString> body)
    {
        const quint64 tag = *std::exchange(pendingRead, std::nullopt);
        apply(run.bodyRead(tag, body, facts));
    }
    QString urlFor(int sentence) const { return searchUrlFor(run.searchTexts()[sentence]); }
    QStringList slotTexts(qsizetype from, qsizetype count) const
    {
        return run.record().titleSlots().texts.mid(from, count);
    }
};
