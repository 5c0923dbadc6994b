#include "documents/RtfWriter.h"

#include "text/Codepage936.h"

#include <QList>

#include <algorithm>

namespace rtf {
namespace {

using richtext::CharFormat;
using richtext::Color;

constexpr char kHex[] = "0123456789abcdef";

void appendHexByte(QByteArray& out, unsigned char byte)
{
    out += "\\'";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

// Text of a font name for the font table: ASCII as it is, the rest in GBK bytes, ';' (which ends the
// name) and characters GBK lacks as \uN.
void appendFontName(QByteArray& out, const QString& name)
{
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == ';' || u < 0x20)
            continue;
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (const QByteArray gbk = text::cp936Bytes(u); !gbk.isEmpty()) {
            for (const char b : gbk)
                appendHexByte(out, static_cast<unsigned char>(b));
        } else {
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + '?';
        }
    }
}

class Writer
{
public:
    explicit Writer(const richtext::Document& document) : m_document(document) {}
    QByteArray run();

private:
    int fontIndex(const QString& name);
    int colorIndex(const std::optional<Color>& color);
    void collectTables();
    void writeFormat(const CharFormat& format);
    void writeText(const QString& text);

    const richtext::Document& m_document;
    QList<QString> m_fonts;
    QList<Color> m_colors; // colour table index i + 1; index 0 is the automatic colour
    QByteArray m_out;

    // The character format in force in the output, as \plain left it.
    int m_font = 0;
    int m_halfPoints = richtext::kDefaultHalfPoints;
    int m_color = 0;
    int m_background = 0;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    int m_unicodeSkip = 1;
};

int Writer::fontIndex(const QString& name)
{
    const QString& n = name.isEmpty() ? richtext::kDefaultFontName : name;
    const qsizetype i = m_fonts.indexOf(n);
    if (i >= 0)
        return static_cast<int>(i);
    m_fonts.append(n);
    return static_cast<int>(m_fonts.size() - 1);
}

int Writer::colorIndex(const std::optional<Color>& color)
{
    if (!color)
        return 0;
    const qsizetype i = m_colors.indexOf(*color);
    if (i >= 0)
        return static_cast<int>(i + 1);
    m_colors.append(*color);
    return static_cast<int>(m_colors.size());
}

void Writer::collectTables()
{
    // The first run's font becomes \f0, the one \plain selects.
    for (const richtext::Paragraph& p : m_document.paragraphs) {
        for (const richtext::Run& r : p.runs) {
            fontIndex(r.format.fontName);
            colorIndex(r.format.color);
            colorIndex(r.format.background);
        }
    }
    if (m_fonts.isEmpty())
        m_fonts.append(richtext::kDefaultFontName);
}

void Writer::writeFormat(const CharFormat& f)
{
    const qsizetype before = m_out.size();
    const int font = fontIndex(f.fontName);
    if (font != m_font)
        m_out += "\\f" + QByteArray::number(m_font = font);
    if (f.halfPoints != m_halfPoints)
        m_out += "\\fs" + QByteArray::number(m_halfPoints = f.halfPoints);
    const int color = colorIndex(f.color);
    if (color != m_color)
        m_out += "\\cf" + QByteArray::number(m_color = color);
    // Character shading of no pattern, in the background colour: what Word and LibreOffice write for a
    // coloured background.
    const int background = colorIndex(f.background);
    if (background != m_background)
        m_out += "\\chshdng0\\chcbpat" + QByteArray::number(m_background = background);
    if (f.bold != m_bold)
        m_out += (m_bold = f.bold) ? "\\b" : "\\b0";
    if (f.italic != m_italic)
        m_out += (m_italic = f.italic) ? "\\i" : "\\i0";
    if (f.underline != m_underline)
        m_out += (m_underline = f.underline) ? "\\ul" : "\\ulnone";
    if (m_out.size() != before)
        m_out += ' ';
}

void Writer::writeText(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            m_out += '\\';
            m_out += static_cast<char>(u);
        } else if (u == '\t') {
            m_out += "\\tab ";
        } else if (u == 0x2028) {
            m_out += "\\line ";
        } else if (u == 0x00A0) {
            m_out += "\\~";
        } else if (u < 0x20 || u == 0x7F || u == 0xFFFC) {
            // Control characters and embedded objects have no text to keep.
        } else if (u < 0x80) {
            m_out += static_cast<char>(u);
        } else if (const QByteArray gbk = text::cp936Bytes(u); !gbk.isEmpty()) {
            // The document's code page is 936: a GBK character goes in as its two bytes, raw, which
            // keeps a saved document at about two bytes a character. A pair with a byte that RTF
            // reads as syntax goes in as hex, both bytes, so that a pair is never split between forms.
            const bool syntax =
                std::any_of(gbk.begin(), gbk.end(), [](char b) { return b == '\\' || b == '{' || b == '}'; });
            for (const char b : gbk) {
                if (syntax)
                    appendHexByte(m_out, static_cast<unsigned char>(b));
                else
                    m_out += b;
            }
        } else {
            if (m_unicodeSkip != 1)
                m_out += "\\uc" + QByteArray::number(m_unicodeSkip = 1) + ' ';
            m_out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + '?';
        }
    }
}

QByteArray Writer::run()
{
    collectTables();
    m_out.reserve(m_document.text().size() * 2 + 1024);
    m_out += "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 ";
        appendFontName(m_out, m_fonts[i]);
        m_out += ";}";
    }
    m_out += "}\r\n{\\colortbl ;";
    for (const Color& c : m_colors) {
        m_out += "\\red" + QByteArray::number(c.red) + "\\green" + QByteArray::number(c.green) + "\\blue" +
                 QByteArray::number(c.blue) + ';';
    }
    m_out += "}\r\n\\viewkind4\\uc1\\pard\\plain ";
    for (const richtext::Paragraph& p : m_document.paragraphs) {
        for (const richtext::Run& r : p.runs) {
            writeFormat(r.format);
            writeText(r.text);
        }
        m_out += "\\par\r\n";
    }
    m_out += "}\r\n";
    return m_out;
}

} // namespace

QByteArray write(const richtext::Document& document)
{
    return Writer(document).run();
}

} // namespace rtf
