#include "text/TextRules.h"

#include <cfenv>
#include <cmath>

namespace text {
namespace {

bool isTrimmable(QChar c)
{
    return c.unicode() == u' ' || c.unicode() == kIdeographicSpace;
}

} // namespace

QString trimSpaces(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isTrimmable(s.at(begin)))
        ++begin;
    while (end > begin && isTrimmable(s.at(end - 1)))
        --end;
    return (begin == 0 && end == s.size()) ? s : s.mid(begin, end - begin);
}

bool hasNonSpace(QStringView s)
{
    for (const QChar c : s) {
        if (!isTrimmable(c))
            return true;
    }
    return false;
}

qsizetype whitespaceBeforeBreak(QStringView line)
{
    qsizetype end = line.size();
    auto takeRun = [&](char16_t c, int most) {
        for (int n = 0; n < most && end > 0 && line[end - 1] == c; ++n)
            --end;
    };
    takeRun(u' ', 3);
    takeRun(kIdeographicSpace, 3);
    takeRun(u'\t', 1);
    return line.size() - end;
}

double round2(double x)
{
    // nearbyint rounds in the current mode, which is round-half-even unless someone changed it.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(x * 100.0) / 100.0;
    std::fesetround(saved);
    return r;
}

QString generalNumber(double x)
{
    if (x == 0.0)
        return QStringLiteral("0"); // also for -0
    return QString::number(x, 'g', 15);
}

} // namespace text
