// The results table over the check record, driven by the run without a window.
#include "report/ResultTableModel.h"
#include "analysis/Analysis.h"
#include "analysis/SentencePlace.h"
#include "report/Bands.h"
#include "report/ReportText.h"
#include "support/QtPrinters.h"
#include "support/ScriptedRun.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Model = report::ResultTableModel;

const QString kA(38, QChar(u'甲'));
const QString kB(38, QChar(u'乙'));
const QString kC(38, QChar(u'丙'));

// The run as the window drives it, with the table over its record.
struct TableRun : ScriptedRun
{
    Model model{run};

    // A compare step whose page, if it searches one, arrives with this body.
    void step(const QString& body)
    {
        const qsizetype searched = navigations.size();
        ScriptedRun::step();
        if (navigations.size() > searched)
            finish(body);
    }
    QString cell(int row, Model::Column column) const { return model.index(row, column).data().toString(); }
};

} // namespace

TEST(ResultTableModel, ShowsEachSentenceAsTheRunRecordsIt)
{
    TableRun r;
    QList<QPair<int, int>> changed; // first and last row of each dataChanged
    int resets = 0;
    QObject::connect(&r.model, &Model::dataChanged, [&](const QModelIndex& a, const QModelIndex& b) {
        changed.append({a.row(), b.row()});
        EXPECT_EQ(b.column(), Model::ColumnCount - 1);
    });
    QObject::connect(&r.model, &Model::modelReset, [&] { ++resets; });
    r.analyse(kA + kB + kC + QStringLiteral("（）"));
    ASSERT_EQ(r.model.rowCount(), 4);
    EXPECT_EQ(r.cell(1, Model::Number), QStringLiteral("2"));
    EXPECT_EQ(r.cell(1, Model::Sentence), kB);
    EXPECT_EQ(r.cell(1, Model::State), QStringLiteral("尚未检索"));

    r.step(resultPage(190, {QStringLiteral("第一篇"), QStringLiteral("第二篇")}));
    r.step(resultPage(76));
    r.step(QString(300, QChar(u'短'))); // too little counted text
    r.step(QString());                  // the blank sentence searches nothing
    const struct
    {
        const char* similarity;
        const char* state;
        const char* source;
        report::Band band;
    } expected[] = {
        {"50%", "已评分", "第一篇", report::Band::High},
        {"20%", "已评分", "", report::Band::Medium},
        {"0%", "结果页过短", "", report::Band::NoneFound},
        {"", "无可检索文字", "", report::Band::NoSimilarity},
    };
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(r.cell(row, Model::Figure), QString::fromUtf8(expected[row].similarity));
        EXPECT_EQ(r.cell(row, Model::State), QString::fromUtf8(expected[row].state));
        EXPECT_EQ(r.cell(row, Model::Source), QString::fromUtf8(expected[row].source));
        EXPECT_EQ(r.model.index(row, 0).data(Model::BandRole).toInt(), int(expected[row].band));
    }
    // Without a figure a row sorts below 0 %.
    EXPECT_EQ(r.model.index(3, Model::Figure).data(Model::SortRole).toDouble(), -1.0);
    // Each change is reported for its own row only: searched, then scored.
    EXPECT_EQ(changed, (QList<QPair<int, int>>{{0, 0}, {0, 0}, {1, 1}, {1, 1}, {2, 2}, {2, 2}, {3, 3}}));
    EXPECT_EQ(report::entryToolTip(0, r.run.sentences()[0], r.run.record().at(0)),
              QStringLiteral("第 1 句：") + kA + QStringLiteral("\n相似度：50%\n状态：已评分"));
    EXPECT_EQ(report::titleOf(r.run.record().at(0).titles.constFirst()).link,
              QStringLiteral("http://r.example/%E7%AC%AC%E4%B8%80%E7%AF%87"));

    r.analyse(kA); // a new analysis: the table starts afresh
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(r.model.rowCount(), 1);
}

// Breaks, spaces and sentences edited away are left to the comparison with the literal walk below.
TEST(ResultTableModel, SentenceFoundWhereTheAnalysisCutIt)
{
    using analysis::Place;
    const struct
    {
        QString text;
        QStringList sentences;
        qsizetype index;
        std::optional<Place> place;
    } rows[] = {
        {QStringLiteral("好的好的好的"), {"好的", "好的", "好的"}, 2, Place{4, 2}}, // its own occurrence
        {QStringLiteral("甲乙"), {"甲乙"}, 1, std::nullopt},                        // no such sentence
    };
    for (const auto& row : rows)
        EXPECT_EQ(analysis::sentencePlace(row.text, row.sentences, row.index), row.place)
            << row.text.toStdString();
}

// The walk as first written, a search per sentence: the oracle for the one-pass index.
std::optional<analysis::Place> literalFind(const QString& text, const QString& sentence, qsizetype from)
{
    auto removed = [](QChar c) { return c == u'\r' || c == u'\n' || c == u' '; };
    for (qsizetype start = from; !sentence.isEmpty() && start < text.size(); ++start) {
        qsizetype t = start, s = 0;
        while (s < sentence.size() && t < text.size() &&
               (text[t] == sentence[s] || (removed(text[t]) && text[start] == sentence[0]))) {
            s += text[t] == sentence[s] ? 1 : 0;
            ++t;
        }
        if (s == sentence.size())
            return analysis::Place{start, t - start};
    }
    return std::nullopt;
}

TEST(ResultTableModel, SentencePlaceAgreesWithTheLiteralWalk)
{
    std::mt19937 random(7);
    const QString alphabet = QStringLiteral("甲乙丙 \r\n");
    auto text = [&](int size, int letters) {
        QString t;
        for (int i = 0; i < size; ++i)
            t += alphabet[int(random() % letters)];
        return t;
    };
    for (int round = 0; round < 3000; ++round) {
        QStringList sentences;
        for (int i = int(random() % 6); i >= 0; --i)
            sentences.append(text(int(random() % 4), round % 4 == 0 ? 6 : 3));
        const QString editorText = text(int(random() % 30), 6);
        const qsizetype index = qsizetype(random() % sentences.size());
        qsizetype from = 0;
        for (qsizetype i = 0; i < index; ++i) {
            if (const auto place = literalFind(editorText, sentences[i], from))
                from = place->start + place->length;
        }
        auto expected = literalFind(editorText, sentences[index], from);
        if (!expected)
            expected = literalFind(editorText, sentences[index], 0);
        ASSERT_EQ(analysis::sentencePlace(editorText, sentences, index), expected)
            << editorText.toStdString() << " | " << sentences.join(u'|').toStdString() << " @" << index;
    }
}

// Kept results and pieces never searched: what the 状态 and 检测时间 columns say of them.
TEST(ResultTableModel, KeptAndNeverSearchedPiecesSayWhatTheyAre)
{
    search::SentenceEntry shortPiece;
    shortPiece.use = analysis::PieceUse::TooShort;
    EXPECT_EQ(report::stateText(shortPiece), QStringLiteral("过短"));
    EXPECT_EQ(report::checkedAtText(shortPiece), QString());

    search::SentenceEntry kept;
    kept.state = search::SentenceState::Scored;
    kept.obtained = QDateTime(QDate(2026, 11, 30), QTime(9, 5), Qt::LocalTime);
    kept.reused = true;
    EXPECT_EQ(report::stateText(kept), QStringLiteral("已评分"));
    EXPECT_EQ(report::checkedAtText(kept), QStringLiteral("2026-11-30 09:05（沿用）"));

    search::SentenceEntry searching;
    searching.state = search::SentenceState::Searching;
    EXPECT_EQ(report::stateText(searching), QStringLiteral("检索中"));
}
