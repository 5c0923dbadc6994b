#include "app/ResultWindow.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "report/Bands.h"
#include "report/ReportText.h"
#include "report/ResultTableModel.h"
#include "search/CheckRun.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

using report::ResultTableModel;

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

ResultWindow::ResultWindow(const search::CheckRun& run, std::function<bool(int)> showInEditor,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_run(run), m_showInEditor(std::move(showInEditor))
{
    setObjectName(QStringLiteral("ResultWindow"));
    setWindowTitle(kTitle);

    m_model = new ResultTableModel(run, this);
    auto* proxy = new ResultProxy(this);
    m_proxy = proxy;
    proxy->setSourceModel(m_model);
    proxy->setSortRole(ResultTableModel::SortRole);
    proxy->setDynamicSortFilter(true);

    m_onlyHigh = new QCheckBox(QStringLiteral("只显示相似度 20% 及以上的句子"), this);
    m_onlyHigh->setObjectName(QStringLiteral("OnlyHigh"));
    connect(m_onlyHigh, &QCheckBox::toggled, this, [proxy](bool on) { proxy->setOnlyHigh(on); });

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("ResultTable"));
    m_table->setModel(proxy);
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

    // Scrolls when a page had many titles; Tab and Enter reach its links.
    m_details = new QTextBrowser(this);
    m_details->setObjectName(QStringLiteral("ResultDetails"));
    m_details->setOpenLinks(false);
    m_details->setMinimumHeight(fontMetrics().lineSpacing() * 6);
    connect(m_details, &QTextBrowser::anchorClicked, this, &ResultWindow::openLink);

    m_coverage = new QLabel(this);
    m_coverage->setObjectName(QStringLiteral("ResultCoverage"));
    m_coverage->setWordWrap(true);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ResultWindow::showCoverage);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ResultWindow::showCoverage);
    showCoverage();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_coverage);
    layout->addWidget(m_onlyHigh);
    layout->addWidget(m_table, 3);
    layout->addWidget(m_details, 2);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        m_notice.clear();
        showDetails();
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ResultWindow::showDetails);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ResultWindow::showDetails);
    connect(m_table, &QAbstractItemView::activated, this, &ResultWindow::showSentence);
    showDetails();
    resize(760, 520);
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

void ResultWindow::showCoverage()
{
    const search::CheckRecord& r = m_run.record();
    m_coverage->setText(report::overallText(r) + QStringLiteral("　") +
                        report::coverageText(report::coverage(r)));
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
