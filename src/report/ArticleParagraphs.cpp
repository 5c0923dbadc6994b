#include "report/ArticleParagraphs.h"

#include "analysis/Analysis.h"

#include <QStringView>

namespace report {

QList<qsizetype> paragraphEnds(const QString& editorText, const QString& articleText,
                               const QStringList& sentences)
{
    // Each line normalised alone gives what it adds to the article; a line that adds nothing is blank.
    QList<qsizetype> articleEnds;
    qsizetype articleAt = 0;
    const QStringList lines = editorText.split(QStringLiteral("\r\n"));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString part =
            analysis::normalise(k + 1 < lines.size() ? lines[k] + QStringLiteral("\r\n") : lines[k]);
        if (part.isEmpty())
            continue;
        if (QStringView(articleText).mid(articleAt, part.size()) != part)
            return {};
        articleAt += part.size();
        articleEnds.append(articleAt);
    }
    if (articleAt != articleText.size())
        return {};
    // The sentences are slices of the article, except where a piece marker was cut out between them.
    QList<qsizetype> ends;
    qsizetype joined = 0;
    qsizetype at = 0;
    qsizetype next = 0;
    for (const QString& s : sentences) {
        qsizetype start = at;
        if (QStringView(articleText).mid(at, s.size()) != s) {
            start = articleText.indexOf(s, at);
            if (start < 0)
                break;
        }
        while (next < articleEnds.size() && articleEnds[next] <= start) {
            if (articleEnds[next] > at || (articleEnds[next] == at && at > 0))
                ends.append(joined);
            ++next;
        }
        while (next < articleEnds.size() && articleEnds[next] <= start + s.size())
            ends.append(joined + articleEnds[next++] - start);
        at = start + s.size();
        joined += s.size();
    }
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    return ends;
}

} // namespace report
