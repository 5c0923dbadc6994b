#include "report/TitleLink.h"

#include "search/TitleHtml.h"

#include <QHash>
#include <QUrl>

#include <algorithm>

namespace report {
namespace {

// Windows-1252 meanings of the C1 range, which browsers give numeric references there.
constexpr char16_t kC1[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QHash<QString, QString>& namedReferences()
{
    // The references that spell address syntax (so that a hidden scheme is seen) and those common in
    // titles. An unknown name stays as it is written.
    static const QHash<QString, QString> names{{"amp", "&"},          {"lt", "<"},
                                               {"gt", ">"},           {"quot", "\""},
                                               {"apos", "'"},         {"nbsp", "\u00A0"},
                                               {"Tab", "\t"},         {"NewLine", "\n"},
                                               {"colon", ":"},        {"sol", "/"},
                                               {"bsol", "\\"},        {"period", "."},
                                               {"comma", ","},        {"semi", ";"},
                                               {"quest", "?"},        {"num", "#"},
                                               {"percnt", "%"},       {"equals", "="},
                                               {"excl", "!"},         {"lpar", "("},
                                               {"rpar", ")"},         {"lsqb", "["},
                                               {"rsqb", "]"},         {"lbrack", "["},
                                               {"rbrack", "]"},       {"lcub", "{"},
                                               {"rcub", "}"},         {"lbrace", "{"},
                                               {"rbrace", "}"},       {"commat", "@"},
                                               {"dollar", "$"},       {"plus", "+"},
                                               {"ast", "*"},          {"midast", "*"},
                                               {"lowbar", "_"},       {"UnderBar", "_"},
                                               {"grave", "`"},        {"DiacriticalGrave", "`"},
                                               {"hyphen", "\u2010"},  {"dash", "\u2010"},
                                               {"verbar", "|"},       {"vert", "|"},
                                               {"VerticalLine", "|"}, {"Hat", "^"},
                                               {"copy", "\u00A9"},    {"reg", "\u00AE"},
                                               {"trade", "\u2122"},   {"middot", "\u00B7"},
                                               {"mdash", "\u2014"},   {"ndash", "\u2013"},
                                               {"hellip", "\u2026"},  {"laquo", "\u00AB"},
                                               {"raquo", "\u00BB"},   {"ldquo", "\u201C"},
                                               {"rdquo", "\u201D"},   {"lsquo", "\u2018"},
                                               {"rsquo", "\u2019"},   {"times", "\u00D7"},
                                               {"divide", "\u00F7"},  {"yen", "\u00A5"},
                                               {"bull", "\u2022"},    {"deg", "\u00B0"},
                                               {"ensp", "\u2002"},    {"emsp", "\u2003"},
                                               {"thinsp", "\u2009"},  {"zwnj", "\u200C"},
                                               {"zwj", "\u200D"},     {"shy", "\u00AD"}};
    return names;
}

// The length of the longest name among those a browser also takes without the closing ';' that
// letters starts with; 0 for none.
qsizetype legacyPrefix(QStringView letters)
{
    static const QStringView legacy[] = {u"nbsp", u"quot", u"copy", u"amp", u"reg", u"lt", u"gt"};
    qsizetype longest = 0;
    for (QStringView name : legacy) {
        if (letters.startsWith(name))
            longest = std::max(longest, name.size());
    }
    return longest;
}

bool isAsciiAlnum(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

void appendCodePoint(QString& out, char32_t cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    else if (cp >= 0x80 && cp <= 0x9F)
        cp = kC1[cp - 0x80];
    out += QString::fromUcs4(&cp, 1);
}

bool isHiddenElement(QStringView name)
{
    static const QStringView hidden[] = {u"script",   u"style",    u"template", u"iframe", u"noembed",
                                         u"noframes", u"noscript", u"object",   u"title"};
    for (QStringView h : hidden) {
        if (name.compare(h, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// A numeric reference "&#..." at html[i]: appends what it stands for and returns the index after
// it; i itself when "&#" has no digits (then it is text).
qsizetype decodeNumericReference(QStringView html, qsizetype i, QString& out)
{
    const qsizetype n = html.size();
    qsizetype j = i + 2;
    const bool hex = j < n && (html[j] == u'x' || html[j] == u'X');
    if (hex)
        ++j;
    const qsizetype digitsStart = j;
    char32_t value = 0;
    bool overflow = false;
    while (j < n) {
        const char16_t d = html[j].unicode();
        int digit = -1;
        if (d >= '0' && d <= '9')
            digit = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            digit = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            digit = d - 'A' + 10;
        if (digit < 0)
            break;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF)
            overflow = true, value = 0x110000;
        ++j;
    }
    if (j == digitsStart)
        return i;
    if (j < n && html[j] == u';')
        ++j;
    appendCodePoint(out, overflow ? 0x110000 : value);
    return j;
}

// A named reference at html[i] ('&' then letters): appends what it stands for and returns the index
// after it; i itself when it names nothing (then the '&' is text).
qsizetype decodeNamedReference(QStringView html, qsizetype i, bool inAttribute, QString& out)
{
    const qsizetype n = html.size();
    qsizetype j = i + 1;
    while (j < n && isAsciiAlnum(html[j]))
        ++j;
    const QStringView name = html.mid(i + 1, j - i - 1);
    if (j < n && html[j] == u';') {
        const auto found = namedReferences().constFind(name.toString());
        if (found != namedReferences().constEnd()) {
            out += found.value();
            return j + 1;
        }
    }
    // Without ';' a browser takes the longest legacy name the letters start with; in an attribute
    // only when no letter, digit or '=' follows it.
    const qsizetype legacy = legacyPrefix(name);
    const QChar after = i + 1 + legacy < n ? html[i + 1 + legacy] : QChar();
    if (legacy == 0 || (inAttribute && (isAsciiAlnum(after) || after == u'=')))
        return i;
    out += namedReferences().value(name.left(legacy).toString());
    return i + 1 + legacy;
}

} // namespace

QString decodeCharacterReferences(QStringView html, bool inAttribute)
{
    QString out;
    out.reserve(html.size());
    const qsizetype n = html.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = html[i];
        qsizetype next = i;
        if (c == u'&' && i + 1 < n)
            next = html[i + 1] == u'#' ? decodeNumericReference(html, i, out)
                                       : decodeNamedReference(html, i, inAttribute, out);
        if (next == i) {
            out += c;
            ++i;
        } else {
            i = next;
        }
    }
    return out;
}

QString webAddress(QStringView attributeValue)
{
    QString s = decodeCharacterReferences(attributeValue, true);
    // The address parser's first steps: C0 controls and spaces at either end go, tabs and line breaks
    // anywhere go.
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && s[end - 1].unicode() <= 0x20)
        --end;
    s = s.mid(begin, end - begin);
    s.remove(u'\t');
    s.remove(u'\n');
    s.remove(u'\r');
    QUrl url(s, QUrl::TolerantMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return {};
    // A user name or password in a link is nobody's business in a report.
    url.setUserInfo(QString());
    return QString::fromLatin1(url.toEncoded());
}

TitleLink titleLink(const QString& block)
{
    TitleLink out;
    QString text;
    bool linkSeen = false;
    const qsizetype n = block.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = block[i];
        if (c != u'<') {
            const qsizetype next = block.indexOf(u'<', i);
            text += QStringView(block).mid(i, (next < 0 ? n : next) - i);
            i = next < 0 ? n : next;
            continue;
        }
        if (QStringView(block).mid(i, 4) == u"<!--") {
            const qsizetype close = block.indexOf(QStringLiteral("-->"), i + 4);
            i = close < 0 ? n : close + 3;
            continue;
        }
        const QChar next = i + 1 < n ? block[i + 1] : QChar();
        if (!isAsciiAlnum(next) && next != u'/' && next != u'!' && next != u'?') {
            text += c; // "a < b": a '<' that starts no tag is text
            ++i;
            continue;
        }
        const qsizetype close = search::tagEnd(block, i);
        if (close < 0) {
            text += QStringView(block).mid(i); // a '<' that opens no tag is text
            break;
        }
        const QStringView tag = QStringView(block).mid(i + 1, close - i - 1);
        i = close + 1;
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && isAsciiAlnum(tag[nameEnd]))
            ++nameEnd;
        const QStringView name = tag.left(nameEnd);
        if (name.isEmpty())
            continue; // end tags, declarations
        if (!linkSeen && name.compare(u"a", Qt::CaseInsensitive) == 0) {
            if (const std::optional<QString> href = search::attribute(tag, u"href")) {
                linkSeen = true;
                out.link = webAddress(*href);
            }
        } else if (isHiddenElement(name)) {
            // Their content is never shown as text: skip to the matching end tag.
            const QString endTag = QStringLiteral("</") + name.toString();
            const qsizetype end = block.indexOf(endTag, i, Qt::CaseInsensitive);
            if (end < 0)
                break;
            const qsizetype endClose = block.indexOf(u'>', end);
            i = endClose < 0 ? n : endClose + 1;
        }
    }
    out.text = decodeCharacterReferences(text).simplified();
    return out;
}

} // namespace report
