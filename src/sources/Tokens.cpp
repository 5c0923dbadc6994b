#include "sources/Tokens.h"

#include <QChar>

namespace sources {
namespace {

char32_t halfWidth(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return c - 0xFEE0;
    if (c == 0x3000)
        return u' ';
    return c;
}

bool isHan(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3134F);
}

// Letters and digits that make up words: ASCII after folding, and Latin letters with marks.
enum class Kind { Other, Letter, Digit, Han };

Kind kindOf(char32_t c)
{
    if (c >= u'0' && c <= u'9')
        return Kind::Digit;
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
        (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7))
        return Kind::Letter;
    if (isHan(c))
        return Kind::Han;
    return Kind::Other;
}

char32_t codePointAt(QStringView text, qsizetype i, qsizetype& width)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        width = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    width = 1;
    return c.unicode();
}

// The length of a bracketed number list starting at i ("[3]", "[2-5]", "［1，4］"), 0 when there is none.
qsizetype bracketMarker(QStringView text, qsizetype i)
{
    const char32_t open = halfWidth(text[i].unicode());
    if (open != u'[')
        return 0;
    qsizetype j = i + 1;
    bool digit = false;
    while (j < text.size() && j - i < 40) {
        const char32_t c = halfWidth(text[j].unicode());
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c == u']')
            return digit ? j + 1 - i : 0;
        else if (c != u'-' && c != u',' && c != u' ' && c != 0x2013 && c != 0x2014 && c != u'~' &&
                 c != 0x3001 && c != 0xFF5E)
            return 0;
        ++j;
    }
    return 0;
}

quint32 wordValue(const QString& word)
{
    // FNV-1a, stable across runs: the library keeps fingerprints made from these values.
    quint32 h = 2166136261u;
    for (QChar c : word) {
        h = (h ^ c.unicode()) * 16777619u;
    }
    return (h & ~kWordBit) | kWordBit;
}

// Writes the tokens and collects the letters or digits of the word being read.
struct TokenWriter
{
    quint32* values;
    qint32* starts;
    qint32* ends;
    qsizetype n = 0;
    QString word;
    qsizetype wordStart = -1;
    Kind wordKind = Kind::Other;
    qsizetype wordEnd = 0;

    void add(quint32 value, qsizetype start, qsizetype end)
    {
        values[n] = value;
        starts[n] = static_cast<qint32>(start);
        ends[n] = static_cast<qint32>(end);
        ++n;
    }

    void endWord()
    {
        if (wordStart < 0)
            return;
        add(wordValue(word), wordStart, wordEnd);
        word.clear();
        wordStart = -1;
    }

    void wordCharacter(char32_t c, Kind kind, qsizetype i, qsizetype width)
    {
        if (kind != wordKind)
            endWord();
        if (wordStart < 0) {
            wordStart = i;
            wordKind = kind;
        }
        word += QChar(static_cast<char16_t>(QChar::toLower(c))); // letters here lie in the BMP
        wordEnd = i + width;
    }
};

} // namespace

Tokens tokenise(QStringView text)
{
    Tokens t;
    tokenise(text, t);
    return t;
}

void tokenise(QStringView text, Tokens& t)
{
    // Written through pointers into lists sized for the most tokens there can be, then cut to size:
    // a library of hundreds of theses goes through here.
    t.values.resize(text.size());
    t.starts.resize(text.size());
    t.ends.resize(text.size());
    TokenWriter w{t.values.data(), t.starts.data(), t.ends.data()};
    for (qsizetype i = 0; i < text.size();) {
        // Most of a Chinese text: a Han character of the Basic Multilingual Plane outside a word.
        if (const char16_t u = text[i].unicode(); u >= 0x4E00 && u <= 0x9FFF) {
            w.endWord();
            w.add(u, i, i + 1);
            ++i;
            continue;
        }
        if (const qsizetype markerLength = bracketMarker(text, i)) {
            w.endWord();
            i += markerLength;
            continue;
        }
        qsizetype width = 1;
        const char32_t c = halfWidth(codePointAt(text, i, width));
        const Kind kind = kindOf(c);
        if (kind == Kind::Letter || kind == Kind::Digit) {
            w.wordCharacter(c, kind, i, width);
        } else {
            w.endWord();
            if (kind == Kind::Han)
                w.add(static_cast<quint32>(c), i, i + width);
        }
        i += width;
    }
    w.endWord();
    t.values.resize(w.n);
    t.starts.resize(w.n);
    t.ends.resize(w.n);
}

} // namespace sources
