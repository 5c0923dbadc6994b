#include "documents/RtfWriter.h"
#include "documents/RichTextPrinters.h"
#include "documents/RtfReader.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using rows::PrintTo;

using richtext::CharFormat;
using richtext::Color;
using richtext::Document;

constexpr Color kRed{255, 0, 0};
constexpr Color kBlack{0, 0, 0};

Document oneRun(const QString& text, const CharFormat& format = {QStringLiteral("宋体")})
{
    return Document{{richtext::Paragraph{{richtext::Run{text, format}}}}};
}

struct OutputRow
{
    const char* name;
    QString text;
    QByteArray written;          // must occur in the output
    std::optional<QString> back; // what is read back, when not the text
};

using RtfWriterOutput = ::testing::TestWithParam<OutputRow>;

TEST_P(RtfWriterOutput, Contains)
{
    const QByteArray rtf = rtf::write(oneRun(GetParam().text));
    EXPECT_TRUE(rtf.contains(GetParam().written)) << rtf.toStdString();
    const std::optional<Document> back = rtf::read(rtf);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text(), GetParam().back.value_or(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    RtfWriter, RtfWriterOutput,
    ::testing::Values(OutputRow{"chineseAsRawGbk", QStringLiteral("中文"), "\xd6\xd0\xce\xc4\\par"},
                      OutputRow{"gbkPairWithBackslashAsHex", QStringLiteral("癨中"), "\\'b0\\'5c\xd6\xd0"},
                      OutputRow{"singleByteGbk", QStringLiteral("€"), "\x80\\par"},
                      OutputRow{"notInGbk", QStringLiteral("・"), "\\u12539?"},
                      OutputRow{"highUnitsNegative", QStringLiteral("\U0001F600"), "\\u-10179?\\u-8704?"},
                      OutputRow{"escapes", QStringLiteral("{a}\\"), "\\{a\\}\\\\"},
                      OutputRow{"tabAndLine", QStringLiteral("a\tb\u2028c"), "a\\tab b\\line c"},
                      OutputRow{"noBreakSpace", QStringLiteral("a\u00A0b"), "a\\~b"},
                      OutputRow{"ascii", QStringLiteral("Plain text 123;"), "Plain text 123;\\par"},
                      OutputRow{"controlsDropped", QStringLiteral("a\x01\x1f\x7f\uFFFCb"), "ab\\par",
                                QStringLiteral("ab")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfWriter, HeaderAndTables)
{
    Document d;
    d.paragraphs.append({{{QStringLiteral("红"), {QStringLiteral("宋体"), 20, kRed}},
                          {QStringLiteral("黑"), {QStringLiteral("Arial"), 20, kBlack}}}});
    const QByteArray rtf = rtf::write(d);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl")) << rtf.toStdString();
    EXPECT_TRUE(
        rtf.contains("{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset134 Arial;}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"));
    EXPECT_TRUE(rtf.trimmed().endsWith("\\par\r\n}"));
}

TEST(RtfWriter, EmptyDocumentStaysOneEmptyParagraph)
{
    const std::optional<Document> back = rtf::read(rtf::write(Document{{richtext::Paragraph{}}}));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->paragraphs.size(), 1);
    EXPECT_EQ(back->text(), QString());
}

// Random documents in the form the reader gives back: runs never empty, neighbours differently
// formatted, every font named.
Document randomDocument(std::mt19937& rng)
{
    static const QString pool =
        QStringLiteral("ab Z09;,.{}\\中文字宋体，。！？…€é・あ한\u3000\u00A0\t\u2028");
    static const QStringList fonts{QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("Arial"),
                                   QStringLiteral("Times New Roman"), QStringLiteral("微软雅黑")};
    static const QList<std::optional<Color>> colors{std::nullopt, kRed, kBlack, Color{0, 0, 255}};
    auto pick = [&rng](auto n) {
        return static_cast<qsizetype>(std::uniform_int_distribution<qsizetype>(0, n - 1)(rng));
    };

    Document d;
    const qsizetype paragraphs = 1 + pick(5);
    for (qsizetype p = 0; p < paragraphs; ++p) {
        richtext::Paragraph paragraph;
        const qsizetype runs = pick(6);
        for (qsizetype r = 0; r < runs; ++r) {
            CharFormat f{fonts[pick(fonts.size())],
                         static_cast<int>(16 + 2 * pick(10)),
                         colors[pick(colors.size())],
                         pick(2) == 1,
                         pick(2) == 1,
                         pick(2) == 1,
                         colors[pick(colors.size())]};
            if (!paragraph.runs.isEmpty() && paragraph.runs.last().format == f)
                continue;
            QString text;
            const qsizetype length = 1 + pick(12);
            for (qsizetype i = 0; i < length; ++i) {
                if (pick(20) == 0)
                    text += QStringLiteral("\U0001F600");
                else
                    text += pool.at(pick(pool.size()));
            }
            paragraph.runs.append({text, f});
        }
        d.paragraphs.append(paragraph);
    }
    return d;
}

TEST(RtfWriter, RoundTripKeepsTextAndFormats)
{
    std::mt19937 rng(20160727);
    for (int i = 0; i < 2000; ++i) {
        const Document d = randomDocument(rng);
        const QByteArray rtf = rtf::write(d);
        const std::optional<Document> back = rtf::read(rtf);
        ASSERT_TRUE(back);
        ASSERT_EQ(*back, d) << "case " << i << "\n" << rtf.toStdString();
    }
}

TEST(RtfWriter, RoundTripNamesTheDefaultFont)
{
    const std::optional<Document> back = rtf::read(rtf::write(oneRun(QStringLiteral("x"), CharFormat{})));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->paragraphs[0].runs[0].format.fontName, richtext::kDefaultFontName);
}

} // namespace
