#include "analysis/ArticleStructure.h"

#include <QString>

namespace analysis {
namespace {

// Headings are short: a longer line is no heading of any kind, and is not folded.
constexpr qsizetype kLongestHeading = 60;

struct Line
{
    qsizetype start;
    qsizetype end;
};

bool isBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029';
}

QList<Line> linesOf(QStringView text)
{
    QList<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreak(text[i]))
            continue;
        lines.append({start, i});
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append({start, text.size()});
    return lines;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\u00a0';
}

QStringView trimmed(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= u'０' && c <= u'９');
}

bool isHan(QChar c)
{
    return c >= u'\u4e00' && c <= u'\u9fff';
}

bool isChineseNumeral(QChar c)
{
    return QStringView(u"〇零一二三四五六七八九十百").contains(c);
}

bool isLeader(QChar c)
{
    return QStringView(u".·…．-_—⋯•").contains(c);
}

// The line's text without white space, folded to lower case: how headings are compared.
QString headingKey(QStringView line)
{
    QString key;
    key.reserve(line.size());
    for (QChar c : line) {
        if (c.unicode() < 0x80) {
            if (c != u' ' && c != u'\t')
                key.append(c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 0x20) : c);
        } else if (c.unicode() < 0x2000) {
            if (!c.isSpace())
                key.append(c.toLower());
        } else if (c != u'\u3000' && c != u'\u2028' && c != u'\u2029') {
            key.append(c);
        }
    }
    return key;
}

qsizetype skipBlanks(QStringView line, qsizetype i)
{
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i;
}

// "第七章", "第3节"
qsizetype ordinalNumberLength(QStringView line)
{
    qsizetype i = 1;
    while (i < line.size() && (isDigit(line[i]) || isChineseNumeral(line[i])))
        ++i;
    if (i == 1 || i >= line.size() || !QStringView(u"章节部篇").contains(line[i]))
        return 0;
    return skipBlanks(line, i + 1);
}

// "Chapter 6"
qsizetype englishChapterLength(QStringView line)
{
    qsizetype i = skipBlanks(line, 7);
    const qsizetype digits = i;
    while (i < line.size() && isDigit(line[i]))
        ++i;
    if (i == digits)
        return 0;
    return skipBlanks(line, i);
}

// "(三)"
qsizetype bracketedNumeralLength(QStringView line)
{
    qsizetype i = 1;
    while (i < line.size() && isChineseNumeral(line[i]))
        ++i;
    if (i == 1 || i >= line.size() || (line[i] != u')' && line[i] != u'）'))
        return 0;
    return skipBlanks(line, i + 1);
}

// "七、"; zero for numerals with no sign after them.
qsizetype chineseNumeralLength(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && isChineseNumeral(line[i]))
        ++i;
    if (i == 0 || i >= line.size() || !QStringView(u"、．.").contains(line[i]))
        return 0;
    return skipBlanks(line, i + 1);
}

// 6  6.  6.1  6.1.2  6、  with at most two digits a part, so that a year is no chapter number.
qsizetype digitNumberLength(QStringView line)
{
    qsizetype i = 0;
    for (;;) {
        const qsizetype partStart = i;
        while (i < line.size() && isDigit(line[i]))
            ++i;
        if (i == partStart || i - partStart > 2)
            return partStart == 0 ? 0 : partStart;
        if (i < line.size() && (line[i] == u'.' || line[i] == u'．') && i + 1 < line.size() &&
            isDigit(line[i + 1])) {
            ++i;
            continue;
        }
        break;
    }
    if (i < line.size() && QStringView(u".．、").contains(line[i]))
        ++i;
    const qsizetype beforeBlanks = i;
    i = skipBlanks(line, i);
    // "6Results" is no number followed by a heading, "6结果" and "6 Results" are.
    if (i == beforeBlanks && i < line.size() && !isHan(line[i]) && !isBlank(line[i - 1]) &&
        !QStringView(u".．、").contains(line[i - 1]))
        return 0;
    return i;
}

// Length of a leading chapter or section number: "第七章", "七、", "(三)", "6.", "6.1 ", "6 ", "Chapter 6".
// Zero when the line starts with none.
qsizetype chapterNumberLength(QStringView line)
{
    if (line.startsWith(u"第"))
        return ordinalNumberLength(line);
    if (line.startsWith(u"chapter", Qt::CaseInsensitive))
        return englishChapterLength(line);
    if (line.startsWith(u"(") || line.startsWith(u"（"))
        return bracketedNumeralLength(line);
    if (!line.isEmpty() && isChineseNumeral(line[0]))
        return chineseNumeralLength(line);
    return digitNumberLength(line);
}

QString headingName(QStringView line)
{
    line = trimmed(line);
    if (line.size() > kLongestHeading)
        return QString();
    line = line.mid(chapterNumberLength(line));
    while (!line.isEmpty() && (line.back() == u':' || line.back() == u'：' || isBlank(line.back())))
        line.chop(1);
    return headingKey(line);
}

bool isContentsHeading(QStringView line)
{
    if (line.size() > kLongestHeading)
        return false;
    const QString key = headingKey(line);
    return key == u"目录" || key == u"目次" || key == u"contents" || key == u"tableofcontents";
}

bool isReferenceHeadingName(const QString& name)
{
    return name == u"参考文献" || name == u"主要参考文献" || name == u"参考书目" || name == u"references" ||
           name == u"bibliography" || name == u"workscited";
}

// A year 1900-2099 standing alone (not part of a longer number): where in s it ends, or -1.
qsizetype yearEnd(QStringView s, qsizetype from = 0)
{
    for (qsizetype i = from; i + 4 <= s.size(); ++i) {
        if (!((s[i] == u'1' && s[i + 1] == u'9') || (s[i] == u'2' && s[i + 1] == u'0')))
            continue;
        if (!isAsciiDigit(s[i + 2]) || !isAsciiDigit(s[i + 3]))
            continue;
        if ((i > 0 && isAsciiDigit(s[i - 1])) || (i + 4 < s.size() && isAsciiDigit(s[i + 4])))
            continue;
        return i + 4;
    }
    return -1;
}

bool looksLikeReferenceEntry(QStringView line)
{
    line = trimmed(line);
    if (line.isEmpty())
        return false;
    if (line.front() == u'[' || line.front() == u'［') {
        qsizetype i = 1;
        while (i < line.size() && isDigit(line[i]))
            ++i;
        if (i > 1 && i < line.size() && (line[i] == u']' || line[i] == u'］'))
            return true;
    }
    qsizetype i = 0;
    while (i < line.size() && isDigit(line[i]))
        ++i;
    if (i > 0 && i <= 3 && i + 1 < line.size() && QStringView(u".．、").contains(line[i]) &&
        !isDigit(line[i + 1]))
        return true;
    if (yearEnd(line) < 0)
        return false;
    for (QChar c : line) {
        if (c == u'。' || c == u'.' || c == u',' || c == u'，')
            return true;
    }
    return false;
}

// A heading that ends a reference list: a numbered chapter or section heading, an appendix, the
// acknowledgements, the author's publications or biography.
bool endsReferenceList(QStringView line)
{
    line = trimmed(line);
    if (line.isEmpty() || line.size() > 60)
        return false;
    const QString name = headingName(line);
    if (name.startsWith(u"附录") || name.startsWith(u"appendix") || name == u"致谢" || name == u"谢辞" ||
        name == u"致谢词" || name == u"后记" || name.startsWith(u"acknowledg") ||
        name.startsWith(u"作者简介") || name.startsWith(u"个人简历"))
        return true;
    const qsizetype studied = name.indexOf(u"攻读");
    if (studied >= 0) {
        const qsizetype during = name.indexOf(u"期间", studied);
        if (during >= 0 && name.indexOf(u"发表", during) >= 0)
            return true;
    }
    const qsizetype number = chapterNumberLength(line);
    if (number == 0 || line.size() > 40)
        return false;
    const QStringView title = line.mid(number);
    bool hasLetter = false;
    for (QChar c : title) {
        if (QStringView(u",，。;；:：[]［］").contains(c) || c == u'.')
            return false;
        hasLetter = hasLetter || c.isLetter();
    }
    return hasLetter && yearEnd(title) < 0;
}

// A line of the contents that has no page number: short, no sentence punctuation.
bool couldBeUnnumberedEntry(QStringView line)
{
    line = trimmed(line);
    if (line.isEmpty() || line.size() > 40)
        return false;
    for (QChar c : line) {
        if (QStringView(u"。，,；;！？!?").contains(c))
            return false;
    }
    return true;
}

void addRegion(QList<ArticleRegion>& regions, qsizetype start, qsizetype end, ArticleRegion::Kind kind,
               QStringView article)
{
    if (!regions.isEmpty() && regions.back().kind == kind) {
        // Regions of one kind with only white space between them are one region.
        bool onlyBlank = true;
        for (qsizetype i = regions.back().end; i < start && onlyBlank; ++i)
            onlyBlank = isBlank(article[i]) || isBreak(article[i]);
        if (onlyBlank) {
            regions.back().end = end;
            return;
        }
    }
    regions.append({start, end, kind});
}

} // namespace

bool isContentsEntry(QStringView line)
{
    line = trimmed(line);
    if (line.size() < 2 || line.size() > 100)
        return false;
    qsizetype i = line.size();
    while (i > 0 && isDigit(line[i - 1]))
        --i;
    bool roman = false;
    if (i == line.size()) {
        while (i > 0 && QStringView(u"IVXivx").contains(line[i - 1]))
            --i;
        roman = true;
        if (line.size() - i > 6)
            return false;
    }
    const qsizetype number = line.size() - i;
    if (number == 0 || (!roman && number > 3))
        return false;
    const qsizetype separatorEnd = i;
    bool tab = false;
    qsizetype leaders = 0;
    while (i > 0 && (isBlank(line[i - 1]) || isLeader(line[i - 1]))) {
        --i;
        tab = tab || line[i] == u'\t';
        if (isLeader(line[i]))
            leaders += (line[i] == u'…' || line[i] == u'⋯') ? 2 : 1;
    }
    if (i == separatorEnd || i == 0)
        return false;
    const QStringView title = line.left(i);
    bool hasLetter = false;
    for (QChar c : title)
        hasLetter = hasLetter || c.isLetter();
    if (!hasLetter)
        return false;
    if (tab || leaders >= 2)
        return true;
    // Spaces alone before a number: only a short title without sentence punctuation, not a roman
    // numeral (a heading "Chapter II"), so that a sentence ending in "图 3" is not taken.
    if (roman || leaders > 0 || line.size() > 40 || !title.back().isLetter())
        return false;
    for (QChar c : title) {
        if (QStringView(u"。，,；;：:！？!?").contains(c))
            return false;
    }
    return true;
}

namespace {

// The article's lines, as the search for its regions reads them.
struct ArticleLines
{
    QStringView article;
    QList<Line> lines = linesOf(article);

    QStringView text(qsizetype k) const { return article.mid(lines[k].start, lines[k].end - lines[k].start); }
    bool blank(qsizetype k) const { return trimmed(text(k)).isEmpty(); }

    // Whether one of the next `count` lines that are not blank, after line k, satisfies test.
    template <typename Test> bool nextLines(qsizetype k, int count, Test test) const
    {
        for (qsizetype j = k + 1; j < lines.size() && count > 0; ++j) {
            if (blank(j))
                continue;
            if (test(text(j)))
                return true;
            --count;
        }
        return false;
    }

    // The last line of the table of contents whose heading is line k.
    qsizetype contentsEnd(qsizetype k) const
    {
        qsizetype last = k;
        for (qsizetype j = k + 1; j < lines.size(); ++j) {
            if (blank(j))
                continue;
            if (isContentsEntry(text(j)) ||
                (couldBeUnnumberedEntry(text(j)) && nextLines(j, 2, isContentsEntry)))
                last = j;
            else
                break;
        }
        return last;
    }
};

} // namespace

QList<ArticleRegion> articleRegions(QStringView article)
{
    using Kind = ArticleRegion::Kind;
    QList<ArticleRegion> regions;
    const ArticleLines a{article};
    const QList<Line>& lines = a.lines;

    bool inReferences = false;
    qsizetype referencesStart = 0;
    qsizetype referencesEnd = 0;
    const auto closeReferences = [&] {
        if (inReferences)
            addRegion(regions, referencesStart, referencesEnd, Kind::References, article);
        inReferences = false;
    };

    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QStringView line = a.text(k);
        if (a.blank(k))
            continue;
        if (isContentsHeading(line)) {
            closeReferences();
            const qsizetype last = a.contentsEnd(k);
            addRegion(regions, lines[k].start, lines[last].end, Kind::Contents, article);
            k = last;
            continue;
        }
        if (isContentsEntry(line)) {
            closeReferences();
            addRegion(regions, lines[k].start, lines[k].end, Kind::Contents, article);
            continue;
        }
        if (isReferenceHeadingName(headingName(line)) && a.nextLines(k, 3, looksLikeReferenceEntry)) {
            closeReferences();
            inReferences = true;
            referencesStart = lines[k].start;
            referencesEnd = lines[k].end;
            continue;
        }
        if (inReferences) {
            if (endsReferenceList(line))
                closeReferences();
            else
                referencesEnd = lines[k].end;
        }
    }
    closeReferences();
    return regions;
}

namespace {

bool isCitationBracketContent(QChar c)
{
    return isDigit(c) || QStringView(u",，、-–—~～ ").contains(c);
}

bool isSuperscriptDigit(QChar c)
{
    return c == u'\u00b9' || c == u'\u00b2' || c == u'\u00b3' || c == u'\u2070' ||
           (c >= u'\u2074' && c <= u'\u2079');
}

bool isCircledNumber(QChar c)
{
    return c >= u'\u2460' && c <= u'\u2473';
}

// End of a bracketed citation starting at i ("[3]", "［1-4］"), or -1.
qsizetype bracketCitationEnd(QStringView text, qsizetype i)
{
    const QChar close = text[i] == u'[' ? u']' : u'］';
    bool digit = false;
    for (qsizetype j = i + 1; j < text.size() && j <= i + 24; ++j) {
        if (text[j] == close)
            return digit ? j + 1 : -1;
        if (!isCitationBracketContent(text[j]))
            return -1;
        digit = digit || isDigit(text[j]);
    }
    return -1;
}

// End of an author-year marker starting at i ("(张三, 2019)", "（Smith et al., 2019a; Li, 2020）"), or -1.
qsizetype authorYearEnd(QStringView text, qsizetype i)
{
    qsizetype close = -1;
    for (qsizetype j = i + 1; j < text.size() && j <= i + 80; ++j) {
        const QChar c = text[j];
        if (c == u'(' || c == u'（' || isBreak(c))
            return -1;
        if (c == u')' || c == u'）') {
            close = j;
            break;
        }
    }
    if (close < 0)
        return -1;
    const QStringView inside = trimmed(text.mid(i + 1, close - i - 1));
    if (inside.isEmpty() || !inside.front().isLetter())
        return -1;
    // Every part separated by ; names someone and ends in a year (with a letter such as 2019a).
    for (QStringView part : inside.split(QChar(u';'))) {
        for (QStringView sub : part.split(QChar(u'；'))) {
            sub = trimmed(sub);
            if (!sub.isEmpty() && sub.back().isLower() && sub.back().unicode() < 128)
                sub.chop(1);
            if (sub.size() < 6)
                return -1;
            const qsizetype year = sub.size() - 4;
            if (yearEnd(sub, year) != sub.size())
                return -1;
            const QChar before = sub[year - 1];
            if (before != u',' && before != u'，' && !isBlank(before))
                return -1;
        }
    }
    return close + 1;
}

// A note number of one or two digits at i, after a marker or a word and before a sentence mark:
// its end, or -1. Numbers after a word that counts or names (图1, 第2, 为3) are the writer's own.
qsizetype noteNumberEnd(QStringView text, qsizetype i, bool afterMarker)
{
    qsizetype j = i;
    while (j < text.size() && j - i < 3 && isAsciiDigit(text[j]))
        ++j;
    if (j == i || j - i > 2 || (j < text.size() && isDigit(text[j])))
        return -1;
    const bool markFollows =
        j == text.size() || QStringView(u"。，；！？、,;").contains(text[j]) || isBreak(text[j]);
    if (afterMarker)
        return j == text.size() || (!text[j].isLetterOrNumber() && text[j] != u'.' && text[j] != u'%') ? j
                                                                                                       : -1;
    if (!markFollows || i == 0)
        return -1;
    const QChar before = text[i - 1];
    if (QStringView(u"”」』）").contains(before))
        return j;
    if (!isHan(before) || QStringView(u"图表式第章节例附共约占为了是有和与至到及或年月日号页版期卷条款项级次"
                                      u"倍个种类组名位等于乘除加减前后")
                              .contains(before))
        return -1;
    return j;
}

} // namespace

QList<MarkerSpan> citationMarkers(QStringView text)
{
    QList<MarkerSpan> spans;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        qsizetype end = -1;
        bool canCarryNote = false;
        if (c == u'[' || c == u'［') {
            end = bracketCitationEnd(text, i);
            canCarryNote = true;
        } else if (c == u'(' || c == u'（') {
            end = authorYearEnd(text, i);
            canCarryNote = true;
        } else if (isSuperscriptDigit(c) || isCircledNumber(c)) {
            end = i + 1;
            while (end < text.size() && (isSuperscriptDigit(text[end]) || isCircledNumber(text[end])))
                ++end;
        } else if (isAsciiDigit(c) && (i == 0 || !isAsciiDigit(text[i - 1]))) {
            end = noteNumberEnd(text, i, false);
        }
        if (end < 0) {
            ++i;
            continue;
        }
        if (canCarryNote && end < text.size() && isAsciiDigit(text[end])) {
            const qsizetype note = noteNumberEnd(text, end, true);
            if (note > 0)
                end = note;
        }
        if (!spans.isEmpty() && spans.back().end == i)
            spans.back().end = end; // "[3][5]" is one marker
        else
            spans.append({i, end});
        i = end;
    }
    return spans;
}

} // namespace analysis
