#pragma once

#include "sources/Fingerprints.h"
#include "sources/Tokens.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <span>
#include <vector>

// The check of an article against a library of sources: which passages were taken from which source,
// which of them are quoted and cited, and the figures thesis checkers print.
namespace sources {

// The library's fingerprints are runs of this many tokens, whatever run a check asks for: a check with
// a shorter run still finds every passage of a source that shares a longer one.
inline constexpr int kIndexRun = kDefaultRun;
// A fingerprint that more sources than this share is boilerplate (a standard phrase, a declaration
// every thesis of a school carries): it proposes no source.
inline constexpr int kBoilerplateSources = 20;

// The winnowed fingerprints of a source's tokens, sorted, each once: what the library keeps.
QList<quint64> fingerprintKeys(const Tokens& tokens);

// The fingerprints of every source in memory, to find the sources an article shares a run with.
class SourceIndex
{
public:
    void add(qint64 source, std::span<const quint64> keys);
    // After the last add, before candidates.
    void finish();
    qsizetype sourceCount() const { return m_ids.size(); }
    qsizetype size() const { return static_cast<qsizetype>(m_postings.size()); }
    // The sources that share a fingerprint with keys (runs of kIndexRun tokens), most shared first; a
    // fingerprint of more than boilerplate sources proposes none.
    QList<qint64> candidates(const QList<quint64>& keys, int boilerplate = kBoilerplateSources) const;

private:
    static constexpr int kBucketBits = 20;
    static constexpr int kPlaceBits = 64 - kKeyBits;
    std::vector<quint64> m_postings; // fingerprint << kPlaceBits | the source's place in m_ids, sorted
    std::vector<quint32> m_buckets;  // where the postings of each top kBucketBits of a fingerprint begin
    QList<qint64> m_ids;
};

struct Passage
{
    qsizetype start = 0; // in the article, UTF-16, end-exclusive
    qsizetype end = 0;
    qint64 source = 0;
    qsizetype sourceStart = 0; // in the source's text, UTF-16, end-exclusive
    qsizetype sourceEnd = 0;
    bool cited = false;
    friend bool operator==(const Passage&, const Passage&) = default;
};

struct SourceFigure
{
    qint64 source = 0;
    qint64 chars = 0; // article characters counted for this source
    double ratio = 0;
};

struct ChapterFigure
{
    QString title;
    qsizetype start = 0;
    qsizetype end = 0;
    qint64 chars = 0; // the chapter's characters
    qint64 copied = 0;
    qint64 cited = 0;
    double ratio = 0; // (copied + cited) / chars
};

struct CheckResult
{
    qint64 articleChars = 0; // code points
    qint64 copiedChars = 0;
    qint64 citedChars = 0;
    double ratio = 0;              // 总文字复制比
    double ratioWithoutCited = 0;  // 去除引用文献复制比
    double largestSourceRatio = 0; // 单篇最大文字复制比
    QList<SourceFigure> sources;   // largest share first
    QList<ChapterFigure> chapters;
    QList<Passage> passages; // in article order; each article character in at most one
    int sourcesCompared = 0; // the sources that shared a fingerprint and were aligned
    bool cancelled = false;
};

struct CheckOptions
{
    int run = kDefaultRun; // clamped to kMinRun .. kMaxRun
    int boilerplate = kBoilerplateSources;
};

// The text of a source as it was read, by its identifier; empty when it cannot be had.
using SourceTexts = std::function<QString(qint64 source)>;

// Checks article against the sources of index. Overlapping passages of several sources count for the
// longest; each character counts once; the table of contents, the reference list and the keyword line
// never count. Stops early, with cancelled set, once cancel is set.
CheckResult check(const QString& article, const SourceIndex& index, const SourceTexts& texts,
                  const CheckOptions& options = {}, const std::atomic<bool>* cancel = nullptr);

} // namespace sources
