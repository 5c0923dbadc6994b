#include "documents/HtmlText.h"

#include <QHash>
#include <QStringList>

namespace documents {
namespace {

bool isBlock(QStringView tag)
{
    static const QStringList blocks = {
        QStringLiteral("p"),       QStringLiteral("div"),        QStringLiteral("br"),
        QStringLiteral("li"),      QStringLiteral("tr"),         QStringLiteral("td"),
        QStringLiteral("th"),      QStringLiteral("table"),      QStringLiteral("ul"),
        QStringLiteral("ol"),      QStringLiteral("h1"),         QStringLiteral("h2"),
        QStringLiteral("h3"),      QStringLiteral("h4"),         QStringLiteral("h5"),
        QStringLiteral("h6"),      QStringLiteral("blockquote"), QStringLiteral("pre"),
        QStringLiteral("hr"),      QStringLiteral("dt"),         QStringLiteral("dd"),
        QStringLiteral("caption"), QStringLiteral("body")};
    return blocks.contains(tag);
}

QString reference(QStringView name)
{
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},   {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},    {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},  {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("ldquo"), QStringLiteral("“")}, {QStringLiteral("rdquo"), QStringLiteral("”")},
        {QStringLiteral("mdash"), QStringLiteral("—")}, {QStringLiteral("hellip"), QStringLiteral("…")}};
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.startsWith(u"#x") || name.startsWith(u"#X") ? name.mid(2).toUInt(&ok, 16)
                                                                           : name.mid(1).toUInt(&ok);
        if (!ok || code == 0 || code > 0x10FFFF)
            return QString();
        const char32_t c = code;
        return QString::fromUcs4(&c, 1);
    }
    return named.value(name.toString());
}

QByteArray quotedPrintable(QByteArrayView data)
{
    QByteArray out;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '=') {
            out += data[i];
        } else if (i + 1 < data.size() && (data[i + 1] == '\n' || data[i + 1] == '\r')) {
            i += data[i + 1] == '\r' && i + 2 < data.size() && data[i + 2] == '\n' ? 2 : 1; // soft break
        } else if (i + 2 < data.size()) {
            bool ok = false;
            const int byte = QByteArrayView(data.data() + i + 1, 2).toInt(&ok, 16);
            out += ok ? QByteArray(1, static_cast<char>(byte)) : data.sliced(i, 3).toByteArray();
            i += 2;
        }
    }
    return out;
}

// Where the text goes on after the tag or comment at i, skipping what a script, a style or the head
// holds; block tells whether the tag parts paragraphs.
qsizetype afterTag(const QString& html, qsizetype i, bool& block)
{
    if (html.mid(i, 4) == u"<!--") {
        const qsizetype end = html.indexOf(QStringLiteral("-->"), i);
        return end < 0 ? html.size() : end + 3;
    }
    const qsizetype end = html.indexOf(u'>', i);
    if (end < 0)
        return html.size();
    const QStringView tag = QStringView(html).mid(i + 1, end - i - 1);
    const bool closing = tag.startsWith(u'/');
    qsizetype n = closing ? 1 : 0;
    while (n < tag.size() && (tag[n].isLetterOrNumber() || tag[n] == u':'))
        ++n;
    const QString name = tag.mid(closing ? 1 : 0, n - (closing ? 1 : 0)).toString().toLower();
    if (!closing && (name == u"script" || name == u"style" || name == u"head" || name == u"title")) {
        const qsizetype close = html.indexOf(QStringLiteral("</") + name, end + 1, Qt::CaseInsensitive);
        return close < 0 ? html.size() : close;
    }
    block = isBlock(name);
    return end + 1;
}

} // namespace

QString htmlText(const QString& html)
{
    QString out, paragraph;
    bool space = false;
    const auto endParagraph = [&] {
        if (!paragraph.isEmpty()) {
            if (!out.isEmpty())
                out += u'\n';
            out += paragraph;
        }
        paragraph.clear();
        space = false;
    };
    const auto add = [&](const QString& text) {
        for (QChar c : text) {
            if (c.isSpace()) {
                space = !paragraph.isEmpty();
                continue;
            }
            if (space)
                paragraph += u' ';
            space = false;
            paragraph += c;
        }
    };
    for (qsizetype i = 0; i < html.size();) {
        if (html[i] == u'<') {
            bool block = false;
            i = afterTag(html, i, block);
            if (block)
                endParagraph();
        } else if (html[i] == u'&') {
            const qsizetype end = html.indexOf(u';', i);
            const QString text =
                end > i && end - i < 12 ? reference(QStringView(html).mid(i + 1, end - i - 1)) : QString();
            add(text.isEmpty() ? QStringLiteral("&") : text);
            i = text.isEmpty() ? i + 1 : end + 1;
        } else {
            const qsizetype end = std::min(html.indexOf(u'<', i) < 0 ? html.size() : html.indexOf(u'<', i),
                                           html.indexOf(u'&', i) < 0 ? html.size() : html.indexOf(u'&', i));
            add(html.mid(i, end - i));
            i = end;
        }
    }
    endParagraph();
    return out;
}

std::optional<QByteArray> webArchivePage(const QByteArray& bytes)
{
    const QByteArray head = bytes.left(4096).toLower();
    const qsizetype at = head.indexOf("boundary=");
    if (!head.contains("mime-version") || at < 0)
        return std::nullopt;
    qsizetype start = at + 9;
    const bool quoted = start < head.size() && head[start] == '"';
    if (quoted)
        ++start;
    qsizetype end = start;
    while (end < head.size() && (quoted ? head[end] != '"' : !QByteArrayView(";\r\n ").contains(head[end])))
        ++end;
    const QByteArray boundary = "--" + bytes.mid(start, end - start);
    for (qsizetype part = bytes.indexOf(boundary); part >= 0;) {
        const qsizetype next = bytes.indexOf(boundary, part + boundary.size());
        const QByteArray whole =
            bytes.mid(part + boundary.size(), next < 0 ? -1 : next - part - boundary.size());
        const qsizetype crlf = whole.indexOf("\r\n\r\n");
        const qsizetype lf = whole.indexOf("\n\n");
        const qsizetype bodyStart = crlf >= 0 && (lf < 0 || crlf < lf) ? crlf + 4 : lf >= 0 ? lf + 2 : -1;
        const QByteArray headers = whole.left(bodyStart).toLower();
        if (bodyStart >= 0 && headers.contains("text/html")) {
            const QByteArray data = whole.mid(bodyStart);
            if (headers.contains("quoted-printable"))
                return quotedPrintable(data);
            if (headers.contains("base64"))
                return QByteArray::fromBase64(data);
            return data;
        }
        part = next;
    }
    return std::nullopt;
}

} // namespace documents
