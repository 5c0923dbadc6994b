#include "app/Form1.h"

#include "analysis/SentencePlace.h"
#include "app/ReportExport.h"
#include "app/WelcomeText.h"
#include "editor/DocumentCommands.h"
#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"
#include "report/Bands.h"
#include "report/ResultTableModel.h"
#include "widgets/KeyboardRoute.h"
#include "widgets/SelectionFrameDelegate.h"
#include "widgets/StatusLabel.h"
#include "widgets/Twips.h"
#include "widgets/WidgetTwips.h"
#include "widgets/WindowParts.h"

#include "Version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTextCursor>
#include <QTimer>
#include <QWebEngineView>

namespace {

// Client area as created, in twips.
constexpr int kClientWidth = 10425;
constexpr int kClientHeight = 7290;
// The editor at full size, while the sentence list is hidden.
constexpr int kEditorFullHeight = 6225;
constexpr int kEditorFullWidth = 10140;
// Height of the editor and of the sentence list while the list shows.
constexpr int kCompactHeight = 2400;
// Top of the result pane, and its top while it shows above the editor.
constexpr int kPaneTop = 1125;
constexpr int kPaneUncoveredTop = 45;
// Label1 as created.
constexpr int kLabel1Width = 8385;
constexpr int kLabel1Height = 420;

const QColor kBlue(0, 0, 255);

// The window's size, place and maximised state, kept between starts.
const QString kPlaceKey = QStringLiteral("windows/main");

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

Form1::Form1(const search::CheckRun& run, QWidget* parent) : QMainWindow(parent), m_run(run)
{
    setObjectName(QStringLiteral("Form1"));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    createPanes(client);
    createStatusLines(client);
    createButtons(client);
    // A new text in Label1 asks its parent for a new layout; Label2 shown or hidden moves Label1's end.
    client->installEventFilter(this);
    m_controls.similarity->installEventFilter(this);
    m_controls.editor->installEventFilter(this);
    m_controls.editor->viewport()->installEventFilter(this);
    createMenus();
    writeWelcomeText(*m_controls.editor);

    // Client area of the stated size below the menu bar, centred on the screen.
    windowparts::sizeAndCentre(this, kClientWidth, kClientHeight, menuBar()->sizeHint().height());
    restorePlace();
    setWindowTitle(programName());
    m_menus.baidu->setChecked(true);
}

QString Form1::programName()
{
    return QStringLiteral("Tessaro V%1.%2.%3")
        .arg(tessaro::kVersionMajor)
        .arg(tessaro::kVersionMinor)
        .arg(tessaro::kVersionPatch);
}

void Form1::showDocumentName(const QString& path)
{
    m_documentName = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    updateCaption();
}

void Form1::showCheckedShare(std::optional<int> percent)
{
    m_checkedShare = percent;
    updateCaption();
}

void Form1::updateCaption()
{
    QString caption = programName();
    if (!m_documentName.isEmpty())
        caption += QStringLiteral(" — ") + m_documentName;
    if (m_checkedShare)
        caption += QStringLiteral(" — %1%").arg(*m_checkedShare);
    setWindowTitle(caption);
}

void Form1::restorePlace()
{
    const QByteArray kept = QSettings().value(kPlaceKey).toByteArray();
    if (!kept.isEmpty())
        restoreGeometry(kept);
}

Form1::~Form1()
{
    if (m_busyCursor)
        QApplication::restoreOverrideCursor();
}

void Form1::attach(Parts parts)
{
    m_parts = std::move(parts);
}

void Form1::closeWithoutAsking()
{
    m_leaving = true;
    close();
}

void Form1::createPanes(QWidget* client)
{
    Controls& c = m_controls;
    // Created bottom to top: the result pane lies under the editor, the list over it.
    c.resultView = new QWebEngineView(client);
    c.resultView->setObjectName(QStringLiteral("WebBrowser1"));
    twips::setGeometry(c.resultView, 135, kPaneTop, 10140, 5100);

    c.editor = new RichTextBox(client);
    c.editor->setObjectName(QStringLiteral("RichTextBox1"));
    twips::setGeometry(c.editor, 135, 45, kEditorFullWidth, kEditorFullHeight);

    c.startupView = new QWebEngineView(client);
    c.startupView->setObjectName(QStringLiteral("WebBrowser2"));
    twips::setGeometry(c.startupView, 9540, 6210, 690, 510);
    // 0 × 0 and never used: Tab must not vanish into its page. Disabled, it still loads.
    c.startupView->setEnabled(false);

    c.sentenceList = new QListWidget(client);
    c.sentenceList->setObjectName(QStringLiteral("List1"));
    c.sentenceList->setUniformItemSizes(true);
    c.sentenceList->setItemDelegate(new SelectionFrameDelegate(c.sentenceList));
    twips::setGeometry(c.sentenceList, 9180, 45, 1095, 2760);
    c.sentenceList->hide();
    // Disabled during a run, the entries keep their colours: grey text on the bands would be unreadable.
    QPalette listPalette = c.sentenceList->palette();
    for (QPalette::ColorRole role :
         {QPalette::Text, QPalette::Base, QPalette::Highlight, QPalette::HighlightedText})
        listPalette.setColor(QPalette::Disabled, role, listPalette.color(QPalette::Active, role));
    c.sentenceList->setPalette(listPalette);

    // The rule runs when the user picks an entry: a new current row by mouse or keyboard, or a click on
    // the row that is current already.
    connect(c.sentenceList, &QListWidget::currentRowChanged, this, &Form1::listEntryChosen);
    c.sentenceList->viewport()->installEventFilter(this);
    connect(c.sentenceList, &QListWidget::pressed, this, [this](const QModelIndex& index) {
        if (index.row() == m_listRowBeforePress)
            listEntryChosen(index.row());
    });
}

void Form1::createStatusLines(QWidget* client)
{
    m_controls.status = statuslabel::make(client, "Label1", marks::kRed);
    m_controls.status->setText(QStringLiteral("请点击“分析”开始解析论文！"));
    twips::setGeometry(m_controls.status, 225, 6345, kLabel1Width, kLabel1Height);

    m_controls.similarity = statuslabel::make(client, "Label2", kBlue);
    twips::setGeometry(m_controls.similarity, 5520, 5640, 4605, 780);
    statuslabel::fitLines(m_controls.similarity, 3); // the similarity display's three lines
}

void Form1::createButtons(QWidget* client)
{
    Controls& c = m_controls;
    c.analyseButton = makeButton(client, "Command1", QStringLiteral("进行分析"));
    twips::setGeometry(c.analyseButton, 270, 6750, 2130, 420);
    c.manualStepButton = makeButton(client, "Command2", QStringLiteral("手动对比"));
    twips::setGeometry(c.manualStepButton, 2970, 6750, 2130, 420);
    c.startButton = makeButton(client, "Command3", QStringLiteral("启动自动对比"));
    twips::setGeometry(c.startButton, 8145, 6750, 2130, 420);
    c.stopButton = makeButton(client, "Command4", QStringLiteral("停止自动对比！"));
    twips::setGeometry(c.stopButton, 7200, 5160, 2130, 420);
    c.stopButton->hide();
    c.statisticsButton = makeButton(client, "Command5", QStringLiteral("统计相似性网站"));
    twips::setGeometry(c.statisticsButton, 8145, 6345, 1545, 285);
    c.comparatorButton = makeButton(client, "Command6", QStringLiteral("对比"));
    twips::setGeometry(c.comparatorButton, 8760, 7080, 510, 285);
    c.stopButton->raise();
}

void Form1::createMenus()
{
    m_menus = createMainMenus(*menuBar());
    for (QAction* a : {m_menus.baidu, m_menus.wenku, m_menus.longyuan, m_menus.zhiwang})
        connect(a, &QAction::triggered, this, [this, a] { checkEngine(a); });
}

search::WindowFacts Form1::facts() const
{
    return {m_controls.editor->document()->isEmpty(), m_controls.sentenceList->count(), selectedEngine()};
}

void Form1::listEntryChosen(int row)
{
    if (!m_selectingList)
        emit entryChosen(row);
}

void Form1::showSentenceEntries(const QStringList& entries)
{
    m_selectingList = true;
    m_controls.sentenceList->clear();
    m_controls.sentenceList->addItems(entries);
    m_selectingList = false;
}

void Form1::selectEntry(int row)
{
    if (row < 0 || row >= m_controls.sentenceList->count())
        return;
    m_selectingList = true;
    m_controls.sentenceList->setCurrentRow(row);
    m_selectingList = false;
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const bool labelsMoved = (watched == centralWidget() && event->type() == QEvent::LayoutRequest) ||
                             (watched == m_controls.similarity &&
                              (event->type() == QEvent::Show || event->type() == QEvent::Hide));
    if (labelsMoved)
        placePaneAndStatusLine();
    if ((watched == m_controls.editor->viewport() && event->type() == QEvent::MouseButtonPress) ||
        (watched == m_controls.editor && event->type() == QEvent::KeyPress)) {
        m_heldSentence = -1; // the person works in the editor now
        m_runSelection.reset();
    }
    if (watched == m_controls.sentenceList->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        // Qt makes a row current on any button; only the left one chooses a sentence to search.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return true;
        m_listRowBeforePress = m_controls.sentenceList->currentRow();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutControls();
}

void Form1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || isMinimized())
        return;
    // At once, and again once the window system has given the new size: no grey field is left
    // until the next step.
    layoutControls();
    QTimer::singleShot(0, this, [this] { layoutControls(); });
}

void Form1::layoutControls()
{
    const QSize outer = twips::outerSize(this);
    const int H = outer.height();
    const int W = outer.width();

    twips::setWidth(m_controls.resultView, W - 525);
    if (!m_run.articleText().isEmpty()) {
        m_editorFull = false;
        twips::setHeight(m_controls.editor, kCompactHeight);
        twips::setWidth(m_controls.editor, W - 1905);
        // Below the shortened editor the pane shows, blank until the first step: not an empty field.
        m_controls.resultView->setVisible(true);
    } else {
        m_editorFull = true; // its height comes with the status line below
        twips::setWidth(m_controls.editor, W - 525);
    }
    twips::setTop(m_controls.similarity, H - 1700);
    for (QPushButton* b : {m_controls.analyseButton, m_controls.manualStepButton, m_controls.startButton,
                           m_controls.stopButton})
        twips::setTop(b, H - 1400);
    twips::setTop(m_controls.statisticsButton, H - 1720);
    twips::setTop(m_controls.comparatorButton, H - 1720);
    for (QPushButton* b : {m_controls.startButton, m_controls.stopButton, m_controls.statisticsButton})
        twips::setLeft(b, W - 2500);
    twips::setLeft(m_controls.comparatorButton, W - 900);
    twips::setLeft(m_controls.sentenceList, W - 1800);
    twips::setWidth(m_controls.sentenceList, 1400);
    placePaneAndStatusLine();
}

void Form1::setEditorFullSize()
{
    m_editorFull = true;
    twips::setWidth(m_controls.editor, twips::outerSize(this).width() - 525);
    placePaneAndStatusLine(); // the height, which the status line may shorten
}

void Form1::placePaneAndStatusLine()
{
    const int H = twips::outerSize(this).height();
    if (m_run.waitsForPerson()) {
        // From the editor's top down to the labels: the verification page shows whole.
        twips::setTop(m_controls.resultView, kPaneUncoveredTop);
        twips::setHeight(m_controls.resultView, H - 2890 + kPaneTop - kPaneUncoveredTop);
    } else {
        twips::setTop(m_controls.resultView, kPaneTop);
        twips::setHeight(m_controls.resultView, H - 2890);
    }

    twips::setTop(m_controls.status, H - 1700);
    twips::setHeight(m_controls.status, kLabel1Height);
    twips::setWidth(m_controls.status,
                    m_controls.similarity->isHidden()
                        ? kLabel1Width
                        : twips::left(m_controls.similarity) - twips::left(m_controls.status));
    // The buttons below take the label's lower part; what the wrapped text needs more goes upwards.
    const int needed = m_controls.status->heightForWidth(m_controls.status->width());
    const int buttonsTop = m_controls.analyseButton->y();
    if (m_controls.status->y() + needed > buttonsTop && needed > 0) {
        m_controls.status->setGeometry(m_controls.status->x(), std::max(0, buttonsTop - needed),
                                       m_controls.status->width(), needed);
        if (m_controls.resultView->geometry().bottom() >= m_controls.status->y())
            m_controls.resultView->resize(m_controls.resultView->width(),
                                          std::max(0, m_controls.status->y() - m_controls.resultView->y()));
    }
    // A full-size editor reaches down to the labels: it gives way to a taller status line as well.
    // One resize at most: a long article is laid out again at each.
    if (m_editorFull && H - 1890 >= 0) {
        const int full = twips::toPixels(H - 1890, twips::logicalDpi(this));
        const int room = m_controls.status->y() - m_controls.editor->y();
        m_controls.editor->resize(m_controls.editor->width(), room > 0 ? std::min(full, room) : full);
    }
}

void Form1::showSimilarity(bool shown)
{
    m_controls.similarity->setVisible(shown);
    if (!shown)
        return;
    m_controls.statisticsButton->setEnabled(true);
    refreshControlStates();
}

void Form1::compactLayout()
{
    m_editorFull = false;
    const int W = twips::outerSize(this).width();
    twips::setHeight(m_controls.editor, kCompactHeight);
    twips::setWidth(m_controls.editor, W - 1605);
    twips::setHeight(m_controls.sentenceList, kCompactHeight);
    twips::setLeft(m_controls.sentenceList, W - 1500);
    twips::setWidth(m_controls.sentenceList, 1100);
    m_controls.sentenceList->setVisible(true);
}

void Form1::fullLayout()
{
    // The size the resize rule gives: a fixed size would cover the labels of a small window and leave
    // most of a large one empty.
    setEditorFullSize();
    m_controls.sentenceList->setVisible(false);
}

void Form1::uncoverResultPane(bool uncover)
{
    layoutControls();
    if (uncover) {
        m_controls.resultView->setVisible(true);
        m_controls.resultView->raise();
    } else {
        m_controls.resultView->stackUnder(m_controls.editor);
    }
}

void Form1::showStopped()
{
    m_controls.startButton->setVisible(true);
    m_controls.stopButton->setVisible(false);
    m_controls.statisticsButton->setEnabled(true);
    refreshControlStates();
}

void Form1::showStatisticsBusy(bool busy)
{
    m_controls.statisticsButton->setEnabled(!busy);
    m_controls.statisticsButton->setText(busy ? QStringLiteral("正在统计中……")
                                              : QStringLiteral("统计相似性网站"));
    // The wait before the table shows itself: a busy cursor, and a line over the pane.
    if (busy && !m_statisticsNotice) {
        m_statisticsNotice = new QLabel(QStringLiteral("正在统计相似性网站……"), centralWidget());
        m_statisticsNotice->setObjectName(QStringLiteral("statisticsNotice"));
        m_statisticsNotice->setAutoFillBackground(true);
        m_statisticsNotice->setMargin(m_statisticsNotice->fontMetrics().height() / 2);
    }
    if (m_statisticsNotice) {
        const QRect pane = m_controls.resultView->geometry();
        m_statisticsNotice->adjustSize();
        m_statisticsNotice->move(pane.center() - m_statisticsNotice->rect().center());
        m_statisticsNotice->setVisible(busy);
        m_statisticsNotice->raise();
    }
    if (busy != m_busyCursor) {
        m_busyCursor = busy;
        if (busy)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    refreshControlStates();
}

void Form1::refreshControlStates()
{
    const bool running = m_run.isRunning();
    // While a file is read, the editor still holds the old article: nothing may analyse or search it.
    const bool reading = m_parts.documents && m_parts.documents->isReading();
    m_controls.sentenceList->setEnabled(!running);
    m_controls.analyseButton->setEnabled(!running && !reading);
    m_controls.manualStepButton->setEnabled(!running && !reading);
    m_controls.startButton->setEnabled(!reading);
    if (running)
        m_controls.statisticsButton->setEnabled(false);
    m_controls.stopButton->setVisible(running);
    m_controls.startButton->setVisible(true);
    m_controls.statisticsButton->setVisible(true);
    m_controls.comparatorButton->setVisible(true);
    m_menus.file->setEnabled(true);
    // A report needs an analysis; one PDF at a time.
    m_menus.exportReport->setEnabled(m_run.hasSentenceTable() &&
                                     !(m_parts.reportExport && m_parts.reportExport->isBusy()) && !reading);
    m_menus.comparator->setEnabled(true);
    m_menus.engines->setEnabled(true);
}

void Form1::showSentenceResult(int sentence)
{
    const search::CheckRecord& record = m_run.record();
    QListWidgetItem* item = m_controls.sentenceList->item(sentence);
    if (!item || sentence >= record.size())
        return;
    if (const std::optional<unsigned> colour = report::bandColour(record.at(sentence)))
        item->setBackground(QColor(QRgb(*colour)));
    else
        item->setData(Qt::BackgroundRole, QVariant());
    item->setToolTip(report::entryToolTip(sentence, m_run.sentences().value(sentence), record.at(sentence)));
}

search::Engine Form1::selectedEngine() const
{
    return search::selectedEngine({m_menus.baidu->isChecked(), m_menus.wenku->isChecked(),
                                   m_menus.longyuan->isChecked(), m_menus.zhiwang->isChecked()});
}

void Form1::checkEngine(QAction* chosen)
{
    for (QAction* a : {m_menus.baidu, m_menus.longyuan, m_menus.zhiwang, m_menus.wenku})
        a->setChecked(a == chosen);
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (!m_leaving && !m_parts.documents->confirmDiscard()) {
        event->ignore();
        return;
    }
    QSettings().setValue(kPlaceKey, saveGeometry());
    // The main window's end is the program's end: every other window goes with it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->close();
    }
    event->accept();
    QMainWindow::closeEvent(event);
}

bool Form1::showSentenceInEditor(int sentence, bool fromOtherWindow)
{
    const std::optional<analysis::Place> place = m_run.placeIn(m_controls.editor->text(), sentence);
    if (!place)
        return false;
    const QTextCursor before = m_controls.editor->textCursor();
    if (fromOtherWindow && m_run.isRunning() && !m_runSelection)
        m_runSelection = std::pair(before.anchor(), before.position());
    m_controls.editor->select(place->start, place->length);
    m_controls.editor->ensureCursorVisible();
    m_heldSentence = fromOtherWindow && m_run.isRunning() ? sentence : -1;
    if (m_heldSentence < 0)
        m_runSelection.reset();
    if (fromOtherWindow)
        return true;
    raise();
    activateWindow();
    m_controls.editor->setFocus(Qt::OtherFocusReason);
    return true;
}

void Form1::restoreHeldSentence()
{
    if (m_heldSentence < 0)
        return;
    if (!m_run.isRunning()) {
        m_heldSentence = -1;
        m_runSelection.reset();
        return;
    }
    m_runSelection.reset(); // the mark just made is the run's selection now
    showSentenceInEditor(m_heldSentence, true);
}

void Form1::giveBackRunSelection()
{
    if (!m_runSelection)
        return;
    const int end = m_controls.editor->document()->characterCount() - 1;
    QTextCursor c(m_controls.editor->document());
    c.setPosition(std::clamp(m_runSelection->first, 0, end));
    c.setPosition(std::clamp(m_runSelection->second, 0, end), QTextCursor::KeepAnchor);
    m_controls.editor->setTextCursor(c);
    m_runSelection.reset();
}

void Form1::connectKeyboardRoute()
{
    keyboardroute::reachMenuBar(this);
    keyboardroute::ctrlTabMovesOn(this);
    keyboardroute::setKey(m_controls.analyseButton, QKeySequence(Qt::Key_F7));
    keyboardroute::setKey(m_controls.manualStepButton, QKeySequence(Qt::Key_F8));
    // Command3 stays visible under Command4 during a run: its key must not start a step out of turn then.
    const QKeySequence startKey(Qt::Key_F5);
    keyboardroute::setKey(m_controls.startButton, startKey);
    connect(&m_run, &search::CheckRun::runningChanged, m_controls.startButton,
            [this, startKey](bool running) {
                m_controls.startButton->setShortcut(running ? QKeySequence() : startKey);
            });
    keyboardroute::setKey(m_controls.stopButton, QKeySequence(Qt::SHIFT | Qt::Key_F5));
    keyboardroute::setKey(m_menus.exportReport, QKeySequence(Qt::CTRL | Qt::Key_E));
    keyboardroute::setKey(m_menus.results, QKeySequence(Qt::CTRL | Qt::Key_R));
    m_menus.results->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_R), QKeySequence(Qt::ALT | Qt::Key_R)});
    // Alt with a letter opens a menu; the quoted captions carry no mnemonic.
    const struct
    {
        QMenu* menu;
        Qt::Key key;
    } menuKeys[] = {{m_menus.file, Qt::Key_F},    {m_menus.edit, Qt::Key_E},    {m_menus.engines, Qt::Key_Y},
                    {m_menus.options, Qt::Key_X}, {m_menus.sources, Qt::Key_L}, {m_menus.help, Qt::Key_H}};
    for (const auto& m : menuKeys)
        keyboardroute::openMenuWithKey(this, m.menu, QKeySequence(Qt::ALT | m.key));
    keyboardroute::setKey(m_menus.comparator, QKeySequence(Qt::CTRL | Qt::Key_D));
    m_controls.comparatorButton->setToolTip(m_menus.comparator->toolTip()); // the same window as the menu's
}
