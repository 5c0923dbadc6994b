// The local check on a labelled set made here: articles of one subject with planted copies (verbatim
// of 13 to 400 characters, lightly edited, mixed from two sources, quoted and cited, quoted without a
// valid marker), a control article with none, and an article that is itself in the library. The
// figures are printed; the test holds them to what the check promises.
#include "sources/LocalCheck.h"
#include "support/SourcesCorpus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

namespace {

struct Case
{
    qsizetype start;
    qsizetype end;
    bool cited;
};

struct Labelled
{
    QString article;
    QList<Case> cases;
};

constexpr int kSources = 80;
constexpr int kSourceChars = 8000;
constexpr int kReferences = 5;

class LabelledSet : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sourcescorpus::Writer writer(1);
        for (int id = 1; id <= kSources; ++id)
            s_library.add(id, writer.prose(kSourceChars));
        s_library.add(kSources + 1, s_self = writer.prose(20000)); // the article itself, under another name
        s_library.index.finish();
    }

    // The text of source id from token from, count tokens long.
    static QString slice(qint64 id, qsizetype count, QRandomGenerator& random)
    {
        const QString& text = s_library.texts[id];
        const sources::Tokens t = sources::tokenise(text);
        const qsizetype from = random.bounded(static_cast<int>(t.size() - count));
        return text.mid(t.starts[from], t.ends[from + count - 1] - t.starts[from]);
    }

    static Labelled article(quint32 seed, int cases)
    {
        sourcescorpus::Writer writer(seed);
        QRandomGenerator& random = writer.random();
        Labelled out;
        QString& a = out.article;
        a = QStringLiteral("摘要\n") + writer.prose(300) + QStringLiteral("\n关键词：") + writer.word() +
            QStringLiteral("；") + writer.word() + QStringLiteral("\n");
        static const int lengths[] = {13, 20, 30, 50, 80, 120, 200, 400};
        auto source = [&random] { return 1 + static_cast<qint64>(random.bounded(kSources)); };
        auto plant = [&out, &a](const QString& text, bool cited) {
            out.cases.append({a.size(), a.size() + text.size(), cited});
            a += text;
        };
        for (int i = 0; i < cases; ++i) {
            if (i % 6 == 0)
                a += QStringLiteral("\n第%1章 ").arg(i / 6 + 1) + writer.word() + u'\n';
            a += writer.prose(200 + random.bounded(400));
            switch (i % 6) {
            case 0:
                plant(slice(source(), lengths[(i / 6) % 8], random), false);
                break;
            case 1: { // a change, an insertion or a deletion every 50 characters
                QString text = slice(source(), 200, random);
                for (qsizetype at = text.size() - 25; at > 0; at -= 50) {
                    const int edit = static_cast<int>(random.bounded(3));
                    if (edit == 0)
                        text[at] = QChar(0x9000 + random.bounded(100));
                    else if (edit == 1)
                        text.insert(at, QChar(0x9000 + random.bounded(100)));
                    else
                        text.remove(at, 1);
                }
                plant(text, false);
                break;
            }
            case 2: // two sources, one right after the other: a case each
                plant(slice(source(), 100, random), false);
                plant(slice(source(), 100, random), false);
                break;
            case 3:
                a += QStringLiteral("正如文献所述，“");
                plant(slice(source(), 60 + random.bounded(90), random), true);
                a += QStringLiteral("”[%1]。").arg(1 + random.bounded(kReferences));
                break;
            case 4: // quoted, but the list holds no entry 99
                a += QStringLiteral("“");
                plant(slice(source(), 80, random), false);
                a += QStringLiteral("”[99]。");
                break;
            case 5: // a marker without quotes
                plant(slice(source(), 60, random), false);
                a += QStringLiteral("[2]。");
                break;
            }
        }
        a += writer.prose(300) + QStringLiteral("\n参考文献\n");
        for (int n = 1; n <= kReferences; ++n)
            a += QStringLiteral("[%1] 作者%1. ").arg(n) + writer.word() + QStringLiteral("[J]. 2015.\n");
        return out;
    }

    static sourcescorpus::MemoryLibrary s_library;
    static QString s_self;
};

sourcescorpus::MemoryLibrary LabelledSet::s_library;
QString LabelledSet::s_self;

TEST_F(LabelledSet, FindsThePlantedPassagesAndTellsCitedOnesApart)
{
    qint64 truth = 0, truth50 = 0, detected = 0, hit = 0, hit50 = 0;
    int detectedCases = 0, detections = 0, citedCases = 0, citedRecognised = 0, copiedJudgedCited = 0;
    for (quint32 seed = 100; seed < 106; ++seed) {
        const Labelled set = article(seed, 36);
        const sources::CheckResult r = s_library.check(set.article);
        std::vector<char> isTruth(set.article.size(), 0);
        std::vector<char> isLong(set.article.size(), 0);
        for (const Case& c : set.cases) {
            std::fill(isTruth.begin() + c.start, isTruth.begin() + c.end, 1);
            if (c.end - c.start >= 50)
                std::fill(isLong.begin() + c.start, isLong.begin() + c.end, 1);
        }
        for (qsizetype i = 0; i < set.article.size(); ++i) {
            truth += isTruth[i];
            truth50 += isLong[i];
        }
        for (const sources::Passage& p : r.passages) {
            for (qsizetype i = p.start; i < p.end; ++i) {
                ++detected;
                hit += isTruth[i];
                hit50 += isLong[i];
            }
        }
        for (const Case& c : set.cases) {
            int overlapping = 0;
            qint64 citedChars = 0;
            for (const sources::Passage& p : r.passages) {
                const qsizetype overlap = std::min(p.end, c.end) - std::max(p.start, c.start);
                if (overlap <= 0)
                    continue;
                ++overlapping;
                if (p.cited)
                    citedChars += overlap;
            }
            if (overlapping > 0) {
                ++detectedCases;
                detections += overlapping;
            }
            if (c.cited) {
                ++citedCases;
                citedRecognised += citedChars >= 0.9 * (c.end - c.start);
            } else {
                copiedJudgedCited += citedChars > 0;
            }
        }
    }
    const double precision = double(hit) / std::max<qint64>(detected, 1);
    const double recall = double(hit) / std::max<qint64>(truth, 1);
    const double recall50 = double(hit50) / std::max<qint64>(truth50, 1);
    const double granularity = double(detections) / std::max(detectedCases, 1);
    const double f1 = 2 * precision * recall / (precision + recall);
    const double plagdet = f1 / std::log2(1 + granularity);
    std::cout << "labelled set: precision " << precision << ", recall " << recall
              << " (50+ characters: " << recall50 << "), granularity " << granularity << ", plagdet "
              << plagdet << ", cited recognised " << citedRecognised << " of " << citedCases
              << ", copied judged cited " << copiedJudgedCited << "\n";
    EXPECT_GE(precision, 0.98);
    EXPECT_GE(recall50, 0.95);
    EXPECT_GE(plagdet, 0.90);
    EXPECT_GE(citedRecognised, 0.9 * citedCases);
    EXPECT_EQ(copiedJudgedCited, 0);
}

TEST_F(LabelledSet, ControlArticleAndTheArticleItself)
{
    sourcescorpus::Writer writer(999);
    const QString control = QStringLiteral("第1章 绪论\n") + writer.prose(60000);
    const sources::CheckResult none = s_library.check(control);
    const double marked = double(none.copiedChars + none.citedChars) / none.articleChars;
    const sources::CheckResult self = s_library.check(s_self);
    std::cout << "control article marked " << marked * 100 << " %; the article itself: 总文字复制比 "
              << self.ratio * 100 << " %\n";
    EXPECT_LE(marked, 0.002);
    EXPECT_GE(self.ratio, 0.95);
}

} // namespace
