#include "sources/ArticleParts.h"
#include "sources/Chapters.h"
#include "sources/Citations.h"
#include "sources/LocalCheck.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"
#include "support/SourcesCorpus.h"

#include <gtest/gtest.h>

#include <QHash>

namespace {

using rows::PrintTo;

QStringList textsOf(const QString& text, const QList<sources::Span>& spans)
{
    QStringList out;
    for (const sources::Span& s : spans)
        out.append(text.mid(s.start, s.end - s.start));
    return out;
}

const QString kReferences =
    QStringLiteral("参考文献\n[1] 张三. 数据挖掘研究[J]. 计算机学报, 2010.\n"
                   "[2] Smith J. Learning theory[M]. 2015.\n[3] 李四. 深度学习[D]. 2018.\n");

struct CitedRow
{
    const char* name;
    QString body;
    QStringList cited;
};

using CitedTable = ::testing::TestWithParam<CitedRow>;

TEST_P(CitedTable, QuotedAndNamedByTheListOnly)
{
    const QString text = GetParam().body + u'\n' + kReferences;
    const sources::ArticleParts parts = sources::articleParts(text);
    const QList<sources::ReferenceEntry> entries = sources::referenceEntries(text, parts.references);
    EXPECT_EQ(textsOf(text, sources::citedSpans(text, entries)), GetParam().cited);
}

INSTANTIATE_TEST_SUITE_P(
    Citations, CitedTable,
    ::testing::Values(CitedRow{"marker_after_quote",
                               QStringLiteral("他说：“数据是新的石油”[1]。"),
                               {QStringLiteral("“数据是新的石油”[1]")}},
                      CitedRow{"marker_inside_quote",
                               QStringLiteral("「学习就是压缩[2-3]」"),
                               {QStringLiteral("「学习就是压缩[2-3]」")}},
                      CitedRow{"author_year_after_quote",
                               QStringLiteral("“学习就是压缩”（张三，2010）"),
                               {QStringLiteral("“学习就是压缩”（张三，2010）")}},
                      CitedRow{"after_a_full_stop",
                               QStringLiteral("“学习就是压缩。”[3]"),
                               {QStringLiteral("“学习就是压缩。”[3]")}},
                      CitedRow{"marker_without_quotes", QStringLiteral("学习就是压缩[1]。"), {}},
                      CitedRow{"quotes_without_marker", QStringLiteral("“学习就是压缩”。"), {}},
                      CitedRow{"number_not_in_list", QStringLiteral("“学习就是压缩”[9]"), {}},
                      CitedRow{"author_not_in_list", QStringLiteral("“学习就是压缩”（王五，2010）"), {}},
                      CitedRow{"marker_far_after_quote", QStringLiteral("“学习就是压缩”，他又说[1]"), {}}));

TEST(ArticleParts, ExcludesContentsReferencesAndKeywords)
{
    const QString text =
        QStringLiteral("目录\n第1章 绪论\t1\n第2章 方法\t5\n摘要\n关键词：数据；挖掘\n正文一句话。\n") +
        kReferences;
    const sources::ArticleParts parts = sources::articleParts(text);
    const QStringList excluded = textsOf(text, parts.excluded);
    ASSERT_EQ(excluded.size(), 3);
    EXPECT_TRUE(excluded[0].startsWith(QStringLiteral("目录")));
    EXPECT_EQ(excluded[1], QStringLiteral("关键词：数据；挖掘"));
    EXPECT_TRUE(excluded[2].startsWith(QStringLiteral("参考文献")));
    const QList<sources::ReferenceEntry> entries = sources::referenceEntries(text, parts.references);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[1].number, 2);
    EXPECT_TRUE(entries[1].text.contains(QStringLiteral("Smith")));
}

struct ChapterRow
{
    const char* name;
    QString text;
    QStringList titles;
};

using ChapterTable = ::testing::TestWithParam<ChapterRow>;

TEST_P(ChapterTable, FromHeadings)
{
    QStringList titles;
    qsizetype end = 0;
    for (const sources::Chapter& c : sources::chapters(GetParam().text)) {
        titles.append(c.title);
        EXPECT_EQ(c.start, end) << "chapters follow each other";
        end = c.end;
    }
    EXPECT_EQ(titles, GetParam().titles);
}

INSTANTIATE_TEST_SUITE_P(
    Chapters, ChapterTable,
    ::testing::Values(
        ChapterRow{
            "chinese_chapters_and_sections",
            QStringLiteral("摘要\n正文。\n第一章 绪论\n1.1 背景\n正文。\n第二章 方法\n正文。\n结论\n正文。"),
            {QStringLiteral("摘要"), QStringLiteral("第一章 绪论"), QStringLiteral("第二章 方法"),
             QStringLiteral("结论")}},
        ChapterRow{"numbers_start_chapters_when_they_change",
                   QStringLiteral("论文题目\n1 引言\n正文。\n1.1 背景\n2.1 方法\n正文。"),
                   {QStringLiteral("论文题目"), QStringLiteral("1 引言"), QStringLiteral("2.1 方法")}},
        ChapterRow{"sentences_and_years_are_no_headings",
                   QStringLiteral("第1章 绪论\n2016年数据增长很快\n3 个样本被删除，原因如下：\n正文。"),
                   {QStringLiteral("第1章 绪论")}},
        ChapterRow{"no_heading_one_chapter", QStringLiteral("只有正文。"), {QString()}}));

// A library of a few sources in memory, numbered from 1.
struct Library : sourcescorpus::MemoryLibrary
{
    explicit Library(const QList<QString>& sourceTexts)
    {
        for (qsizetype i = 0; i < sourceTexts.size(); ++i)
            add(i + 1, sourceTexts[i]);
        index.finish();
    }
};

const QString kA = QStringLiteral("机器学习方法在自然语言处理领域得到了广泛应用并取得显著成果");
const QString kB = QStringLiteral("卷积神经网络能够自动提取图像的局部特征从而提高分类的准确率");

struct CheckRow
{
    const char* name;
    QString article;
    qint64 copied;
    qint64 cited;
    QList<qint64> sources; // by share
};

using CheckTable = ::testing::TestWithParam<CheckRow>;

TEST_P(CheckTable, CountsEachCharacterOnce)
{
    Library library(
        {QStringLiteral("前言。") + kA + QStringLiteral("。后记"), QStringLiteral("另一篇：") + kB});
    const CheckRow& row = GetParam();
    const sources::CheckResult r = library.check(row.article);
    EXPECT_EQ(r.copiedChars, row.copied);
    EXPECT_EQ(r.citedChars, row.cited);
    QList<qint64> ids;
    for (const sources::SourceFigure& f : r.sources)
        ids.append(f.source);
    EXPECT_EQ(ids, row.sources);
    qint64 inPassages = 0;
    for (const sources::Passage& p : r.passages) {
        EXPECT_EQ(
            sources::tokenise(row.article.mid(p.start, p.end - p.start)).values,
            sources::tokenise(library.texts[p.source].mid(p.sourceStart, p.sourceEnd - p.sourceStart)).values)
            << "a verbatim passage maps to the same tokens on both sides";
        inPassages += p.end - p.start;
    }
    EXPECT_EQ(inPassages, r.copiedChars + r.citedChars);
}

INSTANTIATE_TEST_SUITE_P(
    LocalCheck, CheckTable,
    ::testing::Values(
        CheckRow{
            "verbatim_copy", QStringLiteral("我的开头。") + kA + QStringLiteral("我的结尾。"), 29, 0, {1}},
        CheckRow{"two_sources", kA + QStringLiteral("，") + kB, 58, 0, {1, 2}},
        CheckRow{
            "too_short_run", QStringLiteral("我认为") + kA.left(12) + QStringLiteral("很重要。"), 0, 0, {}},
        CheckRow{"quoted_and_cited",
                 QStringLiteral("他说“") + kA + QStringLiteral("”[1]。\n") + kReferences,
                 0,
                 29,
                 {1}},
        CheckRow{"quoted_without_list_entry",
                 QStringLiteral("他说“") + kA + QStringLiteral("”[7]。\n") + kReferences,
                 29,
                 0,
                 {1}},
        CheckRow{"reference_list_never_counts",
                 QStringLiteral("正文。\n参考文献\n[1] ") + kA + QStringLiteral("[J]. 2010.\n"),
                 0,
                 0,
                 {}},
        CheckRow{"full_width_and_markers_still_match",
                 kA.left(15) + QStringLiteral("[3]，") + kA.mid(15),
                 33,
                 0,
                 {1}}));

TEST(LocalCheck, LightEditsJoinIntoOnePassage)
{
    const QString source = kA + kB + kA.left(10);
    Library library({source});
    QString article = source;
    article[20] = u'甲';                      // one character changed
    article.insert(40, QStringLiteral("乙")); // one inserted
    const sources::CheckResult r = library.check(article);
    ASSERT_EQ(r.passages.size(), 1);
    EXPECT_EQ(r.passages[0].start, 0);
    EXPECT_EQ(r.passages[0].end, article.size());
}

TEST(LocalCheck, OverlappingSourcesCountTheLongest)
{
    Library library({kA, kA + kB});
    const sources::CheckResult r = library.check(kA + kB);
    ASSERT_EQ(r.sources.size(), 1);
    EXPECT_EQ(r.sources[0].source, 2);
    EXPECT_EQ(r.copiedChars, kA.size() + kB.size());
    EXPECT_DOUBLE_EQ(r.ratio, 1.0);
    EXPECT_DOUBLE_EQ(r.largestSourceRatio, 1.0);
}

TEST(LocalCheck, ChaptersGetTheirShare)
{
    Library library({kA});
    const QString article =
        QStringLiteral("第1章 绪论\n") + kA + QStringLiteral("\n第2章 方法\n我自己写的内容。");
    const sources::CheckResult r = library.check(article);
    ASSERT_EQ(r.chapters.size(), 2);
    EXPECT_EQ(r.chapters[0].copied, kA.size());
    EXPECT_EQ(r.chapters[1].copied, 0);
    EXPECT_EQ(r.chapters[0].chars + r.chapters[1].chars, r.articleChars);
}

TEST(LocalCheck, ShorterRunFindsShorterCopies)
{
    Library library({kA + kB});
    const QString article = QStringLiteral("我认为") + kB.left(10) + QStringLiteral("很重要。") + kA;
    EXPECT_EQ(library.check(article, 13).copiedChars, kA.size());
    EXPECT_EQ(library.check(article, 8).copiedChars, kA.size() + 10);
}

TEST(SourceIndex, BoilerplateProposesNoSource)
{
    sources::SourceIndex index;
    for (qint64 id = 1; id <= 3; ++id)
        index.add(id, std::vector<quint64>{10, 20 + quint64(id)});
    index.finish();
    EXPECT_EQ(index.candidates({10}, 2), QList<qint64>());
    EXPECT_EQ(index.candidates({10}, 3).size(), 3);
    EXPECT_EQ(index.candidates({10, 22}, 3).front(), 2);
}

} // namespace
