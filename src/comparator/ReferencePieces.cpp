#include "comparator/ReferencePieces.h"

#include "analysis/TextRules.h"

namespace comparator {
namespace {

// Removes the whitespace that the fixed passes take from before a line break: up to three spaces
// (a two-space pass, then a one-space pass); if none is left, up to three ideographic spaces the
// same way; if none of those is left either, one tab.
void stripBeforeBreak(QString& part)
{
    auto stripRun = [&part](char16_t c) {
        qsizetype run = 0;
        while (run < part.size() && part.at(part.size() - 1 - run) == c)
            ++run;
        part.chop(std::min<qsizetype>(run, 3));
        return run <= 3;
    };
    if (!stripRun(u' ') || !stripRun(text::kIdeographicSpace))
        return;
    if (part.endsWith(u'\t'))
        part.chop(1);
}

} // namespace

// One pass over the reference with the effect of the fourteen replacements in their order: the
// punctuation passes put a break after each mark, the whitespace passes only ever touch what stands
// right before a break.
QStringList cutReference(const QString& reference)
{
    QStringList pieces;
    QString part;
    auto endPart = [&](bool atBreak) {
        if (atBreak)
            stripBeforeBreak(part);
        if (text::hasNonSpace(part))
            pieces.append(part);
        part.clear();
    };
    auto endAfter = [&](char16_t mark) {
        part += mark;
        endPart(true);
    };
    const qsizetype n = reference.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = reference.at(i).unicode();
        const bool pairs = i + 1 < n && reference.at(i + 1).unicode() == (c == u'\r' ? u'\n' : c);
        switch (c) {
        case u',':
        case u'，':
            endAfter(u'，');
            break;
        case u'.':
        case u'。':
            endAfter(u'。');
            break;
        case u'!':
        case u'！':
            endAfter(u'！');
            break;
        case u'?':
        case u'？':
            endAfter(u'？');
            break;
        case u'…':
            part += c;
            if (pairs) {
                ++i;
                endAfter(c);
            }
            break;
        case u'\r':
            if (pairs) {
                ++i;
                endPart(true);
            } else {
                part += c;
            }
            break;
        default:
            part += c;
        }
    }
    endPart(false);
    return pieces;
}

} // namespace comparator
