#include "documents/RtfReader.h"

#include <unicode/ucnv.h>

#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace rtf {
namespace {

using richtext::CharFormat;
using richtext::Color;

constexpr int kAnsiCodepage = 1252;
// Deeper groups keep only their destination: their text is read, their formatting stays that of the
// group at this depth, so that the state stack stays small at any nesting.
constexpr int kMaxDepth = 512;
constexpr int kMaxControlWordLetters = 32;
constexpr int kMaxParameterDigits = 10;

enum class Destination : unsigned char { Text, Skip, FontTable, ColorTable };

struct FontEntry
{
    QString name;
    int charset = -1;
    int codepage = 0; // 0: the document's
};

struct GroupState
{
    Destination destination = Destination::Text;
    CharFormat format;
    int fontIndex = -1; // -1: the document's default font
    int associatedFont = -1;
    bool doubleByte = false; // between \dbch and \loch/\hich
    int unicodeSkip = 1;
    bool upr = false; // an \upr group: the first child is the ANSI copy of the second
    bool uprFirstChildSeen = false;
    Destination uprOuter = Destination::Text;
};

int codepageOfCharset(int charset)
{
    struct Entry
    {
        int charset;
        int codepage;
    };
    static constexpr Entry kCodepages[] = {
        {0, kAnsiCodepage}, {2, kAnsiCodepage}, {77, 10000}, {78, 10001}, {79, 10003}, {80, 10008},
        {81, 10002},        {83, 10005},        {84, 10004}, {85, 10006}, {86, 10081}, {87, 10021},
        {88, 10029},        {89, 10007},        {128, 932},  {129, 949},  {134, 936},  {136, 950},
        {161, 1253},        {162, 1254},        {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
        {204, 1251},        {222, 874},         {238, 1250}, {254, 437},  {255, 850},
    };
    for (const Entry& e : kCodepages) {
        if (e.charset == charset)
            return e.codepage;
    }
    return 0;
}

bool isDoubleByteCodepage(int codepage)
{
    return codepage == 932 || codepage == 936 || codepage == 949 || codepage == 950 || codepage == 1361;
}

struct ConverterCloser
{
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// The code pages that RTF writers name; any other number reads as Windows-1252. Keeping to a fixed
// list bounds the converters a file can make the reader open.
bool isKnownCodepage(int codepage)
{
    static const QSet<int> known{437,   708,   720,   737,   775,   850,   852,   855,   857,
                                 860,   861,   862,   863,   864,   865,   866,   869,   874,
                                 932,   936,   949,   950,   1250,  1251,  1252,  1253,  1254,
                                 1255,  1256,  1257,  1258,  1361,  10000, 10001, 10002, 10003,
                                 10004, 10005, 10006, 10007, 10008, 10021, 10029, 10081, 65001};
    return known.contains(codepage);
}

Converter openConverter(int codepage)
{
    QList<QByteArray> names;
    // Mac code pages: ICU's Mac converters, or for the Far East ones the Windows code page of the same
    // character set.
    static const QHash<int, QList<QByteArray>> mac{{10000, {"macintosh"}},
                                                   {10001, {"x-mac-japanese", "windows-932"}},
                                                   {10002, {"x-mac-trad-chinese", "windows-950"}},
                                                   {10003, {"x-mac-korean", "windows-949"}},
                                                   {10004, {"x-mac-arabic"}},
                                                   {10005, {"x-mac-hebrew"}},
                                                   {10006, {"x-mac-greek"}},
                                                   {10007, {"x-mac-cyrillic"}},
                                                   {10008, {"x-mac-simp-chinese", "windows-936"}},
                                                   {10021, {"x-mac-thai", "windows-874"}},
                                                   {10029, {"x-mac-centraleurroman"}},
                                                   {10081, {"x-mac-turkish"}}};
    if (codepage == 65001)
        names << "UTF-8";
    else
        names << mac.value(codepage);
    names << "windows-" + QByteArray::number(codepage) << "ibm-" + QByteArray::number(codepage);
    for (const QByteArray& name : names) {
        UErrorCode status = U_ZERO_ERROR;
        Converter c(ucnv_open(name.constData(), &status));
        if (U_SUCCESS(status) && c)
            return c;
    }
    return nullptr;
}

// A destination whose text is never shown.
bool isSkippedDestination(const QByteArray& word)
{
    static const QSet<QByteArray> skipped{"info",        "stylesheet",   "pict",         "object",
                                          "header",      "headerl",      "headerr",      "headerf",
                                          "footer",      "footerl",      "footerr",      "footerf",
                                          "footnote",    "annotation",   "themedata",    "colorschememapping",
                                          "datastore",   "latentstyles", "listtable",    "listoverridetable",
                                          "rsidtbl",     "generator",    "xmlnstbl",     "mmathPr",
                                          "pgdsctbl",    "filetbl",      "revtbl",       "nonshppict",
                                          "shp",         "shpinst",      "fldinst",      "bkmkstart",
                                          "bkmkend",     "atnid",        "atnauthor",    "xe",
                                          "tc",          "txe",          "pn",           "pnseclvl",
                                          "pntxta",      "pntxtb",       "falt",         "panose",
                                          "template",    "private",      "userprops",    "wgrffmtfilter",
                                          "defchp",      "defpap",       "listpicture",  "background",
                                          "do",          "fchars",       "lchars",       "blipuid",
                                          "pgptbl",      "protusertbl",  "ftnsep",       "ftnsepc",
                                          "ftncn",       "aftnsep",      "aftnsepc",     "aftncn",
                                          "objdata",     "result",       "passwordhash", "docvar",
                                          "nonesttables"};
    return skipped.contains(word);
}

// The character a control word stands for in the text, or 0.
char16_t specialCharacter(const QByteArray& word)
{
    static const QHash<QByteArray, char16_t> characters{
        {"line", u'\u2028'},    {"tab", u'\t'},           {"cell", u'\t'},          {"nestcell", u'\t'},
        {"emdash", u'\u2014'},  {"endash", u'\u2013'},    {"bullet", u'\u2022'},    {"lquote", u'\u2018'},
        {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'},
        {"enspace", u'\u2002'}, {"qmspace", u'\u2005'},   {"zwj", u'\u200D'},       {"zwnj", u'\u200C'},
        {"nbsp", u'\u00A0'},    {"nbhyphen", u'\u2011'}};
    return characters.value(word, 0);
}

class Reader
{
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}

    richtext::Document run();

private:
    // Tokens
    void controlWord(const QByteArray& word, bool hasParameter, int parameter);
    void fontTableWord(const QByteArray& word, int parameter);
    void colorTableWord(const QByteArray& word, int parameter);
    using WordHandler = void (*)(Reader&, int parameter, bool on);
    static const QHash<QByteArray, WordHandler>& wordHandlers();
    static QHash<QByteArray, WordHandler> characterFormatHandlers();
    void controlSymbol(char symbol);
    void groupStart();
    void groupEnd();
    void textByte(char byte);
    void unicodeUnit(int value);

    // Text
    void appendText(const QString& text);
    void flushBytes();
    void newParagraph();
    int currentCodepage() const;
    int fontCodepage(int index) const;
    const FontEntry* font(int index) const;
    CharFormat effectiveFormat() const;
    QString decode(const QByteArray& bytes, int codepage);
    void resetCharFormat();
    bool takeSkippedCharacter();

    // Tables
    void finishFontEntry();
    void finishColorEntry();

    const QByteArray& m_data;
    qsizetype m_pos = 0;

    QList<GroupState> m_stack;
    GroupState m_state;
    std::vector<Destination> m_overflow; // the enclosing destinations of the groups beyond kMaxDepth
    bool m_starPending = false;
    bool m_groupStartPending = false; // no control word yet in the current group
    int m_skipRemaining = 0;

    int m_documentCodepage = kAnsiCodepage;
    int m_defaultFont = -1;
    std::map<int, Converter> m_converters;

    QHash<int, FontEntry> m_fonts;
    int m_fontEntryIndex = -1;
    FontEntry m_fontEntry;
    QString m_fontName;

    QList<std::optional<Color>> m_colors;
    Color m_color;
    bool m_colorHasComponent = false;

    QByteArray m_bytes; // pending 8-bit text, decoded together so that double-byte pairs stay whole
    int m_bytesCodepage = 0;

    richtext::Document m_document;
    richtext::Paragraph m_paragraph;
    bool m_sawParagraphEnd = false;
    bool m_done = false;
};

richtext::Document Reader::run()
{
    const char* d = m_data.constData();
    const qsizetype n = m_data.size();
    while (m_pos < n && !m_done) {
        const char c = d[m_pos++];
        if (c == '{') {
            groupStart();
        } else if (c == '}') {
            groupEnd();
        } else if (c == '\\') {
            if (m_pos >= n)
                break;
            const char next = d[m_pos];
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
                QByteArray word;
                while (m_pos < n &&
                       ((d[m_pos] >= 'a' && d[m_pos] <= 'z') || (d[m_pos] >= 'A' && d[m_pos] <= 'Z'))) {
                    if (word.size() < kMaxControlWordLetters)
                        word.append(d[m_pos]);
                    ++m_pos;
                }
                bool negative = false;
                bool hasParameter = false;
                long long value = 0;
                if (m_pos < n && d[m_pos] == '-' && m_pos + 1 < n && d[m_pos + 1] >= '0' &&
                    d[m_pos + 1] <= '9') {
                    negative = true;
                    ++m_pos;
                }
                int digits = 0;
                while (m_pos < n && d[m_pos] >= '0' && d[m_pos] <= '9') {
                    if (digits++ < kMaxParameterDigits)
                        value = value * 10 + (d[m_pos] - '0');
                    hasParameter = true;
                    ++m_pos;
                }
                if (m_pos < n && d[m_pos] == ' ')
                    ++m_pos;
                value = std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX);
                controlWord(word, hasParameter, static_cast<int>(value));
            } else {
                ++m_pos;
                controlSymbol(next);
            }
        } else if (c == '\r' || c == '\n' || c == '\0') {
            // Line breaks in the file only wrap its lines.
        } else if (c == '\t') {
            controlWord("tab", false, 0);
        } else {
            textByte(c);
        }
    }
    flushBytes();
    // The file's last \par ends the last paragraph; it does not open an empty one after it.
    if (!m_paragraph.runs.isEmpty() || !m_sawParagraphEnd)
        m_document.paragraphs.append(std::move(m_paragraph));
    return std::move(m_document);
}

void Reader::groupStart()
{
    flushBytes();
    m_skipRemaining = 0;
    if (m_stack.size() >= kMaxDepth) {
        m_overflow.push_back(m_state.destination);
        m_groupStartPending = true;
        m_starPending = false;
        return;
    }
    m_stack.append(m_state);
    GroupState& parent = m_stack.last();
    if (parent.upr) {
        m_state.upr = false;
        if (!parent.uprFirstChildSeen) {
            parent.uprFirstChildSeen = true;
            m_state.destination = Destination::Skip;
        }
    }
    m_groupStartPending = true;
    m_starPending = false;
}

void Reader::groupEnd()
{
    flushBytes();
    m_skipRemaining = 0;
    m_starPending = false;
    m_groupStartPending = false;
    if (m_state.destination == Destination::FontTable)
        finishFontEntry(); // an entry may end with its group instead of a ';'
    if (!m_overflow.empty()) {
        m_state.destination = m_overflow.back();
        m_overflow.pop_back();
        return;
    }
    if (m_stack.isEmpty()) {
        m_done = true; // the document's group has closed
        return;
    }
    m_state = m_stack.takeLast();
    if (m_stack.isEmpty())
        m_done = true;
}

bool Reader::takeSkippedCharacter()
{
    if (m_skipRemaining > 0) {
        --m_skipRemaining;
        return true;
    }
    return false;
}

void Reader::textByte(char byte)
{
    if (m_state.destination == Destination::Skip)
        return;
    if (takeSkippedCharacter())
        return;
    switch (m_state.destination) {
    case Destination::ColorTable:
        if (byte == ';')
            finishColorEntry();
        return;
    case Destination::FontTable:
        if (byte == ';') {
            finishFontEntry();
            return;
        }
        break;
    default:
        break;
    }
    const int codepage = currentCodepage();
    if (!m_bytes.isEmpty() && codepage != m_bytesCodepage)
        flushBytes();
    m_bytesCodepage = codepage;
    m_bytes.append(byte);
}

void Reader::unicodeUnit(int value)
{
    if (m_state.destination == Destination::Skip)
        return;
    flushBytes();
    const char16_t unit = static_cast<char16_t>(value < 0 ? value + 65536 : value);
    if (m_state.destination == Destination::FontTable)
        m_fontName.append(QChar(unit));
    else if (m_state.destination == Destination::Text && unit != 0)
        appendText(QString(QChar(unit)));
    m_skipRemaining = m_state.unicodeSkip;
}

const FontEntry* Reader::font(int index) const
{
    const auto it = m_fonts.constFind(index);
    return it == m_fonts.constEnd() ? nullptr : &it.value();
}

int Reader::currentCodepage() const
{
    if (m_state.destination == Destination::FontTable)
        return m_fontEntry.codepage ? m_fontEntry.codepage : m_documentCodepage;
    int codepage = fontCodepage(m_state.fontIndex >= 0 ? m_state.fontIndex : m_defaultFont);
    // After \dbch, Word names the font of double-byte text as the associated font.
    if (m_state.doubleByte && m_state.associatedFont >= 0) {
        const int associated = fontCodepage(m_state.associatedFont);
        if (isDoubleByteCodepage(associated))
            codepage = associated;
    }
    return codepage;
}

int Reader::fontCodepage(int index) const
{
    const FontEntry* f = font(index);
    return f && f->codepage ? f->codepage : m_documentCodepage;
}

QString Reader::decode(const QByteArray& bytes, int codepage)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    if (!isKnownCodepage(codepage))
        codepage = kAnsiCodepage;
    auto it = m_converters.find(codepage);
    if (it == m_converters.end()) {
        Converter c = openConverter(codepage);
        if (!c && codepage != kAnsiCodepage)
            c = openConverter(kAnsiCodepage);
        it = m_converters.emplace(codepage, std::move(c)).first;
    }
    UConverter* conv = it->second.get();
    if (!conv)
        return QString::fromLatin1(bytes);
    ucnv_reset(conv);
    QString out(2 * bytes.size() + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      bytes.constData(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return QString(bytes.size(), QChar::ReplacementCharacter);
    out.truncate(length);
    return out;
}

void Reader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const QString text = decode(m_bytes, m_bytesCodepage);
    m_bytes.clear();
    if (m_state.destination == Destination::FontTable)
        m_fontName.append(text);
    else if (m_state.destination == Destination::Text)
        appendText(text);
}

CharFormat Reader::effectiveFormat() const
{
    CharFormat f = m_state.format;
    const FontEntry* entry = font(m_state.fontIndex >= 0 ? m_state.fontIndex : m_defaultFont);
    f.fontName = entry ? entry->name : QString();
    return f;
}

void Reader::appendText(const QString& raw)
{
    // No control character but tab reaches the editor (a byte the code page cannot map, NUL).
    QString text = raw;
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
    if (text.isEmpty())
        return;
    CharFormat f = effectiveFormat();
    if (!m_paragraph.runs.isEmpty() && m_paragraph.runs.last().format == f)
        m_paragraph.runs.last().text += text;
    else
        m_paragraph.runs.append({text, std::move(f)});
}

void Reader::newParagraph()
{
    flushBytes();
    m_document.paragraphs.append(std::move(m_paragraph));
    m_paragraph = {};
    m_sawParagraphEnd = true;
}

void Reader::resetCharFormat()
{
    m_state.format = {};
    m_state.fontIndex = -1;
    m_state.associatedFont = -1;
    m_state.doubleByte = false;
}

void Reader::finishFontEntry()
{
    flushBytes();
    if (m_fontEntryIndex >= 0) {
        m_fontEntry.name = m_fontName.trimmed();
        m_fonts.insert(m_fontEntryIndex, m_fontEntry);
    }
    m_fontEntryIndex = -1;
    m_fontEntry = {};
    m_fontName.clear();
}

void Reader::finishColorEntry()
{
    m_colors.append(m_colorHasComponent ? std::optional<Color>(m_color) : std::nullopt);
    m_color = {};
    m_colorHasComponent = false;
}

void Reader::controlSymbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(symbol);
        return;
    case '\'': {
        auto hex = [this](qsizetype i) -> int {
            if (i >= m_data.size())
                return -1;
            const char c = m_data[i];
            if (c >= '0' && c <= '9')
                return c - '0';
            if (c >= 'a' && c <= 'f')
                return c - 'a' + 10;
            if (c >= 'A' && c <= 'F')
                return c - 'A' + 10;
            return -1;
        };
        const int hi = hex(m_pos);
        const int lo = hi < 0 ? -1 : hex(m_pos + 1);
        if (lo < 0) {
            m_pos += hi < 0 ? 0 : 1;
            return;
        }
        m_pos += 2;
        textByte(static_cast<char>(hi * 16 + lo));
        return;
    }
    case '*':
        flushBytes();
        if (takeSkippedCharacter())
            return;
        m_starPending = true;
        return;
    case '\r':
    case '\n':
        controlWord("par", false, 0);
        return;
    case '~':
        controlWord("nbsp", false, 0);
        return;
    case '_':
        controlWord("nbhyphen", false, 0);
        return;
    default:
        // \- (optional hyphen), \| and \: show nothing.
        flushBytes();
        takeSkippedCharacter();
        return;
    }
}

void Reader::controlWord(const QByteArray& word, bool hasParameter, int parameter)
{
    flushBytes();
    const bool atGroupStart = m_groupStartPending;
    const bool starred = m_starPending;
    m_groupStartPending = false;
    m_starPending = false;

    if (word == "bin") {
        // Raw bytes follow: skip them whatever the destination, so that braces in them count for nothing.
        m_pos += std::clamp<qsizetype>(hasParameter ? parameter : 0, 0, m_data.size() - m_pos);
        return;
    }
    if (m_state.destination == Destination::Skip)
        return;

    if (word == "u") {
        unicodeUnit(parameter);
        return;
    }
    if (takeSkippedCharacter())
        return;

    if (word == "ud" && !m_stack.isEmpty() && m_stack.last().upr) {
        m_state.destination = m_stack.last().uprOuter;
        return;
    }
    // Cells of nested tables may sit inside their row properties.
    if (word == "nesttableprops")
        return;
    if (isSkippedDestination(word) || (starred && atGroupStart)) {
        m_state.destination = Destination::Skip;
        return;
    }
    if (!m_overflow.empty() && word != "par" && word != "sect" && word != "page" && word != "row" &&
        word != "line" && word != "tab" && word != "cell" && word != "nestcell" && word != "uc")
        return; // beyond the depth limit formatting and tables stay as they are
    const bool on = !hasParameter || parameter != 0;

    if (m_state.destination == Destination::FontTable) {
        fontTableWord(word, parameter);
        return;
    }
    if (m_state.destination == Destination::ColorTable) {
        colorTableWord(word, parameter);
        return;
    }
    if (const WordHandler handler = wordHandlers().value(word)) {
        handler(*this, parameter, on);
        return;
    }
    if (m_state.destination == Destination::Text) {
        if (const char16_t c = specialCharacter(word))
            appendText(QString(QChar(c)));
    }
}

void Reader::fontTableWord(const QByteArray& word, int parameter)
{
    if (word == "f") {
        if (m_fontEntryIndex >= 0)
            finishFontEntry();
        m_fontEntryIndex = std::max(parameter, 0);
    } else if (word == "fcharset") {
        m_fontEntry.charset = parameter;
        if (const int cp = codepageOfCharset(parameter))
            m_fontEntry.codepage = cp;
    } else if (word == "cpg" && parameter > 0) {
        m_fontEntry.codepage = parameter;
    }
}

void Reader::colorTableWord(const QByteArray& word, int parameter)
{
    const int v = std::clamp(parameter, 0, 255);
    if (word == "red")
        m_color.red = v;
    else if (word == "green")
        m_color.green = v;
    else if (word == "blue")
        m_color.blue = v;
    else
        return;
    m_colorHasComponent = true;
}

// The control words of the document's destinations, character formats and paragraph ends; each gets
// the word's parameter (0 without one) and whether a toggle is on (no parameter, or not 0).
const QHash<QByteArray, Reader::WordHandler>& Reader::wordHandlers()
{
    static const QHash<QByteArray, WordHandler> handlers = [] {
        QHash<QByteArray, WordHandler> h{
            {"fonttbl",
             [](Reader& r, int, bool) {
                 r.m_state.destination = Destination::FontTable;
                 r.m_fontEntryIndex = -1;
                 r.m_fontEntry = {};
                 r.m_fontName.clear();
             }},
            {"colortbl",
             [](Reader& r, int, bool) {
                 r.m_state.destination = Destination::ColorTable;
                 r.m_colors.clear();
                 r.m_color = {};
                 r.m_colorHasComponent = false;
             }},
            {"upr",
             [](Reader& r, int, bool) {
                 r.m_state.upr = true;
                 r.m_state.uprFirstChildSeen = false;
                 r.m_state.uprOuter = r.m_state.destination;
             }},
            {"ansicpg",
             [](Reader& r, int p, bool) {
                 if (p > 0)
                     r.m_documentCodepage = p;
             }},
            {"ansi", [](Reader& r, int, bool) { r.m_documentCodepage = kAnsiCodepage; }},
            {"mac", [](Reader& r, int, bool) { r.m_documentCodepage = 10000; }},
            {"pc", [](Reader& r, int, bool) { r.m_documentCodepage = 437; }},
            {"pca", [](Reader& r, int, bool) { r.m_documentCodepage = 850; }},
            {"deff", [](Reader& r, int p, bool) { r.m_defaultFont = p; }},
            {"uc", [](Reader& r, int p, bool) { r.m_state.unicodeSkip = std::clamp(p, 0, 255); }},
        };
        h.insert(characterFormatHandlers());
        for (const char* word :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd",
              "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            h.insert(word, [](Reader& r, int, bool on) { r.m_state.format.underline = on; });
        // Paragraph ends: sections, pages and table rows end a paragraph too.
        for (const char* word : {"par", "sect", "page", "row"})
            h.insert(word, [](Reader& r, int, bool) {
                if (r.m_state.destination == Destination::Text)
                    r.newParagraph();
            });
        return h;
    }();
    return handlers;
}

// The control words of character formats (underline styles aside).
QHash<QByteArray, Reader::WordHandler> Reader::characterFormatHandlers()
{
    const WordHandler background = [](Reader& r, int p, bool) {
        r.m_state.format.background = p > 0 && p < r.m_colors.size() ? r.m_colors[p] : std::optional<Color>();
    };
    return {
        {"plain", [](Reader& r, int, bool) { r.resetCharFormat(); }},
        {"f", [](Reader& r, int p, bool) { r.m_state.fontIndex = p; }},
        {"af", [](Reader& r, int p, bool) { r.m_state.associatedFont = p; }},
        {"dbch", [](Reader& r, int, bool) { r.m_state.doubleByte = true; }},
        {"loch", [](Reader& r, int, bool) { r.m_state.doubleByte = false; }},
        {"hich", [](Reader& r, int, bool) { r.m_state.doubleByte = false; }},
        {"fs",
         [](Reader& r, int p, bool) {
             r.m_state.format.halfPoints = p > 0 ? std::min(p, 3276) : richtext::kDefaultHalfPoints;
         }},
        {"cf",
         [](Reader& r, int p, bool) {
             r.m_state.format.color =
                 p >= 0 && p < r.m_colors.size() ? r.m_colors[p] : std::optional<Color>();
         }},
        // Character shading (Word, LibreOffice), highlighting and RichEdit's background: one background.
        {"chcbpat", background},
        {"highlight", background},
        {"cb", background},
        {"b", [](Reader& r, int, bool on) { r.m_state.format.bold = on; }},
        {"i", [](Reader& r, int, bool on) { r.m_state.format.italic = on; }},
        {"ulnone", [](Reader& r, int, bool) { r.m_state.format.underline = false; }},
    };
}

} // namespace

std::optional<richtext::Document> read(const QByteArray& data)
{
    if (!data.startsWith("{\\rtf"))
        return std::nullopt;
    return Reader(data).run();
}

} // namespace rtf
