#include "store/Resume.h"

#include "search/QueryText.h"

namespace store {

QStringList pieceQueries(const QStringList& pieces, const QList<analysis::PieceUse>& uses)
{
    QStringList queries;
    queries.reserve(pieces.size());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const bool searched = i >= uses.size() || uses[i] == analysis::PieceUse::Searched;
        const QString query = searched ? search::queryText(pieces[i]) : QString();
        queries.append(search::isBlankQuery(query) ? QString() : query);
    }
    return queries;
}

ResumeOffer resumeOffer(const QStringList& queries, const QHash<QString, KeptResult>& found)
{
    ResumeOffer offer;
    QDateTime earliest;
    QDateTime latest;
    for (qsizetype i = 0; i < queries.size(); ++i) {
        if (queries[i].isEmpty())
            continue;
        const auto it = found.constFind(queries[i]);
        if (it == found.constEnd())
            continue;
        offer.kept.append({static_cast<int>(i), *it});
        if (!latest.isValid() || it->obtained > latest)
            latest = it->obtained;
        if (!earliest.isValid() || it->obtained < earliest)
            earliest = it->obtained;
    }
    offer.earliest = earliest.toLocalTime().date();
    offer.latest = latest.toLocalTime().date();
    return offer;
}

QString resumeQuestion(const ResumeOffer& offer)
{
    QString days = offer.latest.toString(Qt::ISODate);
    if (offer.earliest.isValid() && offer.earliest != offer.latest)
        days = offer.earliest.toString(Qt::ISODate) + QStringLiteral(" 至 ") + days;
    return QStringLiteral("这篇文章中有 %1 句在 %2 检测过。沿用这些结果，只检测其余的句子吗？")
        .arg(offer.kept.size())
        .arg(days);
}

QList<std::pair<int, search::SentenceEntry>> keptEntries(const ResumeOffer& offer, search::Engine engine)
{
    QList<std::pair<int, search::SentenceEntry>> entries;
    entries.reserve(offer.kept.size());
    for (const auto& [index, kept] : offer.kept) {
        search::SentenceEntry e;
        e.state = kept.state;
        e.similarity = kept.similarity;
        e.titles = kept.titles();
        e.engine = engine;
        e.obtained = kept.obtained;
        entries.append({index, std::move(e)});
    }
    return entries;
}

std::optional<KeptResult> keptResultOf(const search::SentenceEntry& entry)
{
    if (entry.reused ||
        (entry.state != search::SentenceState::Scored && entry.state != search::SentenceState::ShortPage))
        return std::nullopt;
    KeptResult r;
    r.state = entry.state;
    r.similarity = entry.similarity;
    r.obtained = entry.obtained.isValid() ? entry.obtained : QDateTime::currentDateTimeUtc();
    r.setTitles(entry.titles);
    return r;
}

} // namespace store
