#include "app/ResultWindow.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "report/Bands.h"
#include "report/ReportText.h"
#include "report/ResultTableModel.h"
#include "report/RunProgress.h"
#include "search/CheckRun.h"
#include "widgets/KeyboardRoute.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using report::ResultTableModel;

const QString kPlaceKey = QStringLiteral("windows/results");

// Sorting by the model's sort values, the band colours, and the filter of 20 % or more (the two
// highest bands).
class ResultProxy : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setOnlyHigh(bool on)
    {
        m_onlyHigh = on;
        invalidateRowsFilter();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::BackgroundRole)
            return QSortFilterProxyModel::data(index, role);
        const auto band =
            static_cast<report::Band>(QSortFilterProxyModel::data(index, ResultTableModel::BandRole).toInt());
        const std::optional<unsigned> colour = report::bandStyle(band).colour;
        return colour ? QVariant(QColor(QRgb(*colour))) : QVariant();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (!m_onlyHigh)
            return true;
        const auto band = static_cast<report::Band>(
            sourceModel()->index(row, 0, parent).data(ResultTableModel::BandRole).toInt());
        return band == report::Band::High || band == report::Band::Medium;
    }

private:
    bool m_onlyHigh = false;
};

} // namespace

const QString ResultWindow::kTitle = QStringLiteral("检测结果");

ResultWindow::ResultWindow(const search::CheckRun& run, const report::RunProgress& progress,
                           std::function<bool(int)> showInEditor, QWidget* parent)
    : QWidget(parent, parent ? Qt::Tool : Qt::Window), m_run(run), m_progress(progress),
      m_showInEditor(std::move(showInEditor))
{
    setObjectName(QStringLiteral("ResultWindow"));
    setWindowTitle(kTitle);
    keyboardroute::closeWithEscape(this);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("ResultSummary"));
    m_summary->setWordWrap(true);
    buildProgressRow();

    m_model = new ResultTableModel(run, this);
    auto* proxy = new ResultProxy(this);
    m_proxy = proxy;
    proxy->setSourceModel(m_model);
    proxy->setSortRole(ResultTableModel::SortRole);
    proxy->setDynamicSortFilter(true);

    m_onlyHigh = new QCheckBox(QStringLiteral("只显示相似度 20% 及以上的句子"), this);
    m_onlyHigh->setObjectName(QStringLiteral("OnlyHigh"));
    connect(m_onlyHigh, &QCheckBox::toggled, this, [proxy](bool on) { proxy->setOnlyHigh(on); });

    buildTable();

    // Scrolls when a page had many titles; Tab and Enter reach its links.
    m_details = new QTextBrowser(this);
    m_details->setObjectName(QStringLiteral("ResultDetails"));
    m_details->setOpenLinks(false);
    m_details->setFixedHeight(fontMetrics().lineSpacing() * 6);
    connect(m_details, &QTextBrowser::anchorClicked, this, &ResultWindow::openLink);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_progressRow);
    layout->addWidget(m_onlyHigh);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_details);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        m_notice.clear();
        showDetails();
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ResultWindow::showDetails);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ResultWindow::showDetails);
    connect(m_table, &QAbstractItemView::activated, this, &ResultWindow::showSentence);
    connect(&progress, &report::RunProgress::changed, this, &ResultWindow::showProgress);
    showDetails();
    showProgress();
}

void ResultWindow::buildProgressRow()
{
    m_progressRow = new QWidget(this);
    m_progressBar = new QProgressBar(m_progressRow);
    m_progressBar->setObjectName(QStringLiteral("ResultProgress"));
    m_timeLeft = new QLabel(m_progressRow);
    m_timeLeft->setObjectName(QStringLiteral("TimeLeft"));
    auto* progressLayout = new QHBoxLayout(m_progressRow);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->addWidget(m_progressBar, 1);
    progressLayout->addWidget(m_timeLeft);
    // The row keeps its room when the run stops: the table does not jump.
    QSizePolicy rowPolicy = m_progressRow->sizePolicy();
    rowPolicy.setRetainSizeWhenHidden(true);
    m_progressRow->setSizePolicy(rowPolicy);
}

void ResultWindow::buildTable()
{
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("ResultTable"));
    m_table->setModel(m_proxy);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ResultTableModel::Number, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->setTabKeyNavigation(false); // Tab goes on to the check box and the links
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ResultTableModel::Sentence, QHeaderView::Stretch);
    header->setSectionResizeMode(ResultTableModel::Source, QHeaderView::Interactive);
    header->resizeSection(ResultTableModel::Source, 220);
}

void ResultWindow::showProgress()
{
    const report::Coverage c = m_progress.coverage();
    m_summary->setText(report::overallText(m_run.record()) + QStringLiteral("　") + report::coverageText(c));
    m_progressRow->setVisible(m_progress.isRunning());
    m_progressBar->setRange(0, static_cast<int>(std::max<qsizetype>(c.total, 1)));
    m_progressBar->setValue(static_cast<int>(c.checked));
    m_timeLeft->setText(m_progress.timeLeft());
}

void ResultWindow::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        m_placed = true;
        const QByteArray kept = QSettings().value(kPlaceKey).toByteArray();
        if (kept.isEmpty() || !restoreGeometry(kept))
            placeOverMainWindow();
    }
    QWidget::showEvent(event);
}

void ResultWindow::hideEvent(QHideEvent* event)
{
    QSettings().setValue(kPlaceKey, saveGeometry());
    QWidget::hideEvent(event);
}

void ResultWindow::placeOverMainWindow()
{
    // Tall enough for the header and kFirstRows rows, the rest of the window at its natural size.
    const int rows = m_table->horizontalHeader()->sizeHint().height() +
                     kFirstRows * m_table->verticalHeader()->defaultSectionSize() +
                     2 * m_table->frameWidth() + m_table->horizontalScrollBar()->sizeHint().height();
    m_table->setMinimumHeight(rows);
    const QSize wanted(std::max(sizeHint().width(), 760), sizeHint().height());
    m_table->setMinimumHeight(0);
    resize(wanted);

    const auto* main = qobject_cast<const QMainWindow*>(parentWidget());
    if (!main)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(main->frameGeometry().center());
    const int menuBottom = main->menuBar()->mapToGlobal(QPoint(0, main->menuBar()->height())).y();
    if (const QScreen* screen = main->screen()) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(
            std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - frame.width())));
        if (frame.bottom() > room.bottom())
            frame.moveBottom(room.bottom());
    }
    if (frame.top() < menuBottom)
        frame.moveTop(menuBottom);
    move(frame.topLeft());
}

int ResultWindow::currentSentence() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? m_proxy->mapToSource(current).row() : -1;
}

void ResultWindow::showDetails()
{
    const int sentence = currentSentence();
    if (sentence < 0 || sentence >= m_run.record().size()) {
        m_details->setText(QStringLiteral("双击一行，在文章中显示这一句。"));
        return;
    }
    const search::SentenceEntry& e = m_run.record().at(sentence);
    QString html =
        QStringLiteral("<p>第 %1 句：%2</p>")
            .arg(sentence + 1)
            .arg(m_model->index(sentence, ResultTableModel::Sentence).data().toString().toHtmlEscaped());
    if (!m_notice.isEmpty())
        html +=
            QStringLiteral("<p style=\"color:#c00000\">") + m_notice.toHtmlEscaped() + QStringLiteral("</p>");
    if (e.titles.isEmpty()) {
        html += QStringLiteral("<p>没有结果标题。</p>");
    } else {
        html += QStringLiteral("<ol>");
        for (const search::Title& t : e.titles) {
            const report::TitleLink shown = report::titleOf(t);
            html += QStringLiteral("<li>");
            if (shown.link.isEmpty())
                html += shown.text.toHtmlEscaped();
            else
                html += QStringLiteral("<a href=\"%1\">%2</a>")
                            .arg(shown.link.toHtmlEscaped(), shown.text.toHtmlEscaped());
            html += QStringLiteral("</li>");
        }
        html += QStringLiteral("</ol>");
    }
    m_details->setText(html);
}

void ResultWindow::showSentence(const QModelIndex& index)
{
    const int sentence = m_proxy->mapToSource(index).row();
    m_notice.clear();
    if (sentence >= 0 && m_showInEditor && !m_showInEditor(sentence))
        m_notice = QStringLiteral("文章在分析之后改动过，在文章中找不到这一句。");
    showDetails();
}

void ResultWindow::openLink(const QUrl& link)
{
    if (!Shell::openInDefaultBrowser(link)) {
        MessageBox::show(this, {QStringLiteral("调用浏览器错误！"), QStringLiteral("错误："),
                                MessageBox::Icon::Error, MessageBox::Buttons::Ok});
    }
}

void ResultWindow::addCommandButtons(const QList<QAction*>& actions)
{
    auto* row = new QHBoxLayout;
    for (QAction* action : actions) {
        auto* button = new QPushButton(action->text(), this);
        button->setObjectName(action->objectName());
        button->setEnabled(action->isEnabled());
        connect(action, &QAction::changed, button,
                [button, action] { button->setEnabled(action->isEnabled()); });
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        row->addWidget(button);
    }
    row->addStretch();
    if (auto* column = qobject_cast<QVBoxLayout*>(layout()))
        column->addLayout(row);
}
