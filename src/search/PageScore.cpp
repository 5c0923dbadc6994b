#include "search/PageScore.h"

#include "search/TitleHtml.h"
#include "text/Codepage936.h"
#include "text/TextRules.h"

namespace search {
namespace {

const QString kLinkTextStart = QStringLiteral("}\">");
const QString kLinkTextEnd = QStringLiteral("</a");
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

QString withoutComments(const QString& html)
{
    QString out;
    out.reserve(html.size());
    qsizetype copied = 0;
    for (qsizetype open = html.indexOf(QStringLiteral("<!--")); open >= 0;
         open = html.indexOf(QStringLiteral("<!--"), copied)) {
        out.append(QStringView(html).mid(copied, open - copied));
        const qsizetype end = html.indexOf(QStringLiteral("-->"), open + 4);
        copied = end < 0 ? html.size() : end + 3;
    }
    out.append(QStringView(html).mid(copied));
    return out;
}

} // namespace

QString pageText(const QString& pageHtml)
{
    // What stays of the page: its double-byte characters. Spaces, line breaks and ideographic spaces
    // are all removed afterwards, so they are never kept.
    return text::fullwidthToHalfwidth(text::keepDoubleByte(pageHtml, text::kIdeographicSpace));
}

qsizetype highlightedLength(const QString& pageHtml)
{
    // Result pages repeat each abstract inside a comment, highlights included: only the page's own
    // text counts.
    const QString page = pageHtml.contains(QStringLiteral("<!--")) ? withoutComments(pageHtml) : pageHtml;
    if (page.contains(QStringLiteral("<EM>")))
        return fragmentsLength(page, QStringLiteral("<EM>"), QStringLiteral("</EM>"));
    return fragmentsLength(page, QStringLiteral("<em>"), QStringLiteral("</em>"));
}

namespace {

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Just past the end of the tag that starts at lt; -1 when the tag never ends.
qsizetype pastTag(QStringView html, qsizetype lt)
{
    const qsizetype gt = tagEnd(html, lt);
    return gt < 0 ? -1 : gt + 1;
}

// Whether the opening tag (from "<" to ">") has a class attribute that holds the class t.
bool hasTitleClass(QStringView tag)
{
    const std::optional<QString> classes = attribute(tag.mid(1, tag.size() - 2), u"class");
    if (!classes)
        return false;
    for (QStringView token : QStringView(*classes).split(u' ', Qt::SkipEmptyParts)) {
        if (token.trimmed().compare(u"t", Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Text with its tags and comments taken out and its white space collapsed.
QString withoutMarkup(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text.mid(i).startsWith(u"<!--")) {
            const qsizetype end = text.indexOf(u"-->", i + 4);
            i = end < 0 ? text.size() : end + 3;
        } else if (text[i] == u'<') {
            const qsizetype end = pastTag(text, i);
            i = end < 0 ? text.size() : end;
        } else {
            out.append(text[i++]);
        }
    }
    return out.simplified();
}

// The text of the heading's title: after the link-text start where the heading has one (the older
// markup), else the text of its first link.
QString titleText(QStringView block)
{
    QStringView text;
    const qsizetype start = block.indexOf(kLinkTextStart);
    if (start >= 0) {
        text = block.mid(start + kLinkTextStart.size());
        const qsizetype nextStart = text.indexOf(kLinkTextStart);
        if (nextStart >= 0)
            text = text.left(nextStart);
        const qsizetype end = text.indexOf(kLinkTextEnd);
        if (end >= 0)
            text = text.left(end);
    } else {
        qsizetype a = -1;
        for (qsizetype lt = block.indexOf(u"<a", 0, Qt::CaseInsensitive); lt >= 0;
             lt = block.indexOf(u"<a", lt + 2, Qt::CaseInsensitive)) {
            if (lt + 2 < block.size() && (isSpace(block[lt + 2]) || block[lt + 2] == u'>')) {
                a = lt;
                break;
            }
        }
        if (a < 0)
            return QString();
        const qsizetype open = pastTag(block, a);
        if (open < 0)
            return QString();
        text = block.mid(open);
        const qsizetype end = text.indexOf(kLinkTextEnd, 0, Qt::CaseInsensitive);
        if (end >= 0)
            text = text.left(end);
    }
    if (text.contains(u'<'))
        return withoutMarkup(text);
    return text.toString();
}

} // namespace

QList<Title> titles(const QString& pageHtml)
{
    QList<Title> out;
    const QStringView html(pageHtml);
    for (qsizetype lt = html.indexOf(u"<h3", 0, Qt::CaseInsensitive); lt >= 0 && out.size() < kResultsPerPage;
         lt = html.indexOf(u"<h3", lt + 3, Qt::CaseInsensitive)) {
        if (lt + 3 >= html.size() || !(isSpace(html[lt + 3]) || html[lt + 3] == u'>'))
            continue; // "<h30>" or the like
        const qsizetype open = pastTag(html, lt);
        if (open < 0)
            break;
        if (!hasTitleClass(html.mid(lt, open - lt)))
            continue;
        // Headings do not nest, so the next closing tag is this heading's own.
        const qsizetype close = html.indexOf(u"</h3", open, Qt::CaseInsensitive);
        if (close < 0)
            break;
        QString block = html.mid(open, close - open).toString();
        for (const QString& tag : kHighlightTags)
            block.remove(tag);
        Title t;
        t.text = titleText(block);
        t.html = std::move(block);
        out.append(std::move(t));
        lt = close;
    }
    return out;
}

double overallFigure(double sum, int pages)
{
    return text::round2(sum / pages);
}

QString overallText(double overall)
{
    return QStringLiteral("目前总体相似度：") + text::generalNumber(overall) + u'%';
}

PageScore scorePage(const QString& pageHtml, const std::optional<QString>& sentence, double sum,
                    int pageCount)
{
    PageScore s;
    s.pageSize = pageText(pageHtml).size();
    s.sum = sum;

    if (s.pageSize < kMinPageSize) {
        s.shortPage = true;
        if (pageCount != 0) {
            s.overall = overallFigure(s.sum, pageCount);
            s.caption = QStringLiteral("本句相似度：0%\r\n\r\n") + overallText(*s.overall);
        }
    } else if (sentence && !sentence->isEmpty()) {
        const double ratio = static_cast<double>(highlightedLength(pageHtml)) /
                             (kResultsPerPage * static_cast<double>(sentence->size()));
        s.sentenceFigure = text::round2(ratio) * 100;
        s.sum += *s.sentenceFigure;
        if (pageCount != 0) {
            s.overall = overallFigure(s.sum, pageCount);
            s.caption = QStringLiteral("本句相似度：") + text::generalNumber(*s.sentenceFigure) +
                        QStringLiteral("%\r\n\r\n") + overallText(*s.overall);
        }
    }
    s.titles = titles(pageHtml);
    return s;
}

} // namespace search
