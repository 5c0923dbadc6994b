#pragma once

#include <QList>
#include <QString>

#include <optional>

// Scoring of a downloaded result page: how much text the search service highlighted, measured
// against the sentence that was searched, and the result titles the page lists.
namespace search {

inline constexpr qsizetype kMinPageSize = 500;     // a page with less counted text scores 0
inline constexpr qsizetype kMinFragmentLength = 8; // shorter highlighted fragments do not count
inline constexpr int kResultsPerPage = 10;         // denominator factor and title slots per sentence

struct Title
{
    QString html; // the heading's HTML, link markup included
    QString text; // the title text; empty when the heading has no link text
};

// The page reduced to its double-byte characters: spaces, breaks and ideographic spaces removed,
// full-width forms made half-width. Its length is the page size.
QString pageText(const QString& pageHtml);

// Total length of the highlighted fragments of eight or more characters between the highlight
// markers; the upper-case markers are used unless the page has none.
qsizetype highlightedLength(const QString& pageHtml);

// The result titles of a page, in page order, at most kResultsPerPage. A title heading is an h3 whose
// class attribute holds the class t; it ends at its own closing tag. Its block is its inner HTML
// without highlight tags; its text follows the link-text start "}\">" where the block has one, else
// it is the text of its first link, with any markup left in it removed.
QList<Title> titles(const QString& pageHtml);

struct PageScore
{
    qsizetype pageSize = 0; // the length of pageText: 0 for a page without double-byte text
    bool shortPage = false;
    // The sentence's figure P in percent; unset when the page is short or there is no sentence to
    // divide by (then the run's sum and the similarity display stay as they were).
    std::optional<double> sentenceFigure;
    double sum = 0; // the run's similarity sum after this page
    // The new caption of the similarity display and the overall figure it shows; unset when it
    // stays as it was.
    std::optional<QString> caption;
    std::optional<double> overall;
    QList<Title> titles;
};

// The overall figure: sum over pages, in percent, rounded to 2 decimals.
double overallFigure(double sum, int pages);
// The similarity display's last line: "目前总体相似度：" and the overall figure.
QString overallText(double overall);

// Scores a non-empty page. sentence is the one searched (nullopt when the index addressed none); sum
// and pageCount are the run's similarity sum and page count before this page, and the overall figure
// divides the sum including this page's figure by pageCount.
PageScore scorePage(const QString& pageHtml, const std::optional<QString>& sentence, double sum,
                    int pageCount);

} // namespace search
