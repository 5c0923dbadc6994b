#pragma once

#include <QList>
#include <QString>

#include <optional>

// A document to print as plain data: what the PDF printer lays out on pages. Nothing in it is markup,
// so nothing of a web page can run or reorder anything beyond its own piece of text.
namespace printed {

struct Run
{
    QString text;                       // lines separated by '\n'
    std::optional<unsigned> background; // 0xRRGGBB
    bool superscript = false;
    QString link; // an address the run links to; empty for none
};

using Cell = QList<Run>;

struct Row
{
    QList<Cell> cells;
    std::optional<unsigned> background;
};

struct Block
{
    enum class Kind {
        Title,     // the document's title
        Notice,    // a framed statement
        Heading,   // never left alone at a page's foot
        Paragraph, // runs; may break across pages between lines
        Table,     // its header row repeats on every page it runs over
    };
    Kind kind = Kind::Paragraph;
    QList<Run> runs;
    QList<int> columnWidths; // relative widths of a table's columns
    QList<Cell> header;
    QList<Row> rows;
};

using Document = QList<Block>;

inline Cell plainCell(const QString& text)
{
    return {Run{text, std::nullopt, false, QString()}};
}

inline Block textBlock(Block::Kind kind, const QString& text)
{
    Block b;
    b.kind = kind;
    b.runs.append({text, std::nullopt, false, QString()});
    return b;
}

} // namespace printed
