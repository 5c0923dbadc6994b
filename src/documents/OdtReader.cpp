#include "documents/OdtReader.h"

#include "documents/ExpansionBudget.h"
#include "documents/ListLabels.h"
#include "documents/XmlWalk.h"
#include "documents/ZipArchive.h"

#include <QHash>
#include <QList>
#include <QXmlStreamReader>

#include <array>
#include <utility>

namespace odt {
namespace {

using documents::ExpansionBudget;
using documents::ZipArchive;

const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kDraw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
const QString kManifest = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
constexpr int kLevels = 10;

struct ListLevel
{
    bool bullet = false;
    documents::listlabels::Format format = documents::listlabels::Format::Decimal;
    QString prefix, suffix;
    int displayLevels = 1;
    qint64 start = 1;
};

using ListStyle = std::array<ListLevel, kLevels>;

// What of a paragraph style decides its list: its parent and the list style it names, if it names one.
struct ParagraphStyle
{
    QString parent;
    std::optional<QString> listStyle;
};

struct Styles
{
    QHash<QString, ListStyle> lists;
    ListStyle outline;
    bool hasOutline = false;
    QHash<QString, ParagraphStyle> paragraphs;

    // Whether a heading of the style takes the outline's number: not when the style, or the one it
    // inherits from, sets an empty list style to leave it out.
    bool numbersHeading(const QString& style) const
    {
        QString name = style;
        for (int depth = 0; depth < 20 && !name.isEmpty(); ++depth) {
            const auto found = paragraphs.constFind(name);
            if (found == paragraphs.constEnd())
                break;
            if (found->listStyle)
                return !found->listStyle->isEmpty();
            name = found->parent;
        }
        return true;
    }
};

// Drawing shapes that may hold paragraphs; a frame's text box is one too.
bool isShape(QStringView name)
{
    static const QStringList shapes = {QStringLiteral("text-box"),
                                       QStringLiteral("custom-shape"),
                                       QStringLiteral("rect"),
                                       QStringLiteral("ellipse"),
                                       QStringLiteral("circle"),
                                       QStringLiteral("polygon"),
                                       QStringLiteral("regular-polygon"),
                                       QStringLiteral("polyline"),
                                       QStringLiteral("path"),
                                       QStringLiteral("line"),
                                       QStringLiteral("connector"),
                                       QStringLiteral("caption"),
                                       QStringLiteral("measure")};
    return shapes.contains(name);
}

int levelOf(QStringView v)
{
    bool ok = false;
    const int level = v.toInt(&ok);
    return ok && level >= 1 && level <= kLevels ? level - 1 : 0;
}

// The list styles and the outline style in styles.xml or content.xml.
void readStyles(QXmlStreamReader& xml, Styles& styles)
{
    ListStyle* current = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.namespaceUri() == kOffice &&
            (xml.name() == u"styles" || xml.name() == u"automatic-styles")) {
            current = nullptr;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.namespaceUri() == kOffice && name == u"body")
            return;
        if (xml.namespaceUri() == kStyle && name == u"style" &&
            a.value(kStyle, QLatin1String("family")) == u"paragraph") {
            ParagraphStyle& style = styles.paragraphs[a.value(kStyle, QLatin1String("name")).toString()];
            style.parent = a.value(kStyle, QLatin1String("parent-style-name")).toString();
            if (a.hasAttribute(kStyle, QLatin1String("list-style-name")))
                style.listStyle = a.value(kStyle, QLatin1String("list-style-name")).toString();
            continue;
        }
        if (xml.namespaceUri() != kText)
            continue;
        if (name == u"list-style") {
            current = &styles.lists[a.value(kStyle, QLatin1String("name")).toString()];
        } else if (name == u"outline-style") {
            current = &styles.outline;
            styles.hasOutline = true;
        } else if (current && (name == u"list-level-style-number" || name == u"list-level-style-bullet" ||
                               name == u"outline-level-style" || name == u"list-level-style-image")) {
            ListLevel& level = (*current)[levelOf(a.value(kText, QLatin1String("level")))];
            level = ListLevel();
            if (name == u"list-level-style-bullet" || name == u"list-level-style-image") {
                level.bullet = true;
            } else {
                level.format =
                    documents::listlabels::fromOdfFormat(a.value(kStyle, QLatin1String("num-format")));
                level.prefix = a.value(kStyle, QLatin1String("num-prefix")).toString();
                level.suffix = a.value(kStyle, QLatin1String("num-suffix")).toString();
                if (const QStringView d = a.value(kText, QLatin1String("display-levels")); !d.isEmpty())
                    level.displayLevels = std::max(1, d.toInt());
                if (const QStringView s = a.value(kText, QLatin1String("start-value")); !s.isEmpty())
                    level.start = s.toInt();
            }
        }
    }
}

using Counters = std::array<std::optional<qint64>, kLevels>;

// Headings' outline numbers stand at the line's start; list items are indented by level.
QString label(const ListStyle& style, Counters& counters, int level, std::optional<qint64> restart,
              bool indented = true)
{
    const ListLevel& format = style[level];
    if (restart)
        counters[level] = *restart;
    else
        counters[level] = counters[level] ? *counters[level] + 1 : format.start;
    for (int l = level + 1; l < kLevels; ++l)
        counters[l].reset();
    if (format.bullet)
        return documents::listlabels::indent(level) + documents::listlabels::bullet(level) + u' ';
    if (format.format == documents::listlabels::Format::None) {
        // No number, but what stands around it stays.
        const QString around = format.prefix + format.suffix;
        return around.isEmpty()
                   ? QString()
                   : (indented ? documents::listlabels::indent(level) : QString()) + around + u' ';
    }
    QString number;
    const int first = std::max(0, level - format.displayLevels + 1);
    for (int l = first; l <= level; ++l) {
        if (l > first)
            number += u'.';
        number += documents::listlabels::number(counters[l].value_or(style[l].start), style[l].format);
    }
    return (indented ? documents::listlabels::indent(level) : QString()) + format.prefix + number +
           format.suffix + u' ';
}

class BodyReader
{
public:
    BodyReader(const Styles& styles, ExpansionBudget& budget, const documents::TextOptions& options)
        : m_styles(styles), m_budget(budget), m_options(options)
    {
    }
    std::optional<QString> read(QIODevice& content);
    // The notes' text, each note a paragraph that begins with its citation.
    const QString& notes() const { return m_notes; }

private:
    struct OpenList
    {
        QString style;                 // its own, or else the one of the list it is in
        QString counters;              // whose numbers it goes on with: the outermost list's style
        bool itemHasParagraph = false; // the current item's first paragraph has been seen
        std::optional<qint64> restart;
        qsizetype labelWidth = 0; // the current item's indent and label: its later paragraphs line up
    };

    // What a note's body or a text box interrupts: the paragraph it stands in, and the text so far.
    struct Suspended
    {
        QString out, paragraph, boxes;
        QList<OpenList> lists;
        int paragraphDepth;
        bool spacePending;
    };

    void startElement();
    void drawElement(QStringView name);
    void textElement(QStringView name);
    void openList(const QXmlStreamAttributes& a);
    void noteElement(QStringView name);
    void endElement();
    void appendCharacters(QStringView text);
    void beginParagraph();
    qsizetype headerIndent() const;
    void suspend();
    QString resume();
    // Stops the walk once the budget is spent.
    bool charge(bool fits)
    {
        if (!fits)
            m_xml.raiseError();
        return fits;
    }

    const Styles& m_styles;
    ExpansionBudget& m_budget;
    documents::TextOptions m_options;
    QXmlStreamReader m_xml;
    QString m_out;
    QString m_paragraph;
    QList<OpenList> m_lists;
    QHash<QString, Counters> m_counters; // by list style
    Counters m_outlineCounters;
    int m_skipDepth = 0;
    int m_paragraphDepth = 0;
    bool m_spacePending = false; // collapsed white space waits for the next character
    bool m_inBody = false;
    QString m_boxes;              // text of the boxes anchored in the open paragraph, written after it
    QList<Suspended> m_suspended; // for each open note body and text box
    QList<bool> m_frames;         // for each open frame: whether the next element is its own child
    QList<qsizetype> m_shapes;    // for each open shape that holds text: where it is in m_suspended
    QString m_notes;
    QString m_noteMark; // the open note's citation
    qsizetype m_citationStart = 0;
    bool m_inNoteMarkup = false; // between a note's parts, where white space only lays out the XML
};

std::optional<QString> BodyReader::read(QIODevice& content)
{
    m_xml.setDevice(&content);
    const bool whole = documents::walkXml(
        m_xml, m_skipDepth, [this] { startElement(); }, [this] { endElement(); },
        [this] {
            // White space between a note's or a frame's parts only lays out the XML.
            if (m_paragraphDepth > 0 && !m_inNoteMarkup && (m_frames.isEmpty() || !m_frames.last()))
                appendCharacters(m_xml.text());
        });
    if (!whole)
        return std::nullopt;
    if (m_out.endsWith(u'\n'))
        m_out.chop(1);
    return m_out;
}

void BodyReader::appendCharacters(QStringView text)
{
    // A run of text longer than what is left is refused before it is copied.
    if (text.size() > m_budget.remaining() && !charge(m_budget.characters(text.size())))
        return;
    // White space in a paragraph's markup collapses to one space, none at the paragraph's start.
    const qsizetype before = m_paragraph.size();
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            if (!m_paragraph.isEmpty())
                m_spacePending = true;
            continue;
        }
        if (m_spacePending) {
            m_paragraph += u' ';
            m_spacePending = false;
        }
        m_paragraph += c;
    }
    charge(m_budget.characters(m_paragraph.size() - before));
}

void BodyReader::beginParagraph()
{
    if (!charge(m_budget.paragraph()))
        return;
    m_paragraph.clear();
    m_spacePending = false;
    QString prefix;
    if (m_xml.name() == u"h" && m_lists.isEmpty() && m_styles.hasOutline &&
        m_styles.numbersHeading(m_xml.attributes().value(kText, QLatin1String("style-name")).toString())) {
        const QStringView level = m_xml.attributes().value(kText, QLatin1String("outline-level"));
        if (!level.isEmpty() && m_xml.attributes().value(kText, QLatin1String("is-list-header")) != u"true")
            prefix = label(m_styles.outline, m_outlineCounters, levelOf(level), std::nullopt, false);
    } else if (!m_lists.isEmpty() && !m_lists.last().itemHasParagraph) {
        OpenList& list = m_lists.last();
        list.itemHasParagraph = true;
        const auto found = m_styles.lists.constFind(list.style);
        if (found != m_styles.lists.constEnd())
            prefix = label(*found, m_counters[list.counters], std::min<int>(m_lists.size(), kLevels) - 1,
                           list.restart);
        list.labelWidth = prefix.size();
    } else if (!m_lists.isEmpty()) {
        prefix = QString(m_lists.last().labelWidth, u' ');
    }
    if (charge(m_budget.characters(prefix.size())))
        m_out += prefix;
}

void BodyReader::startElement()
{
    const QStringView ns = m_xml.namespaceUri();
    const QStringView name = m_xml.name();
    if (!m_inBody) {
        if (ns == kOffice && name == u"text")
            m_inBody = true;
        return;
    }
    if (!m_frames.isEmpty() && m_frames.last() && !(ns == kDraw && name == u"text-box")) {
        m_skipDepth = 1; // a frame's image, title and description
        return;
    }
    if (ns == kDraw) {
        drawElement(name);
        return;
    }
    if (ns == kOffice && (name == u"annotation" || name == u"forms")) {
        m_skipDepth = 1;
        return;
    }
    if (ns == kTable) {
        if (name == u"table-source")
            m_skipDepth = 1;
        return;
    }
    if (ns == kText)
        textElement(name);
}

void BodyReader::textElement(QStringView name)
{
    const QXmlStreamAttributes a = m_xml.attributes();
    if ((name == u"s" || name == u"tab" || name == u"line-break") && m_spacePending) {
        if (!charge(m_budget.characters(1)))
            return;
        m_paragraph += u' '; // collapsed white space before an explicit one still counts once
        m_spacePending = false;
    }
    if (name == u"p" || name == u"h") {
        if (m_paragraphDepth++ == 0)
            beginParagraph();
    } else if (name == u"s") {
        const QStringView c = a.value(kText, QLatin1String("c"));
        const int count = c.isEmpty() ? 1 : std::clamp(c.toInt(), 1, 10000);
        if (charge(m_budget.characters(count)))
            m_paragraph += QString(count, u' ');
        m_spacePending = false;
        m_skipDepth = 1; // what a writer puts inside is not more text
    } else if (name == u"tab") {
        if (charge(m_budget.characters(1)))
            m_paragraph += u'\t';
        m_spacePending = false;
        m_skipDepth = 1;
    } else if (name == u"line-break") {
        if (charge(m_budget.characters(1)))
            m_paragraph += u'\n';
        m_spacePending = false;
        m_skipDepth = 1;
    } else if (name == u"note" || name == u"note-citation" || name == u"note-body") {
        noteElement(name);
    } else if (name == u"list") {
        openList(a);
    } else if (name == u"list-item" || name == u"list-header") {
        if (!m_lists.isEmpty()) {
            m_lists.last().itemHasParagraph = name == u"list-header";
            const QStringView start = a.value(kText, QLatin1String("start-value"));
            m_lists.last().restart = start.isEmpty() ? std::nullopt : std::optional<qint64>(start.toInt());
            m_lists.last().labelWidth = name == u"list-header" ? headerIndent() : 0;
        }
    } else if (name == u"tracked-changes" || name == u"hidden-text" || name == u"hidden-paragraph" ||
               name == u"ruby-text" || name == u"sequence-decls" || name == u"variable-decls" ||
               name == u"user-field-decls" || name == u"index-title-template" || name.endsWith(u"-source") ||
               (name == u"section" && a.value(kText, QLatin1String("display")) == u"none")) {
        m_skipDepth = 1;
    }
}

void BodyReader::openList(const QXmlStreamAttributes& a)
{
    if (!charge(m_budget.nesting(m_lists.size() + 1)))
        return;
    OpenList list;
    list.style = a.value(kText, QLatin1String("style-name")).toString();
    if (m_lists.isEmpty() && a.value(kText, QLatin1String("continue-numbering")) != u"true" &&
        a.value(kText, QLatin1String("continue-list")).isEmpty() && !list.style.isEmpty())
        m_counters.remove(list.style);
    // A list without a style of its own numbers with the enclosing one's: kept here so that a
    // paragraph need not look through every open list.
    if (list.style.isEmpty() && !m_lists.isEmpty())
        list.style = m_lists.last().style;
    // A list inside an item goes on with the numbers of the list it is in, whatever its style;
    // an item that opens with a list has no label of its own.
    list.counters =
        m_lists.isEmpty() || m_lists.last().counters.isEmpty() ? list.style : m_lists.last().counters;
    if (!m_lists.isEmpty() && !m_lists.last().itemHasParagraph) {
        m_lists.last().labelWidth = headerIndent();
        m_lists.last().itemHasParagraph = true;
    }
    m_lists.append(list);
}

void BodyReader::drawElement(QStringView name)
{
    // An object set in the line as a character parts the white space around it, though it writes none.
    if (m_paragraphDepth > 0 && m_spacePending &&
        m_xml.attributes().value(kText, QLatin1String("anchor-type")) == u"as-char") {
        if (!charge(m_budget.characters(1)))
            return;
        m_paragraph += u' ';
        m_spacePending = false;
    }
    if (name == u"frame") {
        m_frames.append(true);
    } else if (isShape(name) && m_options.boxes == documents::TextBoxes::LeftOut) {
        m_skipDepth = 1;
    } else if (name == u"text-box") {
        if (!m_frames.isEmpty())
            m_frames.last() = false;
        suspend();
    } else if (isShape(name)) {
        // A shape's paragraphs are read as a text box's; its geometry is no text.
        m_shapes.append(m_suspended.size());
        suspend();
    } else if (name != u"a" && name != u"g") {
        m_skipDepth = 1; // images, charts, objects; links and groups may hold frames and shapes
    }
}

void BodyReader::noteElement(QStringView name)
{
    if (name == u"note") {
        m_inNoteMarkup = true;
        m_noteMark.clear();
    } else if (name == u"note-citation") {
        m_inNoteMarkup = false;
        m_citationStart = m_paragraph.size();
    } else {
        suspend();
        m_inNoteMarkup = false;
    }
}

void BodyReader::endElement()
{
    const QStringView name = m_xml.name();
    if (m_xml.namespaceUri() == kDraw) {
        if (isShape(name) && name != u"text-box" && !m_shapes.isEmpty() && !m_suspended.isEmpty() &&
            m_shapes.last() == m_suspended.size() - 1) {
            m_shapes.removeLast();
            const QString box = resume();
            (m_paragraphDepth > 0 ? m_boxes : m_out) += box.isEmpty() ? box : box + u'\n';
        } else if (name == u"text-box" && !m_suspended.isEmpty()) {
            if (!m_frames.isEmpty())
                m_frames.last() = true;
            const QString box = resume();
            // Anchored in a paragraph: after it; anchored to the page: where it stands.
            (m_paragraphDepth > 0 ? m_boxes : m_out) += box.isEmpty() ? box : box + u'\n';
        } else if (name == u"frame" && !m_frames.isEmpty()) {
            m_frames.removeLast();
        }
        return;
    }
    if (m_xml.namespaceUri() != kText)
        return;
    if ((name == u"p" || name == u"h") && m_paragraphDepth > 0) {
        // An empty paragraph that only anchors text boxes is no line of its own (unless it has a label).
        const bool ownLine =
            !m_paragraph.isEmpty() || m_boxes.isEmpty() || !(m_out.isEmpty() || m_out.endsWith(u'\n'));
        if (--m_paragraphDepth == 0) {
            if (ownLine) {
                m_out += m_paragraph;
                m_out += u'\n';
            }
            m_paragraph.clear();
            m_out += std::exchange(m_boxes, QString());
        }
    } else if (name == u"list" && !m_lists.isEmpty()) {
        m_lists.removeLast();
    } else if (name == u"note-citation") {
        m_noteMark = m_paragraph.mid(m_citationStart).trimmed();
        if (m_options.references == documents::NoteReferences::Marked && !m_noteMark.isEmpty() &&
            charge(m_budget.characters(2))) {
            m_paragraph.truncate(m_citationStart);
            m_paragraph += u'[' + m_noteMark + u']';
        }
        m_inNoteMarkup = true;
    } else if (name == u"note-body" && !m_suspended.isEmpty()) {
        QString text = resume();
        while (text.startsWith(u' ') || text.startsWith(u'\t'))
            text.remove(0, 1);
        // The citation is written again before the note's text.
        if (!charge(m_budget.characters(m_noteMark.size() + 1)))
            return;
        if (!m_notes.isEmpty())
            m_notes += u'\n';
        m_notes += m_noteMark.isEmpty() || text.isEmpty() ? m_noteMark + text : m_noteMark + u' ' + text;
        m_inNoteMarkup = true;
    } else if (name == u"note") {
        m_inNoteMarkup = false;
    }
}

// A list header's paragraphs stand where the text of an item at its level would, past the label
// that is not there.
qsizetype BodyReader::headerIndent() const
{
    const QString& style = m_lists.last().style; // the nearest open list's that names one
    const auto found = m_styles.lists.constFind(style);
    if (found == m_styles.lists.constEnd())
        return 0;
    Counters counters = m_counters.value(m_lists.last().counters); // looked at, not advanced
    return label(*found, counters, std::min<int>(m_lists.size(), kLevels) - 1, std::nullopt).size();
}

void BodyReader::suspend()
{
    if (!charge(m_budget.nesting(m_suspended.size() + 1)))
        return;
    m_suspended.append(Suspended{std::exchange(m_out, QString()), std::exchange(m_paragraph, QString()),
                                 std::exchange(m_boxes, QString()), std::exchange(m_lists, {}),
                                 std::exchange(m_paragraphDepth, 0), std::exchange(m_spacePending, false)});
}

// The text read since the matching suspend(), without its last line end.
QString BodyReader::resume()
{
    Suspended outer = m_suspended.takeLast();
    QString text = std::exchange(m_out, std::move(outer.out));
    if (text.endsWith(u'\n'))
        text.chop(1);
    m_paragraph = std::move(outer.paragraph);
    m_boxes = std::move(outer.boxes);
    m_lists = std::move(outer.lists);
    m_paragraphDepth = outer.paragraphDepth;
    m_spacePending = outer.spacePending;
    return text;
}

} // namespace

std::optional<documents::TextParts> readParts(const ZipArchive& archive, ExpansionBudget& budget,
                                              const documents::TextOptions& options)
{
    // content.xml is read as it inflates, twice: for its styles up to the body, then for the body.
    const std::unique_ptr<documents::ZipEntry> head = archive.open(QStringLiteral("content.xml"));
    if (!head)
        return std::nullopt;
    Styles styles;
    if (const std::optional<QByteArray> shared = archive.read(QStringLiteral("styles.xml"))) {
        QXmlStreamReader xml(*shared);
        readStyles(xml, styles);
    }
    QXmlStreamReader xml(head.get());
    readStyles(xml, styles);
    const std::unique_ptr<documents::ZipEntry> content = archive.open(QStringLiteral("content.xml"));
    if (!content)
        return std::nullopt;
    BodyReader reader(styles, budget, options);
    std::optional<QString> body = reader.read(*content);
    // A body whose checksum or length is wrong is broken, however well its XML ended.
    if (!body || content->failed())
        return std::nullopt;
    return documents::TextParts{std::move(*body), reader.notes()};
}

std::optional<QString> read(const ZipArchive& archive, ExpansionBudget& budget)
{
    std::optional<documents::TextParts> parts = readParts(archive, budget);
    if (!parts)
        return std::nullopt;
    return parts->joined();
}

bool isEncrypted(const ZipArchive& archive)
{
    const std::optional<QByteArray> manifest = archive.read(QStringLiteral("META-INF/manifest.xml"));
    if (!manifest)
        return false;
    QXmlStreamReader xml(*manifest);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.namespaceUri() == kManifest && xml.name() == u"encryption-data")
            return true;
    }
    return false;
}

} // namespace odt
