#pragma once

#include "analysis/SentenceCutting.h"
#include "search/CheckRecord.h"
#include "store/ResultStore.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <utility>

// Whether an article can resume from results kept by an earlier start, and what it takes over.
namespace store {

// The query text each piece is searched with; empty for a piece the compare step never searches.
// uses is empty (every piece searched) or has one entry per piece.
QStringList pieceQueries(const QStringList& pieces, const QList<analysis::PieceUse>& uses);

struct ResumeOffer
{
    QList<std::pair<int, KeptResult>> kept; // by piece index, in article order
    QDate earliest;                         // local dates of the earliest and the latest of them
    QDate latest;

    bool isEmpty() const { return kept.isEmpty(); }
};

// The pieces whose query found a kept result. queries as pieceQueries gives them.
ResumeOffer resumeOffer(const QStringList& queries, const QHash<QString, KeptResult>& found);

// "这篇文章中有 N 句在 YYYY-MM-DD 检测过。沿用这些结果，只检测其余的句子吗？", naming the first and the
// last day ("YYYY-MM-DD 至 YYYY-MM-DD") when the results were obtained on several.
QString resumeQuestion(const ResumeOffer& offer);

// The record's entries for the offered pieces, titles unpacked, as searched with engine.
QList<std::pair<int, search::SentenceEntry>> keptEntries(const ResumeOffer& offer, search::Engine engine);

// A scored or short page of the record as the store keeps it; nullopt for any other state and for a
// result taken over from the store.
std::optional<KeptResult> keptResultOf(const search::SentenceEntry& entry);

} // namespace store
