#include "analysis/SentenceCutting.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using analysis::PieceUse;

constexpr auto S = PieceUse::Searched;
constexpr auto T = PieceUse::TooShort;
constexpr auto R = PieceUse::Reference;
constexpr auto C = PieceUse::Contents;

struct Row
{
    const char* name;
    QString input;
    QStringList pieces;
    QList<PieceUse> uses;
    QStringList searchTexts = {}; // empty: the pieces themselves
};

using rows::PrintTo;

using SentenceCuttingTable = ::testing::TestWithParam<Row>;

// The piece's place holds the piece as the writer wrote it: its characters, less the spaces the
// cutting dropped, with ! and ? as written.
QString asCut(QString s)
{
    s.remove(u' ');
    return s.replace(u'!', u'！').replace(u'?', u'？');
}

TEST_P(SentenceCuttingTable, CutsAndSaysWhatIsSearched)
{
    const Row& row = GetParam();
    const analysis::SentencePieces r = analysis::cutSentences(row.input);
    EXPECT_EQ(r.pieces, row.pieces);
    EXPECT_EQ(r.uses, row.uses);
    EXPECT_EQ(r.searchTexts, row.searchTexts.isEmpty() ? row.pieces : row.searchTexts);
    ASSERT_EQ(r.places.size(), r.pieces.size());
    for (qsizetype k = 0; k < r.pieces.size(); ++k)
        EXPECT_EQ(asCut(row.input.mid(r.places[k].start, r.places[k].length)), asCut(r.pieces[k])) << k;
}

const QString k8 = QStringLiteral("一二三四五六七八");
const QString k38 = QString(38, u'文');
const QString kEntry = QStringLiteral("[1] 张三. 文本研究[J]. 学报, 2019.");
const QString kEntryCut = QStringLiteral("[1]张三.文本研究[J].学报, 2019.");

INSTANTIATE_TEST_SUITE_P(
    SentenceCutting, SentenceCuttingTable,
    ::testing::Values(
        Row{"Empty", QString(), {}, {}},
        Row{"EachMarkEndsASentence",
            k8 + QStringLiteral("；") + k8 + QStringLiteral("。") + k8 + QStringLiteral("！") + k8 +
                QStringLiteral("？"),
            {k8 + QStringLiteral("；"), k8 + QStringLiteral("。"), k8 + QStringLiteral("！"),
             k8 + QStringLiteral("？")},
            {S, S, S, S}},
        Row{"HalfWidthMarksEndAndBecomeFullWidth",
            k8 + QStringLiteral("!") + k8 + QStringLiteral("?"),
            {k8 + QStringLiteral("！"), k8 + QStringLiteral("？")},
            {S, S}},
        Row{"DoubleEllipsisEndsOneDoesNot",
            k8 + QStringLiteral("…") + k8 + QStringLiteral("……") + k8,
            {k8 + QStringLiteral("…") + k8 + QStringLiteral("……"), k8},
            {S, S}},
        Row{"LineBreakEnds", k8 + QStringLiteral("\r\n") + k8, {k8, k8}, {S, S}},
        Row{"OuterWhiteSpaceGoesInnerAsciiSpacesGo",
            QStringLiteral("\u3000\u3000 \t一二 三四\u3000五六七八\t \u3000"),
            {QStringLiteral("一二三四\u3000五六七八")},
            {S}},
        Row{"EmptySentencesDropped",
            QStringLiteral(" \r\n\u3000\r\n。") + k8,
            {QStringLiteral("。"), k8},
            {T, S}},
        Row{"LongSentenceInEqualPieces",
            k38 + k38 + QStringLiteral("尾"),
            {QString(26, u'文'), QString(26, u'文'), QString(24, u'文') + QStringLiteral("尾")},
            {S, S, S}},
        Row{"FortyGiveTwentyAndTwentyNoTail",
            QString(37, u'文') + QStringLiteral("转换。"),
            {QString(20, u'文'), QString(17, u'文') + QStringLiteral("转换。")},
            {S, S}},
        Row{"PairOutsideTheBmpNotSplit",
            QString(22, u'文') + QStringLiteral("\U00020000") + QString(23, u'文'),
            {QString(22, u'文') + QStringLiteral("\U00020000"), QString(23, u'文')},
            {S, S}},
        Row{"ShortOnlyWhenTheWholeSentenceIs",
            QStringLiteral("一二三四五六七。之一。第一章 绪论"),
            {QStringLiteral("一二三四五六七。"), QStringLiteral("之一。"), QStringLiteral("第一章绪论")},
            {S, T, T}},
        Row{"LatinWordsKeepOneSpaceAndAreCutBetween",
            QStringLiteral(
                "Text  similarity computation is a fundamental task in natural language processing, "
                "with many uses."),
            {QStringLiteral("Text similarity computation is a"),
             QStringLiteral("fundamental task in natural language"),
             QStringLiteral("processing, with many uses.")},
            {S, S, S}},
        Row{"AWordLongerThanAPieceIsCut",
            QStringLiteral("Pneumonoultramicroscopicsilicovolcanoconiosisandmore is long."),
            {QStringLiteral("Pneumonoultramicroscopicsilicov"),
             QStringLiteral("olcanoconiosisandmore is long.")},
            {S, S}},
        Row{"LatinInsideChinese",
            QStringLiteral("本文使用 Python 语言在 Ubuntu 20.04 上实现。"),
            {QStringLiteral("本文使用Python语言在Ubuntu 20.04上实现。")},
            {S}},
        Row{"MarkersStayInThePieceNotInTheSearch",
            QStringLiteral("效率得到了明显的提高[3]1。as shown by (Smith, 2019) in the past. "
                           "已有研究（张三，2019）表明了这一点¹"),
            {QStringLiteral("效率得到了明显的提高[3]1。"),
             QStringLiteral("as shown by (Smith, 2019) in the past."),
             QStringLiteral("已有研究（张三，2019）表明了这一点¹")},
            {S, S, S},
            {QStringLiteral("效率得到了明显的提高。"), QStringLiteral("as shown by in the past."),
             QStringLiteral("已有研究表明了这一点")}},
        Row{"ShortWithoutItsMarkers",
            QStringLiteral("见文献[12][13]。"),
            {QStringLiteral("见文献[12][13]。")},
            {T},
            {QStringLiteral("见文献。")}},
        Row{"ContentsWithAndWithoutPageNumbers",
            QStringLiteral(
                "目 录\r\n摘要\tI\r\n第一章 绪论\r\n1.1研究背景与意义\t2\r\n参考文献\r\n致谢\t45\r\n") +
                k8 + QStringLiteral("。\r\n2.3 实验结果 ........ 12"),
            {QStringLiteral("目录"), QStringLiteral("摘要\tI"), QStringLiteral("第一章绪论"),
             QStringLiteral("1.1研究背景与意义\t2"), QStringLiteral("参考文献"), QStringLiteral("致谢\t45"),
             k8 + QStringLiteral("。"), QStringLiteral("2.3实验结果........ 12")},
            {C, C, C, C, C, C, S, C}},
        Row{"ReferenceListUpToAcknowledgements",
            k8 + QStringLiteral("\r\n七、参考文献：\r\n") + kEntry + QStringLiteral("\r\n致谢\r\n") + k8,
            {k8, QStringLiteral("七、参考文献："), kEntryCut, QStringLiteral("致谢"), k8},
            {S, R, R, T, S},
            {k8, QStringLiteral("七、参考文献："), QStringLiteral("张三.文本研究[J].学报, 2019."),
             QStringLiteral("致谢"), k8}}));

} // namespace
