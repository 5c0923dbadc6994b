#pragma once

#include <QXmlStreamReader>

// The walk both native readers make over a document's XML.
namespace documents {

// Reads xml to its end. While skipDepth is above 0 (a handler sets it to 1 to leave out an element
// with all it holds) no handler is called; otherwise start, end and text get the element starts,
// element ends and character data. False when the XML is broken.
template <typename Start, typename End, typename Text>
bool walkXml(QXmlStreamReader& xml, int& skipDepth, Start start, End end, Text text)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (skipDepth > 0)
                ++skipDepth;
            else
                start();
            break;
        case QXmlStreamReader::EndElement:
            if (skipDepth > 0)
                --skipDepth;
            else
                end();
            break;
        case QXmlStreamReader::Characters:
            if (skipDepth == 0)
                text();
            break;
        default:
            break;
        }
    }
    return !xml.hasError();
}

} // namespace documents
