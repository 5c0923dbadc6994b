#include "app/Form1.h"

#include "analysis/Analysis.h"
#include "analysis/SentencePlace.h"
#include "app/MakerSite.h"
#include "app/OnlineCheck.h"
#include "app/ReportExport.h"
#include "app/ResultWindow.h"
#include "editor/MarkColors.h"
#include "editor/Marking.h"
#include "comparator/ComparatorOpener.h"
#include "editor/EditCommands.h"
#include "editor/DocumentCommands.h"
#include "editor/RichTextBox.h"
#include "platform/Browser.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "widgets/KeyboardRoute.h"
#include "widgets/SelectionFrameDelegate.h"
#include "widgets/StatusLabel.h"
#include "widgets/Twips.h"
#include "platform/WebEngineBrowser.h"
#include "widgets/WidgetTwips.h"
#include "widgets/WindowParts.h"
#include "report/Bands.h"
#include "report/CheckReport.h"
#include "report/ResultTableModel.h"
#include "report/SiteTableCommand.h"
#include "store/ResultKeeper.h"

#include "Version.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QLabel>
#include <QListWidget>
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

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

Form1::Form1(std::unique_ptr<Browser> resultPane, QWidget* parent) : Form1(Options{std::move(resultPane)}, parent) {}

Form1::Form1(Options options, QWidget* parent) : QMainWindow(parent), m_resultPane(std::move(options.resultPane))
{
    setObjectName(QStringLiteral("Form1"));
    m_run = new search::CheckRun(this);
    createControls();
    createMenus();
    setInstructionText();
    if (!m_resultPane)
        m_resultPane = std::make_unique<WebEngineBrowser>(m_webBrowser1, options.loadTimeout);
    m_startupPane = std::make_unique<WebEngineBrowser>(m_webBrowser2);
    m_timer2->setInterval(options.tickInterval);

    // Client area of the stated size below the menu bar, centred on the screen.
    windowparts::sizeAndCentre(this, kClientWidth, kClientHeight, menuBar()->sizeHint().height());
    connectOnlineCheck(options);
    connectResultStore(options);
    load();
    Timer1();
    connectEditingAndComparator();
    connectDocumentCommands();
    connectKeyboardRoute();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // Created bottom to top: the result pane lies under the editor, the list over it.
    m_webBrowser1 = new QWebEngineView(client);
    m_webBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    twips::setGeometry(m_webBrowser1, 135, kPaneTop, 10140, 5100);

    m_richTextBox1 = new RichTextBox(client);
    m_richTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    twips::setGeometry(m_richTextBox1, 135, 45, kEditorFullWidth, kEditorFullHeight);

    m_webBrowser2 = new QWebEngineView(client);
    m_webBrowser2->setObjectName(QStringLiteral("WebBrowser2"));
    twips::setGeometry(m_webBrowser2, 9540, 6210, 690, 510);
    // 0 × 0 and never used: Tab must not vanish into its page. Disabled, it still loads.
    m_webBrowser2->setEnabled(false);

    m_list1 = new QListWidget(client);
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setUniformItemSizes(true);
    m_list1->setItemDelegate(new SelectionFrameDelegate(m_list1));
    twips::setGeometry(m_list1, 9180, 45, 1095, 2760);
    m_list1->hide();
    // Disabled during a run, the entries keep their colours: grey text on the bands would be unreadable.
    QPalette listPalette = m_list1->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::Base, QPalette::Highlight, QPalette::HighlightedText})
        listPalette.setColor(QPalette::Disabled, role, listPalette.color(QPalette::Active, role));
    m_list1->setPalette(listPalette);

    m_label1 = statuslabel::make(client, "Label1", marks::kRed);
    m_label1->setText(QStringLiteral("请点击“分析”开始解析论文！"));
    twips::setGeometry(m_label1, 225, 6345, kLabel1Width, kLabel1Height);

    m_label2 = statuslabel::make(client, "Label2", kBlue);
    twips::setGeometry(m_label2, 5520, 5640, 4605, 780);
    statuslabel::fitLines(m_label2, 3); // the similarity display's three lines

    m_command1 = makeButton(client, "Command1", QStringLiteral("进行分析"));
    twips::setGeometry(m_command1, 270, 6750, 2130, 420);
    m_command2 = makeButton(client, "Command2", QStringLiteral("手动对比"));
    twips::setGeometry(m_command2, 2970, 6750, 2130, 420);
    m_command3 = makeButton(client, "Command3", QStringLiteral("启动自动对比"));
    twips::setGeometry(m_command3, 8145, 6750, 2130, 420);
    m_command4 = makeButton(client, "Command4", QStringLiteral("停止自动对比！"));
    twips::setGeometry(m_command4, 7200, 5160, 2130, 420);
    m_command4->hide();
    m_command5 = makeButton(client, "Command5", QStringLiteral("统计相似性网站"));
    twips::setGeometry(m_command5, 8145, 6345, 1545, 285);
    m_command6 = makeButton(client, "Command6", QStringLiteral("对比"));
    twips::setGeometry(m_command6, 8760, 7080, 510, 285);
    m_command4->raise();

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));

    connect(m_command1, &QPushButton::clicked, this, &Form1::analyse);
    // A new text in Label1 asks its parent for a new layout; Label2 shown or hidden moves Label1's end.
    client->installEventFilter(this);
    m_label2->installEventFilter(this);
}

void Form1::connectOnlineCheck(const Options& options)
{
    m_online = new OnlineCheck(*m_run, *m_resultPane, [this] { return facts(); }, this);
    connect(m_online, &OnlineCheck::decided, this, &Form1::apply);
    m_stats = new SiteTableCommand(*m_run, m_resultPane.get(), options.reportWait, this);
    connect(m_run, &search::CheckRun::runningChanged, this, &Form1::Timer1);
    connect(m_stats, &SiteTableCommand::busyChanged, this, &Form1::statisticsBusyChanged);

    connect(m_command2, &QPushButton::clicked, this, [this] { apply(m_run->compareStep(facts())); });
    connect(m_command3, &QPushButton::clicked, this, [this] { apply(m_run->start(facts())); });
    connect(m_command4, &QPushButton::clicked, this, [this] {
        apply(m_run->stop());
        stopAction();
    });
    connect(m_command5, &QPushButton::clicked, m_stats, &SiteTableCommand::run);
    connect(m_timer2, &QTimer::timeout, this, [this] { apply(m_run->tick(facts(), m_resultPane->isBusy())); });
    connect(m_run, &search::CheckRun::recordChanged, this, &Form1::showSentenceResult);

    m_export = new ReportExport(
        [this] {
            report::CheckReportData d;
            d.record = m_run->record();
            d.sentences = m_run->sentences();
            d.paragraphEnds = report::paragraphEnds(m_richTextBox1->text(), m_run->articleText(), d.sentences);
            d.sites = m_stats->rowsNow();
            d.services = d.record.engines().isEmpty() ? QList<search::Engine>{selectedEngine()} : d.record.engines();
            d.program = windowTitle();
            d.running = m_run->isRunning();
            return d;
        },
        this);
    connect(m_export, &ReportExport::busyChanged, this, &Form1::Timer1);
    connect(m_daochu, &QAction::triggered, m_export, &ReportExport::run);

    // The rule runs when the user picks an entry: a new current row by mouse or keyboard, or a click on
    // the row that is current already.
    connect(m_list1, &QListWidget::currentRowChanged, this, &Form1::listEntryChosen);
    m_list1->viewport()->installEventFilter(this);
    connect(m_list1, &QListWidget::pressed, this, [this](const QModelIndex& index) {
        if (index.row() == m_listRowBeforePress)
            listEntryChosen(index.row());
    });
}

search::WindowFacts Form1::facts() const
{
    return {m_richTextBox1->document()->isEmpty(), m_list1->count(), selectedEngine()};
}

void Form1::listEntryChosen(int row)
{
    if (!m_selectingList)
        apply(m_run->listEntryChosen(row, facts()));
}

void Form1::selectEntry(int row)
{
    if (row < 0 || row >= m_list1->count())
        return;
    m_selectingList = true;
    m_list1->setCurrentRow(row);
    m_selectingList = false;
}

void Form1::apply(const search::RunEffects& fx)
{
    if (fx.listEntries) {
        m_selectingList = true;
        m_list1->clear();
        m_list1->addItems(*fx.listEntries);
        m_selectingList = false;
    }
    if (fx.blankPane)
        m_resultPane->writeDocument(QString());
    if (fx.chooseFirstEntry)
        selectEntry(*fx.chooseFirstEntry);
    if (fx.showSimilarity)
        showSimilarity(*fx.showSimilarity);
    if (fx.compactLayout) {
        compactLayout();
        m_richTextBox1->setSelectionColor(marks::kBlack);
    }
    if (fx.fullLayout)
        fullLayout();
    if (fx.stopAction)
        stopAction();
    if (fx.uncoverPane)
        uncoverResultPane(*fx.uncoverPane);
    if (fx.navigate) {
        m_resultPane->navigate(*fx.navigate);
        m_webBrowser1->setVisible(true);
    }
    if (fx.label1)
        m_label1->setText(*fx.label1);
    if (fx.label2)
        m_label2->setText(*fx.label2);
    if (fx.markSentence && !markSentence(*fx.markSentence))
        return;
    if (fx.selectEntry)
        selectEntry(*fx.selectEntry);
    if (fx.listToolTip)
        m_list1->setToolTip(*fx.listToolTip);
    if (fx.informationBox)
        MessageBox::show(this, {*fx.informationBox, QString(), MessageBox::Icon::Information});
}

bool Form1::markSentence(const QString& sentence)
{
    QPointer<Form1> self(this);
    const quint64 step = m_run->navigation();
    return editor::markOccurrences(*m_richTextBox1, sentence, marks::kRed, [&] {
        QCoreApplication::processEvents();
        // The window closed, or a step that ran meanwhile has taken over.
        return self && m_run->navigation() == step;
    });
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const bool labelsMoved = (watched == centralWidget() && event->type() == QEvent::LayoutRequest) ||
                             (watched == m_label2 && (event->type() == QEvent::Show || event->type() == QEvent::Hide));
    if (labelsMoved)
        placePaneAndStatusLine();
    if (watched == m_list1->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        // Qt makes a row current on any button; only the left one chooses a sentence to search.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return true;
        m_listRowBeforePress = m_list1->currentRow();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::createMenus()
{
    QMenuBar* bar = menuBar();

    m_wjcd = bar->addMenu(QStringLiteral("文件"));
    m_wjcd->setObjectName(QStringLiteral("wjcd"));
    windowparts::addItem(m_wjcd, "xinjian", QStringLiteral("新建"));
    windowparts::addItem(m_wjcd, "dakai", QStringLiteral("打开"));
    windowparts::addItem(m_wjcd, "baocun", QStringLiteral("保存"));
    m_daochu = windowparts::addItem(m_wjcd, "daochu", QStringLiteral("导出检测报告…"));
    m_qingchu = windowparts::addItem(m_wjcd, "qingchu", QStringLiteral("清除检测记录…"));
    windowparts::addSeparator(m_wjcd, "fg1");
    QAction* tuichu = windowparts::addItem(m_wjcd, "tuichu", QStringLiteral("退出"));
    connect(tuichu, &QAction::triggered, this, &Form1::exitProgram);

    m_yjcd = bar->addMenu(QStringLiteral("编辑"));
    m_yjcd->setObjectName(QStringLiteral("yjcd"));
    windowparts::addItem(m_yjcd, "cx", QStringLiteral("撤销"));
    windowparts::addSeparator(m_yjcd, "fg2");
    windowparts::addItem(m_yjcd, "jq", QStringLiteral("剪切"));
    windowparts::addItem(m_yjcd, "fz", QStringLiteral("复制"));
    windowparts::addItem(m_yjcd, "nt", QStringLiteral("粘贴"));
    windowparts::addItem(m_yjcd, "sc", QStringLiteral("删除"));
    windowparts::addSeparator(m_yjcd, "fg3");
    windowparts::addItem(m_yjcd, "qx", QStringLiteral("全选"));

    m_yinqing = bar->addMenu(QStringLiteral("引擎选择"));
    m_yinqing->setObjectName(QStringLiteral("yinqing"));
    m_baidu = windowparts::addItem(m_yinqing, "baidu", search::engineName(search::Engine::Baidu));
    m_wenku = windowparts::addItem(m_yinqing, "wenku", search::engineName(search::Engine::Wenku));
    m_longyuan = windowparts::addItem(m_yinqing, "longyuan", search::engineName(search::Engine::Longyuan));
    m_zhiwang = windowparts::addItem(m_yinqing, "zhiwang", search::engineName(search::Engine::Zhiwang));
    for (QAction* a : {m_baidu, m_wenku, m_longyuan, m_zhiwang}) {
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, a] { checkEngine(a); });
    }
    m_longyuan->setEnabled(false);
    createOptionsMenu();

    m_duibiqi = bar->addAction(QStringLiteral("对比器"));
    m_duibiqi->setObjectName(QStringLiteral("duibiqi"));
    m_jieguo = bar->addAction(QStringLiteral("检测结果"));
    m_jieguo->setObjectName(QStringLiteral("jieguo"));
    connect(m_jieguo, &QAction::triggered, this, &Form1::showResults);
    m_gengxin = bar->addAction(QStringLiteral("获取更新"));
    m_gengxin->setObjectName(QStringLiteral("gengxin"));
    m_gengxin->setVisible(false);
    connect(m_gengxin, &QAction::triggered, this, &Form1::openProjectPage);
}

void Form1::setInstructionText()
{
    const QStringList paragraphs{
        QStringLiteral("    欢迎使用 Tessaro 论文相似度检测工具，作者：Tessaro 开发者。请在此处输入或粘贴需要检测的论文句子，"
                       "先点击“分析”，再点击“对比”。程序会根据文本自动算出句子的数目，每点击一次“对比”，"
                       "就在网络上搜索下一句。"),
        QStringLiteral("    本工具基于百度网页搜索，检测的速度和质量取决于您的网络状况；检测结果仅供参考，"
                       "作者不对其承担任何责任。欢迎提出意见和建议，请访问项目主页：") +
            maker::kProjectPage,
        QStringLiteral("    您可以在此框中编辑文章，然后复制到 Word 中。用户还发现了它的其他用途，"
                       "例如批量搜索计算机考试题目的答案，更多用途等您去发现！"),
    };
    const QFont songTi(fonts::kSongTi, 10);
    m_richTextBox1->document()->setDefaultFont(songTi);
    m_richTextBox1->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    QTextCursor c(m_richTextBox1->document());
    QTextCharFormat f;
    f.setFont(songTi);
    f.setForeground(Qt::black);
    for (int i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            c.insertBlock();
        c.insertText(paragraphs[i], f);
    }
    m_richTextBox1->document()->clearUndoRedoStacks();
    m_richTextBox1->moveCaretToStart();
}

void Form1::load()
{
    m_resultPane->navigate(QStringLiteral("about:blank"));
    m_webBrowser1->hide();

    m_webBrowser2->resize(0, 0);
    m_startupPane->navigate(maker::kStartupPage);

    setWindowTitle(QStringLiteral("Tessaro V%1.%2.%3")
                       .arg(tessaro::kVersionMajor)
                       .arg(tessaro::kVersionMinor)
                       .arg(tessaro::kVersionPatch));

    m_baidu->setChecked(true);
    m_wenku->setChecked(false);
    m_longyuan->setChecked(false);
    m_zhiwang->setChecked(false);

    m_timer2->start();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutControls();
}

void Form1::layoutControls()
{
    const QSize outer = twips::outerSize(this);
    const int H = outer.height();
    const int W = outer.width();

    twips::setWidth(m_webBrowser1, W - 525);
    if (!m_run->articleText().isEmpty()) {
        m_editorFull = false;
        twips::setHeight(m_richTextBox1, kCompactHeight);
        twips::setWidth(m_richTextBox1, W - 1905);
    } else {
        m_editorFull = true; // its height comes with the status line below
        twips::setWidth(m_richTextBox1, W - 525);
    }
    twips::setTop(m_label2, H - 1700);
    for (QPushButton* b : {m_command1, m_command2, m_command3, m_command4})
        twips::setTop(b, H - 1400);
    twips::setTop(m_command5, H - 1720);
    twips::setTop(m_command6, H - 1720);
    for (QPushButton* b : {m_command3, m_command4, m_command5})
        twips::setLeft(b, W - 2500);
    twips::setLeft(m_command6, W - 900);
    twips::setLeft(m_list1, W - 1800);
    twips::setWidth(m_list1, 1400);
    placePaneAndStatusLine();
}

void Form1::setEditorFullSize()
{
    m_editorFull = true;
    twips::setWidth(m_richTextBox1, twips::outerSize(this).width() - 525);
    placePaneAndStatusLine(); // the height, which the status line may shorten
}

void Form1::placePaneAndStatusLine()
{
    const int H = twips::outerSize(this).height();
    if (m_run && m_run->waitsForPerson()) {
        // From the editor's top down to the labels: the verification page shows whole.
        twips::setTop(m_webBrowser1, kPaneUncoveredTop);
        twips::setHeight(m_webBrowser1, H - 2890 + kPaneTop - kPaneUncoveredTop);
    } else {
        twips::setTop(m_webBrowser1, kPaneTop);
        twips::setHeight(m_webBrowser1, H - 2890);
    }

    twips::setTop(m_label1, H - 1700);
    twips::setHeight(m_label1, kLabel1Height);
    twips::setWidth(m_label1, m_label2->isHidden() ? kLabel1Width : twips::left(m_label2) - twips::left(m_label1));
    // The buttons below take the label's lower part; what the wrapped text needs more goes upwards.
    const int needed = m_label1->heightForWidth(m_label1->width());
    const int buttonsTop = m_command1->y();
    if (m_label1->y() + needed > buttonsTop && needed > 0) {
        m_label1->setGeometry(m_label1->x(), std::max(0, buttonsTop - needed), m_label1->width(), needed);
        if (m_webBrowser1->geometry().bottom() >= m_label1->y())
            m_webBrowser1->resize(m_webBrowser1->width(), std::max(0, m_label1->y() - m_webBrowser1->y()));
    }
    // A full-size editor reaches down to the labels: it gives way to a taller status line as well.
    // One resize at most: a long article is laid out again at each.
    if (m_editorFull && H - 1890 >= 0) {
        const int full = twips::toPixels(H - 1890, twips::logicalDpi(this));
        const int room = m_label1->y() - m_richTextBox1->y();
        m_richTextBox1->resize(m_richTextBox1->width(), room > 0 ? std::min(full, room) : full);
    }
}

void Form1::showSimilarity(bool shown)
{
    m_label2->setVisible(shown);
    if (!shown)
        return;
    m_command5->setEnabled(true);
    Timer1();
}

void Form1::compactLayout()
{
    m_editorFull = false;
    const int W = twips::outerSize(this).width();
    twips::setHeight(m_richTextBox1, kCompactHeight);
    twips::setWidth(m_richTextBox1, W - 1605);
    twips::setHeight(m_list1, kCompactHeight);
    twips::setLeft(m_list1, W - 1500);
    twips::setWidth(m_list1, 1100);
    m_list1->setVisible(true);
}

void Form1::fullLayout()
{
    // The size the resize rule gives: a fixed size would cover the labels of a small window and leave
    // most of a large one empty.
    setEditorFullSize();
    m_list1->setVisible(false);
}

void Form1::uncoverResultPane(bool uncover)
{
    layoutControls();
    if (uncover) {
        m_webBrowser1->setVisible(true);
        m_webBrowser1->raise();
    } else {
        m_webBrowser1->stackUnder(m_richTextBox1);
    }
}

void Form1::stopAction()
{
    m_command3->setVisible(true);
    m_command4->setVisible(false);
    m_command5->setEnabled(true);
    Timer1();
}

void Form1::statisticsBusyChanged(bool busy)
{
    m_command5->setEnabled(!busy);
    m_command5->setText(busy ? QStringLiteral("正在统计中……") : QStringLiteral("统计相似性网站"));
    Timer1();
}

void Form1::Timer1()
{
    const bool running = m_run->isRunning();
    // While a file is read, the editor still holds the old article: nothing may analyse or search it.
    const bool reading = m_documentCommands && m_documentCommands->isReading();
    m_list1->setEnabled(!running);
    m_command1->setEnabled(!running && !reading);
    m_command2->setEnabled(!running && !reading);
    m_command3->setEnabled(!reading);
    if (running)
        m_command5->setEnabled(false);
    m_command4->setVisible(running);
    m_command3->setVisible(true);
    m_command5->setVisible(true);
    m_command6->setVisible(true);
    m_wjcd->setEnabled(true);
    // A report needs an analysis; one PDF at a time.
    m_daochu->setEnabled(m_run->hasSentenceTable() && !m_export->isBusy() && !reading);
    m_duibiqi->setEnabled(true);
    m_yinqing->setEnabled(true);
}

void Form1::showSentenceResult(int sentence)
{
    const search::CheckRecord& record = m_run->record();
    QListWidgetItem* item = m_list1->item(sentence);
    if (!item || sentence >= record.size())
        return;
    if (const std::optional<unsigned> colour = report::bandColour(record.at(sentence)))
        item->setBackground(QColor(QRgb(*colour)));
    else
        item->setData(Qt::BackgroundRole, QVariant());
    item->setToolTip(report::entryToolTip(sentence, m_run->sentences().value(sentence), record.at(sentence)));
}

search::Engine Form1::selectedEngine() const
{
    return search::selectedEngine({m_baidu->isChecked(), m_wenku->isChecked(), m_longyuan->isChecked(),
                                   m_zhiwang->isChecked()});
}

void Form1::checkEngine(QAction* chosen)
{
    for (QAction* a : {m_baidu, m_longyuan, m_zhiwang, m_wenku})
        a->setChecked(a == chosen);
}

void Form1::analyse()
{
    const QString article = m_richTextBox1->text();
    analysis::Result result = analysis::analyse(article);
    QList<analysis::PieceUse> uses;
    if (m_anjuqiefen->isChecked()) {
        analysis::SentencePieces pieces = analysis::cutSentences(article);
        result.sentences = std::move(pieces.pieces);
        uses = std::move(pieces.uses);
    }
    apply(m_run->analyse(std::move(result), article, uses));
    m_richTextBox1->moveCaretToStart();
    for (int k = 0; k < m_list1->count(); ++k)
        showSentenceResult(k);
    Timer1();
    offerResume(uses);
}

void Form1::openProjectPage()
{
    if (!Shell::openInDefaultBrowser(QUrl(maker::kProjectPage))) {
        MessageBox::show(this, {QStringLiteral("调用浏览器错误！"), QStringLiteral("错误："), MessageBox::Icon::Error,
                                MessageBox::Buttons::Ok});
    }
}

void Form1::exitProgram()
{
    if (!m_documentCommands->confirmDiscard())
        return;
    const MessageBox::Answer answer =
        MessageBox::show(this, {QStringLiteral("谢谢使用！访问我的网站吗？"), QString(), MessageBox::Icon::Question,
                                MessageBox::Buttons::YesNo});
    if (answer == MessageBox::Answer::Yes)
        openProjectPage();
    m_leaving = true; // asked already
    close();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (!m_leaving && !m_documentCommands->confirmDiscard()) {
        event->ignore();
        return;
    }
    // The main window's end is the program's end: every other window goes with it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->close();
    }
    event->accept();
    QMainWindow::closeEvent(event);
}

void Form1::connectEditingAndComparator()
{
    m_comparator = new ComparatorOpener(this);
    auto openComparator = [this] { m_comparator->show(*m_richTextBox1); };
    connect(m_command6, &QPushButton::clicked, this, openComparator);
    connect(m_duibiqi, &QAction::triggered, this, openComparator);

    editor::connectCommands(*m_yjcd, *m_richTextBox1);
    editor::popUpOnRightClick(*m_richTextBox1, *m_yjcd);
    connect(m_richTextBox1, &RichTextBox::keyReleased, this, [this](int key) {
        if (key == Qt::Key_Space)
            editor::resetTypingFont(*m_richTextBox1);
    });
}

void Form1::connectDocumentCommands()
{
    m_documentCommands = std::make_unique<DocumentCommands>(this, m_richTextBox1, [this] { fullLayout(); });
    connect(m_documentCommands.get(), &DocumentCommands::readingChanged, this, &Form1::Timer1);
    const struct
    {
        const char* name;
        QKeySequence::StandardKey key;
        void (DocumentCommands::*command)();
    } items[] = {{"xinjian", QKeySequence::New, &DocumentCommands::newDocument},
                 {"dakai", QKeySequence::Open, &DocumentCommands::open}};
    for (const auto& item : items) {
        QAction* action = findChild<QAction*>(QLatin1String(item.name));
        action->setShortcut(item.key);
        connect(action, &QAction::triggered, this, [this, command = item.command] { (*m_documentCommands.*command)(); });
    }
    QAction* baocun = findChild<QAction*>(QStringLiteral("baocun"));
    baocun->setShortcut(QKeySequence::Save);
    connect(baocun, &QAction::triggered, this, [this] { m_documentCommands->save(); });
}

void Form1::createOptionsMenu()
{
    QMenu* xuanxiang = menuBar()->addMenu(QStringLiteral("选项"));
    xuanxiang->setObjectName(QStringLiteral("xuanxiang"));
    m_anjuqiefen = windowparts::addItem(xuanxiang, "anjuqiefen", QStringLiteral("按句子切分"));
    m_anjuqiefen->setCheckable(true);
    QSettings settings;
    m_anjuqiefen->setChecked(settings.value(QStringLiteral("analysis/bySentence"), false).toBool());
    connect(m_anjuqiefen, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(QStringLiteral("analysis/bySentence"), on); });
}

void Form1::connectResultStore(const Options& options)
{
    m_keeper = new store::ResultKeeper(options.storeDirectory, *m_run, this);
    // Deferred: a notice raised while a result is kept must not hold up the step that scored it.
    connect(m_keeper, &store::ResultKeeper::notice, this, &Form1::showStoreNotice, Qt::QueuedConnection);
    connect(m_qingchu, &QAction::triggered, this, &Form1::clearKeptResults);
    m_qingchu->setEnabled(m_keeper->enabled());
}

void Form1::offerResume(const QList<analysis::PieceUse>& uses)
{
    const search::Engine engine = selectedEngine();
    const store::ResumeOffer offer = m_keeper->offer(engine, uses);
    if (offer.isEmpty())
        return;
    const MessageBox::Request question{store::resumeQuestion(offer), QString(), MessageBox::Icon::Question,
                                       MessageBox::Buttons::ReuseRedo};
    if (MessageBox::show(this, question) != MessageBox::Answer::Yes)
        return;
    apply(m_keeper->resume(offer, engine));
}

void Form1::clearKeptResults()
{
    const MessageBox::Answer answer =
        MessageBox::show(this, {QStringLiteral("确定要清除保存的全部检测结果吗？"), QString(),
                                MessageBox::Icon::Question, MessageBox::Buttons::YesNo});
    if (answer == MessageBox::Answer::Yes && !m_keeper->clear())
        MessageBox::show(
            this, {QStringLiteral("检测记录未能清除，请稍后再试。"), QString(), MessageBox::Icon::Error});
}

void Form1::showStoreNotice(const QString& notice)
{
    MessageBox::show(this, {notice, QString(), MessageBox::Icon::Information});
}

void Form1::showResults()
{
    if (!m_results) {
        m_results = new ResultWindow(*m_run, [this](int k) { return showSentenceInEditor(k); }, this);
    }
    m_results->show();
    m_results->raise();
    m_results->activateWindow();
}

bool Form1::showSentenceInEditor(int sentence)
{
    const auto place = analysis::sentencePlace(m_richTextBox1->text(), m_run->sentences(), sentence);
    if (!place)
        return false;
    m_richTextBox1->select(place->start, place->length);
    m_richTextBox1->ensureCursorVisible();
    raise();
    activateWindow();
    m_richTextBox1->setFocus(Qt::OtherFocusReason);
    return true;
}

void Form1::connectKeyboardRoute()
{
    keyboardroute::reachMenuBar(this);
    keyboardroute::ctrlTabMovesOn(this);
    keyboardroute::setKey(m_command1, QKeySequence(Qt::Key_F7));
    keyboardroute::setKey(m_command2, QKeySequence(Qt::Key_F8));
    // Command3 stays visible under Command4 during a run: its key must not start a step out of turn then.
    const QKeySequence startKey(Qt::Key_F5);
    keyboardroute::setKey(m_command3, startKey);
    connect(m_run, &search::CheckRun::runningChanged, m_command3,
            [this, startKey](bool running) { m_command3->setShortcut(running ? QKeySequence() : startKey); });
    keyboardroute::setKey(m_command4, QKeySequence(Qt::SHIFT | Qt::Key_F5));
    keyboardroute::setKey(m_daochu, QKeySequence(Qt::CTRL | Qt::Key_E));
    keyboardroute::setKey(m_jieguo, QKeySequence(Qt::CTRL | Qt::Key_R));
    keyboardroute::setKey(m_duibiqi, QKeySequence(Qt::CTRL | Qt::Key_D));
    m_command6->setToolTip(m_duibiqi->toolTip()); // the same window as the menu's
}
