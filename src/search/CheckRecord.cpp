#include "search/CheckRecord.h"

#include "text/TextRules.h"

#include <algorithm>

namespace search {

QString stateName(SentenceState state)
{
    switch (state) {
    case SentenceState::NotSearched:
        return QStringLiteral("not-searched");
    case SentenceState::Searching:
        return QStringLiteral("searching");
    case SentenceState::Scored:
        return QStringLiteral("scored");
    case SentenceState::ShortPage:
        return QStringLiteral("short");
    case SentenceState::NotArrived:
        return QStringLiteral("not-arrived");
    case SentenceState::Verification:
        return QStringLiteral("verification");
    case SentenceState::Blank:
        return QStringLiteral("blank");
    }
    return QString();
}

QString SentenceEntry::obtainedText() const
{
    return obtained.isValid() ? obtained.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                              : QString();
}

QString SentenceEntry::similarityText() const
{
    return similarity ? text::generalNumber(*similarity) : QString();
}

void CheckRecord::reset(qsizetype sentenceCount, const QString& article)
{
    m_entries = QList<SentenceEntry>(sentenceCount);
    m_engines.clear();
    m_article = article;
    m_caption.clear();
    m_overall.reset();
}

int CheckRecord::count(SentenceState state) const
{
    int n = 0;
    for (const SentenceEntry& e : m_entries)
        n +=
            e.state == state && (state != SentenceState::NotSearched || e.use == analysis::PieceUse::Searched)
                ? 1
                : 0;
    return n;
}

int CheckRecord::notSearchedFor(analysis::PieceUse use) const
{
    int n = 0;
    for (const SentenceEntry& e : m_entries)
        n += e.use == use ? 1 : 0;
    return n;
}

TitleSlots CheckRecord::titleSlots() const
{
    const qsizetype count = m_entries.size() * kResultsPerPage + 1;
    TitleSlots table{QStringList(count), QStringList(count)};
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        qsizetype slot = i * kResultsPerPage;
        const qsizetype end = slot + kResultsPerPage; // a sentence never reaches into the next one's slots
        for (const QList<Title>* titles : {&m_entries[i].titles, &m_entries[i].earlierTitles}) {
            for (const Title& t : *titles) {
                if (slot == end)
                    break;
                table.texts[slot] = t.text;
                table.html[slot] = t.html;
                ++slot;
            }
        }
    }
    return table;
}

void CheckRecord::keepTitlesAsEarlier(SentenceEntry& e)
{
    e.earlierTitles = e.titles + e.earlierTitles;
    e.titles.clear();
}

bool CheckRecord::markSearched(int index, Engine engine, const QString& query)
{
    if (!m_engines.contains(engine))
        m_engines.append(engine);
    if (!valid(index))
        return false;
    SentenceEntry& e = m_entries[index];
    keepTitlesAsEarlier(e);
    e.state = SentenceState::Searching;
    e.similarity.reset();
    ++e.searches;
    e.engine = engine;
    e.query = query;
    e.obtained = {};
    e.reused = false;
    return true;
}

bool CheckRecord::markNotArrived(int index)
{
    if (!valid(index) || m_entries[index].state != SentenceState::Searching)
        return false;
    m_entries[index].state = SentenceState::NotArrived;
    return true;
}

bool CheckRecord::markUnscored(int index, SentenceState state)
{
    if (!valid(index))
        return false;
    SentenceEntry& e = m_entries[index];
    e.state = state;
    e.similarity.reset();
    keepTitlesAsEarlier(e);
    return true;
}

bool CheckRecord::markBlank(int index)
{
    return markUnscored(index, SentenceState::Blank);
}

bool CheckRecord::markVerification(int index)
{
    return markUnscored(index, SentenceState::Verification);
}

bool CheckRecord::pageScored(int index, const PageScore& score)
{
    if (score.caption) {
        m_caption = *score.caption;
        m_overall = score.overall;
    }
    if (!valid(index))
        return false;
    SentenceEntry& e = m_entries[index];
    // The page's titles fill the first slots; the slots after them keep what they held.
    keepTitlesAsEarlier(e);
    e.titles = score.titles;
    e.earlierTitles.remove(0, std::min(score.titles.size(), e.earlierTitles.size()));
    e.obtained = QDateTime::currentDateTimeUtc();
    if (score.shortPage) {
        e.state = SentenceState::ShortPage;
        // The display shows 0 for a short page, when it shows a caption at all.
        e.similarity = score.caption ? std::optional<double>(0) : std::nullopt;
    } else {
        e.state = SentenceState::Scored;
        e.similarity = score.caption ? score.sentenceFigure : std::nullopt;
    }
    return true;
}

void CheckRecord::setQuery(int index, const QString& query)
{
    if (valid(index))
        m_entries[index].query = query;
}

void CheckRecord::setUses(const QList<analysis::PieceUse>& uses)
{
    for (qsizetype i = 0; i < uses.size() && i < m_entries.size(); ++i)
        m_entries[i].use = uses[i];
}

bool CheckRecord::adopt(int index, const SentenceEntry& kept)
{
    if (!valid(index))
        return false;
    SentenceEntry& e = m_entries[index];
    e.state = kept.state;
    e.similarity = kept.similarity;
    e.titles = kept.titles;
    e.engine = kept.engine;
    e.obtained = kept.obtained;
    e.reused = true;
    if (!m_engines.contains(kept.engine))
        m_engines.append(kept.engine);
    return true;
}

void CheckRecord::releaseKept(int index)
{
    if (valid(index))
        m_entries[index].reused = false;
}

bool CheckRecord::passedOver(int index) const
{
    return valid(index) && (m_entries[index].use != analysis::PieceUse::Searched || m_entries[index].reused);
}

int CheckRecord::nextToSearch(int index) const
{
    while (passedOver(index))
        ++index;
    return index;
}

int CheckRecord::reusedCount() const
{
    int n = 0;
    for (const SentenceEntry& e : m_entries)
        n += e.reused ? 1 : 0;
    return n;
}

} // namespace search
