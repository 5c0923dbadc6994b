// The results table over the check record, driven by the run without a window.
#include "support/QtPrinters.h"
#include "analysis/Analysis.h"
#include "analysis/SentencePlace.h"
#include "report/Bands.h"
#include "report/ResultTableModel.h"
#include "search/CheckRun.h"

#include <gtest/gtest.h>

namespace {

using Model = report::ResultTableModel;

QString resultPage(int highlighted, const QStringList& titles)
{
    QString html = QStringLiteral("<div>") + QString(600, QChar(u'页')) + QStringLiteral("</div><EM>") +
                   QString(highlighted, QChar(u'x')) + QStringLiteral("</EM><EM>");
    for (const QString& t : titles)
        html += QStringLiteral("<h3 class=\"t\"><a href=\"https://r.example/") + QString::number(t.size()) +
                QStringLiteral("\">") + t + QStringLiteral("</a></h3>");
    return html;
}

struct TableRun
{
    CheckState state;
    search::CheckRun run{state};
    search::WindowFacts facts;
    Model model{state, run};
    QList<QPair<int, int>> changedRows; // first and last row of each dataChanged
    int resets = 0;

    TableRun()
    {
        QObject::connect(&model, &Model::dataChanged, [this](const QModelIndex& a, const QModelIndex& b) {
            changedRows.append({a.row(), b.row()});
            EXPECT_EQ(a.column(), 0);
            EXPECT_EQ(b.column(), Model::ColumnCount - 1);
        });
        QObject::connect(&model, &Model::modelReset, [this] { ++resets; });
    }
    void analyse(const QString& text)
    {
        analysis::startRun(state, analysis::analyse(text));
        facts.listCount = int(state.sentences.size());
        run.analysed(QString());
    }
    // A compare step whose page arrives with this body and title.
    void step(const QString& body, const QString& title = QString())
    {
        const search::RunEffects fx = run.compareStep(facts);
        if (!fx.navigate)
            return; // nothing to search
        const search::RunEffects arrived = run.downloadComplete({false, false, *fx.navigate, title}, facts);
        if (arrived.readBody)
            run.bodyRead(*arrived.readBody, body, facts);
    }
    QString cell(int row, Model::Column column, int role = Qt::DisplayRole) const
    {
        return model.data(model.index(row, column), role).toString();
    }
};

const QString kA(38, QChar(u'甲'));
const QString kB(38, QChar(u'乙'));
const QString kC(38, QChar(u'丙'));

} // namespace

TEST(ResultTableModel, ShowsEachSentenceAsTheRunRecordsIt)
{
    TableRun r;
    r.analyse(kA + kB + kC + QStringLiteral("（）"));
    ASSERT_EQ(r.model.rowCount(), 4);
    ASSERT_EQ(r.model.columnCount(), 6);
    EXPECT_EQ(r.resets, 1);
    EXPECT_EQ(r.model.headerData(Model::CheckedAt, Qt::Horizontal).toString(), QStringLiteral("检测时间"));
    EXPECT_EQ(r.cell(1, Model::Number), QStringLiteral("2"));
    EXPECT_EQ(r.cell(1, Model::Sentence), kB);
    EXPECT_EQ(r.cell(1, Model::State), QStringLiteral("尚未检索"));
    EXPECT_TRUE(r.cell(1, Model::Figure).isEmpty());

    r.step(resultPage(190, {QStringLiteral("第一篇"), QStringLiteral("第二篇")}));
    r.step(resultPage(76, {}));
    r.step(QString(300, QChar(u'短'))); // too little counted text
    r.step(QString());                   // the blank sentence searches nothing
    const struct
    {
        int row;
        const char* figure;
        const char* state;
        const char* source;
        report::Band band;
    } expected[] = {
        {0, "50%", "已评分", "第一篇", report::Band::High},
        {1, "20%", "已评分", "", report::Band::Medium},
        {2, "0%", "结果页过短", "", report::Band::NoneFound},
        {3, "", "无可检索文字", "", report::Band::Uncoloured},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.row);
        EXPECT_EQ(r.cell(e.row, Model::Figure), QString::fromUtf8(e.figure));
        EXPECT_EQ(r.cell(e.row, Model::State), QString::fromUtf8(e.state));
        EXPECT_EQ(r.cell(e.row, Model::Source), QString::fromUtf8(e.source));
        EXPECT_EQ(r.model.data(r.model.index(e.row, 0), Model::BandRole).toInt(), int(e.band));
    }
    EXPECT_EQ(r.model.data(r.model.index(3, Model::Figure), Model::SortRole).toDouble(), -1.0);
    EXPECT_EQ(r.model.data(r.model.index(1, Model::Figure), Model::SortRole).toDouble(), 20.0);
    // Each change is reported for its own row only: searched, then scored.
    EXPECT_EQ(r.changedRows, (QList<QPair<int, int>>{{0, 0}, {0, 0}, {1, 1}, {1, 1}, {2, 2}, {2, 2}, {3, 3}}));
    EXPECT_EQ(report::entryToolTip(0, r.state.sentences[0], r.run.record().at(0)),
              QStringLiteral("第 1 句：") + kA + QStringLiteral("\n相似度：50%\n状态：已评分"));

    const search::Title first = r.run.record().at(0).titles.constFirst();
    EXPECT_EQ(report::shownTitle(first).link, QStringLiteral("https://r.example/3"));

    r.analyse(kA); // a new analysis: the table starts afresh
    EXPECT_EQ(r.resets, 2);
    EXPECT_EQ(r.model.rowCount(), 1);
    EXPECT_EQ(r.cell(0, Model::State), QStringLiteral("尚未检索"));
}

TEST(ResultTableModel, SearchedSentenceWithoutAResultPage)
{
    TableRun r;
    r.analyse(kA + kB);
    const search::RunEffects fx = r.run.compareStep(r.facts);
    EXPECT_EQ(r.cell(0, Model::State), QStringLiteral("未能检测"));
    const search::RunEffects arrived =
        r.run.downloadComplete({false, false, *fx.navigate, QStringLiteral("百度安全验证")}, r.facts);
    if (arrived.readBody)
        r.run.bodyRead(*arrived.readBody, QStringLiteral("<p>网络不给力，请稍后重试</p>"), r.facts);
    EXPECT_EQ(r.cell(0, Model::State), QStringLiteral("验证页"));
    EXPECT_EQ(r.model.data(r.model.index(0, 0), Model::BandRole).toInt(), int(report::Band::Unchecked));
}

namespace {

struct PlaceRow
{
    const char* name;
    QString editorText;
    QStringList sentences;
    qsizetype index;
    std::optional<analysis::Place> place;
};

void PrintTo(const PlaceRow& row, std::ostream* os)
{
    *os << row.name;
}

class SentencePlaces : public ::testing::TestWithParam<PlaceRow>
{
};

} // namespace

TEST_P(SentencePlaces, FoundWhereTheAnalysisCutIt)
{
    const PlaceRow& row = GetParam();
    EXPECT_EQ(analysis::sentencePlace(row.editorText, row.sentences, row.index), row.place);
}

INSTANTIATE_TEST_SUITE_P(
    ResultTableModel, SentencePlaces,
    ::testing::Values(
        PlaceRow{"Plain", QStringLiteral("甲乙丙丁"), {QStringLiteral("甲乙"), QStringLiteral("丙丁")}, 1,
                 analysis::Place{2, 2}},
        PlaceRow{"RepeatedTakesItsOwnOccurrence", QStringLiteral("好的好的好的"),
                 {QStringLiteral("好的"), QStringLiteral("好的"), QStringLiteral("好的")}, 2, analysis::Place{4, 2}},
        PlaceRow{"AcrossLineBreakAndSpaces", QStringLiteral("甲乙\r\n丙 丁"), {QStringLiteral("甲乙丙丁")}, 0,
                 analysis::Place{0, 7}},
        PlaceRow{"EarlierSentenceEditedAway", QStringLiteral("丙丁甲乙"), {QStringLiteral("戊己"), QStringLiteral("甲乙")},
                 1, analysis::Place{2, 2}},
        PlaceRow{"EditedAway", QStringLiteral("甲乙"), {QStringLiteral("丙丁")}, 0, std::nullopt},
        PlaceRow{"OutOfRange", QStringLiteral("甲乙"), {QStringLiteral("甲乙")}, 1, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });
