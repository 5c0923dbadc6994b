#include "report/PrintedReport.h"

#include "analysis/Analysis.h"
#include "report/Bands.h"
#include "report/ReportText.h"

#include <algorithm>
#include <utility>

namespace report {
namespace {

// Each title on its own line, linked to its address.
printed::Cell titleCell(const QList<TitleLink>& titles)
{
    printed::Cell cell;
    for (const TitleLink& t : titles) {
        const QString text = isolated(t.text.isEmpty() ? shownTitle(t.link) : t.text);
        cell.append({cell.isEmpty() ? text : u'\n' + text, std::nullopt, false, t.link});
    }
    return cell;
}

// When the result was obtained, and "（沿用）" for one taken over from an earlier start.
QString obtainedLabel(const search::SentenceEntry& e)
{
    QString label = e.obtainedText();
    if (e.reused)
        label += QStringLiteral("\n（沿用）");
    return label;
}

void addHeading(printed::Document& doc, const QString& text)
{
    doc.append(printed::textBlock(printed::Block::Kind::Heading, text));
}

void addParagraph(printed::Document& doc, const QString& text)
{
    doc.append(printed::textBlock(printed::Block::Kind::Paragraph, text));
}

printed::Block table(QList<int> widths, const QStringList& header)
{
    printed::Block t;
    t.kind = printed::Block::Kind::Table;
    t.columnWidths = std::move(widths);
    for (const QString& h : header)
        t.header.append(printed::plainCell(h));
    return t;
}

printed::Row textRow(const QStringList& cells, std::optional<unsigned> background = std::nullopt)
{
    printed::Row r{{}, background};
    for (const QString& c : cells)
        r.cells.append(printed::plainCell(c));
    return r;
}

void addPrintedSummary(printed::Document& doc, const CheckReportData& d)
{
    const search::CheckRecord& r = d.record;
    doc.append(printed::textBlock(printed::Block::Kind::Title, kReportTitle));
    doc.append(printed::textBlock(printed::Block::Kind::Notice, kEstimateNotice));
    const QString heading = articleHeading(r.article());
    const int reused = r.reusedCount();
    addParagraph(
        doc, QStringLiteral("文章：") +
                 (heading.isEmpty() ? QStringLiteral("（无标题）") : isolated(heading)) +
                 QStringLiteral("\n生成时间：") + d.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                 QStringLiteral("\n检索服务：") + serviceNames(d).join(QStringLiteral("、")) +
                 QStringLiteral("\n检测程序：") + d.program +
                 (reused > 0 ? u'\n' + kReusedLine.arg(QStringLiteral("%1 句").arg(reused)) : QString()));
    if (d.running)
        addParagraph(doc, kRunningNotice);

    addHeading(doc, QStringLiteral("总体结果"));
    addParagraph(doc, overallText(r) + QStringLiteral("　") + coverageText(coverage(r)));
    printed::Block counts = table({3, 1}, {QStringLiteral("句子"), QStringLiteral("句数")});
    for (const StateRow& row : stateRows())
        counts.rows.append(textRow({row.name, QString::number(r.count(row.state))}));
    for (const auto& [use, n] : coverage(r).notSearched)
        counts.rows.append(
            textRow({QStringLiteral("不检测：") + analysis::pieceUseName(use), QString::number(n)}));
    counts.rows.append(textRow({QStringLiteral("共计"), QString::number(r.size())}));
    doc.append(std::move(counts));

    addHeading(doc, QStringLiteral("图例"));
    printed::Block legend =
        table({1, 1, 4}, {QStringLiteral("颜色"), QStringLiteral("名称"), QStringLiteral("含义")});
    for (const BandStyle& b : bandTable())
        legend.rows.append(textRow({QString(), b.name, b.meaning}, b.colour));
    doc.append(std::move(legend));
}

void addPrintedText(printed::Document& doc, const CheckReportData& d)
{
    addHeading(doc, QStringLiteral("全文"));
    printed::Block paragraph;
    walkText(
        d,
        [&](qsizetype i, QStringView text, bool first) {
            const search::SentenceEntry& e = d.record.at(i);
            if (first) {
                QString number = QString::number(i + 1);
                if (e.similarity)
                    number += QStringLiteral("·") + e.similarityText() + u'%';
                paragraph.runs.append({number, std::nullopt, true, QString()});
            }
            paragraph.runs.append({isolated(text.toString()), bandColour(e), false, QString()});
        },
        [&] { doc.append(std::exchange(paragraph, printed::Block{})); });
    if (!paragraph.runs.isEmpty())
        doc.append(std::move(paragraph));
}

void addPrintedRanking(printed::Document& doc, const CheckReportData& d)
{
    addHeading(doc, QStringLiteral("相似度 %1% 及以上的句子").arg(kListedFigure));
    const std::vector<int> order = rankedSentences(d, kListedFigure);
    if (order.empty()) {
        addParagraph(doc, QStringLiteral("没有相似度达到 %1% 的句子。").arg(kListedFigure));
    } else {
        printed::Block t = table({2, 10, 3, 13, 3},
                                 {QStringLiteral("句号"), QStringLiteral("句子"), QStringLiteral("相似度"),
                                  QStringLiteral("检索结果"), QStringLiteral("检测时间")});
        t.rows.reserve(static_cast<qsizetype>(order.size()));
        for (const int i : order) {
            const search::SentenceEntry& e = d.record.at(i);
            printed::Row r = textRow(
                {QString::number(i + 1), isolated(d.sentences.at(i)), similarityLabel(e)}, bandColour(e));
            r.cells.append(titleCell(shownTitles(e)));
            r.cells.append(printed::plainCell(obtainedLabel(e)));
            t.rows.append(std::move(r));
        }
        doc.append(std::move(t));
    }
    // The rest, counted.
    const search::CheckRecord& r = d.record;
    const qsizetype below = rankedSentences(d, 0).size() - static_cast<qsizetype>(order.size());
    QStringList rest{QStringLiteral("相似度低于 %1% 的 %2 句").arg(kListedFigure).arg(below)};
    for (const StateRow& row : stateRows()) {
        if (!hasFigure(row.state) && r.count(row.state) > 0)
            rest.append(QStringLiteral("%1 %2 句").arg(row.name).arg(r.count(row.state)));
    }
    addParagraph(doc, QStringLiteral("其余句子（未在上表列出）：") + rest.join(QStringLiteral("；")) + u'。');
}

void addPrintedSites(printed::Document& doc, const CheckReportData& d)
{
    addHeading(doc, QStringLiteral("相似性网站"));
    if (d.sites.isEmpty()) {
        addParagraph(doc, QStringLiteral("还没有收集到检索结果。"));
        return;
    }
    const PrintedSites sites = printedSites(d.sites);
    if (sites.rows.isEmpty()) {
        addParagraph(doc, QStringLiteral("没有出现两次及以上的网站标题。"));
    } else {
        printed::Block t = table({6, 1}, {QStringLiteral("网站标题"), QStringLiteral("出现次数")});
        t.rows.reserve(sites.rows.size());
        for (const TitleCount& site : sites.rows)
            t.rows.append({{titleCell({siteTitle(site)}), printed::plainCell(QString::number(site.count))},
                           std::nullopt});
        doc.append(std::move(t));
    }
    QStringList rest;
    if (sites.moreRepeated > 0)
        rest.append(QStringLiteral("另有 %1 个出现两次及以上的标题未列出").arg(sites.moreRepeated));
    if (sites.seenOnce > 0)
        rest.append(QStringLiteral("%1 个标题只出现一次，未列出").arg(sites.seenOnce));
    if (!rest.isEmpty())
        addParagraph(doc, rest.join(QStringLiteral("；")) + QStringLiteral("（完整列表见网页格式的报告）。"));
}

} // namespace

void addPrintedLocalCheck(printed::Document& doc, const CheckReportData& d)
{
    if (!d.local)
        return;
    const sources::CheckResult& r = d.local->result;
    addHeading(doc, QStringLiteral("本地来源比对"));
    for (const QString& line : sources::figureLines(r))
        addParagraph(doc, line);
    printed::Block list = table({3, 5, 1, 1}, {QStringLiteral("来源"), QStringLiteral("路径"),
                                               QStringLiteral("字数"), QStringLiteral("占文章")});
    for (const sources::SourceFigure& f : r.sources)
        list.rows.append(textRow({d.local->titles.value(f.source), d.local->paths.value(f.source),
                                  QString::number(f.chars), sources::percentText(f.ratio)}));
    doc.append(list);
    printed::Block chapters =
        table({4, 1, 1, 1, 1}, {QStringLiteral("章节"), QStringLiteral("字数"), QStringLiteral("复制"),
                                QStringLiteral("引用"), QStringLiteral("复制比")});
    for (const sources::ChapterFigure& c : r.chapters)
        chapters.rows.append(
            textRow({c.title.isEmpty() ? QStringLiteral("（正文）") : c.title, QString::number(c.chars),
                     QString::number(c.copied), QString::number(c.cited), sources::percentText(c.ratio)}));
    doc.append(chapters);
}

printed::Document printedReport(const CheckReportData& data)
{
    printed::Document doc;
    addPrintedSummary(doc, data);
    addPrintedText(doc, data);
    addPrintedRanking(doc, data);
    addPrintedSites(doc, data);
    addPrintedLocalCheck(doc, data);
    addParagraph(doc, QStringLiteral("本报告由 ") + data.program + QStringLiteral(" 生成。"));
    return doc;
}

} // namespace report
