#include "analysis/ArticleStructure.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using analysis::ArticleRegion;
using rows::PrintTo;

// A region as the lines it covers: its kind, its first and last line.
struct Lines
{
    char kind; // C contents, R references
    int first;
    int last;
    bool operator==(const Lines&) const = default;
};

void PrintTo(const Lines& l, std::ostream* os)
{
    *os << l.kind << l.first << '-' << l.last;
}

struct RegionRow
{
    const char* name;
    QStringList lines; // joined with CR LF
    QList<Lines> regions;
};

using ArticleRegionTable = ::testing::TestWithParam<RegionRow>;

TEST_P(ArticleRegionTable, FindsContentsAndReferenceLists)
{
    const QString article = GetParam().lines.join(QStringLiteral("\r\n"));
    QList<qsizetype> starts{0};
    for (const QString& line : GetParam().lines)
        starts.append(starts.last() + line.size() + 2);
    QList<Lines> found;
    for (const ArticleRegion& r : analysis::articleRegions(article)) {
        const int first = int(starts.indexOf(r.start));
        const int last = int(starts.indexOf(r.end + 2)) - 1;
        EXPECT_GE(std::min(first, last), 0) << "a region not on line boundaries";
        found.append({r.kind == ArticleRegion::Kind::Contents ? 'C' : 'R', first, last});
    }
    EXPECT_EQ(found, GetParam().regions);
}

const QString kBody = QStringLiteral("本文研究了文本相似度的计算方法。");
const QString kEntry = QStringLiteral("[1] 张三. 文本相似度研究[J]. 计算机学报, 2019, 12(3): 45-50.");
const QString kEntry2 = QStringLiteral("[2] Smith J. Text similarity[J]. Nature, 2020, 5: 1-9.");

INSTANTIATE_TEST_SUITE_P(
    ArticleStructure, ArticleRegionTable,
    ::testing::Values(
        RegionRow{"PlainProse", {kBody, kBody}, {}},
        RegionRow{"ContentsBlockWithEntriesWithoutNumbers",
                  {QStringLiteral("目  录"), QStringLiteral("摘要\tI"), QStringLiteral("第一章 绪论"),
                   QStringLiteral("1.1研究背景与意义\t2"), QStringLiteral("1.2 国内外现状 ........ 3"),
                   QStringLiteral("参考文献"), QStringLiteral("致谢\t45"), QString(), kBody},
                  {{'C', 0, 6}}},
        RegionRow{"ContentsEntriesWithoutHeadingSpacesAndLeaders",
                  {kBody, QStringLiteral("Contents"), QStringLiteral("1 Introduction …… 1"),
                   QStringLiteral("2 方法 12"), kBody, QStringLiteral("附录A\t56")},
                  {{'C', 1, 3}, {'C', 5, 5}}},
        RegionRow{"SentenceEndingInANumberIsNoEntry",
                  {QStringLiteral("实验共进行了三轮，结果见表 3"), QStringLiteral("Chapter II"),
                   QStringLiteral("发表于 2019")},
                  {}},
        RegionRow{"ReferenceHeadingsWithNumbersAndColons",
                  {kBody, QStringLiteral("七、参考文献："), kEntry, QStringLiteral("6. References"), kEntry2,
                   QStringLiteral("第七章 主要参考文献"), kEntry, QStringLiteral("Works Cited"), kEntry2,
                   QStringLiteral("6 BIBLIOGRAPHY"), kEntry, QStringLiteral("参考书目:"), kEntry},
                  {{'R', 1, 12}}},
        RegionRow{
            "HeadingWithoutEntriesIsNoList", {QStringLiteral("参考文献"), kBody, kBody, kBody, kEntry}, {}},
        RegionRow{"EntryKindsAfterTheHeading",
                  {QStringLiteral("参考文献"), QString(),
                   QStringLiteral("1. 李四. 信息检索. 北京: 科学出版社, 2018."), QStringLiteral("References"),
                   QStringLiteral("Smith, J. (2019). Retrieval. Boston: MIT Press")},
                  {{'R', 0, 4}}},
        RegionRow{"EndMarkers",
                  {QStringLiteral("参考文献"),
                   kEntry,
                   QStringLiteral("附录A 调查问卷"),
                   kBody,
                   QStringLiteral("References"),
                   kEntry,
                   QStringLiteral("谢  辞"),
                   kBody,
                   QStringLiteral("参考文献"),
                   kEntry,
                   QStringLiteral("Acknowledgments"),
                   kBody,
                   QStringLiteral("参考文献"),
                   kEntry,
                   QStringLiteral("攻读硕士学位期间发表的学术论文"),
                   kBody,
                   QStringLiteral("参考文献"),
                   kEntry,
                   QStringLiteral("作者简介"),
                   kBody},
                  {{'R', 0, 1}, {'R', 4, 5}, {'R', 8, 9}, {'R', 12, 13}, {'R', 16, 17}}},
        RegionRow{"ListPerChapter",
                  {QStringLiteral("第一章 绪论"), kBody, QStringLiteral("参考文献"), kEntry, kEntry2,
                   QStringLiteral("第二章 相关工作"), kBody, QStringLiteral("参考文献"), kEntry,
                   QStringLiteral("3.1 实验设置"), kBody},
                  {{'R', 2, 4}, {'R', 7, 8}}},
        RegionRow{"NumberedEntriesDoNotEndTheList",
                  {QStringLiteral("参考文献"), QStringLiteral("1. Smith J, Li K. Text retrieval. 2019."),
                   QStringLiteral("2 王五 机器学习 北京 清华大学出版社 2016"),
                   QStringLiteral("12(3): 45-50.")},
                  {{'R', 0, 3}}},
        RegionRow{"MentionInsideAParagraph",
                  {QStringLiteral("参考文献的格式按照国家标准执行，例如："), kEntry, kBody},
                  {}}));

struct MarkerRow
{
    const char* name;
    QString text;
    QStringList markers;
};

using CitationMarkerTable = ::testing::TestWithParam<MarkerRow>;

TEST_P(CitationMarkerTable, FindsMarkers)
{
    QStringList found;
    for (const analysis::MarkerSpan& m : analysis::citationMarkers(GetParam().text))
        found.append(GetParam().text.mid(m.start, m.end - m.start));
    EXPECT_EQ(found, GetParam().markers);
}

INSTANTIATE_TEST_SUITE_P(
    ArticleStructure, CitationMarkerTable,
    ::testing::Values(
        MarkerRow{"Brackets",
                  QStringLiteral("方法[3]与模型[1-4]及系统[1,2]和算法［3］以及[1, 5–7]"),
                  {QStringLiteral("[3]"), QStringLiteral("[1-4]"), QStringLiteral("[1,2]"),
                   QStringLiteral("［3］"), QStringLiteral("[1, 5–7]")}},
        MarkerRow{"BracketsWithLettersAreText", QStringLiteral("论文[J]. 数组a[i]"), {}},
        MarkerRow{"NoteNumberAfterMarkerAndAdjacentMarkers",
                  QStringLiteral("效率得到提高[3]1。效果[2][5]明显[4]12，模型[6]3种"),
                  {QStringLiteral("[3]1"), QStringLiteral("[2][5]"), QStringLiteral("[4]12"),
                   QStringLiteral("[6]")}},
        MarkerRow{"SuperscriptAndCircled",
                  QStringLiteral("如前所述¹²，见注①"),
                  {QStringLiteral("¹²"), QStringLiteral("①")}},
        MarkerRow{
            "AuthorYear",
            QStringLiteral("已有研究(张三, 2019)表明（李四，2020a）与(Smith et al., 2018; Li 2017)一致"),
            {QStringLiteral("(张三, 2019)"), QStringLiteral("（李四，2020a）"),
             QStringLiteral("(Smith et al., 2018; Li 2017)")}},
        MarkerRow{"ParenthesesThatAreText", QStringLiteral("截至(2019)年，(见第3章)和(截至2019)"), {}},
        MarkerRow{"NoteNumberBeforeASentenceMark",
                  QStringLiteral("效率显著提高2。“引文”3，"),
                  {QStringLiteral("2"), QStringLiteral("3")}},
        MarkerRow{"NumbersThatAreTheWritersOwn",
                  QStringLiteral("如图1。见表2，共3，值为4；第5。x1。2019。123。"),
                  {}}));

} // namespace
