#include "documents/PdfReader.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <memory>
#include <numeric>
#include <optional>

namespace pdf {
namespace {

struct Word
{
    QString text;
    double left = 0, right = 0, top = 0, bottom = 0;
    bool spaceBefore = false;
    double height() const { return bottom - top; }
};

struct Line
{
    QString text;
    double left = 0, right = 0, top = 0, bottom = 0;
    double firstWord = 0;  // the width of its first word
    double size = 0;       // the height of its largest word: its font size, whatever is raised in it
    bool contents = false; // a line of a table of contents: a title, a wide gap, a page number
    QList<Word> words;
    double height() const { return bottom - top; }
};

struct Page
{
    QList<Line> lines; // in reading order
    QList<Line> notes; // the footnotes at its foot, top to bottom
    double width = 0;
};

// Script, not Latin: lines and words of it join without a space.
bool isWide(QChar c)
{
    return c.unicode() >= 0x2E80 || c.isHighSurrogate() || c.isLowSurrogate();
}

bool isNumber(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// The line's text from its words. A number set small and raised after other text is a note's
// reference: it stands in brackets, apart from the text it was glued to.
void finishLine(Line& line)
{
    for (const Word& word : line.words)
        line.size = std::max(line.size, word.height());
    for (qsizetype i = 0; i < line.words.size(); ++i) {
        const Word& word = line.words[i];
        const bool raised = word.height() < 0.8 * line.size && word.bottom < line.bottom - 0.2 * line.size;
        const bool reference = raised && isNumber(word.text);
        // A reference stands apart by its brackets: no space parts it from wide characters.
        const bool afterReference = line.text.endsWith(u']') && isWide(word.text.front());
        if (word.spaceBefore && !line.text.isEmpty() && !afterReference &&
            !(reference && isWide(line.text.back())))
            line.text += u' ';
        line.text += reference ? u'[' + word.text + u']' : word.text;
    }
    static const QRegularExpression pageReference(QStringLiteral("^(?:\\d{1,4}|[ivxlcdmIVXLCDM]{1,8})$"));
    const qsizetype n = line.words.size();
    line.contents = n >= 2 && line.words[n - 1].left - line.words[n - 2].right > 2 * line.size &&
                    pageReference.match(line.words[n - 1].text).hasMatch();
    line.words.clear();
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
        characters += word.size() + 3; // a note's brackets at most
        if (characters > maxCharacters)
            return out;
        const poppler::rectf r = box.bbox();
        const double top = r.top(), bottom = r.bottom(), left = r.left(), right = r.right();
        Line* line = out.lines.isEmpty() ? nullptr : &out.lines.last();
        const bool sameLine = line && (top + bottom) / 2 < line->bottom && (top + bottom) / 2 > line->top &&
                              left >= line->left - (bottom - top) * 0.5;
        if (!sameLine) {
            if (line)
                finishLine(*line);
            // A run of wide characters comes as one word; its first character is what could move up.
            const double first = isWide(word.front()) ? (right - left) / word.size() : right - left;
            out.lines.append(Line{QString(), left, right, top, bottom, first, 0, false, {}});
            out.lines.last().words.append(Word{word, left, right, top, bottom, false});
        } else {
            // A gap wider than a third of the height is a space, whatever the file says.
            const bool gap = left - line->right > (bottom - top) * 0.3;
            line->words.append(
                Word{word, left, right, top, bottom, spaceAfter || (gap && !isWide(word.front()))});
            line->right = std::max(line->right, right);
            line->top = std::min(line->top, top);
            line->bottom = std::max(line->bottom, bottom);
        }
        spaceAfter = box.has_space_after();
    }
    if (!out.lines.isEmpty())
        finishLine(out.lines.last());
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

int romanValue(QStringView text)
{
    int value = 0, last = 0;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        static const QString letters = QStringLiteral("ivxlcdm");
        static const int values[] = {1, 5, 10, 50, 100, 500, 1000};
        const int v = values[letters.indexOf(text[i].toLower())];
        value += v < last ? -v : v;
        last = std::max(last, v);
    }
    return value;
}

// The number of a page number as theses set them (5, v, 第 5 页, - 5 -, 5 / 120, Page 5 of 120), or
// nothing for a line that is no page number.
std::optional<int> pageNumber(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(\\d{1,5})|([ivxlcdm]{1,8}|[IVXLCDM]{1,8})|第(\\d{1,5})页(?:共\\d{1,5}页)?|"
                       "[-–—](\\d{1,5})[-–—]|(\\d{1,5})/\\d{1,5}|(?:Page|page)(\\d{1,5})(?:of\\d{1,5})?)$"));
    QString compact = text;
    compact.remove(u' ');
    const QRegularExpressionMatch m = pattern.match(compact);
    if (!m.hasMatch())
        return std::nullopt;
    if (!m.captured(2).isEmpty())
        return romanValue(m.capturedView(2));
    for (int group : {1, 3, 4, 5, 6})
        if (!m.captured(group).isEmpty())
            return m.captured(group).toInt();
    return std::nullopt;
}

// Removes page numbers: the top or bottom line of a page when it holds only a page number, as it does
// on at least half of the pages (and on two at least), or where the pages count on by one from one
// page to the next (a front matter numbered apart).
void removePageNumbers(QList<Page>& pages)
{
    const auto edge = [](const Page& page, bool top) -> qsizetype {
        qsizetype found = -1;
        for (qsizetype i = 0; i < page.lines.size(); ++i)
            if (found < 0 || (top ? page.lines[i].top < page.lines[found].top
                                  : page.lines[i].bottom > page.lines[found].bottom))
                found = i;
        return found;
    };
    for (const bool top : {false, true}) {
        QList<qsizetype> numbered(pages.size(), -1);
        QList<std::optional<int>> values(pages.size());
        qsizetype count = 0;
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const qsizetype i = edge(pages[p], top);
            if (i >= 0 && (values[p] = pageNumber(pages[p].lines[i].text))) {
                numbered[p] = i;
                ++count;
            }
        }
        const bool most = count >= 2 && 2 * count >= pages.size();
        const auto countsOn = [&](qsizetype p, qsizetype q) {
            return q >= 0 && q < pages.size() && values[p] && values[q] && *values[q] - *values[p] == q - p;
        };
        for (qsizetype p = 0; p < pages.size(); ++p)
            if (numbered[p] >= 0 && (most || countsOn(p, p - 1) || countsOn(p, p + 1)))
                pages[p].lines.removeAt(numbered[p]);
    }
}

// The size of the body text: the font size most characters have.
double bodySize(const QList<Page>& pages)
{
    QHash<int, qsizetype> characters; // by size in tenths of a point
    for (const Page& page : pages)
        for (const Line& line : page.lines)
            characters[qRound(line.size * 10)] += line.text.size();
    int best = 0;
    for (auto it = characters.cbegin(); it != characters.cend(); ++it)
        if (it.value() > characters.value(best))
            best = it.key();
    return best / 10.0;
}

bool endsSentence(const QString& text)
{
    static const QString ends = QStringLiteral("。！？.!?：:");
    return !text.isEmpty() && ends.contains(text.back());
}

// A footnote's number at the start of its first line: 1, [1] (set raised), ①; the rest of the line.
std::optional<std::pair<QString, QString>> noteNumber(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:\\[(\\d{1,4})\\]|(\\d{1,4})(?!\\d)|([①-⑳]))\\s*(.*)$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch() || m.captured(4).isEmpty())
        return std::nullopt;
    const QString number = m.captured(1) + m.captured(2) + m.captured(3);
    return std::pair{number, m.captured(4)};
}

// Moves each page's footnotes out of its lines: the lines at its foot set smaller than the body, from
// the first one that begins with a note's number.
void takeFootnotes(QList<Page>& pages, double body)
{
    for (qsizetype p = 0; p < pages.size(); ++p) {
        Page& page = pages[p];
        QList<qsizetype> byTop(page.lines.size());
        std::iota(byTop.begin(), byTop.end(), 0);
        std::stable_sort(byTop.begin(), byTop.end(),
                         [&](qsizetype a, qsizetype b) { return page.lines[a].top < page.lines[b].top; });
        qsizetype first = byTop.size();
        while (first > 0 && page.lines[byTop[first - 1]].size < 0.9 * body)
            --first;
        const qsizetype small = first;
        while (first < byTop.size() && !noteNumber(page.lines[byTop[first]].text))
            ++first;
        // A note the page before broke off mid-sentence goes on above this page's own notes.
        if (small < first && p > 0 && !pages[p - 1].notes.isEmpty() &&
            !endsSentence(pages[p - 1].notes.last().text))
            first = small;
        // A page set small from top to bottom (a bibliography) has no footnotes at its foot.
        if (first == byTop.size() || first == 0 || 2 * (byTop.size() - first) > byTop.size())
            continue;
        QList<qsizetype> taken = byTop.mid(first);
        for (qsizetype i : taken)
            page.notes.append(page.lines[i]);
        std::sort(taken.begin(), taken.end(), std::greater<>());
        for (qsizetype i : taken)
            page.lines.removeAt(i);
    }
}

// The left and right edges of the column each line belongs to: the extremes of the page's lines that
// start within three line heights of it. A page whose lines never stand side by side has one column
// from its leftmost line, which reaches as far right as its left margin is wide: its lines may all be
// short, and a centred line is no column of its own.
QList<std::pair<double, double>> columnsOf(const Page& page, bool oneColumn)
{
    QList<std::pair<double, double>> out;
    if (oneColumn && !page.lines.isEmpty()) {
        double left = page.lines.front().left, right = page.lines.front().right;
        for (const Line& line : page.lines) {
            left = std::min(left, line.left);
            right = std::max(right, line.right);
        }
        return QList<std::pair<double, double>>(page.lines.size(),
                                                {left, std::max(right, page.width - left)});
    }
    for (const Line& line : page.lines) {
        double left = line.left, right = line.right;
        const double reach = 3 * line.height();
        for (const Line& other : page.lines) {
            if (std::abs(other.left - line.left) <= reach) {
                left = std::min(left, other.left);
                right = std::max(right, other.right);
            }
        }
        out.append({left, right});
    }
    return out;
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

// A line of a table of contents: a title, dot leaders, and a page number.
bool isContentsLine(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("(?:\\.{4,}|…{2,}|·{4,}|．{4,}|-{4,}|_{4,})\\s*(?:\\d{1,4}|[ivxlcdmIVXLCDM]{1,8})$"));
    return pattern.match(text).hasMatch();
}

// Appends a line to the paragraph it continues: Han characters join without a space, Latin words with
// one, and a Latin word hyphenated at the line's end joins whole.
void continueParagraph(QString& out, const QString& line)
{
    const qsizetype n = out.size();
    if (n >= 2 && out[n - 1] == u'-' && out[n - 2].isLetter() && !isWide(out[n - 2]) &&
        line.front().isLower()) {
        out.chop(1);
    } else if (!out.endsWith(u'-') && !isWide(out.back()) && !isWide(line.front())) {
        out += u' ';
    }
    out += line;
}

// Joins the lines into paragraphs. A paragraph ends after a line that leaves room at the right for
// the next line's first word, after a line of a table of contents, before a line that is indented,
// set larger, or that stands after a wider gap than the page's lines usually leave, and where the
// reading goes up (a new column). Over a page break it also ends after a sentence when the document
// does not indent its paragraphs.
QString paragraphsOf(const QList<Page>& pages, double body)
{
    // Whether paragraphs begin indented: what most lines after a short line do.
    int indentedStarts = 0, flushStarts = 0;
    QList<QList<std::pair<double, double>>> columns;
    for (const Page& page : pages) {
        columns.append(columnsOf(page, hasOneColumn(page)));
        for (qsizetype i = 1; i < page.lines.size(); ++i) {
            const Line& line = page.lines[i];
            const auto [left, right] = columns.last()[i];
            const Line& before = page.lines[i - 1];
            if (before.right + 0.5 * line.height() + line.firstWord < right && line.top > before.top)
                ++(line.left > left + 0.8 * line.height() ? indentedStarts : flushStarts);
        }
    }
    const bool indents = indentedStarts > flushStarts;

    QString out;
    const Line* previous = nullptr;
    double previousRight = 0;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const Page& page = pages[p];
        QList<double> gaps;
        for (qsizetype i = 1; i < page.lines.size(); ++i) {
            const double gap = page.lines[i].top - page.lines[i - 1].bottom;
            if (gap >= 0)
                gaps.append(gap);
        }
        const double usualGap = median(gaps);
        for (qsizetype i = 0; i < page.lines.size(); ++i) {
            const Line& line = page.lines[i];
            const auto [columnLeft, columnRight] = columns[p][i];
            const double em = line.height();
            if (previous) {
                const bool samePage = i > 0;
                const bool shortBefore = previous->right + 0.5 * em + line.firstWord < previousRight;
                const bool indented = line.left > columnLeft + 0.8 * em;
                const bool gap = samePage && line.top - previous->bottom > usualGap + 0.5 * em;
                const bool up = samePage && line.top < previous->top;
                const bool larger = line.size > 1.15 * std::max(previous->size, body) ||
                                    previous->size > 1.15 * std::max(line.size, body);
                const bool sentence = !samePage && !indents && endsSentence(previous->text);
                const bool contents = previous->contents || isContentsLine(previous->text);
                if (shortBefore || indented || gap || up || larger || sentence || contents)
                    out += u'\n';
                else {
                    continueParagraph(out, line.text);
                    previous = &line;
                    previousRight = columnRight;
                    continue;
                }
            }
            out += line.text;
            previous = &line;
            previousRight = columnRight;
        }
    }
    return out;
}

// The pages' footnotes after the body, in order, each a paragraph that begins with its number.
QString notesOf(const QList<Page>& pages)
{
    QString out;
    for (const Page& page : pages) {
        double right = 0;
        for (const Line& line : page.notes)
            right = std::max(right, line.right);
        const Line* previous = nullptr;
        for (const Line& line : page.notes) {
            const std::optional<std::pair<QString, QString>> number = noteNumber(line.text);
            // A line that begins with a number begins a note unless the line before ran on to it.
            const bool ranOn = previous && previous->right + 0.5 * line.height() + line.firstWord >= right &&
                               !endsSentence(previous->text);
            if (number && (!previous || !ranOn)) {
                if (!out.isEmpty())
                    out += u'\n';
                out += number->first + u' ' + number->second;
            } else if (!out.isEmpty()) {
                continueParagraph(out, line.text);
            } else {
                out += line.text;
            }
            previous = &line;
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
    // A running footer may stand below the page number: the number is the foot once it has gone.
    removePageNumbers(pages);
    removeRunningLines(pages);
    removePageNumbers(pages);
    const double body = bodySize(pages);
    takeFootnotes(pages, body);
    QString text = paragraphsOf(pages, body);
    if (const QString notes = notesOf(pages); !notes.isEmpty())
        text += u'\n' + notes;
    if (text.trimmed().isEmpty())
        return documents::Failure::NoTextLayer;
    return text;
}

} // namespace pdf
