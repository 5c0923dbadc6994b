#pragma once

#include "analysis/CheckState.h"
#include "search/Engines.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Browser;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;
class RichTextBox;

// The controls of the main window that the online check drives.
struct OnlineCheckControls
{
    QWidget* window = nullptr;
    RichTextBox* editor = nullptr;
    QListWidget* list = nullptr;
    QLabel* label1 = nullptr;
    QLabel* label2 = nullptr;
    QPushButton* command3 = nullptr;
    QPushButton* command4 = nullptr;
    QPushButton* command5 = nullptr;
    QWidget* resultView = nullptr; // WebBrowser1's widget
    Browser* pane = nullptr;       // WebBrowser1's browser
    std::function<search::Engine()> engine;
    std::function<void()> refreshControlStates; // Timer1
};

// The online check of the main window: the compare step that searches one sentence, the scoring of
// the result page when it arrives, and the automatic run that chains compare steps once a second.
class OnlineCheck : public QObject
{
    Q_OBJECT
public:
    OnlineCheck(CheckState& state, OnlineCheckControls controls, QObject* parent = nullptr);

    // Searches the sentence at nextIndex (the click of Command2).
    void compareStep();
    // The list-selection rule, for the entry the user chose.
    void listEntryChosen(int row);
    // Command3 and Command4.
    void startAutoRun();
    void stopAction();
    // Timer2: waits for the pane, then retries the sentence or searches the next one.
    void timer2Tick();
    // Ends every wait at once; the window is closing.
    void abandonWaits();

    // True while the pane loads or a page read is outstanding.
    bool pageInFlight() const;

signals:
    void pageSettled();

private:
    void downloadBegin();
    void downloadComplete();
    void scorePage(const std::optional<QString>& body);
    void markSentence(const QString& sentence);
    void selectListEntry(int row);
    void showProgress(int sentenceNumber);
    bool hasSentenceTable() const;
    void refresh();
    bool pageIsFromSearchedHost() const;

    CheckState& m_state;
    OnlineCheckControls m_c;
    bool m_readPending = false;
    bool m_selectingList = false;
    bool m_lastStepSkipped = false; // the latest compare step had a blank query
    bool m_abandoned = false;
    QString m_searchedHost;          // host of the latest navigation by a compare step
};
