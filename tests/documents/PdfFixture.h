#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Small PDF files written here, so that the tests know exactly where each line stands. The text is
// shown in a font that is not embedded, with Identity-H codes equal to the characters' UTF-16 units
// and a ToUnicode map saying so: what a reader extracts is what the test wrote.
namespace pdffixture {

struct Line
{
    double x;     // from the page's left edge, in points
    double y;     // of the line's top, from the page's top edge, in points
    double size;  // font size in points
    QString text; // characters of the Basic Multilingual Plane
};
using Page = QList<Line>;

inline QByteArray hexCodes(const QString& text)
{
    QByteArray out = "<";
    for (QChar c : text)
        out += QByteArray::number(c.unicode() + 0x10000, 16).right(4).toUpper();
    return out + '>';
}

// Each code is its own UTF-16 unit: one range, which Poppler takes across the high byte.
inline QByteArray toUnicodeMap()
{
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
           "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
           "1 beginbfrange\n<0000> <FFFF> <0000>\nendbfrange\n"
           "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

// A PDF of A4 pages (595 x 842 points); a page without lines has a grey box and no text, as a scan.
// locked: with a user password (the standard security handler's entries do not match the empty one).
inline QByteArray make(const QList<Page>& pages, bool locked = false)
{
    QList<QByteArray> objects; // object n is objects[n - 1]
    auto stream = [](const QByteArray& dictionary, const QByteArray& data) {
        return "<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data +
               "\nendstream";
    };
    // 1 catalog, 2 page tree, 3 font, 4 descendant font, 5 descriptor, 6 ToUnicode, then page and content
    // pairs.
    objects << "<< /Type /Catalog /Pages 2 0 R >>" << QByteArray()
            << "<< /Type /Font /Subtype /Type0 /BaseFont /SimSun /Encoding /Identity-H "
               "/DescendantFonts [4 0 R] /ToUnicode 6 0 R >>"
            << "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /SimSun /CIDSystemInfo << /Registry (Adobe) "
               "/Ordering (Identity) /Supplement 0 >> /FontDescriptor 5 0 R /DW 1000 /W [32 126 500] "
               "/CIDToGIDMap /Identity >>"
            << "<< /Type /FontDescriptor /FontName /SimSun /Flags 4 /FontBBox [0 -141 1000 859] "
               "/ItalicAngle 0 /Ascent 859 /Descent -141 /CapHeight 700 /StemV 80 >>"
            << stream(QByteArray(), toUnicodeMap());
    QByteArray kids;
    for (const Page& page : pages) {
        QByteArray content;
        if (page.isEmpty())
            content = "0.5 g 60 60 475 722 re f\n";
        for (const Line& line : page) {
            const double baseline = 842 - line.y - line.size * 0.859;
            content += "BT /F1 " + QByteArray::number(line.size) + " Tf 1 0 0 1 " +
                       QByteArray::number(line.x) + ' ' + QByteArray::number(baseline) + " Tm " +
                       hexCodes(line.text) + " Tj ET\n";
        }
        const int pageNumber = static_cast<int>(objects.size()) + 1;
        objects
            << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> >> "
               "/Contents " +
                   QByteArray::number(pageNumber + 1) + " 0 R >>"
            << stream(QByteArray(), content);
        kids += QByteArray::number(pageNumber) + " 0 R ";
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages.size()) + " >>";

    QByteArray out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    const QByteArray id = "<00112233445566778899AABBCCDDEEFF>";
    const QByteArray lock = "/Encrypt << /Filter /Standard /V 1 /R 2 /P -4 /O <" + QByteArray(64, 'A') +
                            "> /U <" + QByteArray(64, 'B') + "> >> /ID [" + id + ' ' + id + "] ";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " +
           (locked ? lock : QByteArray()) + ">>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

// One page whose text operators all stand at one spot: a small file that some PDF libraries take
// minutes and gigabytes over.
inline QByteArray pileUp(int operators)
{
    Page page;
    for (int i = 0; i < operators; ++i)
        page.append(Line{100, 100, 12, QStringLiteral("x")});
    return make({page});
}

} // namespace pdffixture
