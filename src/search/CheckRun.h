#pragma once

#include "analysis/Analysis.h"
#include "analysis/SentencePlace.h"
#include "search/CheckRecord.h"
#include "search/Engines.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The online check as a model without widgets: a new analysis, the compare step, the list-selection
// rule, the scoring of a result page when it arrives, and the automatic run that chains compare
// steps. Each event returns a RunEffects record that says what the window must do. The run owns its
// state (the pieces, where the run stands, the sum and the page count) and the record of what each
// piece's search found; the others read them.
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

// The status line while the service's verification page waits for the person.
inline const QString kVerificationRequest =
    QStringLiteral("搜索服务要求安全验证：请在上方结果窗口中完成验证，完成后检测将自动继续。");

// How often a page from a host that is not the service's counts as not arrived for one sentence;
// the next one pauses the run and asks the person to look at the pane.
inline constexpr int kForeignPagesRetried = 3;

// The status line when the pane shows a page of another host: which address, and what to do.
QString foreignPageLine(const QString& url);

// What one event asks of the window, in the order the window applies it.
struct RunEffects
{
    std::optional<QStringList> listEntries; // List1's entries anew (a new analysis)
    bool blankPane = false;
    std::optional<int> chooseFirstEntry;   // select this list entry without running the rule
    std::optional<bool> showSimilarity;    // true: the similarity display shows and statistics are allowed
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
    std::optional<quint64> readBody;       // the pane's body is to be read and reported with this tag
    std::optional<QString> informationBox; // a modal message, shown last
};

// Merges the effects of an event that follows at once: later values replace earlier ones.
void followWith(RunEffects& first, const RunEffects& then);

class CheckRun : public QObject
{
    Q_OBJECT
public:
    explicit CheckRun(QObject* parent = nullptr);

    // The article as the latest analysis cut it: its normalised text and its pieces, untrimmed.
    const QString& articleText() const { return m_articleText; }
    const QStringList& sentences() const { return m_sentences; }
    // What each piece is searched with: without its citation markers when the cutting by sentence
    // made them, else the pieces themselves.
    const QStringList& searchTexts() const { return m_searchTexts.isEmpty() ? m_sentences : m_searchTexts; }
    // Piece k as the writer wrote it, taken from the article by its place when the cutting by sentence
    // knows it (spaces, Latin words, punctuation and markers as they stand), else the piece itself.
    QString shownText(int k) const;
    // Each piece's place in the article as the editor held it at the analysis; empty when unknown.
    const QList<analysis::Place>& places() const { return m_places; }
    // Where piece k stands in text, and every piece's place: the places the cutting knew when text is
    // the article it cut, else found by looking for the pieces in order (an edited or plain-cut text).
    std::optional<analysis::Place> placeIn(const QString& text, int k) const;
    QList<std::optional<analysis::Place>> placesIn(const QString& text) const;
    // The piece the next compare step searches.
    int nextIndex() const { return m_nextIndex; }
    // The piece the latest step took: searched, or passed over as blank.
    int lastIndex() const { return m_lastIndex; }
    // One more than the result pages scored since the analysis; the overall figure's divisor.
    int pageCount() const { return m_pageCount; }
    // The sum of the pieces' figures, in percent points.
    double similaritySum() const { return m_similaritySum; }
    bool isRunning() const { return m_autoRun; }
    // The next list click only chooses where the run starts.
    bool firstStepPending() const { return m_firstStepPending; }
    // The query address of the latest search.
    const QString& searchUrl() const { return m_searchUrl; }
    // Whether an analysis has run (also one that found no sentence).
    bool hasSentenceTable() const;
    // Raised by every compare step: tells an answer or a piece of work for an earlier step apart.
    quint64 navigation() const { return m_navigation; }
    // What the check found out about each sentence since the latest analysis.
    const CheckRecord& record() const { return m_record; }

    // A page waits for the person (a verification, or another host's page): the pane shows whole.
    bool waitsForPerson() const { return m_waitingForPerson; }

    // "进行分析": the article cut into sentences starts a new check; the record starts afresh and
    // keeps the article's text as the editor held it. uses says which pieces are never searched
    // (empty: every piece is).
    RunEffects analyse(analysis::Result result, const QString& article,
                       const QList<analysis::PieceUse>& uses = {});

    // Command2, and the step that the run's start and ticks take.
    RunEffects compareStep(const WindowFacts& window);
    // The list-selection rule for the entry the user chose.
    RunEffects listEntryChosen(int row, const WindowFacts& window);
    // Command3: the run is on, and its first step runs at once.
    RunEffects start(const WindowFacts& window);
    // Command4. A page that is loading is still scored when it arrives; a sentence whose verification
    // page waits is searched again by the next start, unless the person completes the verification
    // first and its page answers it.
    RunEffects stop();
    // Timer2: decides at once when the page has settled, else waits for it.
    RunEffects tick(const WindowFacts& window, bool paneBusy);

    // Results kept from an earlier start, taken over for these sentences (index, entry) as if their
    // pages had been scored now: record, title slots, sum and page count. The compare step passes over
    // them.
    RunEffects adoptKept(const QList<std::pair<int, SentenceEntry>>& kept);

    // The pane finished a download (a page, an error page, or a stopped load).
    RunEffects downloadComplete(const PaneFacts& pane, const WindowFacts& window);
    // The body HTML that readBody asked for; nullopt when the page had no body.
    RunEffects bodyRead(quint64 tag, const std::optional<QString>& body, const WindowFacts& window);

signals:
    void runningChanged(bool running);
    // A compare step began, or kept results were taken over: the site table is to be counted afresh.
    void stepped();
    // The record's entry for this sentence (0-based) changed.
    void recordChanged(int sentence);
    // The record was started afresh for a new analysis: every entry and the number of them changed.
    void recordReset();

private:
    enum class Page { None, Loading, Reading, Settled, PersonAsked };

    RunEffects step(const WindowFacts& window);
    // The parts of a step: the pane blanked and the layout made compact; the end of the check (an
    // empty editor or no sentence left); a sentence with nothing to search; the search itself.
    RunEffects beginStep(const WindowFacts& window);
    RunEffects endOfCheck(const WindowFacts& window, RunEffects fx);
    void skipBlankSentence();
    void searchSentence(const QString& sentence, const QString& query, const WindowFacts& window,
                        RunEffects& fx);
    RunEffects decideTick(const WindowFacts& window);
    RunEffects pageSettled(bool paneBusy, const WindowFacts& window);
    RunEffects verificationShown();
    // Pauses the run on the page the pane shows until a result page of the service is read.
    RunEffects askPerson(const QString& line);
    // The sentence's page, if one was on its way, came as no result page or will not come.
    void pageMissed(int sentence);
    void scorePage(const std::optional<QString>& body, RunEffects& fx);
    void setAutoRun(bool on);
    bool isFromSearchedService(const QString& url) const;
    QString progressLine(int sentenceNumber) const;
    void setNextIndex(int index) { m_nextIndex = index; }
    // Whether the pane's page at url is the answer to the search in flight.
    bool answersInFlight(const QString& url) const;
    // The piece a page now shown is credited to: the search in flight's, or -1.
    int awaited() const { return m_inFlight ? m_inFlight->piece : -1; }

    CheckRecord m_record;
    QString m_articleText;
    QStringList m_sentences;
    QStringList m_searchTexts;
    QList<analysis::Place> m_places;
    int m_nextIndex = 0;
    int m_lastIndex = 0;
    // The search whose page the pane is loading: a page is credited to its piece only when its
    // address answers its query. A step replaces it, an analysis and a credited page end it.
    struct InFlight
    {
        int piece = -1;
        QString query;
        QString url;
    };
    std::optional<InFlight> m_inFlight;
    int m_reading = -1; // the piece whose page is being read
    int m_pageCount = 0;
    double m_similaritySum = 0;
    bool m_autoRun = false;
    bool m_firstStepPending = true;
    QString m_searchUrl;
    Page m_page = Page::None;
    bool m_tickWaiting = false;
    bool m_lastStepSkipped = false;         // the latest step had a blank query and searched nothing
    bool m_waitingForPerson = false;        // the latest step met a page the person must deal with
    bool m_analysed = false;                // an analysis has run
    bool m_pageCounted = false;             // scoring counted a page of the latest step in the page count
    bool m_pageArrived = false;             // and that page had double-byte text
    QString m_pageTitle;                    // title of the page being read
    quint64 m_navigation = 0;               // raised by every step that blanks the pane
    std::optional<Engine> m_searchedEngine; // the service of the latest step's navigation
    int m_foreignPagesSentence = -1;        // the sentence the count below is for
    int m_foreignPages = 0;                 // pages of other hosts met while searching it
};

} // namespace search
