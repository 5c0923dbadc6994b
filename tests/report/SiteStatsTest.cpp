#include "support/QtPrinters.h"
#include "report/SiteStats.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The statistics done literally, as the report has always done them, for comparison.
QList<report::Row> literalRows(QStringList texts, QStringList blocks)
{
    const qsizetype L = texts.size() - 2;
    QList<int> counts(texts.size(), 0);
    for (qsizetype i = 0; i <= L; ++i)
        for (qsizetype j = 0; j <= L; ++j)
            if (!texts[i].isEmpty() && texts[i] == texts[j])
                counts[i] += 1;
    for (qsizetype j = 1; j <= L; ++j)
        for (qsizetype i = 0; i <= L; ++i)
            if (counts[i] < counts[j]) {
                std::swap(texts[i], texts[j]);
                std::swap(blocks[i], blocks[j]);
                std::swap(counts[i], counts[j]);
            }
    for (qsizetype j = 0; j <= L; ++j)
        for (qsizetype i = j + 1; i <= L; ++i)
            if (texts[i] == texts[j])
                texts[i].clear();
    QList<report::Row> rows;
    for (qsizetype i = 0; i <= L; ++i)
        if (!texts[i].isEmpty())
            rows.append({blocks[i], counts[i]});
    return rows;
}

// Tables for N sentences with the given titles from slot 0 on; each block names its slot.
std::pair<QStringList, QStringList> tables(int sentences, const QStringList& titles)
{
    QStringList texts(10 * sentences + 1);
    QStringList blocks(10 * sentences + 1);
    for (qsizetype i = 0; i < titles.size(); ++i)
        texts[i] = titles[i];
    for (qsizetype i = 0; i < blocks.size(); ++i)
        blocks[i] = QStringLiteral("b%1").arg(i);
    return {texts, blocks};
}

QStringList shownTitles(const QList<report::Row>& rows, const QStringList& originalTexts)
{
    QStringList out;
    for (const report::Row& r : rows)
        out << originalTexts.value(r.block.mid(1).toInt()) + QLatin1Char(':') + QString::number(r.count);
    return out;
}

TEST(SiteStats, RepeatedTitlesMostFrequentFirst)
{
    const auto [texts, blocks] = tables(1, {"T1", "T2", "T1", "T3", "T2", "T1"});
    EXPECT_EQ(shownTitles(report::siteRows(texts, blocks), texts), (QStringList{"T1:3", "T2:2", "T3:1"}));
}

TEST(SiteStats, EqualCountsInTheOrderTheExchangesLeave)
{
    const auto [texts, blocks] = tables(1, {"T1", "T2", "T3", "T4", "T5"});
    EXPECT_EQ(shownTitles(report::siteRows(texts, blocks), texts),
              (QStringList{"T1:1", "T3:1", "T4:1", "T5:1", "T2:1"}));
}

TEST(SiteStats, CaseAndSpacesMakeDifferentTitles)
{
    const auto [texts, blocks] = tables(1, {"Title", "title", "Title ", "Title"});
    const QList<report::Row> rows = report::siteRows(texts, blocks);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].count, 2);
}

TEST(SiteStats, SpareSlotIsNeitherCountedNorShown)
{
    auto [texts, blocks] = tables(1, {"A"});
    texts[10] = QStringLiteral("A");
    texts[9] = QStringLiteral("B");
    EXPECT_EQ(shownTitles(report::siteRows(texts, blocks), texts), (QStringList{"A:1", "B:1"}));
    EXPECT_EQ(report::slotCounts(texts).at(10), 0);
}

TEST(SiteStats, NoTablesGiveNoRows)
{
    EXPECT_TRUE(report::siteRows({}, {}).isEmpty());
    EXPECT_TRUE(report::siteRows({QString()}, {QString()}).isEmpty());
    EXPECT_EQ(report::reportPieces({}),
              (QStringList{"<br><br><br><br><br><table><tr><td><h1>相似性网站分析结果</h1></td></tr>", "</table>"}));
}

TEST(SiteStats, RowHtml)
{
    EXPECT_EQ(report::reportPieces({{QStringLiteral("<a href=\"x\">t</a>"), 3}}).at(1),
              QStringLiteral("<tr><td><a href=\"x\">t</a></td><td width=100 align=center>&nbsp&nbsp出现次数：3<br></td></tr>"));
}

// The fast ordering must leave exactly the literal procedure's order, equal counts and the block kept
// for each title included.
TEST(SiteStats, SameRowsAsTheLiteralProcedure)
{
    std::mt19937 rng(4);
    for (int round = 0; round < 3000; ++round) {
        const int sentences = 1 + static_cast<int>(rng() % 12);
        const int distinct = 1 + static_cast<int>(rng() % 15);
        auto [texts, blocks] = tables(sentences, {});
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (rng() % 3 != 0)
                texts[i] = QStringLiteral("T%1").arg(rng() % distinct);
        }
        const QList<report::Row> fast = report::siteRows(texts, blocks);
        const QList<report::Row> literal = literalRows(texts, blocks);
        ASSERT_EQ(fast.size(), literal.size()) << round;
        for (qsizetype k = 0; k < fast.size(); ++k) {
            ASSERT_EQ(fast[k].block, literal[k].block) << "round " << round << " row " << k;
            ASSERT_EQ(fast[k].count, literal[k].count) << "round " << round << " row " << k;
        }
    }
}

struct SanitizeRow
{
    const char* name;
    QString in;
    QString out;
};

void PrintTo(const SanitizeRow& row, std::ostream* os)
{
    *os << row.name;
}

class Sanitize : public ::testing::TestWithParam<SanitizeRow>
{
};

TEST_P(Sanitize, RemovesWhatWouldRun)
{
    EXPECT_EQ(report::sanitizeTitleBlock(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    SiteStats, Sanitize,
    ::testing::Values(
        SanitizeRow{"PlainLinkStays", QStringLiteral("<a href=\"http://x/\" target=\"_blank\">标题</a>"),
                    QStringLiteral("<a href=\"http://x/\" target=\"_blank\">标题</a>")},
        SanitizeRow{"ScriptElement", QStringLiteral("<a href=\"/\">t</a><script>alert(1)</script>"),
                    QStringLiteral("<a href=\"/\">t</a>")},
        SanitizeRow{"UnclosedScript", QStringLiteral("a<SCRIPT src=\"x.js\">"), QStringLiteral("a")},
        SanitizeRow{"EventHandler", QStringLiteral("<a href=\"/\" onclick=\"steal()\" onMouseOver='x'>t</a>"),
                    QStringLiteral("<a href=\"/\"  >t</a>")},
        SanitizeRow{"JavascriptAddress", QStringLiteral("<a href=\"javascript:steal()\">t</a>"),
                    QStringLiteral("<a href=\"#\">t</a>")},
        SanitizeRow{"JavascriptWithWhitespace", QStringLiteral("<a HREF=' java\tscript:x'>t</a>"),
                    QStringLiteral("<a HREF=\"#\">t</a>")},
        SanitizeRow{"WordOnInTextStays", QStringLiteral("<a href=\"/\">online=yes</a>"),
                    QStringLiteral("<a href=\"/\">online=yes</a>")}));

} // namespace
