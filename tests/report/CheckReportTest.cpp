// The report of a check, made from a scripted record: bands, escaping, links and the data a script
// reads from it.
#include "analysis/Analysis.h"
#include "report/ArticleParagraphs.h"
#include "report/Bands.h"
#include "report/HtmlReport.h"
#include "report/PrintedReport.h"
#include "report/ReportFile.h"
#include "report/ReportText.h"
#include "search/CheckRun.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using report::Band;
using search::SentenceState;

struct BandRow
{
    const char* name;
    SentenceState state;
    std::optional<double> similarity;
    Band band;
};

using Bands = ::testing::TestWithParam<BandRow>;

TEST_P(Bands, FollowTheOneTable)
{
    EXPECT_EQ(report::bandOf(GetParam().state, GetParam().similarity), GetParam().band);
}

INSTANTIATE_TEST_SUITE_P(
    Report, Bands,
    ::testing::Values(BandRow{"Zero", SentenceState::Scored, 0.0, Band::NoneFound},
                      BandRow{"JustAboveZero", SentenceState::Scored, 0.01, Band::Low},
                      BandRow{"BelowTwenty", SentenceState::Scored, 19.99, Band::Low},
                      BandRow{"Twenty", SentenceState::Scored, 20.0, Band::Medium},
                      BandRow{"BelowFifty", SentenceState::Scored, 49.99, Band::Medium},
                      BandRow{"Fifty", SentenceState::Scored, 50.0, Band::High},
                      BandRow{"Hundred", SentenceState::Scored, 100.0, Band::High},
                      BandRow{"ShortPage", SentenceState::ShortPage, 0.0, Band::NoneFound},
                      BandRow{"ScoredWithoutFigure", SentenceState::Scored, std::nullopt, Band::NoSimilarity},
                      BandRow{"NotArrived", SentenceState::NotArrived, std::nullopt, Band::Unchecked},
                      BandRow{"Verification", SentenceState::Verification, std::nullopt, Band::Unchecked},
                      BandRow{"NotSearched", SentenceState::NotSearched, std::nullopt, Band::NoSimilarity},
                      BandRow{"Blank", SentenceState::Blank, std::nullopt, Band::NoSimilarity}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportBands, EveryBandHasOneStyleAndOnlyUncolouredHasNoColour)
{
    QSet<QString> classes;
    for (const report::BandStyle& s : report::bandTable()) {
        classes.insert(s.cssClass);
        EXPECT_EQ(&report::bandStyle(s.band), &s);
        EXPECT_EQ(s.colour.has_value(), s.band != Band::NoSimilarity) << s.name.toStdString();
    }
    EXPECT_EQ(classes.size(), 6);
}

search::PageScore page(double p, const QList<search::Title>& titles = {})
{
    search::PageScore s;
    s.sentenceFigure = p;
    s.caption = QStringLiteral("本句相似度：%1%\r\n\r\n目前总体相似度：27.8%").arg(p);
    s.overall = 27.8;
    s.titles = titles;
    return s;
}

search::Title title(const QString& href, const QString& text)
{
    return {QStringLiteral("<a href=\"") + href + QStringLiteral("\" data-click=\"{}\">") + text +
                QStringLiteral("</a>"),
            text};
}

// Sentences 1-5 scored at the band edges, then one of each other state.
report::CheckReportData scriptedCheck()
{
    report::CheckReportData d;
    d.sentences = {
        QStringLiteral("第一句零"),     QStringLiteral("甲<乙&丙\"丁"), QStringLiteral("第三句二十"),
        QStringLiteral("第四句"),       QStringLiteral("第五句五十"),   QStringLiteral("未到的句子"),
        QStringLiteral("验证页的句子"), QStringLiteral("（）"),         QStringLiteral("没搜过的句子")};
    search::CheckRecord& r = d.record;
    r.reset(d.sentences.size(), QStringLiteral("论文<题目>"));
    const double figures[] = {0, 19.99, 20, 49.99, 50};
    for (int i = 0; i < 5; ++i) {
        r.markSearched(i, search::Engine::Baidu);
        r.pageScored(i, page(figures[i], {title(QStringLiteral("http://s%1.example/").arg(i),
                                                QStringLiteral("来源%1").arg(i))}));
    }
    // Hostile titles on the highest sentence.
    r.markSearched(4, search::Engine::Wenku);
    r.pageScored(
        4,
        page(50,
             {title(QStringLiteral("javascript:alert(1)"), QStringLiteral("<script>alert('x')</script>脚本")),
              title(QStringLiteral(" JaVaScRiPt:alert(2)"), QStringLiteral("<img src=x onerror=alert(3)>图")),
              title(QStringLiteral("https://ok.example/a?b=1&amp;c=&quot;2"), QStringLiteral("好&amp;坏")),
              title(QStringLiteral("http://fourth.example/"), QStringLiteral("第四个"))}));
    r.markSearched(5, search::Engine::Wenku);
    r.markNotArrived(5);
    r.markSearched(6, search::Engine::Wenku);
    r.markVerification(6);
    r.markBlank(7);
    d.sites = report::siteRows(
        {QStringLiteral("来源0"), QStringLiteral("来源1"), QStringLiteral("来源0"), QString()},
        {title(QStringLiteral("http://s0.example/"), QStringLiteral("来源0")).html,
         QStringLiteral("<a href=\"data:text/html,<b>x</b>\">来源1</a>"),
         title(QStringLiteral("http://s0.example/"), QStringLiteral("来源0")).html, QString()});
    d.services = r.engines();
    d.madeAt = QDateTime(QDate(2024, 5, 6), QTime(14, 3, 9));
    d.program = QStringLiteral("Tessaro V2016.7.27");
    return d;
}

struct SentenceAttributes
{
    QString bandClass;
    int number;
    QString state;
    QString similarity;
};

// The rows a script reads: in the running text (span) or in the ranking (tr).
QList<SentenceAttributes> sentenceRows(const QString& html, const QString& element)
{
    static const QString pattern = QStringLiteral(
        R"x(<%1 class="(?:s )?([a-z-]+)" data-sentence="(\d+)" data-state="([a-z-]+)" data-similarity="([^"]*)">)x");
    QList<SentenceAttributes> rows;
    const QRegularExpression re(pattern.arg(element));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        rows.append({m.captured(1), m.captured(2).toInt(), m.captured(3), m.captured(4)});
    }
    return rows;
}

TEST(CheckReport, EverySentenceCarriesItsNumberStateAndFigure)
{
    const QString html = report::checkReportHtml(scriptedCheck());
    const QList<SentenceAttributes> text = sentenceRows(html, QStringLiteral("span"));
    ASSERT_EQ(text.size(), 9);
    const QStringList states{"scored",      "scored",       "scored", "scored",      "scored",
                             "not-arrived", "verification", "blank",  "not-searched"};
    const QStringList figures{"0", "19.99", "20", "49.99", "50", "", "", "", ""};
    const QStringList bands{"b-none",      "b-low",       "b-medium",       "b-medium",      "b-high",
                            "b-unchecked", "b-unchecked", "b-nosimilarity", "b-nosimilarity"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(text[i].number, i + 1);
        EXPECT_EQ(text[i].state, states[i]) << i;
        EXPECT_EQ(text[i].similarity, figures[i]) << i;
        EXPECT_EQ(text[i].bandClass, bands[i]) << i;
    }
    // The ranking: scored sentences only, the highest first.
    const QList<SentenceAttributes> ranking = sentenceRows(html, QStringLiteral("tr"));
    QList<int> order;
    for (const SentenceAttributes& r : ranking)
        order.append(r.number);
    EXPECT_EQ(order, (QList<int>{5, 4, 3, 2, 1}));
    EXPECT_TRUE(html.contains(QStringLiteral("<sup>2 · 19.99%</sup>")));
}

TEST(CheckReport, HeadingOverallCountsAndUncheckedSentences)
{
    report::CheckReportData d = scriptedCheck();
    d.running = true;
    const QString html = report::checkReportHtml(d);
    EXPECT_TRUE(html.contains(QStringLiteral("文章：<bdi>论文&lt;题目&gt;</bdi>")));
    EXPECT_TRUE(html.contains(QStringLiteral("生成时间：2024-05-06 14:03:09")));
    EXPECT_TRUE(html.contains(QStringLiteral("检索服务：百度引擎、百度文库")));
    EXPECT_TRUE(html.contains(QStringLiteral("检测程序：Tessaro V2016.7.27")));
    EXPECT_TRUE(html.contains(QStringLiteral("检测仍在进行中")));
    EXPECT_FALSE(report::checkReportHtml(scriptedCheck()).contains(QStringLiteral("检测仍在进行中")));
    EXPECT_TRUE(html.contains(QStringLiteral("<p class=\"overall\">目前总体相似度：27.8%<span "
                                             "class=\"coverage\">已检测 5/9 句，检测尚未完成</span></p>")));
    // The statement of what the figure is comes before any result.
    EXPECT_LT(html.indexOf(QStringLiteral("不是学校、期刊等机构的查重检测")),
              html.indexOf(QStringLiteral("<h2>")));
    for (const char* count :
         {"scored\">5<", "not-arrived\">1<", "verification\">1<", "blank\">1<", "not-searched\">1<"})
        EXPECT_TRUE(html.contains(QStringLiteral("data-count=\"") + QLatin1String(count))) << count;
    EXPECT_TRUE(html.contains(QStringLiteral("data-state=\"not-arrived\">结果页未到（1 句）：第 6 句</p>")));
    EXPECT_TRUE(html.contains(QStringLiteral("data-state=\"verification\">出现验证页（1 句）：第 7 句</p>")));
    // The legend shows each band with its colour.
    for (const report::BandStyle& b : report::bandTable())
        EXPECT_TRUE(html.contains(QStringLiteral("<span class=\"swatch ") + b.cssClass))
            << b.name.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral(".b-high{background:#f4a6a6}")));
    // The similar-website table with its counts, the most frequent first.
    EXPECT_LT(html.indexOf(QStringLiteral(">来源0</a></td><td class=\"num\">2<")),
              html.indexOf(QStringLiteral("<tr><td><bdi>来源1</bdi></td><td class=\"num\">1<")));
}

TEST(CheckReport, WebTextIsEscapedAndOnlyWebLinksAreKept)
{
    const QString html = report::checkReportHtml(scriptedCheck());
    EXPECT_TRUE(html.contains(QStringLiteral("甲&lt;乙&amp;丙&quot;丁")));
    EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    EXPECT_FALSE(html.contains(QStringLiteral("<img"), Qt::CaseInsensitive));
    EXPECT_FALSE(html.contains(QStringLiteral("javascript:"), Qt::CaseInsensitive));
    EXPECT_FALSE(html.contains(QStringLiteral("data:text"), Qt::CaseInsensitive));
    // What a reader sees of the title: a script element's content is no text.
    EXPECT_TRUE(html.contains(QStringLiteral("脚本")));
    EXPECT_FALSE(html.contains(QStringLiteral("alert(")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<a href=\"https://ok.example/a?b=1&amp;c=%222\" dir=\"auto\">好&amp;坏</a>")));
    // At most three titles per sentence.
    EXPECT_FALSE(html.contains(QStringLiteral("第四个")));

    // Every link is http or https, no element carries a handler, and only the report's own elements occur.
    const QRegularExpression href(QStringLiteral(R"x(href="([^"]*)")x"));
    int links = 0;
    for (auto it = href.globalMatch(html); it.hasNext(); ++links)
        EXPECT_TRUE(it.next().captured(1).contains(QRegularExpression(QStringLiteral("^https?://[^\\s]+$"))));
    EXPECT_EQ(links, 6); // sentences 1-4, the good one of sentence 5, the site table's first
    EXPECT_FALSE(html.contains(QRegularExpression(QStringLiteral(R"x(<[^>]*\son\w+\s*=)x"),
                                                  QRegularExpression::CaseInsensitiveOption)));
    const QSet<QString> allowed{"!DOCTYPE", "html", "head", "meta", "title", "style", "body",
                                "h1",       "h2",   "p",    "br",   "table", "tr",    "th",
                                "td",       "span", "sup",  "a",    "bdi",   "div"};
    const QRegularExpression tag(QStringLiteral(R"x(</?([A-Za-z!][A-Za-z0-9]*))x"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QString name = it.next().captured(1);
        EXPECT_TRUE(allowed.contains(name)) << name.toStdString();
    }
    // Self-contained: nothing is loaded from outside.
    for (const char* outside : {"src=", "<link", "url(", "@import"})
        EXPECT_FALSE(html.contains(QLatin1String(outside))) << outside;
}

TEST(CheckReport, DirectionControlsStayInTheirPieceAndLongTitlesAreCut)
{
    report::CheckReportData d;
    d.sentences = {QStringLiteral("甲\u202E乙"), QStringLiteral("丙")};
    d.record.reset(2, QStringLiteral("题\u202E目\0尾"));
    d.record.markSearched(0, search::Engine::Baidu);
    const QString longTitle = QString(400, QChar(u'长'));
    d.record.pageScored(0,
                        page(60, {{QStringLiteral("<b>\u202E反</b>"), QString()}, {longTitle, longTitle}}));
    const QString html = report::checkReportHtml(d);
    EXPECT_TRUE(html.contains(QStringLiteral(" — \u2068题\u202E目尾\u2069</title>")));
    EXPECT_FALSE(html.contains(QChar(u'\0')));
    EXPECT_TRUE(html.contains(QStringLiteral("<bdi>甲\u202E乙</bdi></span>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<bdi>\u202E反</bdi>")));
    EXPECT_TRUE(html.contains(QString(299, QChar(u'长')) + QStringLiteral("…")));
    EXPECT_FALSE(html.contains(QString(300, QChar(u'长'))));
}

struct IsolateRow
{
    const char* name;
    QString text;
    QString isolated;
};

using Isolates = ::testing::TestWithParam<IsolateRow>;

TEST_P(Isolates, EndWithTheirText)
{
    EXPECT_EQ(report::isolated(GetParam().text), GetParam().isolated);
}

INSTANTIATE_TEST_SUITE_P(
    CheckReport, Isolates,
    ::testing::Values(
        IsolateRow{"NoControl", QStringLiteral("abc"), QStringLiteral("abc")},
        IsolateRow{"Override", QStringLiteral("a\u202Eb"), QStringLiteral("\u2068a\u202Eb\u2069")},
        IsolateRow{"StrayPop", QStringLiteral("a\u2069b"), QStringLiteral("\u2068ab\u2069")},
        IsolateRow{"OpenIsolate", QStringLiteral("\u2067x"), QStringLiteral("\u2068\u2067x\u2069\u2069")},
        IsolateRow{"ControlsDropped",
                   QStringLiteral("a\0b\x01\x1B\x7F\x85"
                                  "c\td\n"),
                   QStringLiteral("abc\td\n")},
        IsolateRow{"ControlsDroppedOverrideIsolated", QStringLiteral("\0\u202Ea\x9F"),
                   QStringLiteral("\u2068\u202Ea\u2069")}),
    [](const auto& info) { return std::string(info.param.name); });

struct ParagraphRow
{
    const char* name;
    QString editorText;
    QString analysedText; // empty: editorText
    QList<qsizetype> ends;
};

using Paragraphs = ::testing::TestWithParam<ParagraphRow>;

TEST_P(Paragraphs, EndWhereTheArticlesDo)
{
    const ParagraphRow& r = GetParam();
    const analysis::Result a = analysis::analyse(r.analysedText.isEmpty() ? r.editorText : r.analysedText);
    EXPECT_EQ(report::paragraphEnds(r.editorText, a.articleText, a.sentences), r.ends);
}

INSTANTIATE_TEST_SUITE_P(
    CheckReport, Paragraphs,
    ::testing::Values(
        // Sentences of 38 characters run over the paragraph ends; a blank line adds nothing.
        ParagraphRow{"AcrossSentences",
                     QString(30, u'甲') + QStringLiteral(" \r\n\r\n") + QString(20, u'乙') +
                         QStringLiteral("\r\n") + QString(5, u'丙'),
                     QString(),
                     {30, 50, 55}},
        ParagraphRow{"PieceMarkerCutOut", QStringLiteral("甲甲|@|乙乙\r\n丙"), QString(), {4, 5}},
        ParagraphRow{"EditedSinceTheAnalysis", QStringLiteral("甲\r\n乙"), QStringLiteral("甲乙丙"), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckReport, RunningTextKeepsTheParagraphs)
{
    report::CheckReportData d;
    const QString editor = QString(30, u'甲') + QStringLiteral("\r\n") + QString(20, u'乙');
    const analysis::Result a = analysis::analyse(editor);
    d.sentences = a.sentences;
    d.paragraphEnds = report::paragraphEnds(editor, a.articleText, a.sentences);
    d.record.reset(d.sentences.size());
    const QString html = report::checkReportHtml(d);
    // The first sentence is cut at the paragraph's end and goes on, unnumbered, in the next.
    EXPECT_TRUE(
        html.contains(QString(30, u'甲') +
                      QStringLiteral("</bdi></span>\n</p>\n<p><span class=\"s b-nosimilarity\"><bdi>") +
                      QString(8, u'乙') + QStringLiteral("</bdi>")));
    EXPECT_EQ(sentenceRows(html, QStringLiteral("span")).size(), 2);
    const printed::Document doc = report::printedReport(d);
    const auto paragraphs = std::count_if(doc.begin(), doc.end(), [](const printed::Block& b) {
        return b.kind == printed::Block::Kind::Paragraph && !b.runs.isEmpty() && b.runs[0].superscript;
    });
    EXPECT_EQ(paragraphs, 1); // the second paragraph starts inside sentence 1, without a number
}

QString cellText(const printed::Cell& cell)
{
    QString text;
    for (const printed::Run& r : cell)
        text += r.text;
    return text;
}

TEST(PrintedReport, SummaryTextListedSentencesSitesAndTheRestCounted)
{
    report::CheckReportData d = scriptedCheck();
    search::SentenceEntry kept = d.record.at(4); // taken over from an earlier start
    kept.obtained = QDateTime(QDate(2024, 5, 1), QTime(8, 30));
    d.record.adopt(4, kept);
    const printed::Document doc = report::printedReport(d);
    using Kind = printed::Block::Kind;
    QStringList headings;
    qsizetype ranking = -1;
    for (qsizetype i = 0; i < doc.size(); ++i) {
        if (doc[i].kind == Kind::Heading)
            headings.append(doc[i].runs[0].text);
        if (doc[i].kind == Kind::Table && cellText(doc[i].header.value(3)) == QStringLiteral("检索结果"))
            ranking = i;
    }
    EXPECT_EQ(headings, (QStringList{"总体结果", "图例", "全文", "相似度 20% 及以上的句子", "相似性网站"}));
    EXPECT_EQ(doc[1].kind, Kind::Notice);
    ASSERT_GE(ranking, 0);
    // Sentences of 20 % or more, the highest first, with at most three titles each and web links only.
    QStringList numbers;
    for (const printed::Row& r : doc[ranking].rows)
        numbers.append(cellText(r.cells[0]));
    EXPECT_EQ(numbers, (QStringList{"5", "4", "3"}));
    const printed::Cell& titles = doc[ranking].rows[0].cells[3];
    EXPECT_EQ(cellText(titles).split(u'\n').size(), 3);
    for (const printed::Run& r : titles)
        EXPECT_TRUE(r.link.isEmpty() || r.link.startsWith(QStringLiteral("http"))) << r.link.toStdString();
    EXPECT_EQ(doc[ranking].rows[0].background, report::bandStyle(Band::High).colour);
    EXPECT_EQ(
        doc[ranking + 1].runs[0].text,
        QStringLiteral("其余句子（未在上表列出）：相似度低于 20% 的 2 句；结果页未到 1 句；出现验证页 1 句；"
                       "无可检索的文字 1 句；尚未检索 1 句。"));
    // The whole text: every sentence numbered with its figure, coloured by its band.
    const printed::Block& text = doc[ranking - 2];
    ASSERT_EQ(text.kind, Kind::Paragraph);
    EXPECT_EQ(text.runs[2].text, QStringLiteral("2·19.99%"));
    EXPECT_TRUE(text.runs[2].superscript);
    EXPECT_EQ(text.runs[3].background, report::bandStyle(Band::Low).colour);
    // Each listed sentence says when its result was obtained, and whether it was reused.
    EXPECT_EQ(cellText(doc[ranking].rows[0].cells[4]), kept.obtainedText() + QStringLiteral("\n（沿用）"));
    EXPECT_EQ(cellText(doc[ranking].rows[1].cells[4]), d.record.at(3).obtainedText());
    // The site table: titles seen twice or more, the others counted.
    const printed::Block& sites = doc[doc.size() - 3];
    ASSERT_EQ(sites.rows.size(), 1);
    EXPECT_EQ(cellText(sites.rows[0].cells[0]), QStringLiteral("来源0"));
    EXPECT_EQ(cellText(sites.rows[0].cells[1]), QStringLiteral("2"));
    EXPECT_EQ(doc[doc.size() - 2].runs[0].text,
              QStringLiteral("1 个标题只出现一次，未列出（完整列表见网页格式的报告）。"));
}

TEST(CheckReport, AnEmptyCheckIsStillAReport)
{
    report::CheckReportData d;
    d.program = QStringLiteral("Tessaro");
    const QString html = report::checkReportHtml(d);
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</body></html>\n")));
    EXPECT_TRUE(html.contains(QStringLiteral("尚无总体相似度")));
    EXPECT_TRUE(html.contains(QStringLiteral("还没有得出相似度的句子")));
    EXPECT_TRUE(sentenceRows(html, QStringLiteral("span")).isEmpty());
}

TEST(CheckReport, ArticleHeadingIsTheFirstNonBlankLine)
{
    EXPECT_EQ(report::articleHeading(QStringLiteral("\r\n  \r\n  论文题目  \r\n正文")),
              QStringLiteral("论文题目"));
    EXPECT_EQ(report::articleHeading(QString(70, QChar(u'长'))), QString(60, QChar(u'长')));
    EXPECT_EQ(report::articleHeading(QStringLiteral(" \n\t\n")), QString());
    // A character outside the basic plane is not cut in half.
    const QString wide = QString(59, QChar(u'字')) + QString::fromUcs4(U"\U00020000") + QStringLiteral("尾");
    EXPECT_EQ(report::articleHeading(wide), QString(59, QChar(u'字')));
}

struct TargetRow
{
    const char* name;
    const char* chosen;
    QString filter;
    const char* path;
    report::ReportKind kind;
};

using ExportTargets = ::testing::TestWithParam<TargetRow>;

TEST_P(ExportTargets, ATypedExtensionDecidesThenTheFilter)
{
    const TargetRow& r = GetParam();
    EXPECT_EQ(report::exportTarget(QString::fromUtf8(r.chosen), r.filter),
              (report::ExportTarget{QString::fromUtf8(r.path), r.kind}));
}

using K = report::ReportKind;

INSTANTIATE_TEST_SUITE_P(
    ReportFile, ExportTargets,
    ::testing::Values(
        TargetRow{"PdfFilterNoExtension", "/t/报告", report::pdfFilter(), "/t/报告.pdf", K::Pdf},
        TargetRow{"HtmlFilterNoExtension", "/t/报告", report::htmlFilter(), "/t/报告.html", K::Html},
        TargetRow{"TrailingDot", "/t/报告.", report::pdfFilter(), "/t/报告.pdf", K::Pdf},
        TargetRow{"HtmlNameOverPdfFilter", "/t/a.html", report::pdfFilter(), "/t/a.html", K::Html},
        TargetRow{"HtmNameOverPdfFilter", "/t/a.Htm", report::pdfFilter(), "/t/a.Htm", K::Html},
        TargetRow{"PdfNameOverHtmlFilter", "/t/报告.pdf", report::htmlFilter(), "/t/报告.pdf", K::Pdf},
        TargetRow{"OtherExtensionTakesFilter", "/t/a.v2", report::pdfFilter(), "/t/a.v2", K::Pdf},
        TargetRow{"DotInFolderOnly", "/t.d/a", report::pdfFilter(), "/t.d/a.pdf", K::Pdf},
        TargetRow{"NoFilterPdfName", "/t/a.PDF", QString(), "/t/a.PDF", K::Pdf},
        TargetRow{"NoFilterNoExtension", "/t/a", QString(), "/t/a.html", K::Html}),
    [](const auto& info) { return std::string(info.param.name); });

// The write itself is documents::writeFile's (tested there); the report's part is its own message.
TEST(ReportFile, SaysWhyTheReportWasNotWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("no/such/dir/r.html"));
    const std::optional<QString> why = report::saveReportFile(missing, "x");
    ASSERT_TRUE(why);
    EXPECT_TRUE(why->startsWith(QStringLiteral("无法导出检测报告"))) << why->toStdString();
    EXPECT_TRUE(why->contains(QStringLiteral("文件夹不存在"))) << why->toStdString();
    EXPECT_EQ(report::saveReportFile(dir.filePath(QStringLiteral("报告.html")), "<p>新</p>"), std::nullopt);
}

TEST(ReportFile, FoldersLeftByAnEarlierPrintGoAndNothingElse)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir root(temp.path());
    auto folder = [&](const QString& name, const QStringList& files) {
        root.mkdir(name);
        for (const QString& f : files) {
            QFile file(root.filePath(name + u'/' + f));
            file.open(QIODevice::WriteOnly);
        }
    };
    folder(QStringLiteral("tessaro-Ab12Cd"), {QStringLiteral("report.html")});
    folder(QStringLiteral("tessaro-Ef34Gh"), {QStringLiteral("report.html"), QStringLiteral("user")});
    folder(QStringLiteral("tessaro-Ij56Kl"), {});
    folder(QStringLiteral("other-Mn78Op"), {QStringLiteral("report.html")});
    folder(QStringLiteral("tessaro-long-name"), {QStringLiteral("report.html")});
    EXPECT_EQ(report::removeLeftPrintFolders(temp.path(), QStringLiteral("tessaro")), 1);
    EXPECT_EQ(root.entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"other-Mn78Op", "tessaro-Ef34Gh", "tessaro-Ij56Kl", "tessaro-long-name"}));
}

TEST(CheckReport, SaysWhenEachResultWasObtainedWhatWasReusedAndWhatIsNotSearched)
{
    using analysis::PieceUse;
    report::CheckReportData d;
    d.sentences = {QStringLiteral("沿用的句子"), QStringLiteral("新检测的句子"), QStringLiteral("短"),
                   QStringLiteral("[1] 文献"), QStringLiteral("[2] 文献")};
    search::CheckRecord& r = d.record;
    r.reset(d.sentences.size());
    r.setUses({PieceUse::Searched, PieceUse::Searched, PieceUse::TooShort, PieceUse::Reference,
               PieceUse::Reference});
    search::SentenceEntry kept;
    kept.state = search::SentenceState::Scored;
    kept.similarity = 40;
    kept.obtained = QDateTime(QDate(2026, 11, 30), QTime(8, 5));
    r.adopt(0, kept);
    r.markSearched(1, search::Engine::Baidu);
    r.pageScored(1, page(10));
    d.madeAt = QDateTime(QDate(2026, 12, 1), QTime(9, 0));

    const QString html = report::checkReportHtml(d);
    EXPECT_TRUE(html.contains(QStringLiteral("沿用此前保存的检测结果：<span data-reused=\"1\">1 句</span>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"obtained\">2026-11-30 08:05<br>（沿用）</td>")));
    const QString now = r.at(1).obtained.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"obtained\">") + now + QStringLiteral("</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<p class=\"not-searched\">过短（1 句）：第 3 句</p>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<p class=\"not-searched\">参考文献（2 句）：第 4、5 句</p>")));
    // Counted apart from what is still to be searched: the check is complete.
    EXPECT_TRUE(html.contains(
        QStringLiteral("已检测 2/2 句，检测完成（另有 3 句不检测：过短 1 句、参考文献 2 句）</span>")));
    for (const char* count : {"not-searched\">0<", "too-short\">1<", "references\">2<"})
        EXPECT_TRUE(html.contains(QStringLiteral("data-count=\"") + QLatin1String(count))) << count;
    EXPECT_FALSE(report::checkReportHtml(scriptedCheck()).contains(QStringLiteral("沿用此前")));
}

// How far the check got, counted over the pieces to be searched only.
struct CoverageRow
{
    const char* name;
    QList<analysis::PieceUse> uses;
    QList<SentenceState> states;
    QString text;
};

using Coverage = ::testing::TestWithParam<CoverageRow>;

TEST_P(Coverage, CountsOnlyWhatIsSearched)
{
    search::CheckRecord r;
    r.reset(GetParam().states.size());
    r.setUses(GetParam().uses);
    for (int i = 0; i < GetParam().states.size(); ++i) {
        const SentenceState state = GetParam().states[i];
        if (state == SentenceState::Scored || state == SentenceState::NotArrived)
            r.markSearched(i, search::Engine::Baidu);
        if (state == SentenceState::Scored)
            r.pageScored(i, page(10));
        else if (state == SentenceState::NotArrived)
            r.markNotArrived(i);
        else if (state == SentenceState::Blank)
            r.markBlank(i);
    }
    EXPECT_EQ(report::coverageText(report::coverage(r)), GetParam().text);

    // The printed counts table adds up to its 共计, the pieces not searched in rows of their own.
    report::CheckReportData d;
    d.sentences = QStringList(r.size(), QStringLiteral("句子"));
    d.record = r;
    int tables = 0;
    for (const printed::Block& b : report::printedReport(d)) {
        if (b.kind != printed::Block::Kind::Table || cellText(b.header.value(1)) != QStringLiteral("句数"))
            continue;
        ++tables;
        int sum = 0;
        for (qsizetype i = 0; i + 1 < b.rows.size(); ++i)
            sum += cellText(b.rows[i].cells[1]).toInt();
        EXPECT_EQ(cellText(b.rows.last().cells[0]), QStringLiteral("共计"));
        EXPECT_EQ(sum, r.size());
        EXPECT_EQ(cellText(b.rows.last().cells[1]).toInt(), r.size());
    }
    EXPECT_EQ(tables, 1);
}

using analysis::PieceUse;
constexpr auto kS = PieceUse::Searched;

INSTANTIATE_TEST_SUITE_P(
    Report, Coverage,
    ::testing::Values(
        CoverageRow{"EverySearchablePieceHasAResult",
                    {kS, kS, PieceUse::TooShort, PieceUse::Contents, PieceUse::Reference},
                    {SentenceState::Scored, SentenceState::Scored, SentenceState::NotSearched,
                     SentenceState::NotSearched, SentenceState::NotSearched},
                    QStringLiteral(
                        "已检测 2/2 句，检测完成（另有 3 句不检测：过短 1 句、目录 1 句、参考文献 1 句）")},
        CoverageRow{"OneStillToSearch",
                    {kS, kS, PieceUse::TooShort},
                    {SentenceState::Scored, SentenceState::NotSearched, SentenceState::NotSearched},
                    QStringLiteral("已检测 1/2 句，检测尚未完成（另有 1 句不检测：过短 1 句）")},
        CoverageRow{"PageNotArrived",
                    {},
                    {SentenceState::Scored, SentenceState::NotArrived},
                    QStringLiteral("已检测 1/2 句，检测尚未完成")},
        CoverageRow{"BlankHoldsNothingUp",
                    {},
                    {SentenceState::Scored, SentenceState::Blank},
                    QStringLiteral("已检测 1/2 句，检测完成")}),
    [](const auto& info) { return std::string(info.param.name); });

// With the cutting by sentence the report shows each piece as the writer wrote it, taken from the article by
// its place, and keeps the article's paragraphs.
TEST(CheckReport, ShowsTheWritersOwnText)
{
    const QString article = QStringLiteral("第一段 由王建国 教授完成，运行于 Ubuntu 20.04 "
                                           "系统!效率提高[3]。\r\n\u3000\u3000第二段的文字在这里。");
    const analysis::SentencePieces cut = analysis::cutSentences(article);
    analysis::Result result = analysis::analyse(article);
    result.sentences = cut.pieces;
    result.searchTexts = cut.searchTexts;
    result.places = cut.places;
    search::CheckRun run;
    run.analyse(result, article, cut.uses);
    ASSERT_EQ(run.sentences().first(), QStringLiteral("第一段由王建国教授完成，运行于Ubuntu 20.04系统！"));

    const QString first = QStringLiteral("第一段 由王建国 教授完成，运行于 Ubuntu 20.04 系统!");
    const report::CheckReportData d =
        report::checkReportData(run, article, {}, search::Engine::Baidu, QStringLiteral("Tessaro"));
    EXPECT_EQ(d.sentences,
              (QStringList{first, QStringLiteral("效率提高[3]。"), QStringLiteral("第二段的文字在这里。")}));
    EXPECT_EQ(d.paragraphEnds, QList<qsizetype>{first.size() + 8});
    const QString html = report::checkReportHtml(d);
    EXPECT_TRUE(html.contains(QStringLiteral("<bdi>") + first + QStringLiteral("</bdi>")));
    EXPECT_TRUE(html.contains(QStringLiteral("效率提高[3]。</bdi></span>\n</p>\n<p>")));
}

} // namespace

// The local check's section, apart from the web figures, in both reports; none without a local check.
TEST(CheckReport, LocalSourcesSectionWhenALocalCheckWasMade)
{
    report::CheckReportData d = scriptedCheck();
    EXPECT_FALSE(report::checkReportHtml(d).contains(QStringLiteral("本地来源比对")));
    sources::LocalReport local;
    local.result.articleChars = 200;
    local.result.copiedChars = 50;
    local.result.citedChars = 10;
    local.result.ratio = 0.3;
    local.result.ratioWithoutCited = 0.25;
    local.result.largestSourceRatio = 0.25;
    local.result.sources = {{7, 60, 0.3}};
    local.result.chapters = {{QStringLiteral("第1章 绪论"), 0, 200, 200, 50, 10, 0.3}};
    local.titles.insert(7, QStringLiteral("<来源>"));
    d.local = local;
    const QString html = report::checkReportHtml(d);
    EXPECT_TRUE(html.contains(QStringLiteral("<h2>本地来源比对</h2>")));
    EXPECT_TRUE(html.contains(QStringLiteral("去除引用文献复制比：25%")));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;来源&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("第1章 绪论")));
    QStringList headings;
    for (const printed::Block& b : report::printedReport(d)) {
        if (b.kind == printed::Block::Kind::Heading)
            headings.append(b.runs[0].text);
    }
    EXPECT_EQ(headings.back(), QStringLiteral("本地来源比对"));
}
