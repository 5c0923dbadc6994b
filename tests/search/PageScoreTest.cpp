#include "search/PageScore.h"
#include "support/LegacyTitles.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"
#include "support/ResultPage.h"
#include "text/Codepage936.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using rows::PrintTo;

using search::scorePage;

// A body with exactly n counted characters besides whatever extra holds.
QString chinese(qsizetype n)
{
    return QString(n, QChar(u'文'));
}

QString ascii(qsizetype n)
{
    return QString(n, QChar(u'x'));
}

struct FragmentRow
{
    const char* name;
    QString html;
    qsizetype highlighted;
};

using Highlights = ::testing::TestWithParam<FragmentRow>;

TEST_P(Highlights, Length)
{
    EXPECT_EQ(search::highlightedLength(GetParam().html), GetParam().highlighted);
}

INSTANTIATE_TEST_SUITE_P(
    PageScore, Highlights,
    ::testing::Values(
        FragmentRow{"OneMarkerHasNoInnerPart", QStringLiteral("a<EM>") + ascii(20) + QStringLiteral("</EM>b"),
                    0},
        FragmentRow{"TwoMarkersUseThePartBetween",
                    QStringLiteral("<EM>") + ascii(9) + QStringLiteral("</EM>tail<EM>x</EM>"), 9},
        FragmentRow{"SevenCharactersDoNotCount",
                    QStringLiteral("<EM>") + ascii(7) + QStringLiteral("</EM><EM>") + ascii(8) +
                        QStringLiteral("</EM><EM>"),
                    8},
        FragmentRow{"PartWithoutCloseCountsWhole",
                    QStringLiteral("<EM>") + ascii(10) + QStringLiteral("<EM>"), 10},
        FragmentRow{"RawHtmlCounts", QStringLiteral("<EM><b>ab</b></EM><EM>"), 9},
        FragmentRow{"UpperCaseWinsOverLower",
                    QStringLiteral("<em>") + ascii(30) + QStringLiteral("</em><em><EM>") + ascii(8) +
                        QStringLiteral("</EM><EM>"),
                    8},
        FragmentRow{"LowerCaseWhenNoUpper",
                    QStringLiteral("<em>") + ascii(12) + QStringLiteral("</em>-<em>") + ascii(8) +
                        QStringLiteral("</em><em>"),
                    12 + 8},
        FragmentRow{"MixedCaseMarkerIsNoMarker", QStringLiteral("<Em>") + ascii(12) + QStringLiteral("<Em>"),
                    0},
        FragmentRow{"HighlightsInCommentsCountOnce",
                    QStringLiteral("<div><em>一二三四五六七八</em></div><!--s-data:{\"abs\":\"<em>"
                                   "一二三四五六七八</em>\"}--><em>x</em>"),
                    8},
        FragmentRow{"UnterminatedCommentHidesTheRest",
                    QStringLiteral("<em>一二三四五六七八</em><em>x</em><!--<em>一二三四五六七八</em>"), 8}));

TEST(PageScore, PageTextKeepsDoubleByteCharactersOnly)
{
    EXPECT_EQ(search::pageText(QStringLiteral("<p>中 文\u3000，ＡＢ１\r\n€é\U0001F600</p>")),
              QStringLiteral("中文,AB1é"));
    EXPECT_EQ(search::pageText(QStringLiteral("<html>only ascii</html>")), QString());
}

struct ScoreRow
{
    const char* name;
    qsizetype highlighted; // characters of highlighted fragments on the page
    qsizetype sentenceLength;
    double sum;
    int pageCount;
    double figure;
    QString caption;
};

using Figures = ::testing::TestWithParam<ScoreRow>;

TEST_P(Figures, WorkedFigures)
{
    const ScoreRow& r = GetParam();
    const search::PageScore s =
        scorePage(resultPage(r.highlighted), QString(r.sentenceLength, QChar(u'句')), r.sum, r.pageCount);
    ASSERT_TRUE(s.sentenceFigure.has_value());
    EXPECT_DOUBLE_EQ(*s.sentenceFigure, r.figure);
    EXPECT_DOUBLE_EQ(s.sum, r.sum + r.figure);
    EXPECT_EQ(s.caption, r.caption);
}

INSTANTIATE_TEST_SUITE_P(
    PageScore, Figures,
    ::testing::Values(ScoreRow{"SixtyFive", 130, 20, 0, 1, 65,
                               QStringLiteral("本句相似度：65%\r\n\r\n目前总体相似度：65%")},
                      ScoreRow{"HalfGoesToEven", 25, 20, 0, 1, 12,
                               QStringLiteral("本句相似度：12%\r\n\r\n目前总体相似度：12%")},
                      ScoreRow{"NoUpperBound", 450, 20, 0, 1, 225,
                               QStringLiteral("本句相似度：225%\r\n\r\n目前总体相似度：225%")},
                      ScoreRow{"Overall", 0, 20, 70, 3, 0,
                               QStringLiteral("本句相似度：0%\r\n\r\n目前总体相似度：23.33%")},
                      ScoreRow{"TwentyNine", 58, 20, 0, 2, 29,
                               QStringLiteral("本句相似度：29%\r\n\r\n目前总体相似度：14.5%")}));

TEST(PageScore, ShortPageScoresZeroAndKeepsTheSum)
{
    const QString html = chinese(499) + QStringLiteral("<EM>") + ascii(100) + QStringLiteral("</EM><EM>");
    const search::PageScore s = scorePage(html, QStringLiteral("句子"), 40, 2);
    EXPECT_TRUE(s.shortPage);
    EXPECT_EQ(s.pageSize, 499);
    EXPECT_FALSE(s.sentenceFigure.has_value());
    EXPECT_EQ(s.sum, 40);
    EXPECT_EQ(s.caption, QStringLiteral("本句相似度：0%\r\n\r\n目前总体相似度：20%"));

    const search::PageScore full = scorePage(chinese(500), QStringLiteral("句子"), 40, 2);
    EXPECT_FALSE(full.shortPage);
    EXPECT_EQ(full.sentenceFigure, 0.0);
}

TEST(PageScore, NoDivisorLeavesTheDisplay)
{
    EXPECT_FALSE(scorePage(chinese(600), QStringLiteral("句"), 10, 0).caption.has_value());
    EXPECT_FALSE(scorePage(chinese(10), QStringLiteral("句"), 10, 0).caption.has_value());
    const search::PageScore noSentence = scorePage(chinese(600), std::nullopt, 10, 2);
    EXPECT_FALSE(noSentence.sentenceFigure.has_value());
    EXPECT_FALSE(noSentence.caption.has_value());
    EXPECT_EQ(noSentence.sum, 10);
    const search::PageScore emptySentence = scorePage(chinese(600), QString(), 10, 2);
    EXPECT_FALSE(emptySentence.caption.has_value());
}

QString heading(const QString& title, bool upper = false)
{
    const QString link = QStringLiteral("<a href=\"http://r.example/") + title +
                         QStringLiteral("\" target=\"_blank\" data-click=\"{'F':'778317EA'}\">") + title +
                         QStringLiteral("</a>");
    return upper ? QStringLiteral("<H3 CLASS=\"T\">") + link + QStringLiteral("</H3>")
                 : QStringLiteral("<h3 class=\"t\">") + link + QStringLiteral("</h3>");
}

// Titles as the result pages of the last years mark them up; one page of each kind.
struct TitlePage
{
    const char* name;
    QString html;
    QStringList titles;
};

using TitlesOfTodaysPages = ::testing::TestWithParam<TitlePage>;

TEST_P(TitlesOfTodaysPages, AreTheTextsOfTheResultLinks)
{
    QStringList texts;
    for (const search::Title& t : search::titles(GetParam().html))
        texts << t.text;
    EXPECT_EQ(texts, GetParam().titles);
}

QString clickFirst(const QString& title)
{
    // Link attributes with the click data first: no "}\">" before the title text.
    return QStringLiteral("<h3 class=\"t\"><a data-click=\"{'F':'778317EA','T':'1'}\" "
                          "href=\"http://www.baidu.com/link?url=x\" "
                          "target=\"_blank\">") +
           title + QStringLiteral("</a></h3>");
}

INSTANTIATE_TEST_SUITE_P(
    PageScore, TitlesOfTodaysPages,
    ::testing::Values(
        TitlePage{"ClickDataFirst",
                  QStringLiteral("<div class=\"result c-container\">") +
                      clickFirst(QStringLiteral("论文<em>相似度</em>检测")) + QStringLiteral("</div>") +
                      clickFirst(QStringLiteral("第二个结果")),
                  {QStringLiteral("论文相似度检测"), QStringLiteral("第二个结果")}},
        TitlePage{
            "MixedClassesAndAnotherCardsHeading",
            QStringLiteral(
                "<h3 class=\"t c-gap-bottom-small\"><a href=\"http://a/\" target=\"_blank\">甲 结果</a></h3>"
                "<div class=\"op\"><h3 class=\"c-font-sigma c-title\">百度百科</h3></div>"
                "<h3 class=\"t c-title-en\"><a href=\"http://b/\">English <em>result</em></a></h3>"),
            {QStringLiteral("甲 结果"), QStringLiteral("English result")}},
        TitlePage{"CardTitles",
                  QStringLiteral(
                      "<h3 class=\"c-title t t tts-title\"><a href=\"http://c/\" aria-label=\"x\">"
                      "<!--s-text-->丙  <span>标题</span><!--/s-text--></a></h3>"
                      "<h3 class=\"cosc-title t cos-line-clamp-1 cosc-title-slim\"><a href=\"http://d/\">"
                      "<span class=\"cosc-title-slot\">丁</span></a></h3>"),
                  {QStringLiteral("丙 标题"), QStringLiteral("丁")}},
        TitlePage{"NotATitleClass",
                  QStringLiteral(
                      "<h3 class=\"title\"><a href=\"http://e/\">戊</a></h3><h3 class=\"tt\"><a>己</a></h3>"
                      "<h30 class=\"t\"><a>庚</a></h30>"),
                  {}},
        // Two headings and a stray opening tag: the block after the stray tag is never used.
        TitlePage{"OddNumberOfMarkersLeavesTheLastBlock",
                  heading(QStringLiteral("甲")) + heading(QStringLiteral("乙")) +
                      QStringLiteral("<h3 class=\"t\"><a x=\"{}\">丙</a>"),
                  {QStringLiteral("甲"), QStringLiteral("乙")}},
        TitlePage{"TitleUpToTheNextLinkTextStart",
                  QStringLiteral("<h3 class=\"t\"><a d=\"{}\">前}\">后</a></h3>"),
                  {QStringLiteral("前")}}),
    [](const auto& info) { return std::string(info.param.name); });

// On pages in the older markup the titles, their blocks, their order and the limit of ten are those the
// older rules give, upper- and lower-case headings and highlights included.
TEST(PageScore, OlderMarkupGivesTheTitlesOfTheOlderRules)
{
    std::mt19937 rng(7);
    // A heading without a link is a title with no text.
    const QStringList fillers{"<p>x</p>", "<div class=\"c-abstract\"><em>摘要</em>内容</div>", "文字",
                              "<a href=\"u\">链</a>", "<h3 class=\"t\"><span>no link</span></h3>"};
    for (int round = 0; round < 300; ++round) {
        QString html;
        const int n = static_cast<int>(rng() % 14);
        for (int k = 0; k < n; ++k) {
            html += fillers.at(rng() % fillers.size());
            const QString title = QStringLiteral("标题<EM>%1</EM>").arg(k);
            html += heading(title, rng() % 2 == 0);
        }
        const QList<search::Title> now = search::titles(html);
        const QList<search::Title> before = search::legacyTitles(html);
        ASSERT_EQ(now.size(), before.size()) << html.toStdString();
        for (qsizetype k = 0; k < now.size(); ++k) {
            EXPECT_EQ(now[k].text, before[k].text);
            EXPECT_EQ(now[k].html, before[k].html);
        }
    }
}

} // namespace
