#pragma once

#include "analysis/CheckState.h"
#include "search/CheckRecord.h"
#include "search/Engines.h"

#include <QObject>
#include <QString>

#include <optional>

// The online check as a model without widgets: the compare step, the list-selection rule, the
// scoring of a result page when it arrives, and the automatic run that chains compare steps. Each
// event returns a RunEffects record that says what the window must do; the model itself only writes
// the check state.
namespace search {

// What the window knows at the moment of an event.
struct WindowFacts
{
    bool editorEmpty = false;
    int listCount = 0;
    Engine engine = Engine::Baidu;
};

// The result pane as it reports a finished download.
struct PaneFacts
{
    bool busy = false;
    bool failed = false; // the load ended in an error (or never ended)
    QString url;         // address of the page shown
    QString title;       // its title
};

enum class RunState {
    Idle,           // no automatic run; pages are still scored when they arrive
    WaitingForPage, // the run is on and the latest step's page is loading or being read
    DueForTick,     // the run is on and the latest step's page has settled
    TickWaiting,    // the run is on and a tick waits for the page before it decides
    WaitingForPerson, // the run is on and paused: the service asked for a verification
};

// The status line while the service's verification page waits for the person.
inline const QString kVerificationRequest =
    QStringLiteral("搜索服务要求安全验证：请在上方结果窗口中完成验证，完成后检测将自动继续。");

// What one event asks of the window, in the order the window applies it.
struct RunEffects
{
    bool blankPane = false;
    std::optional<int> chooseFirstEntry;   // select this list entry without running the rule
    bool stepBegan = false;                // a compare step ran: similarity display shown, statistics allowed
    bool compactLayout = false;            // editor and list share the top; the selection turns black
    bool fullLayout = false;               // the editor fills the window again, the list hides
    bool stopAction = false;               // the automatic run was stopped by the step
    std::optional<bool> uncoverPane;       // true: the whole pane shows above the editor; false: as before
    std::optional<QString> navigate;       // load this address in the pane and show the pane
    std::optional<QString> label1;         // the status line
    std::optional<QString> label2;         // the similarity display
    std::optional<QString> markSentence;   // colour every occurrence red, the last one stays selected
    std::optional<int> selectEntry;        // select this list entry without running the rule
    std::optional<QString> listToolTip;    // applied with the selections above
    std::optional<quint64> readBody;       // read the pane's body and report it with this tag
    std::optional<QString> informationBox; // a modal message, shown last
};

// Merges the effects of an event that follows at once: later values replace earlier ones.
void followWith(RunEffects& first, const RunEffects& then);

class CheckRun : public QObject
{
    Q_OBJECT
public:
    explicit CheckRun(CheckState& state, QObject* parent = nullptr);

    RunState state() const;
    // Whether an analysis has run (also one that found no sentence).
    bool hasSentenceTable() const;
    // Raised by every compare step: tells an answer or a piece of work for an earlier step apart.
    quint64 navigation() const { return m_navigation; }
    // What the check found out about each sentence since the latest analysis.
    const CheckRecord& record() const { return m_record; }

    // An analysis has just cut the article: the record starts afresh. heading names the article.
    void analysed(const QString& heading);

    // Command2, and the step that the run's start and ticks take.
    RunEffects compareStep(const WindowFacts& window);
    // The list-selection rule for the entry the user chose.
    RunEffects listEntryChosen(int row, const WindowFacts& window);
    // Command3: the run is on, and its first step runs at once.
    RunEffects start(const WindowFacts& window);
    // Command4. A page that is loading is still scored when it arrives; a sentence whose verification
    // page waits is searched again by the next start.
    RunEffects stop();
    // Timer2: decides at once when the page has settled, else waits for it.
    RunEffects tick(const WindowFacts& window, bool paneBusy);

    // The pane finished a download (a page, an error page, or a stopped load).
    RunEffects downloadComplete(const PaneFacts& pane, const WindowFacts& window);
    // The body HTML that readBody asked for; nullopt when the page had no body.
    RunEffects bodyRead(quint64 tag, const std::optional<QString>& body, const WindowFacts& window);

signals:
    void runningChanged(bool running);
    // The record's entry for this sentence (0-based) changed.
    void recordChanged(int sentence);
    // The record was started afresh for a new analysis: every entry and the number of them changed.
    void recordReset();

private:
    enum class Page { None, Loading, Reading, Settled, Verification };

    RunEffects step(const WindowFacts& window);
    RunEffects decideTick(const WindowFacts& window);
    RunEffects settled(bool paneBusy, const WindowFacts& window);
    RunEffects verificationShown();
    void scorePage(const std::optional<QString>& body, RunEffects& fx);
    void setAutoRun(bool on);
    bool isFromSearchedHost(const QString& url) const;
    QString progressLine(int sentenceNumber) const;

    CheckState& m_state;
    CheckRecord m_record;
    Page m_page = Page::None;
    bool m_tickWaiting = false;
    bool m_lastStepSkipped = false; // the latest step had a blank query and searched nothing
    bool m_personAsked = false;     // the latest step met a verification page not yet solved
    QString m_pageTitle;            // title of the page being read
    quint64 m_navigation = 0;       // raised by every step that blanks the pane
    QString m_searchedHost;         // host of the latest step's navigation
};

} // namespace search
