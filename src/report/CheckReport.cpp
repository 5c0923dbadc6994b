#include "report/CheckReport.h"

#include "analysis/Analysis.h"
#include "report/Bands.h"
#include "report/TitleLink.h"

#include <algorithm>
#include <utility>

namespace report {
namespace {

using search::SentenceState;

constexpr qsizetype kHeadingLength = 60;
constexpr int kTitlesPerSentence = 3;

const QString kReportTitle = QStringLiteral("论文相似度检测报告");
const QString kEstimateNotice = QStringLiteral(
    "本报告中的相似度是根据公开搜索服务的检索结果估算的，不是学校、期刊等机构的查重检测，结果仅供参考。");
const QString kRunningNotice = QStringLiteral("检测仍在进行中：本报告记录的是导出时的结果。");
const QString kReusedLine = QStringLiteral("沿用此前保存的检测结果：%1");

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

// The record's states in the order the report counts them, each with its name there. A state that
// could not be checked is also listed by its sentence numbers.
struct StateRow
{
    SentenceState state;
    QString name;
    bool listed;
};

const QList<StateRow>& stateRows()
{
    static const QList<StateRow> rows{
        {SentenceState::Scored, QStringLiteral("已评分"), false},
        {SentenceState::ShortPage, QStringLiteral("结果页过短（不足 %1 字）").arg(search::kMinPageSize), false},
        {SentenceState::Searching, QStringLiteral("正在检索"), true},
        {SentenceState::NotArrived, QStringLiteral("结果页未到"), true},
        {SentenceState::Verification, QStringLiteral("出现验证页"), true},
        {SentenceState::Blank, QStringLiteral("无可检索的文字"), false},
        {SentenceState::NotSearched, QStringLiteral("尚未检索"), false},
    };
    return rows;
}

bool hasFigure(SentenceState state)
{
    return state == SentenceState::Scored || state == SentenceState::ShortPage;
}

// Control characters mean nothing in a report and some (NUL) break the HTML: all but tab and line
// feed go, wherever the text comes from.
bool droppedFromReport(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7F && u <= 0x9F);
}

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

qsizetype sentenceCount(const CheckReportData& d)
{
    return std::min(d.sentences.size(), d.record.size());
}

// The result titles a sentence shows: the first kTitlesPerSentence with text or markup, as plain data.
QList<TitleLink> shownTitles(const search::SentenceEntry& e)
{
    QList<TitleLink> out;
    for (const search::Title& t : e.titles) {
        if (out.size() == kTitlesPerSentence)
            break;
        if (t.text.isEmpty() && t.html.isEmpty())
            continue;
        out.append(titleOf(t));
    }
    return out;
}

TitleLink siteTitle(const TitleCount& row)
{
    TitleLink t = titleLink(row.html);
    t.text = shownTitle(t.text);
    return t;
}

// Sentences with a figure of at least minFigure, the highest first (equal figures in text order).
std::vector<int> rankedSentences(const CheckReportData& d, double minFigure)
{
    std::vector<int> order;
    for (int i = 0; i < sentenceCount(d); ++i) {
        const std::optional<double>& f = d.record.at(i).similarity;
        if (f && *f >= minFigure)
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return *d.record.at(a).similarity > *d.record.at(b).similarity; });
    return order;
}

QStringList serviceNames(const CheckReportData& d)
{
    QStringList names;
    for (const search::Engine e : d.services)
        names.append(search::engineName(e));
    return names;
}

QString overallText(const search::CheckRecord& r)
{
    return r.overall() ? search::overallText(*r.overall()) : QStringLiteral("尚无总体相似度（还没有评分的结果页）");
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

QString similarityLabel(const search::SentenceEntry& e)
{
    return e.similarity ? e.similarityText() + u'%' : QStringLiteral("—");
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
    out += heading.isEmpty() ? QStringLiteral("（无标题）") : QStringLiteral("<bdi>") + esc(heading) + QStringLiteral("</bdi>");
    out += QStringLiteral("<br>生成时间：") + d.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    out += QStringLiteral("<br>检索服务：") + esc(serviceNames(d).join(QStringLiteral("、")));
    out += QStringLiteral("<br>检测程序：") + esc(d.program);
    if (const int reused = d.record.reusedCount(); reused > 0)
        out += QStringLiteral("<br>") + kReusedLine.arg(QStringLiteral("<span data-reused=\"%1\">%1 句</span>").arg(reused));
    out += QStringLiteral("</p>\n");
    if (d.running)
        out += QStringLiteral("<p class=\"running\">") + kRunningNotice + QStringLiteral("</p>\n");
}

void appendSummary(QString& out, const CheckReportData& d)
{
    const search::CheckRecord& r = d.record;
    out += QStringLiteral("<h2>总体结果</h2>\n<p class=\"overall\">") + esc(overallText(r)) +
           QStringLiteral("<span class=\"coverage\">") + coverageText(coverage(r)) + QStringLiteral("</span></p>\n");
    out += QStringLiteral("<table class=\"counts\"><tr><th>句子</th><th>句数</th></tr>");
    for (const StateRow& row : stateRows()) {
        out += QStringLiteral("<tr><td>") + row.name + QStringLiteral("</td><td class=\"num\" data-count=\"") +
               search::stateName(row.state) + QStringLiteral("\">") + QString::number(r.count(row.state)) +
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

// Walks the sentences joined, cutting each at the article's paragraph ends: piece(i, text, first)
// for each part of sentence i (first: the part that starts it), paragraphEnd() between paragraphs.
template<typename Piece, typename ParagraphEnd>
void walkText(const CheckReportData& d, Piece piece, ParagraphEnd paragraphEnd)
{
    const qsizetype n = sentenceCount(d);
    const QList<qsizetype>& ends = d.paragraphEnds;
    qsizetype at = 0;
    qsizetype next = 0; // the first paragraph end not yet passed
    for (qsizetype i = 0; i < n; ++i) {
        const QString& s = d.sentences.at(i);
        const qsizetype end = at + s.size();
        qsizetype from = at;
        bool first = true;
        while (next < ends.size() && ends[next] <= at)
            ++next;
        while (next < ends.size() && ends[next] < end) {
            piece(i, QStringView(s).mid(from - at, ends[next] - from), first);
            first = false;
            paragraphEnd();
            from = ends[next++];
        }
        piece(i, QStringView(s).mid(from - at), first);
        if (next < ends.size() && ends[next] == end && i + 1 < n) {
            paragraphEnd();
            ++next;
        }
        at = end;
    }
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
               QStringLiteral(" 句）：第 ") + numbers.join(QStringLiteral("、")) + QStringLiteral(" 句</p>\n");
    }
    if (!any)
        out += QStringLiteral("<p>没有。</p>\n");
}

// The printed form.

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

void addPrintedSummary(printed::Document& doc, const CheckReportData& d)
{
    const search::CheckRecord& r = d.record;
    doc.append(printed::textBlock(printed::Block::Kind::Title, kReportTitle));
    doc.append(printed::textBlock(printed::Block::Kind::Notice, kEstimateNotice));
    const QString heading = articleHeading(r.article());
    const int reused = r.reusedCount();
    addParagraph(doc, QStringLiteral("文章：") + (heading.isEmpty() ? QStringLiteral("（无标题）") : isolated(heading)) +
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
    counts.rows.append(textRow({QStringLiteral("共计"), QString::number(r.size())}));
    doc.append(std::move(counts));

    addHeading(doc, QStringLiteral("图例"));
    printed::Block legend = table({1, 1, 4}, {QStringLiteral("颜色"), QStringLiteral("名称"), QStringLiteral("含义")});
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
        printed::Block t = table({2, 10, 3, 16}, {QStringLiteral("句号"), QStringLiteral("句子"),
                                                  QStringLiteral("相似度"), QStringLiteral("检索结果")});
        t.rows.reserve(static_cast<qsizetype>(order.size()));
        for (const int i : order) {
            const search::SentenceEntry& e = d.record.at(i);
            printed::Row r = textRow({QString::number(i + 1), isolated(d.sentences.at(i)), similarityLabel(e)},
                                 bandColour(e));
            r.cells.append(titleCell(shownTitles(e)));
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
    printed::Block t = table({6, 1}, {QStringLiteral("网站标题"), QStringLiteral("出现次数")});
    t.rows.reserve(d.sites.size());
    for (const TitleCount& site : d.sites)
        t.rows.append({{titleCell({siteTitle(site)}), printed::plainCell(QString::number(site.count))}, std::nullopt});
    doc.append(std::move(t));
}

} // namespace

Coverage coverage(const search::CheckRecord& record)
{
    Coverage c;
    c.total = record.size();
    for (const search::SentenceEntry& e : record.entries()) {
        if (hasFigure(e.state))
            ++c.checked;
        else if (e.state != SentenceState::Blank)
            c.finished = false;
    }
    return c;
}

QString coverageText(const Coverage& c)
{
    QString text = QStringLiteral("已检测 %1/%2 句").arg(c.checked).arg(c.total);
    if (!c.finished)
        text += QStringLiteral("，检测尚未完成");
    return text;
}

QList<qsizetype> paragraphEnds(const QString& editorText, const QString& articleText, const QStringList& sentences)
{
    // Each line normalised alone gives what it adds to the article; a line that adds nothing is blank.
    QList<qsizetype> articleEnds;
    qsizetype articleAt = 0;
    const QStringList lines = editorText.split(QStringLiteral("\r\n"));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString part = analysis::normalise(k + 1 < lines.size() ? lines[k] + QStringLiteral("\r\n") : lines[k]);
        if (part.isEmpty())
            continue;
        if (QStringView(articleText).mid(articleAt, part.size()) != part)
            return {};
        articleAt += part.size();
        articleEnds.append(articleAt);
    }
    if (articleAt != articleText.size())
        return {};
    // The sentences are slices of the article, except where a piece marker was cut out between them.
    QList<qsizetype> ends;
    qsizetype joined = 0;
    qsizetype at = 0;
    qsizetype next = 0;
    for (const QString& s : sentences) {
        qsizetype start = at;
        if (QStringView(articleText).mid(at, s.size()) != s) {
            start = articleText.indexOf(s, at);
            if (start < 0)
                break;
        }
        while (next < articleEnds.size() && articleEnds[next] <= start) {
            if (articleEnds[next] > at || (articleEnds[next] == at && at > 0))
                ends.append(joined);
            ++next;
        }
        while (next < articleEnds.size() && articleEnds[next] <= start + s.size())
            ends.append(joined + articleEnds[next++] - start);
        at = start + s.size();
        joined += s.size();
    }
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    return ends;
}

TitleLink titleOf(const search::Title& title)
{
    TitleLink shown = titleLink(title.html);
    const QString text = titleLink(title.text).text;
    if (!text.isEmpty())
        shown.text = text;
    if (shown.text.isEmpty())
        shown.text = shown.link;
    shown.text = shownTitle(shown.text);
    return shown;
}

QString shownTitle(const QString& title)
{
    if (title.size() <= kShownTitleLength)
        return title;
    qsizetype n = kShownTitleLength - 1;
    if (title.at(n - 1).isHighSurrogate())
        --n;
    return title.left(n) + u'…';
}

QString isolated(const QString& text)
{
    constexpr char16_t kFirstStrongIsolate = 0x2068;
    constexpr char16_t kPopIsolate = 0x2069;
    const bool hasDirection = std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x202A && c.unicode() <= 0x202E) || (c.unicode() >= 0x2066 && c.unicode() <= 0x2069);
    });
    if (!hasDirection && std::none_of(text.begin(), text.end(), droppedFromReport))
        return text;
    QString out;
    out.reserve(text.size() + 2);
    if (hasDirection)
        out += QChar(kFirstStrongIsolate);
    int open = 0;
    for (const QChar c : text) {
        if (droppedFromReport(c))
            continue;
        if (c.unicode() >= 0x2066 && c.unicode() <= 0x2068)
            ++open;
        else if (c.unicode() == kPopIsolate && open-- == 0) {
            open = 0;
            continue; // a pop without its isolate would end ours
        }
        out += c;
    }
    if (hasDirection)
        out += QString(open + 1, QChar(kPopIsolate));
    return out;
}

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
    out += QStringLiteral("<p class=\"meta\">本报告由 ") + esc(data.program) + QStringLiteral(" 生成。</p>\n</body></html>\n");
    return out;
}

printed::Document printedReport(const CheckReportData& data)
{
    printed::Document doc;
    addPrintedSummary(doc, data);
    addPrintedText(doc, data);
    addPrintedRanking(doc, data);
    addPrintedSites(doc, data);
    addParagraph(doc, QStringLiteral("本报告由 ") + data.program + QStringLiteral(" 生成。"));
    return doc;
}

} // namespace report
