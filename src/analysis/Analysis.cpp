#include "analysis/Analysis.h"

#include "analysis/TextRules.h"
#include "platform/Codepage936.h"

namespace analysis {
namespace {

using text::kCrLf;

const QString kIdeo(1, QChar(text::kIdeographicSpace));

} // namespace

QString normalise(const QString& editorText)
{
    QString t = editorText;

    // Sentence ends get a line break; half-width "!" and "?" become full-width on the way.
    t.replace(QStringLiteral("；"), QStringLiteral("；") + kCrLf);
    t.replace(QStringLiteral("。"), QStringLiteral("。") + kCrLf);
    t.replace(QStringLiteral("！"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("!"), QStringLiteral("！") + kCrLf);
    t.replace(QStringLiteral("？"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("?"), QStringLiteral("？") + kCrLf);
    t.replace(QStringLiteral("……"), QStringLiteral("……") + kCrLf);

    // One pass per pattern, in this order: three ideographic spaces before a break all go, four keep one.
    t.replace(QStringLiteral("  ") + kCrLf, kCrLf);
    t.replace(QStringLiteral(" ") + kCrLf, kCrLf);
    t.replace(kIdeo + kIdeo + kCrLf, kCrLf);
    t.replace(kIdeo + kCrLf, kCrLf);
    t.replace(QStringLiteral("\t") + kCrLf, kCrLf);

    // Blank lines go; the kept lines are joined with no break before the first or after the last, and
    // then every break and every ASCII space goes, so joining and removing are one step here.
    QString joined;
    joined.reserve(t.size());
    for (const QStringView line : QStringView(t).split(kCrLf)) {
        if (!text::hasNonSpace(line))
            continue;
        for (const QChar c : line) {
            if (c != u' ')
                joined.append(c);
        }
    }
    return joined;
}

QStringList cut(const QString& articleText)
{
    if (articleText.isEmpty())
        return {};
    QString buffer;
    buffer.reserve(articleText.size() + articleText.size() / kSentenceLength * kPieceMarker.size() + 8);
    for (qsizetype i = 0; i < articleText.size(); i += kSentenceLength) {
        const QStringView piece = QStringView(articleText).mid(i, kSentenceLength);
        buffer.append(piece);
        if (i + kSentenceLength < articleText.size())
            buffer.append(kPieceMarker);
    }
    // Splitting the joined buffer, not the pieces: a marker typed in the article (or formed across a
    // piece boundary) cuts there too.
    return buffer.split(kPieceMarker, Qt::KeepEmptyParts);
}

Result analyse(const QString& editorText)
{
    Result r;
    r.articleText = normalise(editorText);
    r.sentences = cut(r.articleText);
    r.charCount = cp936::countDoubleByte(r.articleText);
    return r;
}

QString reportLine(qsizetype charCount, qsizetype sentenceCount)
{
    return QStringLiteral("本文共 %1 字，本次分析共分析出 %2 句，请多次点击进行对比！").arg(charCount).arg(sentenceCount);
}

QString listEntry(qsizetype index, const QString& sentence)
{
    return QString::number(index + 1) + u'-' + text::trimSpaces(sentence);
}

void startRun(CheckState& state, Result result)
{
    state.articleText = std::move(result.articleText);
    state.sentences = std::move(result.sentences);
    state.nextIndex = 0;
    state.pageCount = 1;
    state.autoRun = false;
    state.similaritySum = 0;
    state.statsPending = false;
    state.lastIndex = 0;
    const qsizetype slotCount = 10 * state.sentences.size() + 1;
    state.titleBlocks = QStringList(slotCount);
    state.titleTexts = QStringList(slotCount);
    state.titleCounts = QList<int>(slotCount, 0);
    state.firstStepPending = true;
}

} // namespace analysis
