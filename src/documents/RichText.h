#pragma once

#include <QList>
#include <QString>

#include <compare>
#include <optional>

// A rich-text document as the program loads and saves it: paragraphs of runs of equally formatted
// text. Tabs are '\t', a line break inside a paragraph is U+2028 (as QTextDocument keeps it).
namespace richtext {

// The font a run without a font name is written in.
inline const QString kDefaultFontName = QStringLiteral("宋体");
// RTF's size when a file names none: 12 points.
inline constexpr int kDefaultHalfPoints = 24;

struct Color
{
    int red = 0;
    int green = 0;
    int blue = 0;
    auto operator<=>(const Color&) const = default;
};

struct CharFormat
{
    QString fontName; // empty: the editor's default font
    int halfPoints = kDefaultHalfPoints;
    std::optional<Color> color; // none: the automatic text colour
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<Color> background; // none: no shading behind the text
    bool operator==(const CharFormat&) const = default;
};

struct Run
{
    QString text;
    CharFormat format;
    bool operator==(const Run&) const = default;
};

struct Paragraph
{
    QList<Run> runs;
    bool operator==(const Paragraph&) const = default;

    QString text() const
    {
        QString t;
        for (const Run& r : runs)
            t += r.text;
        return t;
    }
};

struct Document
{
    QList<Paragraph> paragraphs;
    bool operator==(const Document&) const = default;

    // The text with paragraphs joined by separator.
    QString text(const QString& separator = QStringLiteral("\r\n")) const
    {
        QString t;
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            if (i > 0)
                t += separator;
            t += paragraphs[i].text();
        }
        return t;
    }
};

} // namespace richtext
