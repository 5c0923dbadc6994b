#pragma once

#include "analysis/SentenceCutting.h"
#include "platform/Browser.h"
#include "search/CheckRun.h"

#include <QMainWindow>

#include <chrono>
#include <memory>

class ComparatorOpener;
class DocumentCommands;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class OnlineCheck;
class ResultWindow;
class QWebEngineView;
class ReportExport;
class RichTextBox;
class SiteTableCommand;
namespace store {
class ResultKeeper;
}

// The main window: article editor, sentence list, result pane and the command buttons. It owns the
// check run, passes its commands to the run and applies what the run decides.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    struct Options
    {
        // Drives WebBrowser1; without one the window drives the view through Qt WebEngine.
        std::unique_ptr<Browser> resultPane;
        std::chrono::milliseconds tickInterval{1000}; // Timer2
        std::chrono::milliseconds reportWait{5000};   // before the statistics write their table
        std::chrono::milliseconds loadTimeout{30000}; // a load of the real pane that never ends
        // Where the results of checks are kept between starts; empty: nothing is kept or offered.
        QString storeDirectory{};
    };

    explicit Form1(std::unique_ptr<Browser> resultPane = nullptr, QWidget* parent = nullptr);
    explicit Form1(Options options, QWidget* parent = nullptr);
    ~Form1() override;

    const search::CheckRun& checkRun() const { return *m_run; }
    Browser& resultPane() { return *m_resultPane; }

    // The engine whose query URL the next compare step builds, read from the menu's marks.
    search::Engine selectedEngine() const;

    // Timer1: applies the control-state table for the current autoRun. It answers the run's, the
    // statistics' and the export's state changes, which keeps the table true at every moment without
    // a 1 ms poll; the run's effects (apply) show and hide the list, the pane and Label2 besides.
    void Timer1();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void setInstructionText();
    void load();
    void layoutControls();
    void checkEngine(QAction* chosen);
    void openProjectPage();
    void connectOnlineCheck(const Options& options);
    search::WindowFacts facts() const;
    // Does what the check run decided, in the order of RunEffects.
    void apply(const search::RunEffects& fx);
    // Returns false when a step that ran while it yielded has taken over, or the window went.
    bool markSentence(const QString& sentence);
    // Selects a list entry without running the list rule.
    void selectEntry(int row);
    void listEntryChosen(int row);
    void showSimilarity(bool shown);
    void compactLayout(); // the editor and the sentence list share the top
    void fullLayout();    // the editor fills the window as it is now, the list hides
    // While a page waits for the person, the whole pane shows above the editor and the list.
    void uncoverResultPane(bool uncover);
    void stopAction();
    void statisticsBusyChanged(bool busy);
    // Colours the sentence's list entry by the band of its result.
    void showSentenceResult(int sentence);
    // The editing commands, the editor's context menu and space key, and the opening of the
    // comparator.
    void connectEditingAndComparator();
    void connectDocumentCommands();
    // Results kept between starts: the option of cutting by sentence, the resume question after an
    // analysis, forgetting, and the store's notices.
    void createOptionsMenu();
    void connectResultStore(const Options& options);
    void offerResume(const QList<analysis::PieceUse>& uses);
    void clearKeptResults();
    void showStoreNotice(const QString& notice);
    // The editor's size while the sentence list is hidden, for the window as it is now: H − 1890 by
    // W − 525 twips, shortened to end above a status line that has grown upwards.
    void setEditorFullSize();
    // The result pane by the resize rule, then the status line: Label1 ends where Label2 begins while
    // Label2 shows and grows upwards from the buttons as its wrapped text needs, the pane giving way.
    void placePaneAndStatusLine();
    // 检测结果, made when first asked for.
    void showResults();
    // Selects sentence k in the editor and scrolls it into view; false when the text no longer holds it.
    bool showSentenceInEditor(int sentence);
    // Keys for the commands and the menu bar, and a way out of the editor.
    void connectKeyboardRoute();

    // Handlers
    void analyse();
    void exitProgram();

    RichTextBox* m_richTextBox1 = nullptr;
    QWebEngineView* m_webBrowser1 = nullptr;
    QWebEngineView* m_webBrowser2 = nullptr;
    QListWidget* m_list1 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
    QPushButton* m_command4 = nullptr;
    QPushButton* m_command5 = nullptr;
    QPushButton* m_command6 = nullptr;
    QTimer* m_timer2 = nullptr;

    QMenu* m_wjcd = nullptr;
    QMenu* m_yjcd = nullptr;
    QMenu* m_yinqing = nullptr;
    QAction* m_daochu = nullptr;
    QAction* m_qingchu = nullptr;
    QAction* m_anjuqiefen = nullptr;
    QAction* m_duibiqi = nullptr;
    QAction* m_jieguo = nullptr;
    QAction* m_gengxin = nullptr;
    QAction* m_baidu = nullptr;
    QAction* m_wenku = nullptr;
    QAction* m_longyuan = nullptr;
    QAction* m_zhiwang = nullptr;

    search::CheckRun* m_run = nullptr;
    OnlineCheck* m_online = nullptr;
    SiteTableCommand* m_stats = nullptr;
    ReportExport* m_export = nullptr;
    store::ResultKeeper* m_keeper = nullptr;
    int m_listRowBeforePress = -1;
    bool m_selectingList = false; // the run selects an entry: not the user's choice
    bool m_editorFull = true; // the editor has the full layout's size, not the compact one
    bool m_leaving = false; // "退出" has asked about unsaved text: the close asks nothing more

    std::unique_ptr<Browser> m_resultPane;
    std::unique_ptr<Browser> m_startupPane;

    ComparatorOpener* m_comparator = nullptr;
    ResultWindow* m_results = nullptr;
    std::unique_ptr<DocumentCommands> m_documentCommands;
};
