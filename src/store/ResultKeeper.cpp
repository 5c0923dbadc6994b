#include "store/ResultKeeper.h"

#include "search/QueryText.h"

namespace store {

ResultKeeper::ResultKeeper(const QString& directory, search::CheckRun& run, const CheckState& state, QObject* parent)
    : QObject(parent), m_run(run), m_state(state)
{
    if (directory.isEmpty())
        return;
    m_store = std::make_unique<ResultStore>(directory);
    connect(&run, &search::CheckRun::recordChanged, this, &ResultKeeper::recordChanged);
}

ResultKeeper::~ResultKeeper() = default;

void ResultKeeper::recordChanged(int sentence)
{
    const search::CheckRecord& record = m_run.record();
    if (sentence < 0 || sentence >= record.size() || sentence >= m_state.sentences.size())
        return;
    const search::SentenceEntry& entry = record.at(sentence);
    if (const std::optional<KeptResult> kept = keptResultOf(entry))
        m_store->keep(entry.engine, search::queryText(m_state.sentences[sentence]), *kept);
}

ResumeOffer ResultKeeper::offer(search::Engine engine, const QList<analysis::PieceUse>& uses)
{
    if (!m_store)
        return {};
    const QStringList queries = pieceQueries(m_state.sentences, uses);
    return resumeOffer(queries, m_store->lookUp(engine, queries));
}

search::RunEffects ResultKeeper::resume(const ResumeOffer& offer, search::Engine engine)
{
    return m_run.adoptKept(keptEntries(offer, engine));
}

bool ResultKeeper::clear()
{
    return !m_store || m_store->clear();
}

QString ResultKeeper::takeNotice()
{
    return m_store ? m_store->takeNotice() : QString();
}

} // namespace store
