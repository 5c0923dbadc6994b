#pragma once

#include "analysis/CheckState.h"
#include "platform/Browser.h"
#include "search/Engines.h"

#include <QMainWindow>

#include <functional>
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
class QWebEngineView;
class RichTextBox;
class SiteStatsCommand;

// The main window: article editor, sentence list, result pane and the command buttons. It owns the
// check state through which its handlers share data.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    // resultPane drives WebBrowser1; without one the window drives the view through Qt WebEngine.
    explicit Form1(std::unique_ptr<Browser> resultPane = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    CheckState& checkState() { return m_state; }
    const CheckState& checkState() const { return m_state; }
    Browser& resultPane() { return *m_resultPane; }

    // The engine whose query URL the next compare step builds, read from the menu's marks.
    search::Engine selectedEngine() const;

    // Timer1: applies the control-state table for the current autoRun. Called wherever autoRun or a
    // control that the table governs may change, which keeps the table true at every moment without
    // a 1 ms poll.
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
    void connectOnlineCheck();
    // Runs a handler, then brings the control states up to date.
    void handle(const std::function<void()>& handler);
    // The editing commands, the editor's context menu and space key, and the opening of the
    // comparator.
    void connectEditingAndComparator();
    void connectDocumentCommands();

    // Handlers
    void analyse();
    void exitProgram();

    CheckState m_state;

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
    QAction* m_duibiqi = nullptr;
    QAction* m_gengxin = nullptr;
    QAction* m_baidu = nullptr;
    QAction* m_wenku = nullptr;
    QAction* m_longyuan = nullptr;
    QAction* m_zhiwang = nullptr;

    OnlineCheck* m_online = nullptr;
    SiteStatsCommand* m_stats = nullptr;
    int m_listRowBeforePress = -1;

    std::unique_ptr<Browser> m_resultPane;
    std::unique_ptr<Browser> m_startupPane;

    ComparatorOpener* m_comparator = nullptr;
    std::unique_ptr<DocumentCommands> m_documentCommands;
};
