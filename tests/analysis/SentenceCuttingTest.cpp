#include "analysis/SentenceCutting.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using analysis::PieceUse;

constexpr auto S = PieceUse::Searched;
constexpr auto T = PieceUse::TooShort;
constexpr auto R = PieceUse::Reference;

struct Row
{
    const char* name;
    QString input;
    QStringList pieces;
    QList<PieceUse> uses;
};

using rows::PrintTo;

using SentenceCuttingTable = ::testing::TestWithParam<Row>;

TEST_P(SentenceCuttingTable, CutsAndSaysWhatIsSearched)
{
    const Row& row = GetParam();
    const analysis::SentencePieces r = analysis::cutSentences(row.input);
    EXPECT_EQ(r.pieces, row.pieces);
    EXPECT_EQ(r.uses, row.uses);
}

const QString k8 = QStringLiteral("一二三四五六七八");
const QString k38 = QString(38, u'文');

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
        Row{"LongSentenceCutAt38",
            k38 + k38 + QStringLiteral("尾"),
            {k38, k38, QStringLiteral("尾")},
            {S, S, T}},
        Row{"PairOutsideTheBmpNotSplitAtTheCut",
            k38.left(37) + QStringLiteral("\U00020000") + k8,
            {k38.left(37), QStringLiteral("\U00020000") + k8},
            {S, S}},
        Row{"PairEndingExactlyAtTheCutStays",
            k38.left(36) + QStringLiteral("\U00020000") + k8,
            {k38.left(36) + QStringLiteral("\U00020000"), k8},
            {S, S}},
        Row{"ShorterThanEightNotSearched",
            QStringLiteral("一二三四五六七。") + k8,
            {QStringLiteral("一二三四五六七。"), k8},
            {S, S}},
        Row{"SevenIsTooShort",
            QStringLiteral("第一章 绪论\r\n") + k8,
            {QStringLiteral("第一章绪论"), k8},
            {T, S}},
        Row{"ReferenceListUpToAcknowledgements",
            k8 + QStringLiteral("\r\n参 考 文 献\r\n[1] ") + k38 + QStringLiteral("\r\n致谢\r\n") + k8,
            {k8, QStringLiteral("参考文献"), QStringLiteral("[1]") + k38.left(35), k38.right(3),
             QStringLiteral("致谢"), k8},
            {S, R, R, R, T, S}},
        Row{"ReferenceHeadingsAnyCaseToTheEnd",
            QStringLiteral("BIBLIOGRAPHY\r\n") + k8 + QStringLiteral("\r\nmain\r\n") + k8,
            {QStringLiteral("BIBLIOGRAPHY"), k8, QStringLiteral("main"), k8},
            {R, R, R, R}},
        Row{"OtherReferenceHeadings",
            QStringLiteral("主要参考文献\r\n") + k8 + QStringLiteral("\r\nAcknowledgements\r\n") + k8 +
                QStringLiteral("\r\nReferences\r\n") + k8 + QStringLiteral("\r\n附录\r\n") + k8 +
                QStringLiteral("\r\n后记"),
            {QStringLiteral("主要参考文献"), k8, QStringLiteral("Acknowledgements"), k8,
             QStringLiteral("References"), k8, QStringLiteral("附录"), k8, QStringLiteral("后记")},
            {R, R, S, S, R, R, T, S, T}},
        Row{"HeadingInsideALineIsNotOne",
            QStringLiteral("参考文献的格式很重要") + QStringLiteral("\r\n") + k8,
            {QStringLiteral("参考文献的格式很重要"), k8},
            {S, S}}));

} // namespace
