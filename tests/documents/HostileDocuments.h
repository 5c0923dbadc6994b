#pragma once

// .docx and .odt files made to unfold into far more than they hold, for the readers' tests and
// benchmarks: each a few kilobytes to a megabyte, generated here rather than kept.

#include "documents/ZipMaker.h"

#include <QString>
#include <QStringList>

namespace hostile {

using zipmaker::Entry;

inline Entry docxDocument(const QByteArray& body)
{
    return Entry{
        "word/document.xml",
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
            body + "</w:body></w:document>"};
}

inline QByteArray docx(const Entry& document, const QList<Entry>& more = {})
{
    QList<Entry> entries{
        Entry{"_rels/.rels",
              "<Relationships "
              "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
              "Id=\"rId1\" "
              "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
              "Target=\"word/document.xml\"/></Relationships>"},
        document};
    return zipmaker::container(entries + more);
}

inline QByteArray docx(const QByteArray& body, const QList<Entry>& more = {})
{
    return docx(docxDocument(body), more);
}

// A numbering part whose list 1 has nine levels of the given format, start and level text.
inline Entry docxNumbering(const char* format, const QByteArray& start, const QByteArray& levelText)
{
    QByteArray levels;
    for (int l = 0; l < 9; ++l)
        levels += "<w:lvl w:ilvl=\"" + QByteArray::number(l) + "\"><w:start w:val=\"" + start +
                  "\"/><w:numFmt w:val=\"" + format + "\"/><w:lvlText w:val=\"" + levelText + "\"/></w:lvl>";
    return Entry{
        "word/numbering.xml",
        "<w:numbering "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:abstractNum "
        "w:abstractNumId=\"0\">" +
            levels +
            "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num></w:numbering>"};
}

inline QByteArray docxListItems(int items, int level)
{
    const QByteArray item = "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"" + QByteArray::number(level) +
                            "\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr><w:r><w:t>x</w:t></w:r></w:p>";
    return item.repeated(items);
}

inline QByteArray odt(const QByteArray& body, const QByteArray& styles = {})
{
    return zipmaker::container(
        {Entry{"mimetype", "application/vnd.oasis.opendocument.text"},
         Entry{"content.xml",
               "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
               "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
               "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\"><office:automatic-styles>" +
                   styles + "</office:automatic-styles><office:body><office:text>" + body +
                   "</office:text></office:body></office:document-content>"}});
}

// One paragraph of elements <text:s text:c="count"/>.
inline QByteArray odtSpaces(int elements, int count)
{
    return odt("<text:p>" + ("<text:s text:c=\"" + QByteArray::number(count) + "\"/>").repeated(elements) +
               "</text:p>");
}

// depth lists one in another, each level counting in letters from start and showing every level,
// items paragraphs in the innermost.
inline QByteArray odtNestedLetterLists(int depth, const QByteArray& start, int items)
{
    QByteArray levels;
    for (int l = 1; l <= 10; ++l)
        levels += "<text:list-level-style-number text:level=\"" + QByteArray::number(l) +
                  "\" style:num-format=\"a\" style:num-suffix=\".\" text:start-value=\"" + start +
                  "\" text:display-levels=\"" + QByteArray::number(l) + "\"/>";
    const QByteArray open = "<text:list text:style-name=\"L1\"><text:list-item>";
    return odt(open + QByteArray("<text:list><text:list-item>").repeated(depth - 1) + "<text:p>x</text:p>" +
                   QByteArray("</text:list-item><text:list-item><text:p>y</text:p>").repeated(items - 1) +
                   QByteArray("</text:list-item></text:list>").repeated(depth),
               "<text:list-style style:name=\"L1\">" + levels + "</text:list-style>");
}

// depth lists one in another without a style, paragraphs in the innermost.
inline QByteArray odtNestedLists(int depth, int paragraphs)
{
    return odt(QByteArray("<text:list><text:list-item>").repeated(depth) +
               QByteArray("<text:p>x</text:p>").repeated(paragraphs) +
               QByteArray("</text:list-item></text:list>").repeated(depth));
}

// count fields begun and never ended, with a run of text after them.
inline QByteArray docxOpenFields(int count)
{
    return docx("<w:p>" + QByteArray("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>").repeated(count) +
                "<w:r><w:t>x</w:t></w:r></w:p>");
}

// A paragraph of one run of megabytes million letters.
inline QByteArray docxLongRun(int megabytes)
{
    return docx(zipmaker::repeated(
        "word/document.xml",
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
        "main\"><w:body><w:p><w:r><w:t>",
        QByteArray(1000 * 1000, 'a'), megabytes, "</w:t></w:r></w:p></w:body></w:document>"));
}

// hundredThousands × 100,000 copies of paragraph.
inline QByteArray docxParagraphs(int hundredThousands, const QByteArray& paragraph)
{
    return docx(zipmaker::repeated(
        "word/document.xml",
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>",
        paragraph.repeated(100000), hundredThousands, "</w:body></w:document>"));
}

// One footnote of length letters that the body refers to references times.
inline QByteArray docxFootnoteReferred(int length, int references)
{
    const QByteArray reference = "<w:r><w:footnoteReference w:id=\"1\"/></w:r>";
    return docx(
        "<w:p>" + reference.repeated(references) + "</w:p>",
        {Entry{"word/footnotes.xml",
               "<w:footnotes xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
               "<w:footnote w:id=\"1\"><w:p><w:r><w:t>" +
                   QByteArray(length, 'a') + "</w:t></w:r></w:p></w:footnote></w:footnotes>"}});
}

// An embedded text document of length letters that the body embeds references times.
inline QByteArray docxChunkEmbedded(int length, int references)
{
    return docx(
        QByteArray("<w:altChunk xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                   "relationships\" r:id=\"c\"/>")
            .repeated(references),
        {Entry{"word/_rels/document.xml.rels",
               "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
               "<Relationship Id=\"c\" Type=\"aFChunk\" Target=\"chunk.txt\"/></Relationships>"},
         Entry{"word/chunk.txt", QByteArray(length, 'a')}});
}

// depth text boxes one in another, each in a paragraph of the one around it with a letter of its own.
inline QByteArray odtNestedTextBoxes(int depth)
{
    const QByteArray open =
        "<text:p>x<draw:frame "
        "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\"><draw:text-box>";
    const QByteArray close = "</draw:text-box></draw:frame></text:p>";
    return odt(open.repeated(depth) + close.repeated(depth));
}

// A .docx whose directory says one entry unpacks to bytes.
inline QByteArray docxWithEntryOf(quint32 bytes)
{
    Entry picture{"word/media/image1.png", QByteArray(1000, 'p')};
    picture.declaredSize = bytes;
    return docx("<w:p><w:r><w:t>x</w:t></w:r></w:p>", {picture});
}

} // namespace hostile
