#pragma once

#include <QList>
#include <QStringView>

// The parts of an article that are not the writer's own prose: the table of contents, the reference
// lists and the citation markers inside sentences. Offsets are UTF-16 positions in the text given.
namespace analysis {

struct ArticleRegion
{
    enum class Kind : quint8 { Contents, References };
    qsizetype start = 0; // the first character of the region's first line
    qsizetype end = 0;   // one past the last character of its last line, the line break excluded
    Kind kind = Kind::Contents;
    bool operator==(const ArticleRegion&) const = default;
};

// The regions of the article in order, never overlapping. Lines end at CR LF, LF, CR, U+2028 or
// U+2029. Contents: from a line that is 目录 / Contents up to the first line that is no contents
// entry, and every other line that ends in a page number after a tab, dot leaders or spaces.
// References: from a heading such as 参考文献 or "6. References" that a reference entry follows within
// three lines, up to the next chapter or section heading, appendix, acknowledgements, list of the
// author's publications or the end; each list of a per-chapter article is found.
QList<ArticleRegion> articleRegions(QStringView article);

// True when line (without its line break) ends in a page number after a tab, dot leaders or spaces.
bool isContentsEntry(QStringView line);

struct MarkerSpan
{
    qsizetype start = 0;
    qsizetype end = 0; // one past the marker's last character
    bool operator==(const MarkerSpan&) const = default;
};

// Citation markers and note references in text, in order: [3], [1-4], [1,2], ［3］, superscript digits,
// circled numbers, author-year markers "(张三, 2019)" / "（Smith et al., 2019a）", and a note number
// of one or two digits written after a marker or between a word and a sentence mark ("提高[3]1。").
QList<MarkerSpan> citationMarkers(QStringView text);

} // namespace analysis
