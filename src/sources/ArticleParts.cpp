#include "sources/ArticleParts.h"

#include "analysis/ArticleStructure.h"

#include <QRegularExpression>

namespace sources {
namespace {

struct Line
{
    qsizetype start;
    qsizetype end; // before the line break
    QString trimmed;
};

QList<Line> linesOf(QStringView text)
{
    QList<Line> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'\n') {
            qsizetype end = i;
            if (end > start && text[end - 1] == u'\r')
                --end;
            QString t = text.sliced(start, end - start).toString();
            t.remove(u'\u3000');
            out.append({start, end, t.simplified().remove(u' ')});
            start = i + 1;
        }
    }
    return out;
}

bool isKeywordLine(const QString& line)
{
    static const QRegularExpression keywords(QStringLiteral("^(关键词|关键字|key\\s*words?)[:：]"),
                                             QRegularExpression::CaseInsensitiveOption);
    return keywords.match(line).hasMatch();
}

} // namespace

ArticleParts articleParts(QStringView text)
{
    ArticleParts parts;
    QList<Span> regions;
    for (const analysis::ArticleRegion& region : analysis::articleRegions(text)) {
        regions.append({region.start, region.end});
        if (region.kind == analysis::ArticleRegion::Kind::References)
            parts.references.append({region.start, region.end});
    }
    qsizetype next = 0;
    for (const Line& line : linesOf(text)) {
        if (!isKeywordLine(line.trimmed))
            continue;
        while (next < regions.size() && regions[next].end <= line.start)
            parts.excluded.append(regions[next++]);
        if (next < regions.size() && regions[next].start <= line.start)
            continue; // inside a region already
        parts.excluded.append({line.start, line.end});
    }
    while (next < regions.size())
        parts.excluded.append(regions[next++]);
    return parts;
}

QList<ReferenceEntry> referenceEntries(QStringView text, const QList<Span>& references)
{
    static const QRegularExpression numbered(
        QStringLiteral("^\\s*[\\[［(（]?\\s*([0-9]{1,4})\\s*[\\]］)）.．、]"));
    QList<ReferenceEntry> out;
    for (const Span& span : references) {
        const QList<Line> lines = linesOf(text.sliced(span.start, span.end - span.start));
        for (qsizetype i = 1; i < lines.size(); ++i) { // the heading first
            const QString& line = lines[i].trimmed;
            if (line.isEmpty())
                continue;
            const QRegularExpressionMatch m = numbered.match(line);
            if (m.hasMatch())
                out.append({m.captured(1).toInt(), line.mid(m.capturedEnd())});
            else if (!out.isEmpty() && out.back().number > 0 && line.size() < 40)
                out.back().text += line; // an entry broken over two lines
            else
                out.append({0, line});
        }
    }
    return out;
}

} // namespace sources
