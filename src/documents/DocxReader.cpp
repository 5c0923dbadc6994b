#include "documents/DocxReader.h"

#include "documents/ExpansionBudget.h"
#include "documents/HtmlText.h"
#include "documents/ListLabels.h"
#include "documents/RtfReader.h"
#include "documents/TextFileDecoding.h"
#include "documents/XmlWalk.h"
#include "documents/ZipArchive.h"

#include <QHash>
#include <QList>
#include <QXmlStreamReader>

#include <array>
#include <functional>
#include <utility>

namespace docx {
namespace {

using documents::ExpansionBudget;
using documents::ZipArchive;
using Options = documents::TextOptions;

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kMc = QStringLiteral("http://schemas.openxmlformats.org/markup-compatibility/2006");
const QString kMath = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/math");
const QString kMainRelation =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument");
constexpr int kLevels = 9;
// An embedded document may embed another, a few deep; no document goes deeper.
constexpr int kMaxChunkDepth = 8;

QStringView wAttribute(const QXmlStreamReader& xml, QLatin1String name)
{
    return xml.attributes().value(kW, name);
}

// An on/off property: present without a value, or with any value but false, 0 and off.
bool isOn(const QXmlStreamReader& xml)
{
    const QStringView v = wAttribute(xml, QLatin1String("val"));
    return v.isNull() || !(v == u"false" || v == u"0" || v == u"off");
}

// Where the package's relationships point the main document, or nothing.
std::optional<QString> mainPart(const ZipArchive& archive)
{
    const std::optional<QByteArray> rels = archive.read(QStringLiteral("_rels/.rels"));
    if (!rels)
        return std::nullopt;
    QXmlStreamReader xml(*rels);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Relationship" &&
            xml.attributes().value(QLatin1String("Type")) == kMainRelation) {
            QString target = xml.attributes().value(QLatin1String("Target")).toString();
            while (target.startsWith(u'/'))
                target.remove(0, 1);
            return target;
        }
    }
    return std::nullopt;
}

using Counters = std::array<std::optional<qint64>, kLevels>;

struct Level
{
    documents::listlabels::Format format = documents::listlabels::Format::Decimal;
    QString text; // w:lvlText, "%1." and the like
    qint64 start = 1;
    bool bullet = false;
    bool legal = false; // w:isLgl: every number decimal
    QString style;      // w:pStyle: the paragraph style this level numbers
};

struct AbstractList
{
    std::array<Level, kLevels> levels;
};

struct ListRef
{
    QString abstractId;
    std::array<std::optional<qint64>, kLevels> startOverride;
    std::array<std::optional<Level>, kLevels> levels; // w:lvlOverride's own level definitions
};

struct Numbering
{
    QHash<QString, AbstractList> abstracts;
    QHash<QString, ListRef> lists;        // by w:numId
    QHash<QString, Counters> counters;    // by abstract id
    QHash<QString, bool> overrideApplied; // by w:numId
};

int levelIndex(QStringView v)
{
    bool ok = false;
    const int level = v.toInt(&ok);
    return ok && level >= 0 && level < kLevels ? level : 0;
}

void readLevelProperty(const QXmlStreamReader& xml, Level& l)
{
    const QStringView name = xml.name();
    if (name == u"start")
        l.start = wAttribute(xml, QLatin1String("val")).toInt();
    else if (name == u"numFmt") {
        l.bullet = wAttribute(xml, QLatin1String("val")) == u"bullet";
        l.format = documents::listlabels::fromWordFormat(wAttribute(xml, QLatin1String("val")));
    } else if (name == u"lvlText")
        l.text = wAttribute(xml, QLatin1String("val")).toString();
    else if (name == u"isLgl")
        l.legal = isOn(xml);
    else if (name == u"pStyle")
        l.style = wAttribute(xml, QLatin1String("val")).toString();
}

Numbering readNumbering(const QByteArray& bytes)
{
    Numbering numbering;
    QXmlStreamReader xml(bytes);
    QString abstractId, numId;
    int overrideLevel = -1;
    Level* level = nullptr; // the w:lvl being read
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.namespaceUri() != kW)
            continue;
        const QStringView name = xml.name();
        if (name == u"abstractNum") {
            abstractId = wAttribute(xml, QLatin1String("abstractNumId")).toString();
            numId.clear();
            level = nullptr;
            numbering.abstracts.insert(abstractId, AbstractList());
        } else if (name == u"num") {
            numId = wAttribute(xml, QLatin1String("numId")).toString();
            abstractId.clear();
            level = nullptr;
        } else if (name == u"abstractNumId" && !numId.isEmpty()) {
            numbering.lists[numId].abstractId = wAttribute(xml, QLatin1String("val")).toString();
        } else if (name == u"lvlOverride" && !numId.isEmpty()) {
            overrideLevel = levelIndex(wAttribute(xml, QLatin1String("ilvl")));
            level = nullptr;
        } else if (name == u"startOverride" && !numId.isEmpty() && overrideLevel >= 0) {
            numbering.lists[numId].startOverride[overrideLevel] =
                wAttribute(xml, QLatin1String("val")).toInt();
        } else if (name == u"lvl" && !abstractId.isEmpty()) {
            level =
                &numbering.abstracts[abstractId].levels[levelIndex(wAttribute(xml, QLatin1String("ilvl")))];
        } else if (name == u"lvl" && !numId.isEmpty() && overrideLevel >= 0) {
            level = &numbering.lists[numId].levels[overrideLevel].emplace();
        } else if (level) {
            readLevelProperty(xml, *level);
        }
    }
    return numbering;
}

struct NumberingRef
{
    QString numId; // empty: none given
    std::optional<int> level;
};

// What a paragraph style gives its paragraphs, with what it inherits from the styles it is based on.
struct ParagraphStyle
{
    NumberingRef numbering; // the list and the level, each from the nearest style that gives it
    bool heading = false;   // it has an outline level: its number stands at the line's start
    bool hidden = false;    // its runs are hidden unless they say otherwise (w:vanish)
};

struct Styles
{
    QHash<QString, ParagraphStyle> paragraphs;
    QString defaultParagraph;              // the style of a paragraph that names none
    QHash<QString, bool> charactersHidden; // character styles that say whether their runs are hidden

    const ParagraphStyle* find(const QString& style) const
    {
        const auto found = paragraphs.constFind(style.isEmpty() ? defaultParagraph : style);
        return found == paragraphs.constEnd() ? nullptr : &*found;
    }
};

const QString kCharacterStyle = QStringLiteral("\t");

// What a style says itself, before what it is based on is added.
struct OwnStyle
{
    NumberingRef numbering;
    bool heading = false;
    std::optional<bool> hidden;
};

struct StyleSheet
{
    QHash<QString, OwnStyle> own;
    QHash<QString, QString> basedOn;
    QString defaultParagraph;
};

// The id a style element names, or none for styles other than paragraph and character ones.
QString styleKey(const QXmlStreamReader& xml, QStringView type)
{
    // Character styles are kept apart by a prefix no style id has.
    if (type == u"paragraph")
        return wAttribute(xml, QLatin1String("styleId")).toString();
    if (type == u"character")
        return kCharacterStyle + wAttribute(xml, QLatin1String("styleId")).toString();
    return QString();
}

StyleSheet readStyleSheet(const QByteArray& bytes)
{
    StyleSheet sheet;
    QXmlStreamReader xml(bytes);
    QString style;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.namespaceUri() != kW)
            continue;
        const QStringView name = xml.name();
        if (name == u"style") {
            const QStringView type = wAttribute(xml, QLatin1String("type"));
            style = styleKey(xml, type);
            if (!style.isEmpty())
                sheet.own[style];
            const QStringView isDefault = wAttribute(xml, QLatin1String("default"));
            if (type == u"paragraph" && (isDefault == u"1" || isDefault == u"true" || isDefault == u"on"))
                sheet.defaultParagraph = style;
        } else if (style.isEmpty()) {
            continue;
        } else if (name == u"basedOn") {
            sheet.basedOn.insert(style, (style.startsWith(kCharacterStyle) ? kCharacterStyle : QString()) +
                                            wAttribute(xml, QLatin1String("val")).toString());
        } else if (name == u"numId") {
            sheet.own[style].numbering.numId = wAttribute(xml, QLatin1String("val")).toString();
        } else if (name == u"ilvl") {
            sheet.own[style].numbering.level = levelIndex(wAttribute(xml, QLatin1String("val")));
        } else if (name == u"outlineLvl") {
            sheet.own[style].heading = wAttribute(xml, QLatin1String("val")).toInt() < kLevels;
        } else if (name == u"name" && wAttribute(xml, QLatin1String("val")).startsWith(u"heading ")) {
            sheet.own[style].heading = true;
        } else if (name == u"vanish") {
            sheet.own[style].hidden = isOn(xml);
        }
    }
    return sheet;
}

Styles readStyles(const QByteArray& bytes)
{
    const StyleSheet sheet = readStyleSheet(bytes);
    Styles styles;
    styles.defaultParagraph = sheet.defaultParagraph;
    for (auto it = sheet.own.cbegin(); it != sheet.own.cend(); ++it) {
        ParagraphStyle resolved;
        std::optional<bool> hidden;
        QString s = it.key();
        for (int depth = 0; depth < 20 && !s.isEmpty(); ++depth) {
            const OwnStyle given = sheet.own.value(s);
            if (resolved.numbering.numId.isEmpty())
                resolved.numbering.numId = given.numbering.numId;
            if (!resolved.numbering.level)
                resolved.numbering.level = given.numbering.level;
            resolved.heading = resolved.heading || given.heading;
            if (!hidden)
                hidden = given.hidden;
            s = sheet.basedOn.value(s);
        }
        resolved.hidden = hidden.value_or(false);
        if (!it.key().startsWith(kCharacterStyle))
            styles.paragraphs.insert(it.key(), resolved);
        else if (hidden)
            styles.charactersHidden.insert(it.key().mid(kCharacterStyle.size()), *hidden);
    }
    return styles;
}

// Where the package's relationships of a part point, by id: embedded parts only.
QHash<QString, QString> readRelationships(const QByteArray& bytes, const QString& folder)
{
    QHash<QString, QString> targets;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != u"Relationship" ||
            xml.attributes().value(QLatin1String("TargetMode")) == u"External")
            continue;
        QString target = xml.attributes().value(QLatin1String("Target")).toString();
        if (target.startsWith(u'/'))
            target.remove(0, 1);
        else
            target.prepend(folder);
        targets.insert(xml.attributes().value(QLatin1String("Id")).toString(), target);
    }
    return targets;
}

// How the document numbers its notes (w:footnotePr and w:endnotePr of its settings).
struct NoteMarks
{
    documents::listlabels::Format footnotes = documents::listlabels::Format::Decimal;
    documents::listlabels::Format endnotes = documents::listlabels::Format::LowerRoman;
    qint64 footnoteStart = 1;
    qint64 endnoteStart = 1;
};

NoteMarks readNoteMarks(const QByteArray& settings)
{
    NoteMarks marks;
    QXmlStreamReader xml(settings);
    bool endnotes = false, inProperties = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.namespaceUri() != kW)
            continue;
        const QStringView name = xml.name();
        if (name == u"footnotePr" || name == u"endnotePr") {
            inProperties = xml.isStartElement();
            endnotes = name == u"endnotePr";
        } else if (xml.isStartElement() && inProperties && name == u"numFmt") {
            (endnotes ? marks.endnotes : marks.footnotes) =
                documents::listlabels::fromWordFormat(wAttribute(xml, QLatin1String("val")));
        } else if (xml.isStartElement() && inProperties && name == u"numStart") {
            (endnotes ? marks.endnoteStart : marks.footnoteStart) =
                wAttribute(xml, QLatin1String("val")).toInt();
        }
    }
    return marks;
}

// Where the body refers to a note: the note's key ("footnote:2") and the number shown.
struct NoteRef
{
    QString key;
    QString mark;
};

// Stands in a note's text where the note shows its own number (w:footnoteRef): a noncharacter, which
// no document holds.
constexpr QChar kOwnMark = QChar(0xFDD0);

// The text of an embedded part (w:altChunk) by its relationship id, paragraphs joined by '\n'; nothing
// when it cannot be read.
using ChunkText = std::function<std::optional<QString>(const QString& id)>;

// Reads a main document, or a footnotes or endnotes part (then each note's text is kept by its key).
class BodyReader
{
public:
    BodyReader(Numbering numbering, Styles styles, ExpansionBudget& budget, const Options& options,
               NoteMarks marks = NoteMarks(), ChunkText chunks = {})
        : m_numbering(std::move(numbering)), m_styles(std::move(styles)), m_budget(budget), m_marks(marks),
          m_options(options), m_chunks(std::move(chunks))
    {
    }

    std::optional<QString> read(QIODevice& document);
    const QList<NoteRef>& noteRefs() const { return m_noteRefs; }
    const QHash<QString, QString>& notes() const { return m_notes; }

private:
    // What a text box interrupts: the anchoring paragraph and run, and the text read so far.
    struct Suspended
    {
        QString out, paragraph, boxes, style, joined;
        NumberingRef numberingRef;
        bool hasNumberingRef, sectionBreak, inRun, hidden, runsHidden, markHidden, markDeleted, outline;
    };

    void startElement();
    void paragraphProperty(QStringView name);
    void runProperty(QStringView name);
    void contentElement(QStringView name);
    bool structureElement(QStringView name);
    void textElement(QStringView name);
    void endElement();
    void endParagraph();
    void flushJoined();
    void beginBox();
    void endBox();
    void noteReference(bool endnote);
    void altChunk();
    bool inFieldResult() const { return m_fieldsBeforeResult == 0; }
    void append(const QString& text)
    {
        if (!m_hidden && inFieldResult() && charge(m_budget.characters(text.size())))
            m_paragraph += text;
    }
    // Stops the walk once the budget is spent.
    bool charge(bool fits)
    {
        if (!fits)
            m_xml.raiseError();
        return fits;
    }
    QString listLabel();
    // The label text of an item at level of the given format, with counters as they stand; null when
    // it overruns the budget.
    QString labelText(const Level& format, int level, const Counters& counters,
                      const std::function<const Level&(int)>& levelFormat);

    QXmlStreamReader m_xml;
    Numbering m_numbering;
    Styles m_styles;
    ExpansionBudget& m_budget;
    NoteMarks m_marks;
    Options m_options;
    ChunkText m_chunks;
    QString m_out;
    QString m_paragraph;
    QString m_joined;                   // paragraphs whose mark is deleted: they join the next one
    QString m_boxes;                    // text of the boxes anchored in the open paragraph, written after it
    QList<Suspended> m_suspended;       // for each open text box
    QList<bool> m_fields;               // for each open field: whether its result has begun
    qsizetype m_fieldsBeforeResult = 0; // open fields whose result has not begun
    int m_skipDepth = 0;                // >0 inside a part whose text is not the document's
    int m_paragraphs = 0;               // open w:p, for paragraphs inside paragraphs
    bool m_hidden = false;              // the current run is hidden
    bool m_runsHidden = false;          // the paragraph's style hides its runs
    bool m_inRun = false;
    bool m_inParagraphProperties = false;
    bool m_inMarkProperties = false; // the paragraph mark's run properties (w:pPr/w:rPr)
    bool m_inRunProperties = false;
    bool m_sectionBreak = false;      // the paragraph's properties end a section
    std::optional<bool> m_markHidden; // the paragraph mark's own w:vanish
    bool m_markDeleted = false;       // the paragraph mark is a tracked deletion
    bool m_outline = false;           // the paragraph has an outline level of its own
    bool m_customMark = false;        // the run's text is a note's own mark
    QString m_style;
    NumberingRef m_numberingRef;
    bool m_hasNumberingRef = false;
    int m_footnotes = 0;
    int m_endnotes = 0;
    QList<NoteRef> m_noteRefs;
    QHash<QString, QString> m_notes; // in a notes part: each note's text by key
    QString m_noteKey;
    qsizetype m_noteStart = 0; // where the open note's text begins in m_out
};

std::optional<QString> BodyReader::read(QIODevice& document)
{
    m_xml.setDevice(&document);
    // Text is read where its run element starts, not as character data.
    if (!documents::walkXml(
            m_xml, m_skipDepth, [this] { startElement(); }, [this] { endElement(); }, [] {}))
        return std::nullopt;
    flushJoined();
    if (m_out.endsWith(u'\n'))
        m_out.chop(1);
    return m_out;
}

void BodyReader::startElement()
{
    const QStringView name = m_xml.name();
    if (m_xml.namespaceUri() == kW) {
        if (m_inParagraphProperties)
            paragraphProperty(name);
        else if (m_inRunProperties)
            runProperty(name);
        else
            contentElement(name);
    } else if ((m_xml.namespaceUri() == kMc && name == u"Fallback") || m_xml.namespaceUri() == kMath) {
        // Markup compatibility: the fallback repeats the choice's content for older readers. An
        // equation has no text in the export.
        m_skipDepth = 1;
    }
}

void BodyReader::paragraphProperty(QStringView name)
{
    if (m_inMarkProperties) {
        if (name == u"del" || name == u"moveFrom")
            m_markDeleted = true;
        else if (name == u"vanish")
            m_markHidden = isOn(m_xml);
        m_skipDepth = 1;
    } else if (name == u"pStyle") {
        m_style = wAttribute(m_xml, QLatin1String("val")).toString();
    } else if (name == u"numId") {
        m_numberingRef.numId = wAttribute(m_xml, QLatin1String("val")).toString();
        m_hasNumberingRef = true;
    } else if (name == u"ilvl") {
        m_numberingRef.level = levelIndex(wAttribute(m_xml, QLatin1String("val")));
    } else if (name == u"outlineLvl") {
        m_outline = wAttribute(m_xml, QLatin1String("val")).toInt() < kLevels;
        m_skipDepth = 1;
    } else if (name == u"rPr") {
        m_inMarkProperties = true;
    } else if (name == u"sectPr") {
        m_sectionBreak = true;
        m_skipDepth = 1;
    } else if (name != u"numPr") {
        m_skipDepth = 1;
    }
}

void BodyReader::runProperty(QStringView name)
{
    // A run's character style comes first among its properties; its own w:vanish overrides it.
    if (name == u"vanish")
        m_hidden = isOn(m_xml);
    else if (name == u"rStyle")
        m_hidden =
            m_styles.charactersHidden.value(wAttribute(m_xml, QLatin1String("val")).toString(), m_hidden);
    m_skipDepth = 1;
}

void BodyReader::contentElement(QStringView name)
{
    static const QStringList leftOut = {
        QStringLiteral("del"),          QStringLiteral("moveFrom"),
        QStringLiteral("delText"),      QStringLiteral("instrText"),
        QStringLiteral("object"),       QStringLiteral("sdtPr"),
        QStringLiteral("sdtEndPr"),     QStringLiteral("tblPr"),
        QStringLiteral("trPr"),         QStringLiteral("tcPr"),
        QStringLiteral("tblGrid"),      QStringLiteral("sectPr"),
        QStringLiteral("delInstrText"), QStringLiteral("commentReference"),
        QStringLiteral("rt"), // a ruby's reading above its base text
    };
    if (name == u"altChunk")
        altChunk();
    else if (leftOut.contains(name))
        m_skipDepth = 1;
    else if (!structureElement(name))
        textElement(name);
}

// Paragraphs, runs, text boxes and notes: what holds text.
bool BodyReader::structureElement(QStringView name)
{
    if (name == u"p") {
        if (!charge(m_budget.paragraph()))
            return true;
        ++m_paragraphs;
        m_paragraph = std::exchange(m_joined, QString());
        m_style.clear();
        m_numberingRef = NumberingRef();
        m_hasNumberingRef = false;
        m_sectionBreak = false;
        m_markHidden.reset();
        m_markDeleted = false;
        m_outline = false;
        const ParagraphStyle* style = m_styles.find(m_style);
        m_runsHidden = style && style->hidden;
    } else if (name == u"pPr") {
        m_inParagraphProperties = true;
    } else if (name == u"r") {
        m_inRun = true;
        m_hidden = m_runsHidden;
        m_customMark = false;
    } else if (name == u"rPr") {
        if (m_inRun)
            m_inRunProperties = true;
        else
            m_skipDepth = 1;
    } else if (name == u"txbxContent") {
        if (m_options.boxes == documents::TextBoxes::Read)
            beginBox();
        else
            m_skipDepth = 1;
    } else if (name == u"footnote" || name == u"endnote") {
        m_noteKey = name.toString() + u':' + wAttribute(m_xml, QLatin1String("id")).toString();
        m_noteStart = m_out.size();
    } else {
        return false;
    }
    return true;
}

void BodyReader::textElement(QStringView name)
{
    if (name == u"t") {
        const QString text = m_xml.readElementText();
        // A custom note mark stands in brackets as a number would.
        if (std::exchange(m_customMark, false) && m_options.references == documents::NoteReferences::Marked)
            append(u'[' + text + u']');
        else
            append(text);
    } else if (name == u"tab" && m_inRun) {
        append(QStringLiteral("\t"));
    } else if (name == u"br") {
        const QStringView type = wAttribute(m_xml, QLatin1String("type"));
        if (type.isEmpty() || type == u"textWrapping")
            append(QStringLiteral("\n"));
    } else if (name == u"cr") {
        append(QStringLiteral("\n"));
    } else if (name == u"noBreakHyphen") {
        append(QStringLiteral("\u2011"));
    } else if (name == u"sym") {
        bool ok = false;
        const uint code = wAttribute(m_xml, QLatin1String("char")).toUInt(&ok, 16);
        if (ok && code > 0 && code < 0x10000)
            append(QString(QChar(static_cast<char16_t>(code))));
    } else if (name == u"fldChar") {
        const QStringView type = wAttribute(m_xml, QLatin1String("fldCharType"));
        if (type == u"begin" && charge(m_budget.nesting(m_fields.size() + 1))) {
            m_fields.append(false);
            ++m_fieldsBeforeResult;
        } else if (type == u"separate" && !m_fields.isEmpty() && !m_fields.last()) {
            m_fields.last() = true;
            --m_fieldsBeforeResult;
        } else if (type == u"end" && !m_fields.isEmpty()) {
            if (!m_fields.takeLast())
                --m_fieldsBeforeResult;
        }
    } else if (name == u"footnoteReference") {
        noteReference(false);
    } else if (name == u"endnoteReference") {
        noteReference(true);
    } else if ((name == u"footnoteRef" || name == u"endnoteRef") && !m_noteKey.isEmpty()) {
        append(QString(kOwnMark));
    }
}

void BodyReader::noteReference(bool endnote)
{
    QString mark;
    if (endnote) {
        mark = documents::listlabels::number(m_marks.endnoteStart + m_endnotes++, m_marks.endnotes);
    } else {
        // A custom mark is the run's own text that follows.
        const QStringView custom = wAttribute(m_xml, QLatin1String("customMarkFollows"));
        if (custom.isNull() || custom == u"0" || custom == u"false" || custom == u"off")
            mark = documents::listlabels::number(m_marks.footnoteStart + m_footnotes++, m_marks.footnotes);
        else
            m_customMark = true;
    }
    append(mark.isEmpty() || m_options.references == documents::NoteReferences::AsShown ? mark
                                                                                        : u'[' + mark + u']');
    // The note's paragraph after the body, paid for now: references cost little in the file.
    if (!charge(m_budget.paragraph()))
        return;
    m_noteRefs.append(NoteRef{(endnote ? QStringLiteral("endnote:") : QStringLiteral("footnote:")) +
                                  wAttribute(m_xml, QLatin1String("id")).toString(),
                              mark});
}

// An embedded document's paragraphs stand where it is embedded.
void BodyReader::altChunk()
{
    m_skipDepth = 1;
    static const QString kRelations =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    if (!m_chunks)
        return;
    const std::optional<QString> text =
        m_chunks(m_xml.attributes().value(kRelations, QLatin1String("id")).toString());
    if (!text || text->isEmpty())
        return;
    flushJoined();
    if (!charge(m_budget.paragraphs(text->count(u'\n') + 1)) || !charge(m_budget.characters(text->size())))
        return;
    m_out += *text;
    m_out += u'\n';
}

void BodyReader::endElement()
{
    if (m_xml.namespaceUri() != kW)
        return;
    const QStringView name = m_xml.name();
    if (name == u"pPr") {
        m_inParagraphProperties = false;
        const ParagraphStyle* style = m_styles.find(m_style);
        m_runsHidden = style && style->hidden;
    } else if (name == u"rPr") {
        m_inRunProperties = false;
        m_inMarkProperties = false;
    } else if (name == u"r") {
        m_inRun = false;
        m_hidden = false;
    } else if (name == u"p" && m_paragraphs > 0) {
        endParagraph();
    } else if (name == u"txbxContent" && !m_suspended.isEmpty()) {
        endBox();
    } else if (name == u"tc") {
        flushJoined(); // a paragraph does not join across a table's cells
    } else if ((name == u"footnote" || name == u"endnote") && !m_noteKey.isEmpty()) {
        flushJoined();
        QString text = m_out.mid(m_noteStart);
        if (text.endsWith(u'\n'))
            text.chop(1);
        m_notes.insert(std::exchange(m_noteKey, QString()), text);
        m_out.truncate(m_noteStart);
    }
}

void BodyReader::endParagraph()
{
    --m_paragraphs;
    // Accepting a deleted paragraph mark joins the paragraph to the next one.
    if (m_markDeleted) {
        m_joined = std::exchange(m_paragraph, QString());
        return;
    }
    // A paragraph whose text and mark are all hidden is not there.
    const bool hidden = m_markHidden.value_or(m_runsHidden) && m_paragraph.isEmpty();
    // An empty paragraph that only ends a section or anchors text boxes is no line of its own.
    if (!hidden && (!m_paragraph.isEmpty() || (!m_sectionBreak && m_boxes.isEmpty()))) {
        const QString label = listLabel();
        if (!charge(m_budget.characters(label.size())))
            return;
        m_out += label;
        m_out += m_paragraph;
        m_out += u'\n';
    }
    m_paragraph.clear();
    m_out += std::exchange(m_boxes, QString());
}

// Paragraphs joined to a next one that never came stand as one.
void BodyReader::flushJoined()
{
    if (m_joined.isEmpty())
        return;
    m_out += std::exchange(m_joined, QString());
    m_out += u'\n';
    m_out += std::exchange(m_boxes, QString());
}

// A text box's paragraphs are read apart and written after the paragraph it is anchored in.
void BodyReader::beginBox()
{
    if (!charge(m_budget.nesting(m_suspended.size() + 1)))
        return;
    m_suspended.append(Suspended{std::exchange(m_out, QString()), std::exchange(m_paragraph, QString()),
                                 std::exchange(m_boxes, QString()), m_style,
                                 std::exchange(m_joined, QString()), m_numberingRef, m_hasNumberingRef,
                                 m_sectionBreak, m_inRun, m_hidden, m_runsHidden,
                                 m_markHidden.value_or(m_runsHidden), m_markDeleted, m_outline});
    m_inRun = m_hidden = false;
}

void BodyReader::endBox()
{
    flushJoined();
    Suspended outer = m_suspended.takeLast();
    const QString box = std::exchange(m_out, std::move(outer.out));
    m_paragraph = std::move(outer.paragraph);
    m_boxes = std::move(outer.boxes);
    m_boxes += box; // in place: a paragraph may anchor boxes by the thousand
    m_joined = std::move(outer.joined);
    m_style = std::move(outer.style);
    m_numberingRef = std::move(outer.numberingRef);
    m_hasNumberingRef = outer.hasNumberingRef;
    m_sectionBreak = outer.sectionBreak;
    m_inRun = outer.inRun;
    m_hidden = outer.hidden;
    m_runsHidden = outer.runsHidden;
    m_markHidden = outer.markHidden;
    m_markDeleted = outer.markDeleted;
    m_outline = outer.outline;
    if (m_paragraphs == 0)
        m_out += std::exchange(m_boxes, QString());
}

QString BodyReader::listLabel()
{
    // The paragraph's own list and level, each where it gives none from its style.
    NumberingRef ref = m_numberingRef;
    // A heading's number stands at the line's start, however it is numbered.
    bool outline = m_outline;
    if (const ParagraphStyle* style = m_styles.find(m_style)) {
        if (!m_hasNumberingRef)
            ref.numId = style->numbering.numId;
        if (!ref.level)
            ref.level = style->numbering.level;
        outline = outline || style->heading;
    }
    const auto list = m_numbering.lists.constFind(ref.numId);
    if (ref.numId.isEmpty() || ref.numId == u"0" || list == m_numbering.lists.constEnd())
        return QString();
    const auto abstract = m_numbering.abstracts.constFind(list->abstractId);
    if (abstract == m_numbering.abstracts.constEnd())
        return QString();
    const auto levelFormat = [&](int l) -> const Level& {
        return list->levels[l] ? *list->levels[l] : abstract->levels[l];
    };
    if (!ref.level && !m_style.isEmpty()) {
        // A level may name the style it numbers.
        for (int l = 0; l < kLevels && !ref.level; ++l) {
            if (levelFormat(l).style == m_style)
                ref.level = l;
        }
    }
    const int level = ref.level.value_or(0);
    const Level& format = levelFormat(level);

    Counters& counters = m_numbering.counters[list->abstractId];
    if (!m_numbering.overrideApplied.value(ref.numId)) {
        m_numbering.overrideApplied.insert(ref.numId, true);
        for (int l = 0; l < kLevels; ++l) {
            if (list->startOverride[l])
                counters[l] = *list->startOverride[l] - 1;
        }
    }
    // Levels passed over count as used at their start: the next item there goes on from it.
    for (int l = 0; l < level; ++l) {
        if (!counters[l])
            counters[l] = levelFormat(l).start;
    }
    counters[level] = counters[level] ? *counters[level] + 1 : format.start;
    for (int l = level + 1; l < kLevels; ++l)
        counters[l].reset();

    const QString label = labelText(format, level, counters, levelFormat);
    if (label.isNull())
        return QString();
    return (outline ? QString() : documents::listlabels::indent(level)) + label + u' ';
}

QString BodyReader::labelText(const Level& format, int level, const Counters& counters,
                              const std::function<const Level&(int)>& levelFormat)
{
    if (format.bullet)
        return documents::listlabels::bullet(level);
    QString label = QLatin1String("");
    const QString& text = format.text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            const int l = text[i + 1].unicode() - u'1';
            const Level& shown = levelFormat(l);
            const qint64 value = counters[l].value_or(shown.start);
            label += documents::listlabels::number(
                value, format.legal && l < level ? documents::listlabels::Format::Decimal : shown.format);
            ++i;
        } else {
            label += text[i];
        }
        // A level text may repeat "%1" a million times: the label is counted as it grows.
        if (label.size() > m_budget.remaining() && !charge(m_budget.characters(label.size())))
            return QString();
    }
    return label;
}

// The notes the body refers to, in the order of their references, each a paragraph that begins with
// its number, or shows it where the note's text places it; nothing once they exceed budget. Each
// reference has paid for its paragraph where it was met; a note referred to twice is written, and
// charged, twice.
std::optional<QString> noteText(const QList<NoteRef>& refs, const QHash<QString, QString>& notes,
                                ExpansionBudget& budget)
{
    QString out;
    for (const NoteRef& ref : refs) {
        QString text = notes.value(ref.key);
        const auto skipBlanks = [&text] {
            qsizetype blank = 0;
            while (blank < text.size() && (text[blank] == u' ' || text[blank] == u'\t'))
                ++blank;
            text.remove(0, blank);
        };
        skipBlanks();
        // The number at the note's start is written as the other notes' are; elsewhere it stays in place.
        if (text.startsWith(kOwnMark)) {
            text.remove(0, 1);
            skipBlanks();
        }
        const bool placed = text.contains(kOwnMark);
        text.replace(kOwnMark, ref.mark);
        const qsizetype lines = text.count(u'\n');
        if (!budget.characters(ref.mark.size() + 1 + text.size() - lines) || !budget.paragraphs(lines))
            return std::nullopt;
        if (!out.isEmpty())
            out += u'\n';
        if (placed)
            out += text;
        else
            out += ref.mark.isEmpty() || text.isEmpty() ? ref.mark + text : ref.mark + u' ' + text;
    }
    return out;
}

// An embedded part's plain text: HTML (also inside a web archive), rich text, a Word document or
// text. Nothing for what cannot be read.
std::optional<QString> embeddedText(const QByteArray& bytes, ExpansionBudget& budget, const Options& options,
                                    int depth);

// What the notes parts are read with besides the budget.
struct NotesSetting
{
    const Numbering& numbering;
    const Styles& styles;
    const Options& options;
};

// The notes parts are read on what the budget has left, but only what the body refers to is charged
// to it, as often as it is referred to. Broken notes cost the notes, not the body.
std::optional<QString> readNotes(const ZipArchive& archive, const QString& folder,
                                 const NotesSetting& setting, const QList<NoteRef>& refs,
                                 ExpansionBudget& budget)
{
    ExpansionBudget notesBudget = budget;
    QHash<QString, QString> notes;
    for (const QString& part : {QStringLiteral("footnotes.xml"), QStringLiteral("endnotes.xml")}) {
        if (const std::unique_ptr<documents::ZipEntry> entry = archive.open(folder + part)) {
            BodyReader notesReader(setting.numbering, setting.styles, notesBudget, setting.options);
            if (notesReader.read(*entry) && !entry->failed())
                notes.insert(notesReader.notes());
        }
        if (notesBudget.exceeded()) {
            budget = notesBudget;
            return std::nullopt;
        }
    }
    return noteText(refs, notes, budget);
}

std::optional<documents::TextParts> readPartsAt(const ZipArchive& archive, ExpansionBudget& budget,
                                                const Options& options, int depth)
{
    const std::optional<QString> main = mainPart(archive);
    if (!main)
        return std::nullopt;
    const std::unique_ptr<documents::ZipEntry> document = archive.open(*main);
    if (!document)
        return std::nullopt;
    const qsizetype slash = main->lastIndexOf(u'/');
    const QString folder = slash >= 0 ? main->left(slash + 1) : QString();
    const QString name = main->mid(slash + 1);
    const std::optional<QByteArray> numberingPart = archive.read(folder + QStringLiteral("numbering.xml"));
    const std::optional<QByteArray> stylesPart = archive.read(folder + QStringLiteral("styles.xml"));
    const std::optional<QByteArray> settings = archive.read(folder + QStringLiteral("settings.xml"));
    const std::optional<QByteArray> relations =
        archive.read(folder + QStringLiteral("_rels/") + name + QStringLiteral(".rels"));
    const Numbering numbering = numberingPart ? readNumbering(*numberingPart) : Numbering();
    const Styles styles = stylesPart ? readStyles(*stylesPart) : Styles();
    const QHash<QString, QString> targets =
        relations ? readRelationships(*relations, folder) : QHash<QString, QString>();
    // A part embedded many times is read once: its text is charged where it stands.
    QHash<QString, std::optional<QString>> chunkTexts;
    const ChunkText chunks = [&](const QString& id) -> std::optional<QString> {
        const auto target = targets.constFind(id);
        if (target == targets.constEnd() || depth >= kMaxChunkDepth)
            return std::nullopt;
        if (const auto known = chunkTexts.constFind(*target); known != chunkTexts.constEnd())
            return *known;
        const std::optional<QByteArray> bytes = archive.read(*target);
        ExpansionBudget chunkBudget = budget; // what reading it unfolds to, not yet what it adds
        chunkTexts[*target] = bytes ? embeddedText(*bytes, chunkBudget, options, depth + 1) : std::nullopt;
        if (chunkBudget.exceeded())
            budget = chunkBudget;
        return chunkTexts[*target];
    };
    BodyReader reader(numbering, styles, budget, options, settings ? readNoteMarks(*settings) : NoteMarks(),
                      chunks);
    std::optional<QString> body = reader.read(*document);
    // A body whose checksum or length is wrong is broken, however well its XML ended.
    if (!body || document->failed())
        return std::nullopt;
    documents::TextParts parts{std::move(*body), QString()};
    if (!reader.noteRefs().isEmpty()) {
        std::optional<QString> noteParagraphs =
            readNotes(archive, folder, {numbering, styles, options}, reader.noteRefs(), budget);
        if (!noteParagraphs)
            return std::nullopt;
        parts.notes = std::move(*noteParagraphs);
    }
    return parts;
}

std::optional<QString> embeddedText(const QByteArray& bytes, ExpansionBudget& budget, const Options& options,
                                    int depth)
{
    if (bytes.startsWith("PK")) {
        const ZipArchive archive(bytes);
        std::optional<documents::TextParts> parts =
            archive.isOpen() ? readPartsAt(archive, budget, options, depth) : std::nullopt;
        return parts ? std::optional<QString>(parts->joined()) : std::nullopt;
    }
    if (bytes.startsWith("{\\rtf")) {
        const std::optional<richtext::Document> document = rtf::read(bytes);
        return document ? std::optional<QString>(document->text(QStringLiteral("\n"))) : std::nullopt;
    }
    const std::optional<QString> text = textfile::decode(bytes);
    if (!text)
        return std::nullopt;
    if (const std::optional<QByteArray> page = documents::webArchivePage(bytes))
        return documents::htmlText(textfile::decode(*page).value_or(QString()));
    if (text->trimmed().startsWith(u'<'))
        return documents::htmlText(*text);
    return *text;
}

} // namespace

std::optional<documents::TextParts> readParts(const ZipArchive& archive, ExpansionBudget& budget,
                                              const documents::TextOptions& options)
{
    return readPartsAt(archive, budget, options, 0);
}

std::optional<QString> read(const ZipArchive& archive, ExpansionBudget& budget)
{
    std::optional<documents::TextParts> parts = readParts(archive, budget);
    if (!parts)
        return std::nullopt;
    return parts->joined();
}

} // namespace docx
