#include "report/HtmlReport.h"

#include "analysis/Analysis.h"
#include "report/Bands.h"
#include "report/ReportText.h"

#include <algorithm>
#include <utility>

namespace report {
namespace {

using search::SentenceState;

const QString kStyle = QStringLiteral(
    "body{font-family:\"Noto Serif CJK SC\",\"Noto Sans CJK SC\",SimSun,serif;max-width:46em;"
    "margin:2em auto;padding:0 1em;color:#000;line-height:1.6}"
    "h1{font-size:1.6em;margin-bottom:.2em}h2{font-size:1.25em;margin-top:1.6em;border-bottom:1px solid #999}"
    "table{border-collapse:collapse;margin:.5em 0}td,th{border:1px solid #aaa;padding:.2em .5em;"
    "vertical-align:top;text-align:left}"
    ".notice{border:1px solid #888;padding:.4em .6em;background:#f6f6f6}"
    ".meta{color:#333}.running{color:#b00000;font-weight:bold}.overall{font-size:1.3em;font-weight:bold}"
    ".coverage{font-size:.8em;font-weight:normal;margin-left:1em}"
    ".text p{text-indent:0}.text span.s{padding:0 .1em;unicode-bidi:isolate}"
    ".text sup{font-size:.7em;color:#333;margin-right:.15em}"
    ".swatch{display:inline-block;width:2.5em;height:1em;border:1px solid #888}"
    "td.num{text-align:right;white-space:nowrap}th{white-space:nowrap}"
    "a{color:#00c;overflow-wrap:anywhere;unicode-bidi:isolate}"
    ".ranking{width:100%;table-layout:fixed}.ranking th:nth-child(1){width:3em}.ranking "
    "th:nth-child(3){width:4.5em}"
    ".ranking th:nth-child(4){width:32%}.ranking th:nth-child(5){width:6.5em}"
    "tr{page-break-inside:avoid}");

void appendEscaped(QString& out, QStringView s)
{
    for (const QChar c : s) {
        if (droppedFromReport(c))
            continue;
        switch (c.unicode()) {
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
}

QString esc(QStringView s)
{
    QString out;
    appendEscaped(out, s);
    return out;
}

QString hexColour(unsigned rgb)
{
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

QString bandCss()
{
    QString css;
    for (const BandStyle& b : bandTable()) {
        if (b.colour)
            css += u'.' + b.cssClass + QStringLiteral("{background:") + hexColour(*b.colour) + u'}';
    }
    return css;
}

void appendTitleLink(QString& out, const TitleLink& t)
{
    if (t.link.isEmpty()) {
        out += QLatin1String("<bdi>");
        appendEscaped(out, t.text);
        out += QLatin1String("</bdi>");
        return;
    }
    out += QLatin1String("<a href=\"");
    appendEscaped(out, t.link);
    out += QLatin1String("\" dir=\"auto\">");
    appendEscaped(out, t.text.isEmpty() ? t.link : t.text);
    out += QLatin1String("</a>");
}

// The attributes that let a script read a sentence row.
void appendSentenceAttributes(QString& out, int index, const search::SentenceEntry& e)
{
    out += QLatin1String(" data-sentence=\"") + QString::number(index + 1) +
           QLatin1String("\" data-state=\"") + search::stateName(e.state) +
           QLatin1String("\" data-similarity=\"") + e.similarityText() + u'"';
}

// When the sentence's result was obtained, and whether it was taken over from an earlier start.
void appendObtained(QString& out, const search::SentenceEntry& e)
{
    out += QLatin1String("<td class=\"obtained\">");
    out += e.obtainedText();
    if (e.reused)
        out += QStringLiteral("<br>（沿用）");
    out += QLatin1String("</td>");
}

// The name a report gives a reason for not searching in its data-count attribute.
QString notSearchedName(analysis::PieceUse use)
{
    switch (use) {
    case analysis::PieceUse::TooShort:
        return QStringLiteral("too-short");
    case analysis::PieceUse::Contents:
        return QStringLiteral("contents");
    case analysis::PieceUse::Reference:
        return QStringLiteral("references");
    case analysis::PieceUse::Searched:
        break;
    }
    return QString();
}

void appendHead(QString& out, const CheckReportData& d)
{
    const QString heading = articleHeading(d.record.article());
    out += QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>") +
           kReportTitle;
    if (!heading.isEmpty())
        out += QStringLiteral(" — ") + esc(isolated(heading));
    out += QStringLiteral("</title><style>") + kStyle + bandCss() + QStringLiteral("</style></head><body>\n");
    out += QStringLiteral("<h1>") + kReportTitle + QStringLiteral("</h1>\n<p class=\"notice\">") +
           kEstimateNotice + QStringLiteral("</p>\n<p class=\"meta\">文章：");
    out += heading.isEmpty() ? QStringLiteral("（无标题）")
                             : QStringLiteral("<bdi>") + esc(heading) + QStringLiteral("</bdi>");
    out += QStringLiteral("<br>生成时间：") + d.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    out += QStringLiteral("<br>检索服务：") + esc(serviceNames(d).join(QStringLiteral("、")));
    out += QStringLiteral("<br>检测程序：") + esc(d.program);
    if (const int reused = d.record.reusedCount(); reused > 0)
        out += QStringLiteral("<br>") +
               kReusedLine.arg(QStringLiteral("<span data-reused=\"%1\">%1 句</span>").arg(reused));
    out += QStringLiteral("</p>\n");
    if (d.running)
        out += QStringLiteral("<p class=\"running\">") + kRunningNotice + QStringLiteral("</p>\n");
}

void appendSummary(QString& out, const CheckReportData& d)
{
    const search::CheckRecord& r = d.record;
    out += QStringLiteral("<h2>总体结果</h2>\n<p class=\"overall\">") + esc(overallText(r)) +
           QStringLiteral("<span class=\"coverage\">") + coverageText(coverage(r)) +
           QStringLiteral("</span></p>\n");
    out += QStringLiteral("<table class=\"counts\"><tr><th>句子</th><th>句数</th></tr>");
    for (const StateRow& row : stateRows()) {
        out += QStringLiteral("<tr><td>") + row.name +
               QStringLiteral("</td><td class=\"num\" data-count=\"") + search::stateName(row.state) +
               QStringLiteral("\">") + QString::number(r.count(row.state)) + QStringLiteral("</td></tr>");
    }
    for (const auto& [use, n] : coverage(r).notSearched) {
        out += QStringLiteral("<tr><td>不检测：") + analysis::pieceUseName(use) +
               QStringLiteral("</td><td class=\"num\" data-count=\"") + notSearchedName(use) +
               QStringLiteral("\">") + QString::number(n) + QStringLiteral("</td></tr>");
    }
    out += QStringLiteral("<tr><th>共计</th><th class=\"num\">") + QString::number(r.size()) +
           QStringLiteral("</th></tr></table>\n");

    out += QStringLiteral("<h2>图例</h2>\n<table class=\"legend\">");
    for (const BandStyle& b : bandTable()) {
        out += QStringLiteral("<tr><td><span class=\"swatch ") + b.cssClass +
               QStringLiteral("\"></span></td><td>") + b.name + QStringLiteral("</td><td>") + esc(b.meaning) +
               QStringLiteral("</td></tr>");
    }
    out += QStringLiteral("</table>\n");
}

void appendRunningText(QString& out, const CheckReportData& d)
{
    out += QStringLiteral("<h2>全文</h2>\n<div class=\"text\"><p>");
    walkText(
        d,
        [&](qsizetype i, QStringView text, bool first) {
            const search::SentenceEntry& e = d.record.at(i);
            out += QLatin1String("<span class=\"s ") + bandStyle(bandOf(e)).cssClass + u'"';
            if (first) {
                appendSentenceAttributes(out, static_cast<int>(i), e);
                out += QLatin1String("><sup>") + QString::number(i + 1);
                if (e.similarity)
                    out += QStringLiteral(" · ") + e.similarityText() + u'%';
                out += QLatin1String("</sup>");
            } else {
                out += u'>';
            }
            out += QLatin1String("<bdi>");
            appendEscaped(out, text);
            out += QLatin1String("</bdi></span>\n");
        },
        [&] { out += QLatin1String("</p>\n<p>"); });
    out += QStringLiteral("</p></div>\n");
}

void appendRanking(QString& out, const CheckReportData& d)
{
    const std::vector<int> order = rankedSentences(d, 0);
    out += QStringLiteral("<h2>按相似度排列的句子</h2>\n");
    if (order.empty()) {
        out += QStringLiteral("<p>还没有得出相似度的句子。</p>\n");
        return;
    }
    out += QStringLiteral("<table class=\"ranking\"><tr><th>句号</th><th>句子</th><th>相似度</th>"
                          "<th>检索结果</th><th>检测时间</th></tr>\n");
    for (const int i : order) {
        const search::SentenceEntry& e = d.record.at(i);
        out += QLatin1String("<tr class=\"") + bandStyle(bandOf(e)).cssClass + u'"';
        appendSentenceAttributes(out, i, e);
        out +=
            QLatin1String("><td class=\"num\">") + QString::number(i + 1) + QLatin1String("</td><td><bdi>");
        appendEscaped(out, d.sentences.at(i));
        out +=
            QLatin1String("</bdi></td><td class=\"num\">") + similarityLabel(e) + QLatin1String("</td><td>");
        bool firstTitle = true;
        for (const TitleLink& t : shownTitles(e)) {
            if (!std::exchange(firstTitle, false))
                out += QLatin1String("<br>");
            appendTitleLink(out, t);
        }
        out += QLatin1String("</td>");
        appendObtained(out, e);
        out += QLatin1String("</tr>\n");
    }
    out += QStringLiteral("</table>\n");
}

void appendSites(QString& out, const CheckReportData& d)
{
    out += QStringLiteral("<h2>相似性网站</h2>\n");
    if (d.sites.isEmpty()) {
        out += QStringLiteral("<p>还没有收集到检索结果。</p>\n");
        return;
    }
    out += QStringLiteral("<table class=\"sites\"><tr><th>网站标题</th><th>出现次数</th></tr>\n");
    for (const TitleCount& row : d.sites) {
        out += QLatin1String("<tr><td>");
        appendTitleLink(out, siteTitle(row));
        out += QLatin1String("</td><td class=\"num\">") + QString::number(row.count) +
               QLatin1String("</td></tr>\n");
    }
    out += QStringLiteral("</table>\n");
}

QStringList numbersIn(const search::CheckRecord& r, SentenceState state)
{
    QStringList numbers;
    for (qsizetype i = 0; i < r.size(); ++i) {
        if (r.at(i).state == state)
            numbers.append(QString::number(i + 1));
    }
    return numbers;
}

void appendUnchecked(QString& out, const CheckReportData& d)
{
    out += QStringLiteral("<h2>未能检测的句子</h2>\n");
    bool any = false;
    for (const StateRow& row : stateRows()) {
        if (!row.listed)
            continue;
        const QStringList numbers = numbersIn(d.record, row.state);
        if (numbers.isEmpty())
            continue;
        any = true;
        out += QStringLiteral("<p class=\"unchecked\" data-state=\"") + search::stateName(row.state) +
               QStringLiteral("\">") + row.name + QStringLiteral("（") + QString::number(numbers.size()) +
               QStringLiteral(" 句）：第 ") + numbers.join(QStringLiteral("、")) +
               QStringLiteral(" 句</p>\n");
    }
    if (!any)
        out += QStringLiteral("<p>没有。</p>\n");
}

// The pieces that the cutting by sentence lists but never searches, by reason.
void appendNotSearched(QString& out, const CheckReportData& d)
{
    bool headed = false;
    for (const analysis::PieceUse use : notSearchedUses()) {
        QStringList numbers;
        for (qsizetype i = 0; i < d.record.size(); ++i) {
            if (d.record.at(i).use == use)
                numbers.append(QString::number(i + 1));
        }
        if (numbers.isEmpty())
            continue;
        if (!std::exchange(headed, true))
            out += QStringLiteral("<h2>不检测的句子</h2>\n");
        out += QStringLiteral("<p class=\"not-searched\">") + analysis::pieceUseName(use) +
               QStringLiteral("（") + QString::number(numbers.size()) + QStringLiteral(" 句）：第 ") +
               numbers.join(QStringLiteral("、")) + QStringLiteral(" 句</p>\n");
    }
}

void appendLocalCheck(QString& out, const CheckReportData& d)
{
    if (!d.local)
        return;
    const sources::CheckResult& r = d.local->result;
    out += QStringLiteral("<h2>本地来源比对</h2>\n");
    for (const QString& line : sources::figureLines(r))
        out += QStringLiteral("<p>") + esc(line) + QStringLiteral("</p>\n");
    out += QStringLiteral(
        "<table class=\"local-sources\"><tr><th>来源</th><th>路径</th><th>字数</th><th>占文章</th></tr>\n");
    for (const sources::SourceFigure& f : r.sources)
        out += QStringLiteral("<tr><td>") + esc(d.local->titles.value(f.source)) +
               QStringLiteral("</td><td>") + esc(d.local->paths.value(f.source)) +
               QStringLiteral("</td><td>") + QString::number(f.chars) + QStringLiteral("</td><td>") +
               sources::percentText(f.ratio) + QStringLiteral("</td></tr>\n");
    out +=
        QStringLiteral("</table>\n<table class=\"local-chapters\"><tr><th>章节</th><th>字数</th><th>复制</th>"
                       "<th>引用</th><th>复制比</th></tr>\n");
    for (const sources::ChapterFigure& c : r.chapters)
        out += QStringLiteral("<tr><td>") + esc(c.title.isEmpty() ? QStringLiteral("（正文）") : c.title) +
               QStringLiteral("</td><td>") + QString::number(c.chars) + QStringLiteral("</td><td>") +
               QString::number(c.copied) + QStringLiteral("</td><td>") + QString::number(c.cited) +
               QStringLiteral("</td><td>") + sources::percentText(c.ratio) + QStringLiteral("</td></tr>\n");
    out += QStringLiteral("</table>\n");
}

} // namespace

QString checkReportHtml(const CheckReportData& data)
{
    QString out;
    out.reserve(sentenceCount(data) * 700 + data.sites.size() * 200 + 8192);
    appendHead(out, data);
    appendSummary(out, data);
    appendRunningText(out, data);
    appendRanking(out, data);
    appendSites(out, data);
    appendUnchecked(out, data);
    appendNotSearched(out, data);
    appendLocalCheck(out, data);
    out += QStringLiteral("<p class=\"meta\">本报告由 ") + esc(data.program) +
           QStringLiteral(" 生成。</p>\n</body></html>\n");
    return out;
}

} // namespace report
