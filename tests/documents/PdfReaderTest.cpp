#include "documents/PdfReader.h"
#include "PdfFixture.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

using documents::Failure;
using pdffixture::Line;
using pdffixture::Page;
using Read = std::variant<QString, Failure>;

// A column from 72 to 522 points: 12-point Chinese characters, 37 to a full line, 18 points apart.
constexpr double kLeft = 72, kSize = 12, kLead = 18;

QString chars(const char16_t* base, int count)
{
    QString out;
    const QString pattern = QString::fromUtf16(base);
    while (out.size() < count)
        out += pattern;
    return out.left(count);
}

// A paragraph: its first line indented by two characters, full lines, a short last line. Returns its
// text.
QString addParagraph(Page& page, double& y, const char16_t* base, int fullLines)
{
    page << Line{kLeft + 2 * kSize, y, kSize, chars(base, 35)};
    QString text = chars(base, 35);
    for (int i = 0; i < fullLines; ++i, text += chars(base, 37))
        page << Line{kLeft, y += kLead, kSize, chars(base, 37)};
    page << Line{kLeft, y += kLead, kSize, chars(base, 9) + u'。'};
    y += kLead;
    return text + chars(base, 9) + u'。';
}

struct PdfRow
{
    const char* name;
    QByteArray file;
    Read expected;
    qsizetype maxCharacters = pdf::kMaxCharacters;
    int maxPages = pdf::kMaxPages;
};

PdfRow twoParagraphs()
{
    Page page;
    double y = 100;
    const QString first = addParagraph(page, y, u"研究方法与数据来源", 2);
    const QString second = addParagraph(page, y, u"结果分析表明", 1);
    return {"paragraphs", pdffixture::make({page}), first + u'\n' + second};
}

// Three pages with the same title at the top and a numbered footer; a paragraph runs over the page
// break; a title line in the body, set apart by a wider gap, is its own paragraph.
PdfRow runningHeadersAndFooters()
{
    QList<Page> pages;
    const char16_t* bodies[] = {u"第一页的段落", u"第二页正文", u"第三页内容"};
    for (int p = 0; p < 3; ++p) {
        Page page{Line{kLeft, 40, 9, QStringLiteral("硕士学位论文：城市交通研究")}};
        double y = 100;
        if (p == 1) {
            page << Line{kLeft, y, kSize, chars(u"接上页的正文", 37)}
                 << Line{kLeft, y + kLead, kSize, chars(u"接上页的正文", 37)};
            y += 2 * kLead;
            page << Line{kLeft, y + 20, 16, QStringLiteral("第二章 方法")};
            y += 60;
        }
        page << Line{kLeft + 2 * kSize, y, kSize, chars(bodies[p], 35)};
        for (int i = 0; i < 2; ++i)
            page << Line{kLeft, y + (i + 1) * kLead, kSize, chars(bodies[p], 37)};
        page << Line{280, 800, 9, QStringLiteral("第 %1 页").arg(p + 1)};
        pages << page;
    }
    auto body = [](const char16_t* base) { return chars(base, 35) + chars(base, 37) + chars(base, 37); };
    const QString expected = body(bodies[0]) + chars(u"接上页的正文", 37) + chars(u"接上页的正文", 37) +
                             u'\n' + QStringLiteral("第二章 方法") + u'\n' + body(bodies[1]) + u'\n' +
                             body(bodies[2]);
    return {"runningLines", pdffixture::make(pages), expected};
}

// Latin lines join with a space; a word hyphenated at a line's end joins whole. Ten-point letters are
// five points wide here, so 90 of them fill the column.
PdfRow latinLines()
{
    const QString first = QStringLiteral(
        "The reader keeps the text layer in its reading order and it leaves every single word hyphen-");
    const QString second = QStringLiteral(
        "ation exactly as the file has it, joining all the lines of one paragraph with single spaces");
    const QString last = QStringLiteral("to the end.");
    const Page page{Line{kLeft, 100, 10, first}, Line{kLeft, 114, 10, second}, Line{kLeft, 128, 10, last}};
    return {"latin", pdffixture::make({page}), first.chopped(1) + second + u' ' + last};
}

using PdfRead = ::testing::TestWithParam<PdfRow>;

TEST_P(PdfRead, GivesTheTextLayerOrSaysWhyNot)
{
    const PdfRow& row = GetParam();
    EXPECT_EQ(pdf::read(row.file, row.maxCharacters, row.maxPages), row.expected);
}

// Footnotes whose numbers are raised as in the text, page numbers between dashes at the top, and a
// page set small from top to bottom (a bibliography), whose numbered lines stay in the body.
PdfRow raisedNoteNumbersAndDashedPageNumbers()
{
    QList<Page> pages;
    QString body;
    for (int p = 0; p < 2; ++p) {
        Page page{Line{280, 40, 10, QStringLiteral("- %1 -").arg(p + 1)}};
        double y = 100;
        body += (p ? QStringLiteral("\n") : QString()) +
                addParagraph(page, y, p ? u"第二页的正文" : u"第一页的内容", 3);
        // The first note runs on to the foot of the next page.
        if (p == 1)
            page << Line{kLeft, 688, 9, QStringLiteral("接下页。")};
        page << Line{kLeft, 700, 7, QString::number(p + 1)}
             << Line{kLeft + 4, 702, 9,
                     p ? QStringLiteral("另一条注释。") : QStringLiteral("注释在第一页，")};
        pages << page;
    }
    // Two numbered pages of five: numbers that count on from page to page are page numbers.
    Page bibliography;
    for (int i = 1; i <= 3; ++i) {
        const QString entry = QStringLiteral("[%1] Author%1, Title.").arg(i);
        bibliography << Line{kLeft, 100 + i * 14.0, 9, entry};
        body += u'\n' + entry;
    }
    pages << bibliography;
    for (const char16_t* base : {u"附录的文字", u"致谢的文字"}) {
        Page page;
        double y = 100;
        body += u'\n' + addParagraph(page, y, base, 2);
        pages << page;
    }
    return {"raisedNoteNumbers", pdffixture::make(pages),
            body + QStringLiteral("\n1 注释在第一页，接下页。\n2 另一条注释。")};
}

// Pages read as paragraphs: no page numbers, paragraphs whole over page breaks, contents
// lines one a line, references in brackets, footnotes after the body.
PdfRow thesis()
{
    const pdffixture::Thesis t = pdffixture::thesis(8);
    return {"thesis", t.file, t.text};
}

INSTANTIATE_TEST_SUITE_P(
    Pdf, PdfRead,
    ::testing::Values(twoParagraphs(), runningHeadersAndFooters(), latinLines(), thesis(),
                      raisedNoteNumbersAndDashedPageNumbers(),
                      PdfRow{"scan", pdffixture::make({Page{}, Page{}}), Failure::NoTextLayer},
                      PdfRow{"locked",
                             pdffixture::make({Page{Line{kLeft, 100, kSize, QStringLiteral("密")}}}, true),
                             Failure::Encrypted},
                      PdfRow{"damaged", QByteArray("%PDF-1.4\n1 0 obj broken"), Failure::Damaged},
                      PdfRow{"overTheBudget", twoParagraphs().file, Failure::Overexpanded, 100},
                      PdfRow{"tooManyPages", pdffixture::make({Page{}, Page{}, Page{}}),
                             Failure::Overexpanded, pdf::kMaxCharacters, 2}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
