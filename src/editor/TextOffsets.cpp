#include "editor/TextOffsets.h"

#include <algorithm>

namespace editor {

QString crlfTextFromRaw(const QString& rawText)
{
    QString out;
    out.reserve(rawText.size() + rawText.size() / 16);
    for (const QChar c : rawText) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            out.append(u"\r\n");
        else
            out.append(c);
    }
    return out;
}

OffsetMap::OffsetMap(const QString& crlfText)
{
    for (qsizetype i = 0; i + 1 < crlfText.size(); ++i) {
        if (crlfText.at(i) == u'\r' && crlfText.at(i + 1) == u'\n') {
            m_breaks.append(i);
            ++i;
        }
    }
}

int OffsetMap::toDocument(qsizetype textOffset) const
{
    // Each break that ends before the offset took two text characters but one position. An offset on
    // the LF of a break counts that break as one position, which puts it right after the break.
    const auto before = std::lower_bound(m_breaks.begin(), m_breaks.end(), textOffset - 1) - m_breaks.begin();
    return static_cast<int>(textOffset - before);
}

qsizetype OffsetMap::toText(int documentPosition) const
{
    // The k-th break (0-based) sits at document position m_breaks[k] - k.
    qsizetype lo = 0, hi = m_breaks.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi) / 2;
        if (m_breaks[mid] - mid < documentPosition)
            lo = mid + 1;
        else
            hi = mid;
    }
    return documentPosition + lo;
}

} // namespace editor
