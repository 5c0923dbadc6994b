#pragma once

#include "sources/LocalReport.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QTableWidget;

// The result of 本地比对: the figures with the marks' legend, the sources by share, the chapters, and
// the passages of the source clicked, side by side with where they stand in the source.
class LocalCheckWindow : public QWidget
{
    Q_OBJECT
public:
    LocalCheckWindow(sources::LocalReport report, QHash<qint64, QString> sourceTexts, QString article,
                     QWidget* parent = nullptr);

private:
    void showPassages(int sourceRow);

    sources::LocalReport m_report;
    QHash<qint64, QString> m_sourceTexts;
    QString m_article;
    QLabel* m_figures = nullptr;
    QTableWidget* m_sources = nullptr;
    QTableWidget* m_chapters = nullptr;
    QTableWidget* m_passages = nullptr;
};
