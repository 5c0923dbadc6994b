#include "report/ResultTableModel.h"

#include "analysis/SentenceCutting.h"
#include "report/Bands.h"
#include "report/ReportText.h"
#include "search/CheckRun.h"
#include "text/TextRules.h"

namespace report {

QString stateText(const search::SentenceEntry& entry)
{
    using search::SentenceState;
    if (entry.use != analysis::PieceUse::Searched && entry.state == SentenceState::NotSearched)
        return analysis::pieceUseName(entry.use); // listed, never searched
    switch (entry.state) {
    case SentenceState::NotSearched:
        return QStringLiteral("尚未检索");
    case SentenceState::Searching:
        return QStringLiteral("检索中");
    case SentenceState::Scored:
        return QStringLiteral("已评分");
    case SentenceState::ShortPage:
        return QStringLiteral("结果页过短");
    case SentenceState::NotArrived:
        return QStringLiteral("未能检测");
    case SentenceState::Verification:
        return QStringLiteral("验证页");
    case SentenceState::Blank:
        return QStringLiteral("无可检索文字");
    }
    return QString();
}

QString checkedAtText(const search::SentenceEntry& entry)
{
    const QString when = entry.obtainedText();
    return entry.reused && !when.isEmpty() ? when + QStringLiteral("（沿用）") : when;
}

QString entryToolTip(qsizetype index, const QString& sentence, const search::SentenceEntry& entry)
{
    const QString figure = entry.similarityText();
    return QStringLiteral("第 %1 句：%2\n相似度：%3\n状态：%4")
        .arg(index + 1)
        .arg(text::trimSpaces(sentence), figure.isEmpty() ? QStringLiteral("—") : figure + u'%',
             stateText(entry));
}

ResultTableModel::ResultTableModel(const search::CheckRun& run, QObject* parent)
    : QAbstractTableModel(parent), m_run(run)
{
    connect(&run, &search::CheckRun::recordChanged, this, [this](int sentence) {
        if (sentence >= 0 && sentence < rowCount())
            emit dataChanged(index(sentence, 0), index(sentence, ColumnCount - 1));
    });
    connect(&run, &search::CheckRun::recordReset, this, [this] {
        // The record has been replaced already; nothing reads it between the two calls.
        beginResetModel();
        endResetModel();
    });
}

int ResultTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_run.record().size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ResultTableModel::sentence(int row) const
{
    return m_run.shownText(row);
}

QVariant ResultTableModel::display(int row, int column) const
{
    const search::SentenceEntry& e = m_run.record().at(row);
    switch (column) {
    case Number:
        return row + 1;
    case Sentence:
        return text::trimSpaces(sentence(row));
    case Figure: {
        const QString figure = e.similarityText();
        return figure.isEmpty() ? QString() : figure + u'%';
    }
    case State:
        return stateText(e);
    case CheckedAt:
        return checkedAtText(e);
    case Source:
        return e.titles.isEmpty() ? QString() : titleOf(e.titles.constFirst()).text;
    }
    return QVariant();
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const int row = index.row();
    const search::SentenceEntry& e = m_run.record().at(row);
    switch (role) {
    case Qt::DisplayRole:
        return display(row, index.column());
    case Qt::ToolTipRole:
        return index.column() == Sentence || index.column() == Source ? display(row, index.column())
                                                                      : QVariant();
    case SortRole:
        if (index.column() == Figure)
            return e.similarity.value_or(-1.0);
        return display(row, index.column());
    case BandRole:
        return static_cast<int>(bandOf(e));
    case Qt::TextAlignmentRole:
        if (index.column() == Number || index.column() == Figure)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    }
    return QVariant();
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // A first click on a column sorts the way a reader looks for: the highest figures first, the rest
    // from the start.
    if (orientation == Qt::Horizontal && role == Qt::InitialSortOrderRole)
        return section == Figure ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList headers{QStringLiteral("句号"),     QStringLiteral("句子"),
                                     QStringLiteral("相似度"),   QStringLiteral("状态"),
                                     QStringLiteral("检测时间"), QStringLiteral("来源")};
    return section >= 0 && section < headers.size() ? headers.at(section) : QVariant();
}

} // namespace report
