#include "report/CheckReport.h"


#include "report/Bands.h"
#include "report/TitleLink.h"

#include <QUrl>

#include <algorithm>
#include <numeric>
#include <utility>

namespace report {
namespace {

constexpr qsizetype kHeadingLength = 60;
constexpr int kTitlesPerSentence = 3;

const QString kStyle = QStringLiteral(
    "body{font-family:\"Noto Serif CJK SC\",\"Noto Sans CJK SC\",SimSun,serif;margin:2em;color:#000;"
    "line-height:1.6}"
    "h1{font-size:1.6em;margin-bottom:.2em}h2{font-size:1.25em;margin-top:1.6em;border-bottom:1px solid #999}"
    "table{border-collapse:collapse;margin:.5em 0}td,th{border:1px solid #aaa;padding:.2em .5em;"
    "vertical-align:top;text-align:left}"
    ".meta{color:#333}.running{color:#b00000;font-weight:bold}.overall{font-size:1.3em;font-weight:bold}"
    ".text span.s{padding:0 .1em}.text sup{font-size:.7em;color:#333;margin-right:.15em}"
    ".swatch{display:inline-block;width:2.5em;height:1em;border:1px solid #888}"
    "td.num{text-align:right;white-space:nowrap}th{white-space:nowrap}a{color:#00c;overflow-wrap:anywhere}"
    ".ranking{width:100%;table-layout:fixed}.ranking th:nth-child(1){width:3em}.ranking "
    "th:nth-child(3){width:4.5em}"
    ".ranking th:nth-child(4){width:32%}.ranking th:nth-child(5){width:6.5em}"
    "tr{page-break-inside:avoid}");

void appendEscaped(QString& out, QStringView s)
{
    for (const QChar c : s) {
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

void appendTitleLink(QString& out, const search::Title& t)
{
    // Plain data only: nothing of a page's markup reaches the report.
    const TitleLink fromBlock = titleLink(t.html);
    QString text = titleLink(t.text).text;
    if (text.isEmpty())
        text = fromBlock.text;
    const QString& link = fromBlock.link;
    if (link.isEmpty()) {
        appendEscaped(out, text);
        return;
    }
    out += QLatin1String("<a href=\"");
    appendEscaped(out, link);
    out += QLatin1String("\">");
    appendEscaped(out, text.isEmpty() ? link : text);
    out += QLatin1String("</a>");
}

// The attributes that let a script read a sentence row.
void appendSentenceAttributes(QString& out, int index, const search::SentenceEntry& e)
{
    out += QLatin1String(" data-sentence=\"") + QString::number(index + 1) +
           QLatin1String("\" data-state=\"") + search::stateName(e.state) +
           QLatin1String("\" data-similarity=\"") + e.similarityText() + u'"';
}

QString similarityLabel(const search::SentenceEntry& e)
{
    return e.similarity ? e.similarityText() + u'%' : QStringLiteral("—");
}

// When the sentence's result was obtained, and whether it was taken over from an earlier start.
void appendObtained(QString& out, const search::SentenceEntry& e)
{
    out += QLatin1String("<td class=\"obtained\">");
    if (e.obtained.isValid())
        out += e.obtained.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (e.reused)
        out += QStringLiteral("<br>（沿用）");
    out += QLatin1String("</td>");
}

void appendHead(QString& out, const CheckReportData& d)
{
    const QString heading = d.record.heading();
    out += QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                          "<title>论文相似度检测报告");
    if (!heading.isEmpty())
        out += QStringLiteral(" — ") + esc(heading);
    out += QStringLiteral("</title><style>") + kStyle + bandCss() + QStringLiteral("</style></head><body>\n");
    out += QStringLiteral("<h1>论文相似度检测报告</h1>\n<p class=\"meta\">");
    out += QStringLiteral("文章：") + (heading.isEmpty() ? QStringLiteral("（无标题）") : esc(heading));
    out += QStringLiteral("<br>生成时间：") + d.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QStringList services;
    for (const search::Engine e : d.services)
        services.append(serviceName(e));
    out += QStringLiteral("<br>检索服务：") + esc(services.join(QStringLiteral("、")));
    out += QStringLiteral("<br>检测程序：") + esc(d.program);
    if (const int reused = d.record.reusedCount(); reused > 0)
        out +=
            QStringLiteral("<br>沿用此前保存的检测结果：<span data-reused=\"%1\">%1 句</span>").arg(reused);
    out += QStringLiteral("</p>\n");
    if (d.running)
        out += QStringLiteral("<p class=\"running\">检测仍在进行中：本报告记录的是导出时的结果。</p>\n");
}

void appendSummary(QString& out, const CheckReportData& d)
{
    using search::SentenceState;
    const search::CheckRecord& r = d.record;
    out += QStringLiteral("<h2>总体结果</h2>\n<p class=\"overall\">");
    const QString overall = r.overallLine();
    out += overall.isEmpty() ? QStringLiteral("尚无总体相似度（还没有评分的结果页）") : esc(overall);
    out += QStringLiteral("</p>\n<table class=\"counts\"><tr><th>句子</th><th>句数</th></tr>");
    const std::pair<QString, SentenceState> rows[] = {
        {QStringLiteral("已评分"), SentenceState::Scored},
        {QStringLiteral("结果页过短（不足 500 字）"), SentenceState::ShortPage},
        {QStringLiteral("结果页未到"), SentenceState::NotArrived},
        {QStringLiteral("出现验证页"), SentenceState::Verification},
        {QStringLiteral("无可检索的文字"), SentenceState::Blank},
        {QStringLiteral("尚未检索"), SentenceState::NotSearched},
    };
    for (const auto& [name, state] : rows) {
        out += QStringLiteral("<tr><td>") + name + QStringLiteral("</td><td class=\"num\" data-count=\"") +
               search::stateName(state) + QStringLiteral("\">") + QString::number(r.count(state)) +
               QStringLiteral("</td></tr>");
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
    out += QStringLiteral("<h2>全文</h2>\n<p class=\"text\">");
    const qsizetype n = std::min(d.sentences.size(), d.record.size());
    for (qsizetype i = 0; i < n; ++i) {
        const search::SentenceEntry& e = d.record.at(i);
        out += QLatin1String("<span class=\"s ") + bandStyle(bandOf(e)).cssClass + u'"';
        appendSentenceAttributes(out, static_cast<int>(i), e);
        out += QLatin1String("><sup>") + QString::number(i + 1);
        if (e.similarity)
            out += QStringLiteral(" · ") + e.similarityText() + u'%';
        out += QLatin1String("</sup>");
        appendEscaped(out, d.sentences.at(i));
        out += QLatin1String("</span>\n");
    }
    out += QStringLiteral("</p>\n");
}

void appendRanking(QString& out, const CheckReportData& d)
{
    const qsizetype n = std::min(d.sentences.size(), d.record.size());
    std::vector<int> order;
    order.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (d.record.at(i).similarity)
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return *d.record.at(a).similarity > *d.record.at(b).similarity; });
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
        out += QLatin1String("><td class=\"num\">") + QString::number(i + 1) + QLatin1String("</td><td>");
        appendEscaped(out, d.sentences.at(i));
        out += QLatin1String("</td><td class=\"num\">") + similarityLabel(e) + QLatin1String("</td><td>");
        int shown = 0;
        for (const search::Title& t : e.titles) {
            if (shown == kTitlesPerSentence)
                break;
            if (t.text.isEmpty() && t.html.isEmpty())
                continue;
            if (shown++ > 0)
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
    for (const Row& row : d.sites) {
        out += QLatin1String("<tr><td>");
        appendTitleLink(out, {row.html, QString()});
        out += QLatin1String("</td><td class=\"num\">") + QString::number(row.count) +
               QLatin1String("</td></tr>\n");
    }
    out += QStringLiteral("</table>\n");
}

void appendUnchecked(QString& out, const CheckReportData& d)
{
    using search::SentenceState;
    out += QStringLiteral("<h2>未能检测的句子</h2>\n");
    const std::pair<QString, SentenceState> kinds[] = {
        {QStringLiteral("结果页未到"), SentenceState::NotArrived},
        {QStringLiteral("出现验证页"), SentenceState::Verification},
    };
    bool any = false;
    for (const auto& [name, state] : kinds) {
        QStringList numbers;
        for (qsizetype i = 0; i < d.record.size(); ++i) {
            if (d.record.at(i).state == state)
                numbers.append(QString::number(i + 1));
        }
        if (numbers.isEmpty())
            continue;
        any = true;
        out += QStringLiteral("<p class=\"unchecked\" data-state=\"") + search::stateName(state) +
               QStringLiteral("\">") + name + QStringLiteral("（") + QString::number(numbers.size()) +
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
    for (const analysis::PieceUse use : {analysis::PieceUse::TooShort, analysis::PieceUse::Reference}) {
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

} // namespace

QString articleHeading(const QString& editorText)
{
    for (QStringView line : QStringView(editorText).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        qsizetype n = std::min(line.size(), kHeadingLength);
        if (n < line.size() && line.at(n - 1).isHighSurrogate())
            --n;
        return line.left(n).toString();
    }
    return QString();
}

QString serviceName(search::Engine engine)
{
    switch (engine) {
    case search::Engine::Baidu:
        return QStringLiteral("百度引擎");
    case search::Engine::Wenku:
        return QStringLiteral("百度文库");
    case search::Engine::Longyuan:
        return QStringLiteral("龙源期刊");
    case search::Engine::Zhiwang:
        return QStringLiteral("中国知网");
    }
    return QString();
}

QString checkReportHtml(const CheckReportData& data)
{
    QString out;
    out.reserve(static_cast<qsizetype>(data.sentences.size()) * 700 + data.sites.size() * 200 + 8192);
    appendHead(out, data);
    appendSummary(out, data);
    appendRunningText(out, data);
    appendRanking(out, data);
    appendSites(out, data);
    appendUnchecked(out, data);
    appendNotSearched(out, data);
    out += QStringLiteral("<p class=\"meta\">本报告由 ") + esc(data.program) +
           QStringLiteral(" 生成。相似度按检索结果页中标出的文字计算，仅供参考。</p>\n</body></html>\n");
    return out;
}

} // namespace report
