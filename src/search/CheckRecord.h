#pragma once

#include "analysis/SentenceCutting.h"
#include "search/Engines.h"
#include "search/PageScore.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What a check found out about each sentence of the analysis, kept from the analysis until the next
// one, so that the list can show it and a report can be made of it.
namespace search {

enum class SentenceState {
    NotSearched,
    Searching, // searched, its page is on its way
    Scored,
    ShortPage,    // the result page had too little counted text to be scored
    NotArrived,   // searched, and the page that came was no result page (or none came)
    Verification, // the service showed a verification page instead of results
    Blank,        // the query had nothing to search (the last state)
};

// The name a report gives the state in its data-state attribute.
QString stateName(SentenceState state);

struct SentenceEntry
{
    SentenceState state = SentenceState::NotSearched;
    std::optional<double> similarity; // P in percent, as the similarity display showed it
    int searches = 0;
    QList<Title> titles; // from the latest page, in page order
    // The title slots after those that an earlier page of the sentence filled and no later page
    // overwrote: the window's site table still counts them.
    QList<Title> earlierTitles;
    analysis::PieceUse use = analysis::PieceUse::Searched; // why the piece is never searched, if so
    Engine engine = Engine::Baidu;                         // the service of the latest search
    QString query;                                         // what the piece was last searched with
    QDateTime obtained;  // when the page was scored: now, or for a kept result, then
    bool reused = false; // the result was kept from an earlier start and taken over

    // P written as the similarity display writes it; empty when there is none.
    QString similarityText() const;
    // When the result was obtained, in local time as reports and tables write it; empty when unknown.
    QString obtainedText() const;
};

// The result titles of the check as the window's title slots hold them: kResultsPerPage slots per
// sentence and one spare slot at the end; a slot is empty until a page fills it.
struct TitleSlots
{
    QStringList texts;
    QStringList html;
};

class CheckRecord
{
public:
    // A new analysis: every sentence not searched. article is the text the analysis cut, as the
    // editor held it.
    void reset(qsizetype sentenceCount, const QString& article = QString());

    qsizetype size() const { return m_entries.size(); }
    const SentenceEntry& at(qsizetype index) const { return m_entries.at(index); }
    const QList<SentenceEntry>& entries() const { return m_entries; }
    const QString& article() const { return m_article; }
    // The services searched since the analysis, in the order first used.
    const QList<Engine>& engines() const { return m_engines; }
    // The similarity display's caption after the latest scored page; empty before the first.
    const QString& caption() const { return m_caption; }
    // The overall figure that caption shows; unset when there is none.
    std::optional<double> overall() const { return m_overall; }
    // Sentences in the state; NotSearched counts only those still to be searched, not the pieces
    // that are listed and never searched (notSearchedFor counts those).
    int count(SentenceState state) const;
    // Pieces never searched for this reason.
    int notSearchedFor(analysis::PieceUse use) const;
    // Each sentence's latest titles followed by its earlier ones; the site tables are counted from it.
    TitleSlots titleSlots() const;

    // Each returns false when index addresses no sentence. A sentence searched again starts afresh.
    bool markSearched(int index, Engine engine, const QString& query = QString());
    // The page on its way for the sentence did not come as a result page; false unless it was on its way.
    bool markNotArrived(int index);
    bool markBlank(int index);
    bool markVerification(int index);
    // A page was scored for the sentence at index; the caption is kept even when index is out of range.
    bool pageScored(int index, const PageScore& score);

    // Which pieces are listed but never searched; uses has one entry per sentence, or none.
    void setUses(const QList<analysis::PieceUse>& uses);
    // The query a page is kept under when the sentence it was credited to was never searched.
    void setQuery(int index, const QString& query);
    // The result of an earlier start taken over for the sentence at index: state, figure, titles and
    // the time it was obtained.
    bool adopt(int index, const SentenceEntry& kept);
    void setCaption(const QString& caption, double overall)
    {
        m_caption = caption;
        m_overall = overall;
    }
    // The sentence's kept result no longer keeps the compare step from searching it.
    void releaseKept(int index);
    // Whether the compare step passes over the sentence without a search: not to be searched, or
    // its kept result was taken over.
    bool passedOver(int index) const;
    // The first sentence from index on that the compare step searches; size() when none.
    int nextToSearch(int index) const;
    int reusedCount() const;

private:
    bool valid(int index) const { return index >= 0 && index < m_entries.size(); }
    // A state without a figure or titles of its own; the slots keep the titles.
    bool markUnscored(int index, SentenceState state);
    static void keepTitlesAsEarlier(SentenceEntry& e);

    QList<SentenceEntry> m_entries;
    QList<Engine> m_engines;
    QString m_article;
    QString m_caption;
    std::optional<double> m_overall;
};

} // namespace search
