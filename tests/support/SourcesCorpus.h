#pragma once

// Texts of one subject for the source library's labelled set and benchmarks: words of two to four
// Han characters drawn with a Zipf-like law from a vocabulary shared by every text, sentences closed by
// punctuation, paragraphs. Unrelated texts then share common words, as theses of one field do, but
// a long common run only by rare chance.

#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <cmath>

namespace sourcescorpus {

class Writer
{
public:
    explicit Writer(quint32 seed, int vocabulary = 3000) : m_random(seed)
    {
        QRandomGenerator words(20161);
        double total = 0;
        for (int i = 0; i < vocabulary; ++i) {
            QString w;
            const int length = 2 + static_cast<int>(words.bounded(3));
            for (int c = 0; c < length; ++c)
                w += QChar(0x4E00 + static_cast<int>(words.bounded(6000)));
            m_words.append(w);
            total += 1.0 / std::pow(i + 1, 0.7);
            m_cumulative.append(total);
        }
        for (double& c : m_cumulative)
            c /= total;
    }

    QRandomGenerator& random() { return m_random; }

    QString word()
    {
        const double x = m_random.generateDouble();
        const auto it = std::lower_bound(m_cumulative.begin(), m_cumulative.end(), x);
        return m_words[std::min<qsizetype>(it - m_cumulative.begin(), m_words.size() - 1)];
    }

    // About chars characters of prose: sentences of six to fourteen words, paragraphs of a few sentences.
    QString prose(qsizetype chars)
    {
        QString out;
        while (out.size() < chars) {
            const int words = 6 + static_cast<int>(m_random.bounded(9));
            for (int w = 0; w < words; ++w) {
                out += word();
                if (w == words / 2 && m_random.bounded(2))
                    out += u'，';
            }
            out += m_random.bounded(5) ? u'。' : u'；';
            if (m_random.bounded(6) == 0)
                out += u'\n';
        }
        return out;
    }

private:
    QRandomGenerator m_random;
    QStringList m_words;
    QList<double> m_cumulative;
};

} // namespace sourcescorpus

#include "sources/LocalCheck.h"

#include <QHash>

namespace sourcescorpus {

// A library held in memory: the fingerprints of each text and the texts themselves.
struct MemoryLibrary
{
    QHash<qint64, QString> texts;
    sources::SourceIndex index;

    void add(qint64 id, const QString& text)
    {
        texts.insert(id, text);
        const QList<quint64> keys = sources::fingerprintKeys(sources::tokenise(text));
        index.add(id, keys);
    }
    sources::CheckResult check(const QString& article, int run = sources::kDefaultRun) const
    {
        return sources::check(article, index, [this](qint64 id) { return texts.value(id); }, {run});
    }
};

} // namespace sourcescorpus
