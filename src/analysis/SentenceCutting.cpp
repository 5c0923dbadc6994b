#include "analysis/SentenceCutting.h"

#include "analysis/Analysis.h"
#include "text/TextRules.h"

namespace analysis {
namespace {

bool isOuterSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == text::kIdeographicSpace;
}

// The line's text without any white space, folded to lower case, for recognising headings.
QString headingKey(QStringView line)
{
    QString key;
    key.reserve(line.size());
    for (QChar c : line) {
        if (!c.isSpace())
            key.append(c.toLower());
    }
    return key;
}

bool startsReferenceList(const QString& key)
{
    return key == u"参考文献" || key == u"主要参考文献" || key == u"references" || key == u"bibliography";
}

bool endsReferenceList(const QString& key)
{
    return key == u"致谢" || key == u"附录" || key == u"后记" || key == u"acknowledgements";
}

void addSentence(QString sentence, bool inReferenceList, SentencePieces& out)
{
    qsizetype begin = 0;
    qsizetype end = sentence.size();
    while (begin < end && isOuterSpace(sentence[begin]))
        ++begin;
    while (end > begin && isOuterSpace(sentence[end - 1]))
        --end;
    sentence = sentence.mid(begin, end - begin);
    sentence.remove(u' ');
    for (qsizetype i = 0, length = 0; i < sentence.size(); i += length) {
        // A character outside the BMP (two UTF-16 units) goes whole to the next piece.
        length = kSentenceLength;
        if (i + length < sentence.size() && sentence[i + length - 1].isHighSurrogate() &&
            sentence[i + length].isLowSurrogate())
            --length;
        QString piece = sentence.mid(i, length);
        PieceUse use = PieceUse::Searched;
        if (inReferenceList)
            use = PieceUse::Reference;
        else if (piece.size() < kShortestSearched)
            use = PieceUse::TooShort;
        out.pieces.append(std::move(piece));
        out.uses.append(use);
    }
}

void cutLine(QStringView line, bool inReferenceList, SentencePieces& out)
{
    QString sentence;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        bool ends = true;
        switch (c.unicode()) {
        case u'；':
        case u'。':
        case u'！':
        case u'？':
            sentence.append(c);
            break;
        case u'!':
            sentence.append(u'！');
            break;
        case u'?':
            sentence.append(u'？');
            break;
        case u'…':
            sentence.append(c);
            ends = i + 1 < line.size() && line[i + 1] == u'…';
            if (ends)
                sentence.append(line[++i]);
            break;
        default:
            sentence.append(c);
            ends = false;
        }
        if (ends)
            addSentence(std::exchange(sentence, QString()), inReferenceList, out);
    }
    addSentence(sentence, inReferenceList, out);
}

} // namespace

SentencePieces cutSentences(const QString& editorText)
{
    SentencePieces out;
    bool inReferenceList = false;
    for (QStringView line : QStringView(editorText).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString key = headingKey(line);
        if (startsReferenceList(key))
            inReferenceList = true;
        else if (endsReferenceList(key))
            inReferenceList = false;
        cutLine(line, inReferenceList, out);
    }
    return out;
}

QString pieceUseName(PieceUse use)
{
    switch (use) {
    case PieceUse::TooShort:
        return QStringLiteral("过短");
    case PieceUse::Reference:
        return QStringLiteral("参考文献");
    case PieceUse::Searched:
        break;
    }
    return QString();
}

} // namespace analysis
