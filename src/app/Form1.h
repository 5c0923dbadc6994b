#pragma once

#include "app/MainMenus.h"
#include "search/CheckRun.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class Browser;
class DocumentCommands;
class QLabel;
class QListWidget;
class QPushButton;
class QWebEngineView;
class ReportExport;
class RichTextBox;

// The main window: article editor, sentence list, result pane, status lines and the command buttons.
// It lays them out and shows what it is told; Program creates the parts and wires them to it.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    // The controls, named for what they do; their objectNames are the program's own.
    struct Controls
    {
        RichTextBox* editor = nullptr;           // RichTextBox1
        QWebEngineView* resultView = nullptr;    // WebBrowser1
        QWebEngineView* startupView = nullptr;   // WebBrowser2, 0 × 0
        QListWidget* sentenceList = nullptr;     // List1
        QLabel* status = nullptr;                // Label1
        QLabel* similarity = nullptr;            // Label2
        QPushButton* analyseButton = nullptr;    // Command1
        QPushButton* manualStepButton = nullptr; // Command2
        QPushButton* startButton = nullptr;      // Command3
        QPushButton* stopButton = nullptr;       // Command4
        QPushButton* statisticsButton = nullptr; // Command5
        QPushButton* comparatorButton = nullptr; // Command6
    };
    // What the window reads from the parts wired to it; owner holds them and goes before the controls.
    struct Parts
    {
        Browser* resultPane = nullptr;
        DocumentCommands* documents = nullptr;
        const ReportExport* reportExport = nullptr;
        std::unique_ptr<QObject> owner;
    };

    explicit Form1(const search::CheckRun& run, QWidget* parent = nullptr);
    ~Form1() override;
    void attach(Parts parts);

    const search::CheckRun& checkRun() const { return m_run; }
    Browser& resultPane() { return *m_parts.resultPane; }
    const Controls& controls() const { return m_controls; }
    const MainMenus& menus() const { return m_menus; }

    // The engine whose query URL the next compare step builds, read from the menu's marks.
    search::Engine selectedEngine() const;
    search::WindowFacts facts() const;

    // Applies the control-state table for the run as it stands. It answers the run's, the
    // statistics' and the export's state changes, which keeps the table true at every moment.
    void refreshControlStates();

    // What the run's effects show.
    void showSentenceEntries(const QStringList& entries);
    // Selects a list entry without running the list rule.
    void selectEntry(int row);
    void showSimilarity(bool shown);
    void compactLayout(); // the editor and the sentence list share the top
    void fullLayout();    // the editor fills the window as it is now, the list hides
    // While a page waits for the person, the whole pane shows above the editor and the list.
    void uncoverResultPane(bool uncover);
    void showStopped();
    void showStatisticsBusy(bool busy);
    // Colours the sentence's list entry by the band of its result.
    void showSentenceResult(int sentence);
    // Selects sentence k in the editor and scrolls it into view; false when the text no longer holds it.
    // Asked from another window, the main window stays behind it, and during an automatic run the
    // sentence stays shown over the run's marks until the person works in the editor.
    bool showSentenceInEditor(int sentence, bool fromOtherWindow = false);
    // After the run marked a sentence: the sentence the person asked for comes back into view.
    void restoreHeldSentence();
    // Before a step takes the red off what the run left selected: the run's selection comes back.
    void giveBackRunSelection();

    // "Tessaro V2016.7.27": the caption at start-up, and the program named in reports.
    static QString programName();
    // The caption names the open file (empty: none) and, during an automatic run, the share checked.
    void showDocumentName(const QString& path);
    void showCheckedShare(std::optional<int> percent);
    // Keys for the commands and the menu bar, and a way out of the editor.
    void connectKeyboardRoute();
    // Closes the window once "退出" has asked about unsaved text.
    void closeWithoutAsking();

signals:
    // The user picked a sentence in the list: a new current row, or a click on the current one.
    void entryChosen(int row);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createPanes(QWidget* client);
    void createStatusLines(QWidget* client);
    void createButtons(QWidget* client);
    void createMenus();
    void layoutControls();
    void updateCaption();
    void restorePlace();
    void checkEngine(QAction* chosen);
    void listEntryChosen(int row);
    // The editor's size while the sentence list is hidden, for the window as it is now: H − 1890 by
    // W − 525 twips, shortened to end above a status line that has grown upwards.
    void setEditorFullSize();
    // The result pane by the resize rule, then the status line: Label1 ends where Label2 begins while
    // Label2 shows and grows upwards from the buttons as its wrapped text needs, the pane giving way.
    void placePaneAndStatusLine();

    const search::CheckRun& m_run;
    Controls m_controls;
    MainMenus m_menus;
    Parts m_parts;
    int m_listRowBeforePress = -1;
    bool m_selectingList = false; // the run selects an entry: not the user's choice
    bool m_editorFull = true;     // the editor has the full layout's size, not the compact one
    bool m_leaving = false;       // "退出" has asked about unsaved text: the close asks nothing more
    QString m_documentName;
    std::optional<int> m_checkedShare;
    int m_heldSentence = -1;                           // shown at the person's request during a run
    std::optional<std::pair<int, int>> m_runSelection; // anchor and position the run left, meanwhile
    QLabel* m_statisticsNotice = nullptr;
    bool m_busyCursor = false;
};
