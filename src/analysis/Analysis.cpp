#include "analysis/Analysis.h"

#include "text/Codepage936.h"
#include "text/TextRules.h"

namespace analysis {
namespace {

constexpr char16_t kIdeoSpace = text::kIdeographicSpace;

// Ends the line that starts at lineStart of out: before a break the passes take white space off its
// end; a blank line goes, a kept one loses its ASCII spaces.
void endLine(char16_t* out, qsizetype& size, qsizetype lineStart, bool beforeBreak)
{
    if (beforeBreak)
        size -= text::whitespaceBeforeBreak(QStringView(out + lineStart, size - lineStart));
    qsizetype k = lineStart;
    bool blank = true;
    for (qsizetype i = lineStart; i < size; ++i) {
        const char16_t c = out[i];
        if (c != kIdeoSpace && c != u' ')
            blank = false;
        if (c != u' ')
            out[k++] = c;
    }
    size = blank ? lineStart : k;
}

} // namespace

// One pass that gives what the sequence of replacements gives: sentence marks get a break, the
// whitespace before every break goes as the fixed passes take it, blank lines go, and the kept lines
// are joined with the breaks and ASCII spaces removed. The tests compare it with the literal sequence.
QString normalise(const QString& editorText)
{
    const qsizetype n = editorText.size();
    const char16_t* s = reinterpret_cast<const char16_t*>(editorText.utf16());
    QString result(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    qsizetype size = 0;
    qsizetype lineStart = 0;
    auto breakLine = [&] {
        endLine(out, size, lineStart, true);
        lineStart = size;
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        switch (c) {
        case u'；':
        case u'。':
        case u'！':
        case u'？':
            out[size++] = c;
            breakLine();
            break;
        case u'!':
            out[size++] = u'！';
            breakLine();
            break;
        case u'?':
            out[size++] = u'？';
            breakLine();
            break;
        case u'…':
            out[size++] = c;
            if (i + 1 < n && s[i + 1] == u'…') {
                out[size++] = c;
                ++i;
                breakLine();
            }
            break;
        case u'\r':
            if (i + 1 < n && s[i + 1] == u'\n') {
                ++i;
                breakLine();
            } else {
                out[size++] = c;
            }
            break;
        default:
            out[size++] = c;
        }
    }
    endLine(out, size, lineStart, false);
    result.truncate(size);
    return result;
}

QStringList cut(const QString& articleText)
{
    if (articleText.isEmpty())
        return {};
    if (!articleText.contains(u'|')) {
        // Without a '|' the text cannot hold or form a marker: the pieces are plain slices.
        QStringList pieces;
        pieces.reserve(articleText.size() / kSentenceLength + 1);
        for (qsizetype i = 0; i < articleText.size(); i += kSentenceLength)
            pieces.append(articleText.mid(i, kSentenceLength));
        return pieces;
    }
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
    r.charCount = text::countDoubleByte(r.articleText);
    return r;
}

QString reportLine(qsizetype charCount, qsizetype sentenceCount)
{
    return QStringLiteral("本文共 %1 字，本次分析共分析出 %2 句，请多次点击进行对比！")
        .arg(charCount)
        .arg(sentenceCount);
}

QString listEntry(qsizetype index, const QString& sentence)
{
    return QString::number(index + 1) + u'-' + text::trimSpaces(sentence);
}

} // namespace analysis
