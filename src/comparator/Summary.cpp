#include "comparator/Summary.h"

#include "text/TextRules.h"

#include <cmath>

namespace comparator {

qint64 roundedPercent(qint64 part, qint64 whole)
{
    if (whole <= 0)
        return 0;
    // round2 leaves a value like 1.27 whose product with 100 is off by an ulp; llround settles it.
    return std::llround(text::round2(static_cast<double>(part) / static_cast<double>(whole)) * 100.0);
}

QString summaryText(qsizetype articleLength, qsizetype referenceLength, const Counts& run,
                    const Counts& totals, bool cumulative)
{
    const Counts& shown = cumulative ? totals : run;
    return QStringLiteral("你的文章一共 ") + QString::number(articleLength) + QStringLiteral(" 字，重复 ") +
           QString::number(shown.repeats) + QStringLiteral(" 段， ") + QString::number(shown.pieces) +
           QStringLiteral(" 句， ") + QString::number(shown.matchedChars) + QStringLiteral(" 字") +
           text::kCrLf + QStringLiteral("        重复部分占你的文章的： ") +
           QString::number(roundedPercent(shown.matchedChars, articleLength)) + QStringLiteral(" %") +
           text::kCrLf + QStringLiteral("        与参考文章的相似度为： ") +
           QString::number(roundedPercent(run.matchedChars, referenceLength)) + QStringLiteral(" %");
}

} // namespace comparator
