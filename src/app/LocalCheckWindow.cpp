#include "app/LocalCheckWindow.h"

#include "editor/MarkColors.h"
#include "widgets/KeyboardRoute.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget* table(QWidget* parent, const char* name, const QStringList& header)
{
    auto* t = new QTableWidget(0, static_cast<int>(header.size()), parent);
    t->setObjectName(QLatin1String(name));
    t->setHorizontalHeaderLabels(header);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void addRow(QTableWidget* t, const QStringList& cells)
{
    const int row = t->rowCount();
    t->insertRow(row);
    for (int c = 0; c < cells.size(); ++c)
        t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

// Code points before a UTF-16 offset: the places the person reads are counted in characters.
qsizetype charactersBefore(const QString& text, qsizetype offset)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < offset && i < text.size(); ++i)
        n += !text[i].isLowSurrogate();
    return n;
}

} // namespace

LocalCheckWindow::LocalCheckWindow(sources::LocalReport report, QHash<qint64, QString> sourceTexts,
                                   QString article, QWidget* parent)
    : QWidget(parent, Qt::Window), m_report(std::move(report)), m_sourceTexts(std::move(sourceTexts)),
      m_article(std::move(article))
{
    setObjectName(QStringLiteral("LocalCheckWindow"));
    setWindowTitle(QStringLiteral("本地来源比对"));
    setAttribute(Qt::WA_DeleteOnClose);
    keyboardroute::closeWithEscape(this);
    const sources::CheckResult& r = m_report.result;

    m_figures = new QLabel(this);
    m_figures->setObjectName(QStringLiteral("localFigures"));
    m_figures->setTextFormat(Qt::RichText);
    QString figures = sources::figureLines(r).join(QStringLiteral("<br>"));
    figures += QStringLiteral(
                   "<br>图例：<span style=\"color:%1\">■ 复制</span>　<span style=\"color:%2\">■ 引用</span>")
                   .arg(marks::kCopied.name(), marks::kCited.name());
    m_figures->setText(figures);

    m_sources = table(
        this, "localSources",
        {QStringLiteral("来源"), QStringLiteral("路径"), QStringLiteral("字数"), QStringLiteral("占文章")});
    for (const sources::SourceFigure& f : r.sources)
        addRow(m_sources,
               {m_report.titles.value(f.source), QDir::toNativeSeparators(m_report.paths.value(f.source)),
                QString::number(f.chars), sources::percentText(f.ratio)});
    m_chapters = table(this, "localChapters",
                       {QStringLiteral("章节"), QStringLiteral("字数"), QStringLiteral("复制"),
                        QStringLiteral("引用"), QStringLiteral("复制比")});
    for (const sources::ChapterFigure& c : r.chapters)
        addRow(m_chapters,
               {c.title.isEmpty() ? QStringLiteral("（正文）") : c.title, QString::number(c.chars),
                QString::number(c.copied), QString::number(c.cited), sources::percentText(c.ratio)});
    m_passages = table(this, "localPassages", {QStringLiteral("文章"), QStringLiteral("来源")});
    m_passages->setWordWrap(true);
    m_passages->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(m_sources, &QTableWidget::currentCellChanged, this, [this](int row) { showPassages(row); });

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_sources);
    split->addWidget(m_chapters);
    split->addWidget(m_passages);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_figures);
    layout->addWidget(split, 1);
    resize(900, 700);
}

void LocalCheckWindow::showPassages(int sourceRow)
{
    m_passages->setRowCount(0);
    if (sourceRow < 0 || sourceRow >= m_report.result.sources.size())
        return;
    const qint64 source = m_report.result.sources[sourceRow].source;
    const QString text = m_sourceTexts.value(source);
    for (const sources::Passage& p : m_report.result.passages) {
        if (p.source != source)
            continue;
        const QString kind = p.cited ? QStringLiteral("（引用）") : QString();
        addRow(m_passages, {QStringLiteral("第 %1–%2 字%3：")
                                    .arg(charactersBefore(m_article, p.start) + 1)
                                    .arg(charactersBefore(m_article, p.end))
                                    .arg(kind) +
                                m_article.mid(p.start, p.end - p.start),
                            QStringLiteral("第 %1–%2 字：")
                                    .arg(charactersBefore(text, p.sourceStart) + 1)
                                    .arg(charactersBefore(text, p.sourceEnd)) +
                                text.mid(p.sourceStart, p.sourceEnd - p.sourceStart)});
    }
    m_passages->resizeRowsToContents();
}
