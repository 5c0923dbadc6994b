#include "report/ReportText.h"

#include <algorithm>

namespace report {
namespace {

constexpr qsizetype kHeadingLength = 60;
constexpr int kTitlesPerSentence = 3;

} // namespace

using search::SentenceState;

const QString kReportTitle = QStringLiteral("论文相似度检测报告");
const QString kEstimateNotice = QStringLiteral(
    "本报告中的相似度是根据公开搜索服务的检索结果估算的，不是学校、期刊等机构的查重检测，结果仅供参考。");
const QString kRunningNotice = QStringLiteral("检测仍在进行中：本报告记录的是导出时的结果。");
const QString kReusedLine = QStringLiteral("沿用此前保存的检测结果：%1");

const QList<StateRow>& stateRows()
{
    static const QList<StateRow> rows{
        {SentenceState::Scored, QStringLiteral("已评分"), false},
        {SentenceState::ShortPage, QStringLiteral("结果页过短（不足 %1 字）").arg(search::kMinPageSize),
         false},
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
    return r.overall() ? search::overallText(*r.overall())
                       : QStringLiteral("尚无总体相似度（还没有评分的结果页）");
}

QString similarityLabel(const search::SentenceEntry& e)
{
    return e.similarity ? e.similarityText() + u'%' : QStringLiteral("—");
}

const QList<analysis::PieceUse>& notSearchedUses()
{
    static const QList<analysis::PieceUse> uses{analysis::PieceUse::TooShort, analysis::PieceUse::Contents,
                                                analysis::PieceUse::Reference};
    return uses;
}

Coverage coverage(const search::CheckRecord& record)
{
    Coverage c;
    for (const search::SentenceEntry& e : record.entries()) {
        if (e.use != analysis::PieceUse::Searched)
            continue;
        ++c.total;
        if (hasFigure(e.state))
            ++c.checked;
        else if (e.state != SentenceState::Blank)
            c.finished = false;
    }
    for (const analysis::PieceUse use : notSearchedUses()) {
        if (const int n = record.notSearchedFor(use); n > 0)
            c.notSearched.append({use, n});
    }
    return c;
}

QString coverageText(const Coverage& c)
{
    QString text = QStringLiteral("已检测 %1/%2 句").arg(c.checked).arg(c.total);
    text += c.finished ? QStringLiteral("，检测完成") : QStringLiteral("，检测尚未完成");
    if (c.notSearched.isEmpty())
        return text;
    qsizetype all = 0;
    QStringList reasons;
    for (const auto& [use, n] : c.notSearched) {
        all += n;
        reasons.append(QStringLiteral("%1 %2 句").arg(analysis::pieceUseName(use)).arg(n));
    }
    return text + QStringLiteral("（另有 %1 句不检测：%2）").arg(all).arg(reasons.join(QStringLiteral("、")));
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

bool droppedFromReport(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7F && u <= 0x9F);
}

QString isolated(const QString& text)
{
    constexpr char16_t kFirstStrongIsolate = 0x2068;
    constexpr char16_t kPopIsolate = 0x2069;
    const bool hasDirection = std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x202A && c.unicode() <= 0x202E) ||
               (c.unicode() >= 0x2066 && c.unicode() <= 0x2069);
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

} // namespace report
