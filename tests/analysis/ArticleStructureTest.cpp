#include "analysis/ArticleStructure.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using analysis::ArticleRegion;
using rows::PrintTo;

// A region as the text it covers, prefixed with C (contents) or R (references).
QStringList regionTexts(const QString& article)
{
    QStringList out;
    for (const ArticleRegion& r : analysis::articleRegions(article))
        out.append((r.kind == ArticleRegion::Kind::Contents ? QStringLiteral("C:") : QStringLiteral("R:")) +
                   article.mid(r.start, r.end - r.start));
    return out;
}

struct RegionRow
{
    const char* name;
    QStringList lines; // joined with CR LF
    QStringList regions;
};

using ArticleRegionTable = ::testing::TestWithParam<RegionRow>;

TEST_P(ArticleRegionTable, FindsContentsAndReferenceLists)
{
    EXPECT_EQ(regionTexts(GetParam().lines.join(QStringLiteral("\r\n"))), GetParam().regions);
}

const QString kBody = QStringLiteral("本文研究了文本相似度的计算方法。");
const QString kEntry = QStringLiteral("[1] 张三. 文本相似度研究[J]. 计算机学报, 2019, 12(3): 45-50.");
const QString kEntry2 = QStringLiteral("[2] Smith J. Text similarity[J]. Nature, 2020, 5: 1-9.");

INSTANTIATE_TEST_SUITE_P(
    ArticleStructure, ArticleRegionTable,
    ::testing::Values(
        RegionRow{"PlainProse", {kBody, kBody}, {}},
        RegionRow{
            "ContentsBlockWithEntriesWithoutNumbers",
            {QStringLiteral("目  录"), QStringLiteral("摘要\tI"), QStringLiteral("第一章 绪论"),
             QStringLiteral("1.1研究背景与意义\t2"), QStringLiteral("1.2 国内外现状 ........ 3"),
             QStringLiteral("参考文献"), QStringLiteral("致谢\t45"), QString(), kBody},
            {QStringLiteral("C:目  录\r\n摘要\tI\r\n第一章 绪论\r\n1.1研究背景与意义\t2\r\n1.2 国内外现状 "
                            "........ 3\r\n参考文献\r\n致谢\t45")}},
        RegionRow{"ContentsEntriesWithoutHeadingSpacesAndLeaders",
                  {kBody, QStringLiteral("Contents"), QStringLiteral("1 Introduction …… 1"),
                   QStringLiteral("2 方法 12"), kBody, QStringLiteral("附录A\t56")},
                  {QStringLiteral("C:Contents\r\n1 Introduction …… 1\r\n2 方法 12"),
                   QStringLiteral("C:附录A\t56")}},
        RegionRow{"SentenceEndingInANumberIsNoEntry",
                  {QStringLiteral("实验共进行了三轮，结果见表 3"), QStringLiteral("Chapter II"),
                   QStringLiteral("发表于 2019")},
                  {}},
        RegionRow{"ReferenceHeadingsWithNumbersAndColons",
                  {kBody, QStringLiteral("七、参考文献："), kEntry, QStringLiteral("6. References"), kEntry2,
                   QStringLiteral("第七章 主要参考文献"), kEntry, QStringLiteral("Works Cited"), kEntry2,
                   QStringLiteral("6 BIBLIOGRAPHY"), kEntry, QStringLiteral("参考书目:"), kEntry},
                  {QStringLiteral("R:七、参考文献：\r\n") + kEntry + QStringLiteral("\r\n6. References\r\n") +
                   kEntry2 + QStringLiteral("\r\n第七章 主要参考文献\r\n") + kEntry +
                   QStringLiteral("\r\nWorks Cited\r\n") + kEntry2 +
                   QStringLiteral("\r\n6 BIBLIOGRAPHY\r\n") + kEntry + QStringLiteral("\r\n参考书目:\r\n") +
                   kEntry}},
        RegionRow{
            "HeadingWithoutEntriesIsNoList", {QStringLiteral("参考文献"), kBody, kBody, kBody, kEntry}, {}},
        RegionRow{
            "EntryKindsAfterTheHeading",
            {QStringLiteral("参考文献"), QString(),
             QStringLiteral("1. 李四. 信息检索. 北京: 科学出版社, 2018."), QStringLiteral("References"),
             QStringLiteral("Smith, J. (2019). Retrieval. Boston: MIT Press")},
            {QStringLiteral("R:参考文献\r\n\r\n1. 李四. 信息检索. 北京: 科学出版社, 2018.\r\nReferences\r\n"
                            "Smith, J. (2019). Retrieval. Boston: MIT Press")}},
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
                  {QStringLiteral("R:参考文献\r\n") + kEntry, QStringLiteral("R:References\r\n") + kEntry,
                   QStringLiteral("R:参考文献\r\n") + kEntry, QStringLiteral("R:参考文献\r\n") + kEntry,
                   QStringLiteral("R:参考文献\r\n") + kEntry}},
        RegionRow{"ListPerChapter",
                  {QStringLiteral("第一章 绪论"), kBody, QStringLiteral("参考文献"), kEntry, kEntry2,
                   QStringLiteral("第二章 相关工作"), kBody, QStringLiteral("参考文献"), kEntry,
                   QStringLiteral("3.1 实验设置"), kBody},
                  {QStringLiteral("R:参考文献\r\n") + kEntry + QStringLiteral("\r\n") + kEntry2,
                   QStringLiteral("R:参考文献\r\n") + kEntry}},
        RegionRow{
            "NumberedEntriesDoNotEndTheList",
            {QStringLiteral("参考文献"), QStringLiteral("1. Smith J, Li K. Text retrieval. 2019."),
             QStringLiteral("2 王五 机器学习 北京 清华大学出版社 2016"), QStringLiteral("12(3): 45-50.")},
            {QStringLiteral("R:参考文献\r\n1. Smith J, Li K. Text retrieval. 2019.\r\n2 王五 机器学习 北京 "
                            "清华大学出版社 2016\r\n12(3): 45-50.")}},
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
