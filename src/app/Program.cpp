#include "app/Program.h"

#include "analysis/Analysis.h"
#include "analysis/SentenceCutting.h"
#include "app/Form1.h"
#include "app/HelpWindows.h"
#include "app/MakerSite.h"
#include "app/OnlineCheck.h"
#include "app/ReportExport.h"
#include "app/ResultWindow.h"
#include "app/SourcesCommands.h"
#include "comparator/ComparatorOpener.h"
#include "comparator/Form2.h"
#include "editor/BandMarks.h"
#include "editor/BandPainter.h"
#include "editor/DocumentCommands.h"
#include "editor/EditCommands.h"
#include "editor/RichTextBox.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/WebEngineBrowser.h"
#include "report/ReportData.h"
#include "report/RunProgress.h"
#include "report/SiteTableCommand.h"
#include "store/ResultKeeper.h"
#include "widgets/KeyboardRoute.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineView>

std::unique_ptr<Form1> Program::makeMainWindow(std::unique_ptr<Browser> resultPane)
{
    Options options;
    options.resultPane = std::move(resultPane);
    return makeMainWindow(std::move(options));
}

std::unique_ptr<Form1> Program::makeMainWindow(Options options)
{
    auto ownRun = std::make_unique<search::CheckRun>();
    auto form = std::make_unique<Form1>(*ownRun);
    ownRun->setParent(form.get()); // owned by the window, as the controls that show it
    search::CheckRun& run = *ownRun.release();
    std::unique_ptr<Program> program(new Program(*form, run, options));
    Program& p = *program;
    form->attach({p.m_resultPane.get(), p.m_documents.get(), p.m_export, std::move(program)});
    return form;
}

Program::Program(Form1& form, search::CheckRun& run, Options& options)
    : m_form(form), m_run(run), m_resultPane(std::move(options.resultPane)),
      m_storeDirectory(options.storeDirectory)
{
    const Form1::Controls& c = form.controls();
    if (!m_resultPane)
        m_resultPane = std::make_unique<WebEngineBrowser>(c.resultView, options.loadTimeout);
    m_startupPane = std::make_unique<WebEngineBrowser>(c.startupView);
    m_effects = std::make_unique<RunEffectsView>(form, *m_resultPane);
    m_tick = new QTimer(&form);
    m_tick->setObjectName(QStringLiteral("Timer2"));
    m_tick->setInterval(options.tickInterval);
    connect(c.analyseButton, &QPushButton::clicked, this, &Program::analyse);
    const MainMenus& menus = form.menus();
    connect(menus.exit, &QAction::triggered, this, &Program::exitProgram);
    connect(menus.results, &QAction::triggered, this, &Program::showResults);
    connect(menus.update, &QAction::triggered, this, &Program::openProjectPage);

    connectOnlineCheck(options);
    m_sourcesLibrary =
        options.sourcesLibrary.isEmpty() ? sources::Library::defaultPath() : options.sourcesLibrary;
    m_sources = new SourcesCommands(form, *c.editor, m_sourcesLibrary, &form);
    connectReportExport();
    connectResultStore(options);
    load();
    form.refreshControlStates();
    connectEditingAndComparator();
    connectDocumentCommands();
    connectBandColours();
    form.connectKeyboardRoute();
    connectHelpAndWindowKeys();
}

void Program::connectHelpAndWindowKeys()
{
    const MainMenus& menus = m_form.menus();
    connect(menus.usage, &QAction::triggered, this, [this] { help::showUsage(&m_form); });
    connect(menus.dataPlaces, &QAction::triggered, this, [this] {
        help::showDataPlaces(&m_form, {m_storeDirectory, m_sourcesLibrary});
    });
    connect(menus.about, &QAction::triggered, this, [this] {
        help::showAbout(&m_form, {m_storeDirectory, m_sourcesLibrary});
    });
    // F6 goes round the program's windows that are open.
    keyboardroute::cycleWindowsWithKey(
        &m_form,
        [this] {
            return QList<QWidget*>{&m_form, m_results, m_comparator->window(), m_sources->localCheckWindow()};
        },
        QKeySequence(Qt::Key_F6));
}

Program::~Program() = default;

void Program::connectOnlineCheck(const Options& options)
{
    const Form1::Controls& c = m_form.controls();
    auto apply = [this](const search::RunEffects& fx) { m_effects->apply(fx); };
    m_online = new OnlineCheck(
        m_run, *m_resultPane, [this] { return m_form.facts(); }, &m_form);
    connect(m_online, &OnlineCheck::decided, this, apply);
    std::function<qint64()> clock = options.clock;
    if (!clock) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        clock = [started] { return started->elapsed(); };
    }
    m_progress = new report::RunProgress(m_run, std::move(clock), &m_form);
    // A minimised window says in its caption how far the run is.
    connect(m_progress, &report::RunProgress::changed, &m_form, [this] {
        m_form.showCheckedShare(m_progress->isRunning()
                                    ? std::optional<int>(report::checkedPercent(m_progress->coverage()))
                                    : std::nullopt);
    });
    m_stats = new SiteTableCommand(m_run, m_resultPane.get(), options.reportWait, &m_form);
    connect(&m_run, &search::CheckRun::runningChanged, &m_form, &Form1::refreshControlStates);
    connect(m_stats, &SiteTableCommand::busyChanged, &m_form, &Form1::showStatisticsBusy);

    connect(c.manualStepButton, &QPushButton::clicked, this,
            [this] { m_effects->apply(m_run.compareStep(m_form.facts())); });
    connect(c.startButton, &QPushButton::clicked, this,
            [this] { m_effects->apply(m_run.start(m_form.facts())); });
    connect(c.stopButton, &QPushButton::clicked, this, [this] {
        m_effects->apply(m_run.stop());
        m_form.showStopped();
    });
    connect(c.statisticsButton, &QPushButton::clicked, m_stats, &SiteTableCommand::run);
    connect(m_tick, &QTimer::timeout, this,
            [this] { m_effects->apply(m_run.tick(m_form.facts(), m_resultPane->isBusy())); });
    connect(&m_run, &search::CheckRun::recordChanged, &m_form, &Form1::showSentenceResult);
    connect(&m_form, &Form1::entryChosen, this,
            [this](int row) { m_effects->apply(m_run.listEntryChosen(row, m_form.facts())); });
}

void Program::connectReportExport()
{
    m_export = new ReportExport(
        [this] {
            report::CheckReportData data =
                report::checkReportData(m_run, m_form.controls().editor->text(), m_stats->rowsNow(),
                                        m_form.selectedEngine(), Form1::programName());
            data.local = m_sources->lastReport();
            return data;
        },
        [this] { return m_documents ? m_documents->documentPath() : QString(); }, &m_form);
    connect(m_export, &ReportExport::busyChanged, &m_form, &Form1::refreshControlStates);
    connect(m_form.menus().exportReport, &QAction::triggered, m_export, &ReportExport::run);
}

void Program::load()
{
    const Form1::Controls& c = m_form.controls();
    m_resultPane->navigate(QStringLiteral("about:blank"));
    c.resultView->hide();

    c.startupView->resize(0, 0);
    m_startupPane->navigate(maker::kStartupPage);
    m_tick->start();
}

void Program::analyse()
{
    RichTextBox& editor = *m_form.controls().editor;
    const QString article = editor.text();
    analysis::Result result = analysis::analyse(article);
    QList<analysis::PieceUse> uses;
    if (m_form.menus().cutBySentence->isChecked()) {
        analysis::SentencePieces pieces = analysis::cutSentences(article);
        result.sentences = std::move(pieces.pieces);
        result.searchTexts = std::move(pieces.searchTexts);
        result.places = std::move(pieces.places);
        uses = std::move(pieces.uses);
    }
    m_effects->apply(m_run.analyse(std::move(result), article, uses));
    editor.moveCaretToStart();
    for (int k = 0; k < m_form.controls().sentenceList->count(); ++k)
        m_form.showSentenceResult(k);
    m_form.refreshControlStates();
    offerResume(uses);
}

void Program::connectEditingAndComparator()
{
    RichTextBox* editor = m_form.controls().editor;
    m_comparator = new ComparatorOpener(&m_form);
    auto openComparator = [this, editor] { m_comparator->show(*editor); };
    connect(m_form.controls().comparatorButton, &QPushButton::clicked, this, openComparator);
    connect(m_form.menus().comparator, &QAction::triggered, this, openComparator);

    editor::connectCommands(m_form.menus().editActions, *editor);
    editor::popUpOnRightClick(*editor, *m_form.menus().edit);
    connect(editor, &RichTextBox::keyReleased, this, [editor](int key) {
        if (key == Qt::Key_Space)
            editor::resetTypingFont(*editor);
    });
}

void Program::connectDocumentCommands()
{
    m_documents = std::make_unique<DocumentCommands>(&m_form, m_form.controls().editor,
                                                     [this] { m_form.fullLayout(); });
    connect(m_documents.get(), &DocumentCommands::readingChanged, &m_form, &Form1::refreshControlStates);
    connect(m_documents.get(), &DocumentCommands::documentChanged, &m_form, &Form1::showDocumentName);
    const MainMenus& menus = m_form.menus();
    const struct
    {
        QAction* action;
        QKeySequence::StandardKey key;
        void (DocumentCommands::*command)();
    } items[] = {{menus.newDocument, QKeySequence::New, &DocumentCommands::newDocument},
                 {menus.open, QKeySequence::Open, &DocumentCommands::open}};
    for (const auto& item : items) {
        item.action->setShortcut(item.key);
        connect(item.action, &QAction::triggered, this,
                [this, command = item.command] { (*m_documents.*command)(); });
    }
    menus.save->setShortcut(QKeySequence::Save);
    connect(menus.save, &QAction::triggered, this, [this] { m_documents->save(); });
}

void Program::connectBandColours()
{
    m_painter = new editor::BandPainter(*m_form.controls().editor, &m_form);
    const MainMenus& menus = m_form.menus();
    connect(menus.colourByBand, &QAction::triggered, this, &Program::colourByBand);
    connect(menus.clearColours, &QAction::triggered, m_painter, &editor::BandPainter::clear);
    auto follow = [this] { m_form.menus().colourByBand->setEnabled(editor::hasBandResult(m_run.record())); };
    connect(&m_run, &search::CheckRun::recordChanged, this, follow);
    connect(&m_run, &search::CheckRun::recordReset, this, follow);
    follow();
}

void Program::colourByBand()
{
    m_painter->paint(editor::bandMarks(m_run.placesIn(m_form.controls().editor->text()), m_run.record()));
}

void Program::connectResultStore(const Options& options)
{
    m_keeper = new store::ResultKeeper(options.storeDirectory, m_run, &m_form);
    // Deferred: a notice raised while a result is kept must not hold up the step that scored it.
    connect(m_keeper, &store::ResultKeeper::notice, this, &Program::showStoreNotice, Qt::QueuedConnection);
    connect(m_form.menus().clearKeptResults, &QAction::triggered, this, &Program::clearKeptResults);
    m_form.menus().clearKeptResults->setEnabled(m_keeper->enabled());
}

void Program::offerResume(const QList<analysis::PieceUse>& uses)
{
    const search::Engine engine = m_form.selectedEngine();
    const store::ResumeOffer offer = m_keeper->offer(engine, uses);
    if (offer.isEmpty())
        return;
    const MessageBox::Request question{store::resumeQuestion(offer), QString(), MessageBox::Icon::Question,
                                       MessageBox::Buttons::ReuseRedo};
    if (MessageBox::show(&m_form, question) != MessageBox::Answer::Yes)
        return;
    m_effects->apply(m_keeper->resume(offer, engine));
}

void Program::clearKeptResults()
{
    const int kept = m_keeper->count();
    if (kept == 0) {
        MessageBox::show(&m_form,
                         {QStringLiteral("没有保存的检测结果。"), QString(), MessageBox::Icon::Information});
        return;
    }
    // A count the store could not give is left out rather than guessed.
    QString question = QStringLiteral("确定要清除保存的全部检测结果吗？");
    if (kept > 0)
        question += QStringLiteral("共 %1 句的结果，").arg(kept);
    question += QStringLiteral("清除后不能恢复。");
    const MessageBox::Answer answer =
        MessageBox::show(&m_form, {question, QString(), MessageBox::Icon::Question,
                                   MessageBox::Buttons::YesNo, MessageBox::Answer::No});
    if (answer != MessageBox::Answer::Yes)
        return;
    if (!m_keeper->clear()) {
        MessageBox::show(
            &m_form, {QStringLiteral("检测记录未能清除，请稍后再试。"), QString(), MessageBox::Icon::Error});
        return;
    }
    m_form.controls().status->setText(kept > 0 ? QStringLiteral("已清除保存的 %1 句检测结果。").arg(kept)
                                               : QStringLiteral("已清除保存的检测结果。"));
}

void Program::showStoreNotice(const QString& notice)
{
    MessageBox::show(&m_form, {notice, QString(), MessageBox::Icon::Information});
}

void Program::showResults()
{
    if (!m_results) {
        m_results = new ResultWindow(
            m_run, *m_progress, [this](int k) { return m_form.showSentenceInEditor(k, true); }, &m_form);
        m_results->addCommandButtons({m_form.menus().colourByBand, m_form.menus().clearColours});
    }
    m_results->show();
    m_results->raise();
    m_results->activateWindow();
}

void Program::openProjectPage()
{
    if (!Shell::openInDefaultBrowser(QUrl(maker::kProjectPage))) {
        MessageBox::show(&m_form, {QStringLiteral("调用浏览器错误！"), QStringLiteral("错误："),
                                   MessageBox::Icon::Error, MessageBox::Buttons::Ok});
    }
}

void Program::exitProgram()
{
    if (!m_documents->confirmDiscard())
        return;
    const MessageBox::Answer answer =
        MessageBox::show(&m_form, {QStringLiteral("谢谢使用！访问我的网站吗？"), QString(),
                                   MessageBox::Icon::Question, MessageBox::Buttons::YesNo});
    if (answer == MessageBox::Answer::Yes)
        openProjectPage();
    m_form.closeWithoutAsking(); // asked already
}
