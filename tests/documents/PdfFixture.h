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

// A thesis as a word processor exports it, and the text a reader must give of it: a contents page,
// then chapters whose paragraphs (first lines indented by two characters) run on over page breaks,
// note references set small and raised in the text, footnotes in 9 points at the foot of their page,
// an English abstract with a hyphenated word, and a page number at the foot of every page (Roman on
// the contents page). Paragraphs join by '\n'; the body shows a reference as "[1]", the notes follow
// it, each after its number.
struct Thesis
{
    QByteArray file;
    QString text;
};

inline Thesis thesis(int bodyPages)
{
    constexpr double kLeft = 72, kSize = 12, kLead = 18, kNoteSize = 9, kNoteLead = 12;
    constexpr int kFull = 37, kLinesPerPage = 30;
    static const QString pool =
        QStringLiteral("文本相似度检测系统的设计与实现需要考虑多种因素研究方法数据来源结果"
                       "分析表明城市交通网络规划模型评价指标体系构建");
    int cursor = 0;
    const auto chars = [&](int count) {
        QString out;
        for (int i = 0; i < count; ++i)
            out += pool[(cursor++ * 7) % pool.size()];
        return out;
    };
    QList<Page> pages;
    QStringList body, notes;

    Page contents{Line{277, 72, 16, QStringLiteral("目录")}};
    for (int c = 1; c <= 5; ++c) {
        const QString title = QStringLiteral("第%1章 ").arg(c) + chars(6);
        const QString number = QString::number(c * 7);
        // Leaders to the right margin: the line is as wide as the column.
        const QString line = title + QString(kFull - 1 - title.size(), QChar(0x2026)) + number;
        contents << Line{kLeft, 72 + 30 + c * kLead, kSize, line};
        body << line;
    }
    // A contents line without leaders: its page number stands apart at the right margin.
    const QString last = QStringLiteral("第6章 ") + chars(6);
    contents << Line{kLeft, 72 + 30 + 6 * kLead, kSize, last}
             << Line{510, 72 + 30 + 6 * kLead, kSize, QStringLiteral("42")};
    body << last + QStringLiteral(" 42");
    contents << Line{kLeft, 72 + 30 + 7 * kLead, kSize, QStringLiteral("参考文献")};
    body << QStringLiteral("参考文献");
    contents << Line{294, 790, 10, QStringLiteral("I")};
    body.prepend(QStringLiteral("目录"));
    pages << contents;

    // An English abstract: Latin lines of 12-point letters, six points wide, one word hyphenated.
    Page abstract{Line{250, 72, 16, QStringLiteral("ABSTRACT")}};
    const QStringList abstractLines = {
        QStringLiteral("This thesis studies how much of a written text can be found on the web,"),
        QStringLiteral("and how a local comparison marks the passages that two texts share, hyphen-"),
        QStringLiteral("ated words at the end of a line, and a paragraph that runs over several"),
        QStringLiteral("lines."),
    };
    for (int i = 0; i < abstractLines.size(); ++i)
        abstract << Line{kLeft + (i == 0 ? 18 : 0), 110 + i * kLead, kSize, abstractLines[i]};
    const QString abstractText = QStringLiteral(
        "This thesis studies how much of a written text can be found on the web, and how a local "
        "comparison marks the passages that two texts share, hyphenated words at the end of a "
        "line, and a paragraph that runs over several lines.");
    abstract << Line{294, 790, 10, QStringLiteral("II")};
    pages << abstract;
    body << QStringLiteral("ABSTRACT") << abstractText;

    int note = 0, paragraph = 0, pageNumber = 1;
    QString open; // the paragraph being set
    Page page;
    int line = 0;
    QList<QString> pageNotes;
    const auto finishPage = [&] {
        double y = 72 + kLinesPerPage * kLead + 20;
        for (const QString& text : pageNotes) {
            // A note of more than 50 characters runs on to a second line.
            page << Line{kLeft, y, kNoteSize, text.left(50)};
            y += kNoteLead;
            if (text.size() > 50) {
                page << Line{kLeft, y, kNoteSize, text.mid(50)};
                y += kNoteLead;
            }
        }
        page << Line{294, 790, 10, QString::number(pageNumber++)};
        pages << page;
        page = Page();
        pageNotes.clear();
        line = 0;
    };
    while (pages.size() < bodyPages + 2) {
        if (paragraph % 12 == 0) {
            // A chapter's heading, 16 points, on a new line of its own.
            const QString heading = QStringLiteral("第%1章 ").arg(paragraph / 12 + 1) + chars(4);
            page << Line{kLeft, 72 + line * kLead, 16, heading};
            body << heading;
            if (++line == kLinesPerPage)
                finishPage();
        }
        const int lines = 3 + paragraph % 5;
        QString text;
        for (int l = 0; l < lines; ++l) {
            const double y = 72 + line * kLead;
            if (l == 0) {
                const QString t = chars(kFull - 2);
                page << Line{kLeft + 2 * kSize, y, kSize, t};
                text += t;
            } else if (l == lines - 1) {
                const QString t = chars(9) + u'。';
                page << Line{kLeft, y, kSize, t};
                text += t;
            } else if (l == 1 && paragraph % 2 == 0) {
                // A note's reference after the 20th character, raised a point, 7 points high.
                const QString before = chars(20), after = chars(16);
                const QString number = QString::number(++note);
                page << Line{kLeft, y, kSize, before} << Line{kLeft + 20 * kSize, y - 1, 7, number}
                     << Line{kLeft + 20 * kSize + 3.5 * number.size() + 0.5, y, kSize, after};
                text += before + u'[' + number + u']' + after;
                const QString noteText = QStringLiteral("注释") + chars(20 + (note % 3) * 20) + u'。';
                pageNotes << number + u' ' + noteText;
                notes << number + u' ' + noteText;
            } else {
                const QString t = chars(kFull);
                page << Line{kLeft, y, kSize, t};
                text += t;
            }
            if (++line == kLinesPerPage)
                finishPage();
        }
        body << text;
        ++paragraph;
    }
    if (!page.isEmpty())
        finishPage();
    return {make(pages), body.join(u'\n') + u'\n' + notes.join(u'\n')};
}

} // namespace pdffixture
