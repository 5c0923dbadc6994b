#include "sources/Citations.h"

#include "analysis/ArticleStructure.h"

#include <QRegularExpression>
#include <QSet>

namespace sources {
namespace {

// The closing mark of each opening mark; a straight double quote closes itself.
char16_t closingOf(char16_t open)
{
    switch (open) {
    case u'\u201C':
        return u'\u201D';
    case u'"':
        return u'"';
    case u'\u300C':
        return u'\u300D';
    case u'\u300E':
        return u'\u300F';
    default:
        return 0;
    }
}

// A quotation longer than this is not a quotation but an unbalanced mark.
constexpr qsizetype kMaxQuotation = 3000;
// How far after the closing mark a marker may start: a full stop or comma may come between.
constexpr qsizetype kMarkerReach = 2;

struct Marker
{
    qsizetype start;
    qsizetype end;
    QList<int> numbers; // a numbered marker
    QString author;     // an author-year marker
    QString year;
};

QList<int> numbersIn(QStringView marker)
{
    QList<int> out;
    static const QRegularExpression range(QStringLiteral("([0-9]+)\\s*[-–—~～]\\s*([0-9]+)|([0-9]+)"));
    QString folded;
    for (QChar c : marker)
        folded += (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19) ? QChar(c.unicode() - 0xFEE0) : c;
    for (auto it = range.globalMatch(folded); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength(3) > 0) {
            out.append(m.captured(3).toInt());
        } else {
            const int from = m.captured(1).toInt();
            const int to = m.captured(2).toInt();
            for (int n = from; n <= to && n - from < 100; ++n)
                out.append(n);
        }
    }
    return out;
}

int superscriptValue(QChar c)
{
    switch (c.unicode()) {
    case 0x00B9:
        return 1;
    case 0x00B2:
        return 2;
    case 0x00B3:
        return 3;
    default:
        break;
    }
    if (c.unicode() >= 0x2070 && c.unicode() <= 0x2079)
        return c.unicode() - 0x2070;
    return -1;
}

int circledValue(QChar c)
{
    if (c.unicode() >= 0x2460 && c.unicode() <= 0x2473)
        return c.unicode() - 0x2460 + 1;
    if (c.unicode() >= 0x2776 && c.unicode() <= 0x277F)
        return c.unicode() - 0x2776 + 1;
    return -1;
}

// What each marker names: the numbers of a numbered marker, or the author and year of another.
QList<Marker> markersIn(QStringView text)
{
    static const QRegularExpression authorYear(QStringLiteral(
        "^[(（]\\s*(.{1,40}?)\\s*(等|et\\s*al\\.?)?\\s*[,，]?\\s*((?:19|20)[0-9]{2})[a-z]?\\s*[)）]$"));
    QList<Marker> out;
    for (const analysis::MarkerSpan& span : analysis::citationMarkers(text)) {
        const QStringView marker = text.sliced(span.start, span.end - span.start);
        Marker m{span.start, span.end, {}, {}, {}};
        if (superscriptValue(marker[0]) >= 0) {
            int value = 0;
            for (QChar c : marker)
                value = value * 10 + std::max(superscriptValue(c), 0);
            m.numbers.append(value);
        } else if (circledValue(marker[0]) >= 0) {
            for (QChar c : marker)
                m.numbers.append(circledValue(c));
        } else if (const QRegularExpressionMatch a = authorYear.match(marker); a.hasMatch()) {
            m.author = a.captured(1).remove(u' ');
            m.year = a.captured(3);
        } else {
            m.numbers = numbersIn(marker);
        }
        out.append(m);
    }
    return out;
}

bool names(const Marker& marker, const QSet<int>& numbers, const QList<ReferenceEntry>& entries)
{
    if (!marker.numbers.isEmpty()) {
        for (int n : marker.numbers) {
            if (!numbers.contains(n))
                return false;
        }
        return true;
    }
    if (marker.author.isEmpty())
        return false;
    for (const ReferenceEntry& entry : entries) {
        if (entry.text.contains(marker.year) && entry.text.contains(marker.author, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool isSkippable(QChar c)
{
    return c.isSpace() || QStringView(u"。，.,；;：:、").contains(c);
}

} // namespace

QList<Span> citedSpans(QStringView text, const QList<ReferenceEntry>& entries)
{
    QList<Span> out;
    if (entries.isEmpty())
        return out;
    QSet<int> numbers;
    for (const ReferenceEntry& entry : entries) {
        if (entry.number > 0)
            numbers.insert(entry.number);
    }
    const QList<Marker> markers = markersIn(text);
    qsizetype next = 0; // the first marker not yet behind the quotation
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t close = closingOf(text[i].unicode());
        if (!close)
            continue;
        const qsizetype end = text.indexOf(QChar(close), i + 1);
        if (end < 0 || end - i > kMaxQuotation)
            continue;
        while (next < markers.size() && markers[next].end <= i)
            ++next;
        // Markers inside, then one right after the closing mark.
        qsizetype spanEnd = -1;
        qsizetype k = next;
        for (; k < markers.size() && markers[k].start < end; ++k) {
            if (names(markers[k], numbers, entries))
                spanEnd = end + 1;
        }
        qsizetype after = end + 1;
        while (after < text.size() && after - end - 1 < kMarkerReach && isSkippable(text[after]))
            ++after;
        for (; k < markers.size() && markers[k].start <= after; ++k) {
            if (markers[k].start > end && names(markers[k], numbers, entries))
                spanEnd = markers[k].end;
        }
        if (spanEnd > 0)
            out.append({i, spanEnd});
        i = end;
    }
    return out;
}

} // namespace sources
