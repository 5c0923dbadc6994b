#include "search/PageScore.h"

#include "analysis/TextRules.h"
#include "platform/Codepage936.h"

namespace search {
namespace {

const QString kTitleMarker = QStringLiteral("<bbbbbbbb>");
const QString kLinkTextStart = QStringLiteral("}\">");
const QString kLinkTextEnd = QStringLiteral("</a");
// Replaced by the title marker, then removed, in this order.
const QString kTitleTags[] = {QStringLiteral("<H3 CLASS=\"T\">"), QStringLiteral("</H3>"),
                              QStringLiteral("<h3 class=\"t\">"), QStringLiteral("</h3>")};
const QString kHighlightTags[] = {QStringLiteral("<EM>"), QStringLiteral("<em>"), QStringLiteral("</EM>"),
                                  QStringLiteral("</em>")};

qsizetype fragmentsLength(const QString& html, const QString& open, const QString& close)
{
    // Parts between two opening markers only: the part before the first and the one after the last
    // are not used. Each part counts up to its first closing marker.
    qsizetype total = 0;
    qsizetype start = html.indexOf(open);
    if (start < 0)
        return 0;
    start += open.size();
    for (qsizetype next = html.indexOf(open, start); next >= 0; next = html.indexOf(open, start)) {
        const QStringView part = QStringView(html).mid(start, next - start);
        const qsizetype end = part.indexOf(close);
        const qsizetype len = end < 0 ? part.size() : end;
        if (len >= kMinFragmentLength)
            total += len;
        start = next + open.size();
    }
    return total;
}

// The marking by one replacement pass per tag, for the pages where the one scan would differ.
QString literalMarkedPage(const QString& pageHtml)
{
    QString m = pageHtml;
    for (const QString& tag : kTitleTags)
        m.replace(tag, kTitleMarker);
    for (const QString& tag : kHighlightTags)
        m.remove(tag);
    return m;
}

} // namespace

QString pageText(const QString& pageHtml)
{
    // What stays of the page: its double-byte characters. Spaces, line breaks and ideographic spaces
    // are all removed afterwards, so they are never kept.
    return cp936::fullwidthToHalfwidth(cp936::keepDoubleByte(pageHtml, text::kIdeographicSpace));
}

qsizetype highlightedLength(const QString& pageHtml)
{
    if (pageHtml.contains(QStringLiteral("<EM>")))
        return fragmentsLength(pageHtml, QStringLiteral("<EM>"), QStringLiteral("</EM>"));
    return fragmentsLength(pageHtml, QStringLiteral("<em>"), QStringLiteral("</em>"));
}

QString markedPage(const QString& pageHtml)
{
    // One scan instead of eight passes. Tags are disjoint and replacing a title tag by the marker
    // cannot form a tag, so the scan equals the passes unless removing a highlight tag joins its
    // neighbours into one: a "<" just before the cut with no ">" after it. Then the passes run.
    const qsizetype n = pageHtml.size();
    QString out;
    out.reserve(n);
    qsizetype copied = 0;
    for (qsizetype lt = pageHtml.indexOf(u'<'); lt >= 0; lt = pageHtml.indexOf(u'<', lt + 1)) {
        // Every tag looked for has one of these after its "<".
        const char16_t next = lt + 1 < n ? pageHtml.at(lt + 1).unicode() : 0;
        if (next != u'H' && next != u'h' && next != u'/' && next != u'E' && next != u'e')
            continue;
        const QStringView at = QStringView(pageHtml).mid(lt);
        const QString* title = nullptr;
        for (const QString& tag : kTitleTags) {
            if (at.startsWith(tag)) {
                title = &tag;
                break;
            }
        }
        const QString* highlight = nullptr;
        if (!title) {
            for (const QString& tag : kHighlightTags) {
                if (at.startsWith(tag)) {
                    highlight = &tag;
                    break;
                }
            }
        }
        if (!title && !highlight)
            continue;
        out.append(QStringView(pageHtml).mid(copied, lt - copied));
        if (title) {
            out.append(kTitleMarker);
            copied = lt + title->size();
        } else {
            const QStringView tail = QStringView(out).right(4);
            const qsizetype open = tail.lastIndexOf(u'<');
            if (open >= 0 && tail.indexOf(u'>', open) < 0)
                return literalMarkedPage(pageHtml);
            copied = lt + highlight->size();
        }
        lt = copied - 1;
    }
    out.append(QStringView(pageHtml).mid(copied));
    return out;
}

QList<Title> titles(const QString& markedPage)
{
    QList<Title> out;
    const QList<QStringView> blocks = QStringView(markedPage).split(kTitleMarker);
    // Odd blocks lie between an opening and a closing tag; the last block is never a title.
    for (qsizetype b = 1; b < blocks.size() - 1 && out.size() < kResultsPerPage; b += 2) {
        const QStringView block = blocks[b];
        Title t;
        t.block = block.toString();
        const qsizetype start = block.indexOf(kLinkTextStart);
        if (start >= 0) {
            QStringView title = block.mid(start + kLinkTextStart.size());
            const qsizetype nextStart = title.indexOf(kLinkTextStart);
            if (nextStart >= 0)
                title = title.left(nextStart);
            const qsizetype end = title.indexOf(kLinkTextEnd);
            if (end >= 0)
                title = title.left(end);
            t.text = title.toString();
        }
        out.append(std::move(t));
    }
    return out;
}

PageScore scorePage(const QString& pageHtml, const std::optional<QString>& sentence, double sum, int pageCount)
{
    PageScore s;
    s.pageText = pageText(pageHtml);
    s.pageSize = s.pageText.size();
    s.sum = sum;
    auto overall = [&] { return text::generalNumber(text::round2(s.sum / pageCount)); };

    if (s.pageSize < kMinPageSize) {
        s.shortPage = true;
        if (pageCount != 0)
            s.caption = QStringLiteral("本句相似度：0%\r\n\r\n目前总体相似度：") + overall() + u'%';
    } else if (sentence && !sentence->isEmpty()) {
        const double ratio =
            static_cast<double>(highlightedLength(pageHtml)) / (kResultsPerPage * static_cast<double>(sentence->size()));
        s.sentenceFigure = text::round2(ratio) * 100;
        s.sum += *s.sentenceFigure;
        if (pageCount != 0) {
            s.caption = QStringLiteral("本句相似度：") + text::generalNumber(*s.sentenceFigure) +
                        QStringLiteral("%\r\n\r\n目前总体相似度：") + overall() + u'%';
        }
    }
    s.markedPage = markedPage(pageHtml);
    s.titles = titles(s.markedPage);
    return s;
}

} // namespace search
