#include "search/TitleHtml.h"

namespace search {

qsizetype tagEnd(QStringView html, qsizetype lt)
{
    const qsizetype n = html.size();
    for (qsizetype i = lt + 1; i < n; ++i) {
        if (html[i] == u'>')
            return i;
        if (html[i] != u'=')
            continue;
        qsizetype j = i + 1;
        while (j < n && html[j].isSpace())
            ++j;
        if (j < n && (html[j] == u'"' || html[j] == u'\'')) {
            const qsizetype close = html.indexOf(html[j], j + 1);
            if (close < 0)
                return -1;
            i = close;
        }
    }
    return -1;
}

std::optional<QString> attribute(QStringView tag, QStringView name)
{
    qsizetype i = 0;
    const qsizetype n = tag.size();
    while (i < n && !tag[i].isSpace() && tag[i] != u'/')
        ++i; // the tag name
    while (i < n) {
        while (i < n && (tag[i].isSpace() || tag[i] == u'/'))
            ++i;
        const qsizetype nameStart = i;
        while (i < n && !tag[i].isSpace() && tag[i] != u'/' && tag[i] != u'=' &&
               (i == nameStart || tag[i] != u'>'))
            ++i;
        const QStringView attrName = tag.mid(nameStart, i - nameStart);
        if (attrName.isEmpty())
            break;
        while (i < n && tag[i].isSpace())
            ++i;
        QStringView value;
        if (i < n && tag[i] == u'=') {
            ++i;
            while (i < n && tag[i].isSpace())
                ++i;
            if (i < n && (tag[i] == u'"' || tag[i] == u'\'')) {
                const QChar quote = tag[i++];
                const qsizetype end = tag.indexOf(quote, i);
                const qsizetype stop = end < 0 ? n : end;
                value = tag.mid(i, stop - i);
                i = stop + 1;
            } else {
                const qsizetype start = i;
                while (i < n && !tag[i].isSpace())
                    ++i;
                value = tag.mid(start, i - start);
            }
        }
        if (attrName.compare(name, Qt::CaseInsensitive) == 0)
            return value.toString();
    }
    return std::nullopt;
}

} // namespace search
