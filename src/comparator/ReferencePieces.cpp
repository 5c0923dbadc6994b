#include "comparator/ReferencePieces.h"

#include "text/TextRules.h"

namespace comparator {
// One pass over the reference with the effect of the fourteen replacements in their order: the
// punctuation passes put a break after each mark, the whitespace passes only ever touch what stands
// right before a break.
QStringList cutReference(const QString& reference)
{
    QStringList pieces;
    QString part;
    auto endPart = [&](bool atBreak) {
        if (atBreak)
            part.chop(text::whitespaceBeforeBreak(part));
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
