#pragma once

#include "search/CheckRecord.h"

#include <QAbstractTableModel>
#include <QString>

namespace search {
class CheckRun;
}

namespace report {

// The word for a sentence's state in the results table and the list's tool tips.
QString stateText(const search::SentenceEntry& entry);
// When the sentence's result was obtained, as the table writes it; empty when that is not known.
QString checkedAtText(const search::SentenceEntry& entry);
// A list entry's tool tip: that sentence, its figure and its state.
QString entryToolTip(qsizetype index, const QString& sentence, const search::SentenceEntry& entry);

// The check record as a table, one row per sentence of the latest analysis. It reads the record and
// the sentence table where they are kept and copies nothing: the run's recordChanged becomes
// dataChanged for that row, its recordReset a model reset.
class ResultTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Number, Sentence, Figure, State, CheckedAt, Source, ColumnCount };
    enum Role {
        SortRole = Qt::UserRole, // numbers as numbers; a row without a figure sorts below 0 %
        BandRole,                // the report::Band of the row, as an int
    };

    ResultTableModel(const search::CheckRun& run, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The sentence of a row, untrimmed; empty when the row is out of range.
    QString sentence(int row) const;

private:
    QVariant display(int row, int column) const;

    const search::CheckRun& m_run;
};

} // namespace report
