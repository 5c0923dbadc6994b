#pragma once

#include <QList>
#include <QString>

// A table written into a page as nodes: a heading, then rows of a text (a link where it has an address)
// and a note beside it. Every text goes in as text, every link address only once the page's own address
// parser has read it as http or https.
struct LinkTable
{
    struct Row
    {
        QString text; // the first cell
        QString link; // the first cell's link address; empty: no link
        QString note; // the second cell
        bool operator==(const Row&) const = default;
    };
    QString heading;
    QList<Row> rows;
    bool operator==(const LinkTable&) const = default;
};
