#pragma once

#include <QList>
#include <QString>

// The article is read as text with CR LF line breaks (two characters), while a QTextDocument counts
// a paragraph break as one position. These helpers convert between the two.
namespace editor {

// The text of a document as the program reads it: QTextDocument::toRawText() with every paragraph
// and line separator written as CR LF. Every other character stays, so offsets map one to one
// except at breaks.
QString crlfTextFromRaw(const QString& rawText);

class OffsetMap
{
public:
    explicit OffsetMap(const QString& crlfText);
    // Document position of a text offset. An offset between CR and LF maps to the end of the break.
    int toDocument(qsizetype textOffset) const;
    // Text offset of a document position.
    qsizetype toText(int documentPosition) const;

private:
    QList<qsizetype> m_breaks; // text offsets of the CR of each CR LF, ascending
};

} // namespace editor
