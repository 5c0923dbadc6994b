#include "documents/DocxReader.h"

#include "documents/ExpansionBudget.h"
#include "documents/ListLabels.h"
#include "documents/XmlWalk.h"
#include "documents/ZipArchive.h"

#include <QHash>
#include <QList>
#include <QXmlStreamReader>

#include <array>

namespace docx {
namespace {

using documents::ExpansionBudget;
using documents::ZipArchive;

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kMc = QStringLiteral("http://schemas.openxmlformats.org/markup-compatibility/2006");
const QString kMainRelation =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument");
constexpr int kLevels = 9;

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

struct Level
{
    listlabels::Format format = listlabels::Format::Decimal;
    QString text; // w:lvlText, "%1." and the like
    qint64 start = 1;
    bool bullet = false;
    bool legal = false; // w:isLgl: every number decimal
};

struct AbstractList
{
    std::array<Level, kLevels> levels;
};

struct ListRef
{
    QString abstractId;
    std::array<std::optional<qint64>, kLevels> startOverride;
};

struct Numbering
{
    QHash<QString, AbstractList> abstracts;
    QHash<QString, ListRef> lists;                           // by w:numId
    QHash<QString, std::array<std::optional<qint64>, kLevels>> counters; // by abstract id
    QHash<QString, bool> overrideApplied;                    // by w:numId
};

int levelIndex(QStringView v)
{
    bool ok = false;
    const int level = v.toInt(&ok);
    return ok && level >= 0 && level < kLevels ? level : 0;
}

Numbering readNumbering(const QByteArray& bytes)
{
    Numbering numbering;
    QXmlStreamReader xml(bytes);
    QString abstractId, numId;
    int level = -1, overrideLevel = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.namespaceUri() != kW)
            continue;
        const QStringView name = xml.name();
        if (name == u"abstractNum") {
            abstractId = wAttribute(xml, QLatin1String("abstractNumId")).toString();
            numId.clear();
            numbering.abstracts.insert(abstractId, AbstractList());
        } else if (name == u"num") {
            numId = wAttribute(xml, QLatin1String("numId")).toString();
            abstractId.clear();
        } else if (name == u"abstractNumId" && !numId.isEmpty()) {
            numbering.lists[numId].abstractId = wAttribute(xml, QLatin1String("val")).toString();
        } else if (name == u"lvlOverride" && !numId.isEmpty()) {
            overrideLevel = levelIndex(wAttribute(xml, QLatin1String("ilvl")));
        } else if (name == u"startOverride" && !numId.isEmpty() && overrideLevel >= 0) {
            numbering.lists[numId].startOverride[overrideLevel] = wAttribute(xml, QLatin1String("val")).toInt();
        } else if (name == u"lvl" && !abstractId.isEmpty()) {
            level = levelIndex(wAttribute(xml, QLatin1String("ilvl")));
        } else if (level >= 0 && !abstractId.isEmpty()) {
            Level& l = numbering.abstracts[abstractId].levels[level];
            if (name == u"start")
                l.start = wAttribute(xml, QLatin1String("val")).toInt();
            else if (name == u"numFmt") {
                l.bullet = wAttribute(xml, QLatin1String("val")) == u"bullet";
                l.format = listlabels::fromWordFormat(wAttribute(xml, QLatin1String("val")));
            } else if (name == u"lvlText")
                l.text = wAttribute(xml, QLatin1String("val")).toString();
            else if (name == u"isLgl")
                l.legal = isOn(xml);
        }
    }
    return numbering;
}

struct NumberingRef
{
    QString numId;
    std::optional<int> level;
};

// Paragraph styles' numbering, with what they inherit from the styles they are based on.
QHash<QString, NumberingRef> readStyleNumbering(const QByteArray& bytes)
{
    QHash<QString, NumberingRef> own;
    QHash<QString, QString> basedOn;
    QXmlStreamReader xml(bytes);
    QString style;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.namespaceUri() != kW)
            continue;
        const QStringView name = xml.name();
        if (name == u"style")
            style = wAttribute(xml, QLatin1String("type")) == u"paragraph" ? wAttribute(xml, QLatin1String("styleId")).toString() : QString();
        else if (style.isEmpty())
            continue;
        else if (name == u"basedOn")
            basedOn.insert(style, wAttribute(xml, QLatin1String("val")).toString());
        else if (name == u"numId")
            own[style].numId = wAttribute(xml, QLatin1String("val")).toString();
        else if (name == u"ilvl")
            own[style].level = levelIndex(wAttribute(xml, QLatin1String("val")));
    }
    QHash<QString, NumberingRef> resolved;
    for (auto it = basedOn.constBegin(); it != basedOn.constEnd(); ++it) {
        if (own.contains(it.key()))
            continue;
        QString parent = it.value();
        for (int depth = 0; depth < 20 && !parent.isEmpty(); ++depth) {
            if (own.contains(parent)) {
                resolved.insert(it.key(), own.value(parent));
                break;
            }
            parent = basedOn.value(parent);
        }
    }
    for (auto it = own.constBegin(); it != own.constEnd(); ++it)
        resolved.insert(it.key(), it.value());
    return resolved;
}

class BodyReader
{
public:
    BodyReader(Numbering numbering, QHash<QString, NumberingRef> styles, ExpansionBudget& budget)
        : m_numbering(std::move(numbering)), m_styles(std::move(styles)), m_budget(budget)
    {
    }

    std::optional<QString> read(QIODevice& document);

private:
    void startElement();
    void endElement();
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

    QXmlStreamReader m_xml;
    Numbering m_numbering;
    QHash<QString, NumberingRef> m_styles;
    ExpansionBudget& m_budget;
    QString m_out;
    QString m_paragraph;
    QList<bool> m_fields;  // for each open field: whether its result has begun
    qsizetype m_fieldsBeforeResult = 0; // open fields whose result has not begun
    int m_skipDepth = 0;   // >0 inside a part whose text is not the document's
    int m_paragraphs = 0;  // open w:p, for paragraphs inside paragraphs (text boxes are skipped)
    bool m_hidden = false; // the current run is hidden
    bool m_inRun = false;
    bool m_inParagraphProperties = false;
    bool m_inRunProperties = false;
    bool m_sectionBreak = false; // the paragraph's properties end a section
    QString m_style;
    NumberingRef m_numberingRef;
    bool m_hasNumberingRef = false;
    int m_footnotes = 0;
    int m_endnotes = 0;
};

std::optional<QString> BodyReader::read(QIODevice& document)
{
    m_xml.setDevice(&document);
    // Text is read where its run element starts, not as character data.
    if (!documents::walkXml(m_xml, m_skipDepth, [this] { startElement(); }, [this] { endElement(); }, [] {}))
        return std::nullopt;
    if (m_out.endsWith(u'\n'))
        m_out.chop(1);
    return m_out;
}

void BodyReader::startElement()
{
    const QStringView name = m_xml.name();
    const bool w = m_xml.namespaceUri() == kW;
    if (!w) {
        // Markup compatibility: the fallback repeats the choice's content for older readers.
        if (m_xml.namespaceUri() == kMc && name == u"Fallback")
            m_skipDepth = 1;
        return;
    }
    if (m_inParagraphProperties) {
        if (name == u"pStyle")
            m_style = wAttribute(m_xml, QLatin1String("val")).toString();
        else if (name == u"numId") {
            m_numberingRef.numId = wAttribute(m_xml, QLatin1String("val")).toString();
            m_hasNumberingRef = true;
        } else if (name == u"ilvl")
            m_numberingRef.level = levelIndex(wAttribute(m_xml, QLatin1String("val")));
        else if (name == u"sectPr") {
            m_sectionBreak = true;
            m_skipDepth = 1;
        } else if (name != u"numPr")
            m_skipDepth = 1;
        return;
    }
    if (m_inRunProperties) {
        if (name == u"vanish")
            m_hidden = isOn(m_xml);
        m_skipDepth = 1;
        return;
    }
    if (name == u"p") {
        if (!charge(m_budget.paragraph()))
            return;
        ++m_paragraphs;
        m_paragraph.clear();
        m_style.clear();
        m_numberingRef = NumberingRef();
        m_hasNumberingRef = false;
        m_sectionBreak = false;
    } else if (name == u"pPr") {
        m_inParagraphProperties = true;
    } else if (name == u"r") {
        m_inRun = true;
        m_hidden = false;
    } else if (name == u"rPr") {
        if (m_inRun)
            m_inRunProperties = true;
        else
            m_skipDepth = 1;
    } else if (name == u"t") {
        append(m_xml.readElementText());
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
        const QStringView custom = wAttribute(m_xml, QLatin1String("customMarkFollows"));
        if (custom.isNull() || custom == u"0" || custom == u"false" || custom == u"off")
            append(QString::number(++m_footnotes));
    } else if (name == u"endnoteReference") {
        append(listlabels::number(++m_endnotes, listlabels::Format::LowerRoman));
    } else if (name == u"del" || name == u"moveFrom" || name == u"delText" || name == u"instrText" ||
               name == u"txbxContent" || name == u"drawing" || name == u"pict" || name == u"object" ||
               name == u"sdtPr" || name == u"sdtEndPr" || name == u"tblPr" || name == u"trPr" ||
               name == u"tcPr" || name == u"tblGrid" || name == u"sectPr" || name == u"altChunk" ||
               name == u"delInstrText" || name == u"commentReference") {
        m_skipDepth = 1;
    }
}

void BodyReader::endElement()
{
    if (m_xml.namespaceUri() != kW)
        return;
    const QStringView name = m_xml.name();
    if (name == u"pPr") {
        m_inParagraphProperties = false;
    } else if (name == u"rPr") {
        m_inRunProperties = false;
    } else if (name == u"r") {
        m_inRun = false;
        m_hidden = false;
    } else if (name == u"p" && m_paragraphs > 0) {
        --m_paragraphs;
        // An empty paragraph that only ends a section is no line of its own.
        if (m_sectionBreak && m_paragraph.isEmpty())
            return;
        const QString label = listLabel();
        if (!charge(m_budget.characters(label.size())))
            return;
        m_out += label;
        m_out += m_paragraph;
        m_out += u'\n';
        m_paragraph.clear();
    }
}

QString BodyReader::listLabel()
{
    NumberingRef ref = m_numberingRef;
    if (!m_hasNumberingRef) {
        const auto style = m_styles.constFind(m_style);
        if (style == m_styles.constEnd())
            return QString();
        ref = *style;
    }
    const auto list = m_numbering.lists.constFind(ref.numId);
    if (ref.numId.isEmpty() || ref.numId == u"0" || list == m_numbering.lists.constEnd())
        return QString();
    const auto abstract = m_numbering.abstracts.constFind(list->abstractId);
    if (abstract == m_numbering.abstracts.constEnd())
        return QString();
    const int level = ref.level.value_or(0);
    const Level& format = abstract->levels[level];

    std::array<std::optional<qint64>, kLevels>& counters = m_numbering.counters[list->abstractId];
    if (!m_numbering.overrideApplied.value(ref.numId)) {
        m_numbering.overrideApplied.insert(ref.numId, true);
        for (int l = 0; l < kLevels; ++l) {
            if (list->startOverride[l])
                counters[l] = *list->startOverride[l] - 1;
        }
    }
    counters[level] = counters[level] ? *counters[level] + 1 : format.start;
    for (int l = level + 1; l < kLevels; ++l)
        counters[l].reset();

    QString label;
    if (format.bullet) {
        label = format.text.isEmpty() ? QStringLiteral("•") : listlabels::bullet(format.text);
    } else {
        const QString& text = format.text;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
                const int l = text[i + 1].unicode() - u'1';
                const Level& shown = abstract->levels[l];
                const qint64 value = counters[l].value_or(shown.start);
                label += listlabels::number(value, format.legal && l < level ? listlabels::Format::Decimal
                                                                              : shown.format);
                ++i;
            } else {
                label += text[i];
            }
            // A level text may repeat "%1" a million times: the label is counted as it grows.
            if (label.size() > m_budget.remaining() && !charge(m_budget.characters(label.size())))
                return QString();
        }
    }
    return listlabels::indent(level) + label + u' ';
}

} // namespace

std::optional<QString> read(const ZipArchive& archive, ExpansionBudget& budget)
{
    const std::optional<QString> main = mainPart(archive);
    if (!main)
        return std::nullopt;
    const std::unique_ptr<documents::ZipEntry> document = archive.open(*main);
    if (!document)
        return std::nullopt;
    const qsizetype slash = main->lastIndexOf(u'/');
    const QString folder = slash >= 0 ? main->left(slash + 1) : QString();
    const std::optional<QByteArray> numbering = archive.read(folder + QStringLiteral("numbering.xml"));
    const std::optional<QByteArray> styles = archive.read(folder + QStringLiteral("styles.xml"));
    BodyReader reader(numbering ? readNumbering(*numbering) : Numbering(),
                      styles && numbering ? readStyleNumbering(*styles) : QHash<QString, NumberingRef>(),
                      budget);
    std::optional<QString> text = reader.read(*document);
    // A body whose checksum or length is wrong is broken, however well its XML ended.
    if (document->failed())
        return std::nullopt;
    return text;
}

} // namespace docx
