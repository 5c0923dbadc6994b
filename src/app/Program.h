#pragma once

#include "app/Form1.h"
#include "app/RunEffectsView.h"
#include "platform/Browser.h"
#include "search/CheckRun.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

class ComparatorOpener;
class DocumentCommands;

class OnlineCheck;
namespace editor {
class BandPainter;
}
class QTimer;
class ResultWindow;
class SourcesCommands;
class ReportExport;
class SiteTableCommand;
namespace report {
class RunProgress;
}
namespace store {
class ResultKeeper;
}

// The composition root: creates the main window and the parts of a check (the run, the result pane,
// the statistics, the export, the kept results, the document and editing commands, the comparator)
// and wires them together. The window owns it; it goes before the window's controls.
class Program : public QObject
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
        // Monotonic milliseconds, for the time an automatic run has left; empty: the system's clock.
        std::function<qint64()> clock{};
        // The library of sources that 本地比对 checks against; empty: the program's (sources.sqlite in
        // its data folder).
        QString sourcesLibrary{};
    };

    static std::unique_ptr<Form1> makeMainWindow(Options options);
    static std::unique_ptr<Form1> makeMainWindow(std::unique_ptr<Browser> resultPane = nullptr);
    ~Program() override;

private:
    Program(Form1& form, search::CheckRun& run, Options& options);
    void connectOnlineCheck(const Options& options);
    void connectReportExport();
    void connectResultStore(const Options& options);
    void load();
    void connectEditingAndComparator();
    void connectDocumentCommands();
    void connectHelpAndWindowKeys();
    void connectBandColours();

    // Handlers
    void analyse();
    // The resume question after an analysis, when kept results fit the pieces.
    void offerResume(const QList<analysis::PieceUse>& uses);
    void clearKeptResults();
    void colourByBand();
    // 检测结果, made when first asked for.
    void showResults();
    void openProjectPage();
    void exitProgram();
    void showStoreNotice(const QString& notice);

    Form1& m_form;
    search::CheckRun& m_run;
    std::unique_ptr<Browser> m_resultPane;
    std::unique_ptr<Browser> m_startupPane;
    std::unique_ptr<RunEffectsView> m_effects;
    QTimer* m_tick = nullptr; // Timer2
    OnlineCheck* m_online = nullptr;
    SiteTableCommand* m_stats = nullptr;
    ReportExport* m_export = nullptr;
    store::ResultKeeper* m_keeper = nullptr;
    ComparatorOpener* m_comparator = nullptr;
    ResultWindow* m_results = nullptr;
    report::RunProgress* m_progress = nullptr;
    QString m_storeDirectory;
    QString m_sourcesLibrary;
    editor::BandPainter* m_painter = nullptr;
    SourcesCommands* m_sources = nullptr;
    std::unique_ptr<DocumentCommands> m_documents;
};
