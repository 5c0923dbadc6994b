#include "store/ResultKeeper.h"

namespace store {

ResultKeeper::ResultKeeper(const QString& directory, search::CheckRun& run, QObject* parent)
    : QObject(parent), m_run(run)
{
    if (directory.isEmpty())
        return;
    m_store = std::make_unique<StoreWorker>(directory);
    connect(m_store.get(), &StoreWorker::notice, this, &ResultKeeper::notice);
    connect(&run, &search::CheckRun::recordChanged, this, &ResultKeeper::recordChanged);
}

ResultKeeper::~ResultKeeper() = default;

void ResultKeeper::recordChanged(int sentence)
{
    const search::CheckRecord& record = m_run.record();
    if (sentence < 0 || sentence >= record.size())
        return;
    const search::SentenceEntry& entry = record.at(sentence);
    if (const std::optional<KeptResult> kept = keptResultOf(entry)) {
        m_store->keep(entry.engine, entry.query, *kept);
    }
}

ResumeOffer ResultKeeper::offer(search::Engine engine, const QList<analysis::PieceUse>& uses)
{
    if (!m_store)
        return {};
    const QStringList queries = pieceQueries(m_run.searchTexts(), uses);
    const QHash<QString, KeptResult> found = m_store->lookUp(engine, queries);
    return resumeOffer(queries, found);
}

search::RunEffects ResultKeeper::resume(const ResumeOffer& offer, search::Engine engine)
{
    return m_run.adoptKept(keptEntries(offer, engine));
}

bool ResultKeeper::clear()
{
    if (!m_store)
        return true;
    return m_store->clear();
}

int ResultKeeper::count()
{
    return m_store ? m_store->count() : 0;
}

} // namespace store
