// The .docx and .odt readers on small documents made here, one per thing they must get right.
#include "documents/DocxReader.h"
#include "documents/ExpansionBudget.h"
#include "documents/ListLabels.h"
#include "documents/OdtReader.h"
#include "documents/ZipArchive.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include "documents/HostileDocuments.h"

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

const QByteArray kW = R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";

QByteArray wordPart(const char* root, const QByteArray& content)
{
    return "<w:" + QByteArray(root) + kW +
           R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006" xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math" xmlns:v="urn:schemas-microsoft-com:vml" xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape">)" +
           content + "</w:" + root + ">";
}

// A .docx of the given body and, beside it, parts of word/.
QByteArray docx(const QByteArray& body, const QList<zipmaker::Entry>& word = {})
{
    return hostile::docx(
        zipmaker::Entry{"word/document.xml", wordPart("document", "<w:body>" + body + "</w:body>")}, word);
}

QByteArray p(const QByteArray& content, const QByteArray& properties = {})
{
    return "<w:p>" + (properties.isEmpty() ? QByteArray() : "<w:pPr>" + properties + "</w:pPr>") + content +
           "</w:p>";
}

QByteArray r(const QByteArray& text)
{
    return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

QByteArray box(const QByteArray& paragraphs)
{
    return "<w:txbxContent>" + paragraphs + "</w:txbxContent>";
}

using Reader = std::optional<QString> (*)(const documents::ZipArchive&, documents::ExpansionBudget&);

// A document made here, the text it must give and the reader that gives it.
struct Row
{
    const char* name;
    QByteArray file;
    QString text;
    Reader read = docx::read;
};

using NativeText = ::testing::TestWithParam<Row>;

TEST_P(NativeText, ReadsAsTheExportWritesIt)
{
    const documents::ZipArchive archive(GetParam().file);
    documents::ExpansionBudget budget;
    EXPECT_EQ(GetParam().read(archive, budget), std::optional<QString>(GetParam().text));
}

std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

const QByteArray kOutline = wordPart(
    "numbering",
    R"(<w:abstractNum w:abstractNumId="0"><w:lvl w:ilvl="0"><w:numFmt w:val="decimal"/><w:lvlText w:val="%1"/></w:lvl><w:lvl w:ilvl="1"><w:numFmt w:val="decimal"/><w:lvlText w:val="%1.%2"/></w:lvl><w:lvl w:ilvl="2"><w:pStyle w:val="3"/><w:numFmt w:val="decimal"/><w:lvlText w:val="%1.%2.%3"/></w:lvl></w:abstractNum><w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num><w:num w:numId="2"><w:abstractNumId w:val="0"/><w:lvlOverride w:ilvl="0"><w:lvl w:ilvl="0"><w:numFmt w:val="upperRoman"/><w:lvlText w:val="%1."/></w:lvl></w:lvlOverride></w:num>)");
// 标题 2 gives only its level and takes its list from 标题 1; 标题 3 gives neither, and the list's third
// level names it.
const QByteArray kHeadingStyles = wordPart(
    "styles",
    R"(<w:style w:type="paragraph" w:styleId="1"><w:name w:val="heading 1"/><w:pPr><w:numPr><w:numId w:val="1"/></w:numPr><w:outlineLvl w:val="0"/></w:pPr></w:style><w:style w:type="paragraph" w:styleId="2"><w:basedOn w:val="1"/><w:pPr><w:numPr><w:ilvl w:val="1"/></w:numPr></w:pPr></w:style><w:style w:type="paragraph" w:styleId="3"><w:basedOn w:val="1"/></w:style>)");

INSTANTIATE_TEST_SUITE_P(
    Docx, NativeText,
    ::testing::Values(
        Row{"headingLevelFromItsStyleListFromTheBase",
            docx(p(r("绪论"), R"(<w:pStyle w:val="1"/>)") + p(r("背景"), R"(<w:pStyle w:val="2"/>)") +
                     p(r("方法"), R"(<w:pStyle w:val="2"/>)") + p(r("细节"), R"(<w:pStyle w:val="3"/>)"),
                 {{"word/numbering.xml", kOutline}, {"word/styles.xml", kHeadingStyles}}),
            QStringLiteral("1 绪论\n1.1 背景\n1.2 方法\n1.2.1 细节")},
        Row{"levelRedefinedByItsList",
            docx(p(r("甲"), R"(<w:numPr><w:ilvl w:val="0"/><w:numId w:val="2"/></w:numPr>)"),
                 {{"word/numbering.xml", kOutline}}),
            QStringLiteral("    I. 甲")},
        Row{"levelPassedOverCountsAtItsStart",
            docx(p(r("甲"), R"(<w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/></w:numPr>)") +
                     p(r("乙"), R"(<w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr>)"),
                 {{"word/numbering.xml", kOutline}}),
            QStringLiteral("        1.1 甲\n    2 乙")},
        // DrawingML with its VML fallback counts once; a bare VML box counts; a paragraph that only
        // anchors a box is no line of its own.
        Row{"textBoxesAfterTheirParagraph",
            docx(p(r("前") + "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wps:txbx>" +
                   box(p(r("框内"))) + "</wps:txbx></w:drawing></mc:Choice><mc:Fallback><w:pict><v:textbox>" +
                   box(p(r("框内"))) + "</v:textbox></w:pict></mc:Fallback></mc:AlternateContent></w:r>" +
                   r("后")) +
                 p(r("下一段") + "<w:r><w:pict><v:textbox>" + box(p(r("旧框"))) +
                   "</v:textbox></w:pict></w:r>") +
                 p("<w:r><w:pict><v:textbox>" + box(p(r("封面"))) + "</v:textbox></w:pict></w:r>")),
            QStringLiteral("前后\n框内\n下一段\n旧框\n封面")},
        Row{"notesFollowTheBodyWithTheirNumbers",
            docx(
                p(r("正文") + R"(<w:r><w:footnoteReference w:id="2"/></w:r>)" + r("。") +
                  R"(<w:r><w:endnoteReference w:id="1"/></w:r>)"),
                {{"word/settings.xml",
                  wordPart(
                      "settings",
                      R"(<w:footnotePr><w:numFmt w:val="decimalEnclosedCircleChinese"/></w:footnotePr>)")},
                 {"word/footnotes.xml",
                  wordPart(
                      "footnotes",
                      R"(<w:footnote w:type="separator" w:id="0"><w:p><w:r><w:separator/></w:r></w:p></w:footnote><w:footnote w:id="2">)" +
                          p("<w:r><w:footnoteRef/></w:r>" + r(" 注释一")) + "</w:footnote>")},
                 {"word/endnotes.xml", wordPart("endnotes", R"(<w:endnote w:id="1">)" +
                                                                p("<w:r><w:endnoteRef/></w:r>" + r("尾注")) +
                                                                p(r("第二段")) + "</w:endnote>")}}),
            QStringLiteral("正文[①]。[i]\n① 注释一\ni 尾注\n第二段")},
        // A note that shows its own number in brackets keeps it there.
        Row{"noteNumberInsideItsText",
            docx(p(r("正文") + R"(<w:r><w:footnoteReference w:id="1"/></w:r>)"),
                 {{"word/footnotes.xml",
                   wordPart("footnotes", R"(<w:footnote w:id="1">)" +
                                             p(r("(") + "<w:r><w:footnoteRef/></w:r>" + r(")") +
                                               "<w:r><w:tab/></w:r>" + r("注文")) +
                                             "</w:footnote>")}}),
            QStringLiteral("正文[1]\n(1)\t注文")},
        // The default paragraph style hides its runs: only a run that says otherwise shows, and a
        // paragraph with nothing shown is not there; a character style hides what the paragraph's shows.
        Row{"hiddenThroughTheParagraphStyle",
            docx(
                p(r("藏") + R"(<w:r><w:rPr><w:vanish w:val="0"/></w:rPr><w:t>显</w:t></w:r>)") +
                    p(r("全藏")) +
                    p(r("可见") + R"(<w:r><w:rPr><w:rStyle w:val="c"/></w:rPr><w:t>藏</w:t></w:r>)",
                      R"(<w:pStyle w:val="b"/>)"),
                {{"word/styles.xml",
                  wordPart(
                      "styles",
                      R"(<w:style w:type="paragraph" w:default="1" w:styleId="a"><w:rPr><w:vanish/></w:rPr></w:style><w:style w:type="paragraph" w:styleId="b"><w:basedOn w:val="a"/><w:rPr><w:vanish w:val="0"/></w:rPr></w:style><w:style w:type="character" w:styleId="c"><w:basedOn w:val="d"/></w:style><w:style w:type="character" w:styleId="d"><w:rPr><w:vanish/></w:rPr></w:style>)")}}),
            QStringLiteral("显\n可见")},
        Row{"deletedParagraphMarkJoinsTheNext",
            docx(p(r("句子的前"), R"(<w:rPr><w:del w:id="1" w:author="a"/></w:rPr>)") + p(r("半部分。")) +
                 p(r("下一段"))),
            QStringLiteral("句子的前半部分。\n下一段")},
        Row{"headingNumberedDirectlyHasNoIndent",
            docx(
                p(r("绪论"),
                  R"(<w:pStyle w:val="h"/><w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/></w:numPr>)"),
                {{"word/numbering.xml", kOutline},
                 {"word/styles.xml",
                  wordPart(
                      "styles",
                      R"(<w:style w:type="paragraph" w:styleId="h"><w:name w:val="heading 2"/></w:style>)")}}),
            QStringLiteral("1.1 绪论")},
        // Embedded documents in place: a web archive in quoted-printable UTF-8, and rich text.
        Row{"embeddedDocumentsInPlace",
            docx(
                p(r("前")) +
                    R"(<w:altChunk r:id="c1" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/><w:altChunk r:id="c2" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/>)" +
                    p(r("后")),
                {{"word/_rels/document.xml.rels",
                  R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="c1" Type="aFChunk" Target="chunk.mht"/><Relationship Id="c2" Type="aFChunk" Target="/word/chunk.rtf"/></Relationships>)"},
                 {"word/chunk.mht",
                  "MIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=\"b\"\r\n\r\n--b\r\n"
                  "Content-Type: text/html; charset=\"utf-8\"\r\nContent-Transfer-Encoding: "
                  "quoted-printable\r\n\r\n<html><head><title>x</title></head><body><h1>=E6=A0=87=E9=A2=98</"
                  "h1><p>a &amp;=\r\n"
                  "  b</p></body></html>\r\n--b--\r\n"},
                 {"word/chunk.rtf", R"({\rtf1\ansi\uc0\u30002\par \u20057})"}}),
            QStringLiteral("前\n标题\na & b\n甲\n乙\n后")},
        Row{"noRubyReadingOrEquation",
            docx(p(R"(<w:r><w:ruby><w:rubyPr/><w:rt>)" + r("pīn") + "</w:rt><w:rubyBase>" + r("拼") +
                   "</w:rubyBase></w:ruby></w:r>" + r("音") +
                   R"(<m:oMath><m:r><w:sym w:font="Symbol" w:char="F070"/><m:t>r</m:t></m:r></m:oMath>)" +
                   r("。"))),
            QStringLiteral("拼音。")}),
    rowName);

const QByteArray kOdfNamespaces =
    R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")";

QByteArray odt(const QByteArray& styles, const QByteArray& text)
{
    return zipmaker::container(
        {{"styles.xml", "<office:document-styles" + kOdfNamespaces + "><office:styles>" + styles +
                            "</office:styles></office:document-styles>"},
         {"content.xml", "<office:document-content" + kOdfNamespaces + "><office:body><office:text>" + text +
                             "</office:text></office:body></office:document-content>"}});
}

INSTANTIATE_TEST_SUITE_P(
    Odt, NativeText,
    ::testing::Values(
        Row{"headingStyleWithoutListHasNoOutlineNumber",
            odt(R"(<text:outline-style><text:outline-level-style text:level="1" style:num-format="1"/></text:outline-style><style:style style:name="Heading" style:family="paragraph"/><style:style style:name="Title" style:family="paragraph" style:parent-style-name="Heading" style:list-style-name=""/><style:style style:name="Cover" style:family="paragraph" style:parent-style-name="Title"/>)",
                R"(<text:h text:style-name="Heading" text:outline-level="1">一章</text:h><text:h text:style-name="Cover" text:outline-level="1">封面</text:h><text:h text:style-name="Heading" text:outline-level="1">二章</text:h>)"),
            QStringLiteral("1 一章\n封面\n2 二章"), odt::read},
        Row{"labelsAsTheExportWritesThem",
            odt(R"(<text:list-style style:name="L1"><text:list-level-style-number text:level="1" style:num-prefix="第" style:num-suffix="条" style:num-format=""/></text:list-style><text:list-style style:name="L2"><text:list-level-style-bullet text:level="1" text:bullet-char="✗"/><text:list-level-style-bullet text:level="2" text:bullet-char="✗"/></text:list-style>)",
                R"(<text:list text:style-name="L1"><text:list-item><text:p>总则</text:p></text:list-item></text:list><text:list text:style-name="L2"><text:list-item><text:p>甲</text:p><text:p>续</text:p><text:list><text:list-header><text:p>注</text:p></text:list-header><text:list-item><text:p>乙</text:p></text:list-item></text:list></text:list-item></text:list>)"),
            QStringLiteral("    第条 总则\n    • 甲\n      续\n          注\n        ◦ 乙"), odt::read},
        Row{"spacesAndNoteMarkupAreNoText",
            odt({},
                "<text:p>a<text:s text:c=\"2\"> </text:s>b<text:note text:note-class=\"footnote\">\n  "
                "<text:note-citation>1</text:note-citation>\n  <text:note-body>\n    <text:p>注</text:p>\n  "
                "</text:note-body>\n</text:note>c</text:p>"),
            QStringLiteral("a  b[1]c\n1 注"), odt::read},
        // A nested list of another style goes on with the outer list's numbers; an item that opens
        // with a list has no label of its own.
        Row{"nestedListOfAnotherStyleGoesOn",
            odt(R"(<text:list-style style:name="A"><text:list-level-style-number text:level="1" style:num-format="A"/><text:list-level-style-number text:level="2" style:num-format="1" text:display-levels="2"/></text:list-style><text:list-style style:name="B"><text:list-level-style-number text:level="1" style:num-format="A"/><text:list-level-style-number text:level="2" style:num-format="1" text:display-levels="2"/></text:list-style>)", R"(<text:list text:style-name="A"><text:list-item><text:p>甲</text:p></text:list-item><text:list-item><text:p>乙</text:p><text:list text:style-name="B"><text:list-item><text:p>乙一</text:p></text:list-item></text:list></text:list-item><text:list-item><text:list text:style-name="B"><text:list-item><text:p>丙</text:p></text:list-item></text:list><text:p>续</text:p></text:list-item></text:list>)"),
            QStringLiteral("    A 甲\n    B 乙\n        B.1 乙一\n        B.2 丙\n      续"), odt::read},
        Row{"shapeTextAfterItsParagraph",
            odt({},
                R"(<text:p>锚<draw:custom-shape text:anchor-type="paragraph"><svg:desc>说明</svg:desc><text:p>形状内</text:p><draw:enhanced-geometry draw:type="rect"/></draw:custom-shape>后</text:p><draw:rect text:anchor-type="page"><text:p>页上</text:p></draw:rect>)"),
            QStringLiteral("锚后\n形状内\n页上"), odt::read},
        Row{"textBoxAfterItsParagraph",
            odt({}, "<text:p>锚 <draw:frame text:anchor-type=\"as-char\">\n  <svg:title>图题</svg:title>\n  "
                    "<draw:text-box><text:p>框</text:p></draw:text-box>\n</draw:frame> "
                    "点</text:p><text:p>后文</text:p>"),
            QStringLiteral("锚  点\n框\n后文"), odt::read}),
    rowName);

struct NumberRow
{
    int value;
    documents::listlabels::Format format;
    QString text;
};

TEST(ListLabels, CountsInChineseAndInHeavenlyStems)
{
    for (const NumberRow& row :
         {NumberRow{101, documents::listlabels::Format::Chinese, QStringLiteral("一百零一")},
          NumberRow{1010, documents::listlabels::Format::Chinese, QStringLiteral("一千零一十")},
          NumberRow{10, documents::listlabels::Format::HeavenlyStem, QStringLiteral("癸")},
          NumberRow{12, documents::listlabels::Format::HeavenlyStem, QStringLiteral("甲乙")},
          // Word goes on in decimal after 癸.
          NumberRow{10, documents::listlabels::fromWordFormat(u"ideographTraditional"), QStringLiteral("癸")},
          NumberRow{11, documents::listlabels::fromWordFormat(u"ideographTraditional"),
                    QStringLiteral("11")}})
        EXPECT_EQ(documents::listlabels::number(row.value, row.format), row.text) << row.value;
}

} // namespace
