#include "documents/PdfReader.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <QHash>
#include <QList>
#include <QSet>

#include <algorithm>
#include <memory>

namespace pdf {
namespace {

struct Line
{
    QString text;
    double left = 0, right = 0, top = 0, bottom = 0;
    double firstWord = 0; // the width of its first word
    double height() const { return bottom - top; }
};

struct Page
{
    QList<Line> lines; // in reading order
    double width = 0;
};

// Script, not Latin: lines and words of it join without a space.
bool isWide(QChar c)
{
    return c.unicode() >= 0x2E80 || c.isHighSurrogate() || c.isLowSurrogate();
}

void appendWord(Line& line, const QString& word, bool spaceBefore)
{
    if (spaceBefore && !line.text.isEmpty())
        line.text += u' ';
    line.text += word;
}

// The page's words grouped into lines: a word that starts below the line's middle, or to the left of
// where the line has come, begins a new one.
Page linesOf(const poppler::page& page, qsizetype& characters, qsizetype maxCharacters)
{
    Page out;
    out.width = page.page_rect().width();
    bool spaceAfter = false;
    for (const poppler::text_box& box : page.text_list()) {
        const poppler::byte_array utf8 = box.text().to_utf8();
        const QString word = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).trimmed();
        if (word.isEmpty())
            continue;
        characters += word.size() + 1;
        if (characters > maxCharacters)
            return out;
        const poppler::rectf r = box.bbox();
        const double top = r.top(), bottom = r.bottom(), left = r.left(), right = r.right();
        Line* line = out.lines.isEmpty() ? nullptr : &out.lines.last();
        const bool sameLine = line && (top + bottom) / 2 < line->bottom && (top + bottom) / 2 > line->top &&
                              left >= line->left - (bottom - top) * 0.5;
        if (!sameLine) {
            // A run of wide characters comes as one word; its first character is what could move up.
            const double first = isWide(word.front()) ? (right - left) / word.size() : right - left;
            out.lines.append(Line{word, left, right, top, bottom, first});
        } else {
            // A gap wider than a third of the height is a space, whatever the file says.
            const bool gap = left - line->right > (bottom - top) * 0.3;
            appendWord(*line, word, spaceAfter || (gap && !isWide(word.front())));
            line->right = std::max(line->right, right);
            line->top = std::min(line->top, top);
            line->bottom = std::max(line->bottom, bottom);
        }
        spaceAfter = box.has_space_after();
    }
    return out;
}

// What a header or footer line is, whichever page it stands on: its text with the digits (a page
// number) left out, and where it stands.
QString placeKey(const Line& line)
{
    QString text;
    for (QChar c : line.text)
        text += c.isDigit() ? u'#' : c;
    return text + u'@' + QString::number(qRound(line.top / 4)) + u',' +
           QString::number(qRound(line.left / 8));
}

// Removes the lines at the top or bottom of a page that stand the same, at the same place, on most
// pages (more than half, and on two at least).
void removeRunningLines(QList<Page>& pages)
{
    constexpr int kEdgeLines = 2; // a header or footer is one of the first or last two lines of a page
    if (pages.size() < 2)
        return;
    auto edges = [](const Page& page) {
        QList<qsizetype> byPosition(page.lines.size());
        for (qsizetype i = 0; i < byPosition.size(); ++i)
            byPosition[i] = i;
        std::stable_sort(byPosition.begin(), byPosition.end(),
                         [&](qsizetype a, qsizetype b) { return page.lines[a].top < page.lines[b].top; });
        QList<qsizetype> out;
        for (qsizetype i = 0; i < byPosition.size(); ++i)
            if (i < kEdgeLines || i >= byPosition.size() - kEdgeLines)
                out.append(byPosition[i]);
        return out;
    };
    QHash<QString, int> pagesWith;
    for (const Page& page : pages) {
        QSet<QString> seen;
        for (qsizetype i : edges(page))
            seen.insert(placeKey(page.lines[i]));
        for (const QString& key : seen)
            ++pagesWith[key];
    }
    const int most = std::max<int>(2, static_cast<int>(pages.size() / 2) + 1);
    for (Page& page : pages) {
        QList<qsizetype> running;
        for (qsizetype i : edges(page))
            if (pagesWith.value(placeKey(page.lines[i])) >= most)
                running.append(i);
        std::sort(running.begin(), running.end(), std::greater<>());
        running.erase(std::unique(running.begin(), running.end()), running.end());
        for (qsizetype i : running)
            page.lines.removeAt(i);
    }
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The left and right edges of the column a line belongs to: the extremes of the page's lines that
// start within three line heights of it. A page whose lines never stand side by side has one column,
// which reaches as far right as its left margin is wide: its lines may all be short.
std::pair<double, double> columnOf(const Page& page, const Line& line, bool oneColumn)
{
    double left = line.left, right = line.right;
    const double reach = 3 * line.height();
    for (const Line& other : page.lines) {
        if (std::abs(other.left - line.left) <= reach) {
            left = std::min(left, other.left);
            right = std::max(right, other.right);
        }
    }
    if (oneColumn)
        right = std::max(right, page.width - left);
    return {left, right};
}

bool hasOneColumn(const Page& page)
{
    QList<const Line*> byTop;
    for (const Line& line : page.lines)
        byTop.append(&line);
    std::sort(byTop.begin(), byTop.end(), [](const Line* a, const Line* b) { return a->top < b->top; });
    for (qsizetype i = 1; i < byTop.size(); ++i)
        if (byTop[i]->top < byTop[i - 1]->bottom - 0.5 * byTop[i - 1]->height())
            return false;
    return true;
}

// Joins the pages' lines into paragraphs. A paragraph ends after a line that leaves room at the right
// for the next line's first word, before a line that is indented or that stands after a wider gap than
// the page's lines usually leave, and where the reading goes up (a new column).
QString paragraphsOf(const QList<Page>& pages)
{
    QString out;
    const Line* previous = nullptr;
    double previousRight = 0;
    for (const Page& page : pages) {
        QList<double> gaps;
        for (qsizetype i = 1; i < page.lines.size(); ++i) {
            const double gap = page.lines[i].top - page.lines[i - 1].bottom;
            if (gap >= 0)
                gaps.append(gap);
        }
        const double usualGap = median(gaps);
        const bool oneColumn = hasOneColumn(page);
        for (qsizetype i = 0; i < page.lines.size(); ++i) {
            const Line& line = page.lines[i];
            const auto [columnLeft, columnRight] = columnOf(page, line, oneColumn);
            const double em = line.height();
            if (previous) {
                const bool samePage = i > 0;
                const bool shortBefore = previous->right + 0.5 * em + line.firstWord < previousRight;
                const bool indented = line.left > columnLeft + 0.8 * em;
                const bool gap = samePage && line.top - previous->bottom > usualGap + 0.5 * em;
                const bool up = samePage && line.top < previous->top;
                if (shortBefore || indented || gap || up) {
                    out += u'\n';
                } else if (!out.endsWith(u'-') && !isWide(out.back()) && !isWide(line.text.front())) {
                    out += u' ';
                }
            }
            out += line.text;
            previous = &line;
            previousRight = columnRight;
        }
    }
    return out;
}

void quiet(const std::string&, void*) {}

} // namespace

std::variant<QString, documents::Failure> read(const QByteArray& bytes, qsizetype maxCharacters, int maxPages,
                                               const std::atomic<bool>* cancel)
{
    const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    // Poppler writes its complaints about damaged files to the terminal otherwise.
    static const bool silenced = (poppler::set_debug_error_function(&quiet, nullptr), true);
    Q_UNUSED(silenced);

    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(bytes.constData(), static_cast<int>(bytes.size())));
    if (!document)
        return documents::Failure::Damaged;
    if (document->is_locked())
        return documents::Failure::Encrypted;
    // A file Poppler cannot make out at all opens with no pages.
    if (document->pages() <= 0)
        return documents::Failure::Damaged;
    if (document->pages() > maxPages)
        return documents::Failure::Overexpanded;
    QList<Page> pages;
    qsizetype characters = 0;
    for (int i = 0; i < document->pages(); ++i) {
        if (cancelled())
            return documents::Failure::Cancelled;
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (!page)
            continue;
        pages.append(linesOf(*page, characters, maxCharacters));
        if (characters > maxCharacters)
            return documents::Failure::Overexpanded;
    }
    removeRunningLines(pages);
    QString text = paragraphsOf(pages);
    if (text.trimmed().isEmpty())
        return documents::Failure::NoTextLayer;
    return text;
}

} // namespace pdf
