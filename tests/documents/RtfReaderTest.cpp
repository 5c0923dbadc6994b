#include "documents/RtfReader.h"
#include "documents/RichTextPrinters.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include "TestData.h"

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

using richtext::Color;
using richtext::Document;

constexpr Color kRed{255, 0, 0};
constexpr Color kBlack{0, 0, 0};

QString textOf(const QByteArray& rtf)
{
    const std::optional<Document> d = rtf::read(rtf);
    return d ? d->text(QStringLiteral("|")) : QStringLiteral("<not rtf>");
}

// The colour of the character at a text offset (paragraphs joined by one separator character).
std::optional<Color> colorAt(const Document& d, qsizetype offset)
{
    for (const richtext::Paragraph& p : d.paragraphs) {
        for (const richtext::Run& r : p.runs) {
            if (offset < r.text.size())
                return r.format.color;
            offset -= r.text.size();
        }
        --offset; // the separator
    }
    ADD_FAILURE() << "offset outside the text";
    return std::nullopt;
}

// The format of the first run holding text; a missing run fails the test.
richtext::CharFormat formatOf(const Document& d, const QString& text)
{
    for (const richtext::Paragraph& p : d.paragraphs)
        for (const richtext::Run& r : p.runs)
            if (r.text.contains(text))
                return r.format;
    ADD_FAILURE() << "no run holds " << text.toStdString();
    return {};
}

struct TextRow
{
    const char* name;
    QByteArray rtf;
    QString text; // paragraphs joined by '|'
};

using RtfReaderText = ::testing::TestWithParam<TextRow>;

TEST_P(RtfReaderText, Text)
{
    EXPECT_EQ(textOf(GetParam().rtf), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    RtfReader, RtfReaderText,
    ::testing::Values(
        TextRow{"plain", "{\\rtf1 Hello}", QStringLiteral("Hello")},
        TextRow{"nothing", "", QStringLiteral("<not rtf>")},
        TextRow{"plainText", "plain text", QStringLiteral("<not rtf>")},
        TextRow{"notAtTheStart", " {\\rtf1 x}", QStringLiteral("<not rtf>")},
        TextRow{"paragraphs", "{\\rtf1 a\\par b\\par}", QStringLiteral("a|b")},
        TextRow{"emptyParagraphKept", "{\\rtf1 a\\par\\par}", QStringLiteral("a|")},
        TextRow{"lastParagraphWithoutPar", "{\\rtf1 a\\par b}", QStringLiteral("a|b")},
        TextRow{"empty", "{\\rtf1 }", QString()},
        TextRow{"lineAndTab", "{\\rtf1 a\\line b\\tab c\td}", QStringLiteral("a\u2028b\tc\td")},
        TextRow{"fileLineBreaksIgnored", "{\\rtf1 a\r\nb\nc}", QStringLiteral("abc")},
        TextRow{"backslashNewlineIsPar", "{\\rtf1 a\\\nb}", QStringLiteral("a|b")},
        TextRow{"escapes", "{\\rtf1 \\{x\\}\\\\}", QStringLiteral("{x}\\")},
        TextRow{"specialSymbols", "{\\rtf1 a\\~b\\-c\\_d}", QStringLiteral("a\u00A0bc\u2011d")},
        TextRow{"namedCharacters", "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
                QStringLiteral("—–•‘’“”")},
        TextRow{"delimiterSpaceEaten", "{\\rtf1 \\b  x}", QStringLiteral(" x")},
        TextRow{"ansiBytes", "{\\rtf1\\ansi caf\\'e9}", QStringLiteral("café")},
        TextRow{"gbkPairs", "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}", QStringLiteral("中文")},
        TextRow{"gbkTrailAsLiteral", "{\\rtf1\\ansi\\ansicpg936 \\'81@\\'b0\\\\}", QStringLiteral("丂癨")},
        TextRow{"rawEightBitBytes", "{\\rtf1\\ansi\\ansicpg936 \xD6\xD0}", QStringLiteral("中")},
        TextRow{
            "fontCharsetDecides",
            "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset134 X;}{\\f1\\fcharset0 Y;}}\\f0 \\'d6\\'d0\\f1 \\'e9}",
            QStringLiteral("中é")},
        TextRow{"big5AndShiftJis",
                "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset136 X;}{\\f1\\fcharset128 Y;}}\\f0 \\'a4\\'a4\\f1 "
                "\\'82\\'a0}",
                QStringLiteral("中あ")},
        TextRow{"dbchAssociatedFont",
                "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 A;}{\\f13\\fcharset134 "
                "B;}}\\loch\\af0\\hich\\af0\\dbch\\af13 \\'d6\\'d0}",
                QStringLiteral("中")},
        TextRow{"unicodeWithSkip", "{\\rtf1\\uc2 \\u20013\\'d6\\'d0\\u25991\\'ce\\'c4!}",
                QStringLiteral("中文!")},
        TextRow{"unicodeDefaultSkipOne", "{\\rtf1 \\u8364?x}", QStringLiteral("€x")},
        TextRow{"unicodeNegative", "{\\rtf1\\uc1 \\u-10179?\\u-8704?}", QStringLiteral("\U0001F600")},
        TextRow{"unicodeSkipZero", "{\\rtf1\\uc0 \\u20013 x}", QStringLiteral("中x")},
        TextRow{"ucScopedToGroup", "{\\rtf1{\\uc2 \\u20013\\'d6\\'d0}\\u25991?}", QStringLiteral("中文")},
        TextRow{"skipEndsAtGroup", "{\\rtf1\\uc2 {\\u20013?}x}", QStringLiteral("中x")},
        TextRow{"starredDestinationSkipped", "{\\rtf1 a{\\*\\unknown b{c}}d}", QStringLiteral("ad")},
        TextRow{"pictureSkipped", "{\\rtf1 a{\\pict\\pngblip 89504e47}b}", QStringLiteral("ab")},
        TextRow{"binarySkipped", "{\\rtf1 a{\\pict\\bin3 }{}}b}", QStringLiteral("ab")},
        TextRow{"objectSkipped", "{\\rtf1 a{\\object{\\*\\objdata 01}{\\result{\\pict 00}}}b}",
                QStringLiteral("ab")},
        TextRow{"fieldResultKept", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}}",
                QStringLiteral("link")},
        TextRow{"tablesSkipped", "{\\rtf1{\\info{\\title t}}{\\stylesheet{\\s0 Normal;}}x}",
                QStringLiteral("x")},
        TextRow{"upr", "{\\rtf1 {\\upr{ansi}{\\*\\ud{uni}}}}", QStringLiteral("uni")},
        TextRow{"textAfterDocumentIgnored", "{\\rtf1 a}b{c}", QStringLiteral("a")},
        TextRow{"unclosed", "{\\rtf1 a{\\b b", QStringLiteral("ab")},
        TextRow{"strayCloseEnds", "{\\rtf1 a}}}", QStringLiteral("a")},
        TextRow{"truncatedHex", "{\\rtf1 a\\'4", QStringLiteral("a")},
        TextRow{"badHex", "{\\rtf1 a\\'zzb}", QStringLiteral("azzb")},
        TextRow{"hugeParameter", "{\\rtf1\\uc99999999999999999 \\u99999999999999?ab}",
                QStringLiteral("\uFFFF")},
        TextRow{"hugeBin", "{\\rtf1 a\\bin99999999999 xyz}", QStringLiteral("a")},
        TextRow{"unknownCodepage", "{\\rtf1\\ansi\\ansicpg77777 caf\\'e9}", QStringLiteral("café")},
        TextRow{"noControlCharacters", "{\\rtf1\\ansi a\\u0?b\\'01c\\u26?d\\tab e}",
                QStringLiteral("abcd\te")},
        TextRow{"macRoman", "{\\rtf1\\mac caf\\'8e}", QStringLiteral("café")},
        TextRow{"macRomanByCodepage", "{\\rtf1\\ansi\\ansicpg10000 \\'a5}", QStringLiteral("•")},
        TextRow{"macJapaneseCharset", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset78 J;}}\\f0 \\'82\\'a0}",
                QStringLiteral("あ")},
        TextRow{"nestedTableFallbackSkipped",
                "{\\rtf1 a\\nestcell{\\*\\nesttableprops\\nestrow}{\\nonesttables b\\par}c}",
                QStringLiteral("a\tc")},
        TextRow{"cellsInNestedTableProperties", "{\\rtf1 {\\*\\nesttableprops x\\nestcell y}z}",
                QStringLiteral("x\tyz")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReader, DeepNestingKeepsEveryLetter)
{
    QByteArray deep = "{\\rtf1 a";
    for (int i = 0; i < 100000; ++i)
        deep += "{\\b x";
    deep += "{\\*\\hidden h}{\\i y}";
    deep += QByteArray(100000, '}') + "b}";
    const std::optional<Document> d = rtf::read(deep);
    ASSERT_TRUE(d);
    const QString text = d->text();
    EXPECT_EQ(text, QStringLiteral("a") + QString(100000, u'x') + QStringLiteral("yb"))
        << "braces beyond the depth limit balance, and skipped destinations there stay skipped";
}

TEST(RtfReader, Formats)
{
    const std::optional<Document> d =
        rtf::read("{\\rtf1\\ansi\\ansicpg936\\deff1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset134 "
                  "\\'cb\\'ce\\'cc\\'e5;}}"
                  "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"
                  "a\\f0\\fs28\\cf1\\b\\i\\ul b\\plain c{\\cf2\\ulw d}\\cf1 e\\cf9 f}");
    ASSERT_TRUE(d);
    ASSERT_EQ(d->paragraphs.size(), 1);
    const QList<richtext::Run>& runs = d->paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 6) << ::testing::PrintToString(*d);
    EXPECT_EQ(runs[0].text, QStringLiteral("a"));
    EXPECT_EQ(runs[0].format,
              (richtext::CharFormat{QStringLiteral("宋体"), 24, std::nullopt, false, false, false}));
    EXPECT_EQ(runs[1].format, (richtext::CharFormat{QStringLiteral("Arial"), 28, kRed, true, true, true}));
    EXPECT_EQ(runs[2].format, runs[0].format) << "\\plain restores the default font";
    EXPECT_EQ(runs[3].format, (richtext::CharFormat{QStringLiteral("宋体"), 24, kBlack, false, false, true}));
    EXPECT_EQ(runs[4].text, QStringLiteral("e")) << "the group's formats end with it";
    EXPECT_EQ(runs[4].format.color, kRed);
    EXPECT_FALSE(runs[4].format.underline);
    EXPECT_EQ(runs[5].text, QStringLiteral("f"));
    EXPECT_EQ(runs[5].format.color, std::nullopt) << "a colour outside the table is the automatic colour";
}

TEST(RtfReader, WordPadDialect)
{
    const std::optional<Document> d = rtf::read(testdata::bytes("wordpad.rtf"));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->text(QStringLiteral("|")),
              QStringLiteral("中文标红abc|Second bold it under\ttab\u2028next|黑体字{}\\"));
    EXPECT_EQ(colorAt(*d, 0), std::nullopt);
    EXPECT_EQ(colorAt(*d, 2), kRed);
    EXPECT_EQ(colorAt(*d, 3), kRed);
    EXPECT_EQ(colorAt(*d, 4), kBlack);
    const richtext::CharFormat first = formatOf(*d, QStringLiteral("中文"));
    EXPECT_EQ(first.fontName, QStringLiteral("宋体"));
    EXPECT_EQ(first.halfPoints, 21);
    const richtext::CharFormat bold = formatOf(*d, QStringLiteral("bold"));
    EXPECT_TRUE(bold.bold);
    EXPECT_EQ(bold.fontName, QStringLiteral("Arial"));
    EXPECT_TRUE(formatOf(*d, QStringLiteral("it")).italic);
    EXPECT_TRUE(formatOf(*d, QStringLiteral("under")).underline);
    const richtext::CharFormat hei = formatOf(*d, QStringLiteral("黑体字"));
    EXPECT_EQ(hei.fontName, QStringLiteral("黑体"));
    EXPECT_EQ(hei.halfPoints, 32);
}

TEST(RtfReader, WordDialect)
{
    const std::optional<Document> d = rtf::read(testdata::bytes("word.rtf"));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->text(QStringLiteral("|")), QStringLiteral("第一段红字Word，|link€\u00A0\u2011xy“引号”"));
    EXPECT_EQ(colorAt(*d, 0), std::nullopt);
    EXPECT_EQ(colorAt(*d, 3), kRed);
    EXPECT_EQ(colorAt(*d, 4), kRed);
    EXPECT_EQ(colorAt(*d, 5), std::nullopt);
    const richtext::CharFormat first = formatOf(*d, QStringLiteral("第一段"));
    EXPECT_EQ(first.fontName, QStringLiteral("宋体")) << "\\falt and \\panose are not part of the name";
    EXPECT_EQ(first.halfPoints, 21);
    const richtext::CharFormat link = formatOf(*d, QStringLiteral("link"));
    EXPECT_TRUE(link.underline);
    EXPECT_EQ(link.color, (Color{0, 0, 255}));
}

TEST(RtfReader, LibreOfficeDialect)
{
    const std::optional<Document> d = rtf::read(testdata::bytes("libreoffice.rtf"));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->text(QStringLiteral("|")), QStringLiteral("中文红abc \U0001F600 € ・|第二段"));
    for (qsizetype i = 0; i < 3; ++i)
        EXPECT_EQ(colorAt(*d, i), kRed) << i;
    EXPECT_EQ(colorAt(*d, 3), std::nullopt);
    const richtext::CharFormat first = formatOf(*d, QStringLiteral("中文红"));
    EXPECT_EQ(first.fontName, QStringLiteral("宋体"));
    EXPECT_EQ(first.halfPoints, 28);
    const richtext::CharFormat second = formatOf(*d, QStringLiteral("第二段"));
    EXPECT_EQ(second.fontName, QStringLiteral("Noto Sans CJK SC"));
    EXPECT_TRUE(second.bold);
}

} // namespace
