#include "search/Engines.h"

#include "text/Codepage936.h"

#include <QStringDecoder>
#include <QUrl>

namespace search {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendPercent(QString& out, unsigned char byte)
{
    out.append(u'%');
    out.append(QLatin1Char(kHex[byte >> 4]));
    out.append(QLatin1Char(kHex[byte & 0x0F]));
}

bool isAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

QString decodeQueryValue(QByteArrayView raw)
{
    QByteArray bytes = raw.toByteArray();
    bytes.replace('+', ' ');
    bytes = QByteArray::fromPercentEncoding(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return text::fromCp936(bytes);
}

QString wordsOf(const QString& query)
{
    return query.simplified();
}

} // namespace

std::optional<QString> queryInUrl(const QString& url)
{
    // The address as the pane or the step holds it: escapes stay as they are, a fragment ends the query.
    const QByteArray bytes = url.toUtf8();
    QByteArrayView query = bytes;
    const qsizetype mark = query.indexOf('?');
    if (mark < 0)
        return std::nullopt;
    query = query.sliced(mark + 1);
    if (const qsizetype hash = query.indexOf('#'); hash >= 0)
        query = query.first(hash);
    for (const char* field : {"wd", "word", "q"}) {
        qsizetype from = 0;
        while (from <= query.size()) {
            qsizetype end = query.indexOf('&', from);
            if (end < 0)
                end = query.size();
            const QByteArrayView pair = query.sliced(from, end - from);
            const QByteArrayView name(field);
            if (pair.startsWith(name) && pair.size() > name.size() && pair[name.size()] == '=')
                return decodeQueryValue(pair.sliced(name.size() + 1));
            from = end + 1;
        }
    }
    return std::nullopt;
}

bool answersSearch(const QString& pageUrl, const QString& sentUrl, const QString& query)
{
    const std::optional<QString> answered = queryInUrl(pageUrl);
    if (!answered)
        return false;
    const QString words = wordsOf(*answered);
    if (words == wordsOf(query))
        return true;
    // What the encoder could not write (a "?" for a character outside GBK) is compared as it was sent.
    const std::optional<QString> sent = queryInUrl(sentUrl);
    return sent && words == wordsOf(*sent);
}

Engine selectedEngine(const EngineMarks& marks)
{
    if (marks.zhiwang)
        return Engine::Zhiwang;
    if (marks.longyuan)
        return Engine::Longyuan;
    if (marks.wenku)
        return Engine::Wenku;
    return Engine::Baidu;
}

QString engineName(Engine engine)
{
    switch (engine) {
    case Engine::Baidu:
        return QStringLiteral("百度引擎");
    case Engine::Wenku:
        return QStringLiteral("百度文库");
    case Engine::Longyuan:
        return QStringLiteral("龙源期刊");
    case Engine::Zhiwang:
        return QStringLiteral("中国知网");
    }
    return {};
}

bool isServiceHost(Engine engine, const QString& url)
{
    QString domain;
    switch (engine) {
    case Engine::Baidu:
    case Engine::Wenku:
        domain = QStringLiteral("baidu.com");
        break;
    case Engine::Zhiwang:
        domain = QStringLiteral("cnki.net");
        break;
    case Engine::Longyuan:
        return false;
    }
    const QString host = QUrl(url).host().toLower();
    return host == domain || host.endsWith(u'.' + domain);
}

QString queryField(Engine engine)
{
    switch (engine) {
    case Engine::Baidu:
        return QStringLiteral("wd");
    case Engine::Wenku:
        return QStringLiteral("word");
    case Engine::Zhiwang:
        return QStringLiteral("q");
    case Engine::Longyuan:
        break;
    }
    return {};
}

std::optional<QString> searchUrl(Engine engine, const QString& query)
{
    switch (engine) {
    case Engine::Baidu:
        return QStringLiteral("https://") + kBaiduHost + QStringLiteral("/s?") + queryField(engine) + u'=' +
               UrlEncodeGbk(query) + QStringLiteral("&rsv_bp=0&ch=&bar=&rsv_spt=3&tn=baidu");
    case Engine::Wenku:
        return QStringLiteral("https://") + kWenkuHost + QStringLiteral("/search?") + queryField(engine) +
               u'=' + UrlEncodeGbk(query) + QStringLiteral("&od=0&fr=top_home");
    case Engine::Zhiwang:
        return QStringLiteral("https://") + kCnkiHost + QStringLiteral("/result.aspx?") + queryField(engine) +
               u'=' + UrlEncodeUtf8(query) + QStringLiteral("&rt=&rl=&udb=");
    case Engine::Longyuan:
        break;
    }
    return std::nullopt;
}

QString UrlEncodeGbk(const QString& text)
{
    static const QString kUnescaped = QStringLiteral("-,.0123456789/");
    QString out;
    out.reserve(text.size() * 6);
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (kUnescaped.contains(qc)) {
            out.append(qc);
            continue;
        }
        QByteArray b = text::cp936Bytes(c);
        if (b.size() == 2) {
            appendPercent(out, static_cast<unsigned char>(b[0]));
            appendPercent(out, static_cast<unsigned char>(b[1]));
        } else if (isAsciiLetter(c)) {
            out.append(qc);
        } else {
            // The code page's substitute for what it cannot encode is "?".
            appendPercent(out, b.isEmpty() ? '?' : static_cast<unsigned char>(b[0]));
        }
    }
    return out;
}

QString UrlEncodeUtf8(const QString& text)
{
    QString out;
    out.reserve(text.size() * 9);
    for (const QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80) {
            out.append(qc);
        } else if (u < 0x800) {
            appendPercent(out, static_cast<unsigned char>(0xC0 | (u >> 6)));
            appendPercent(out, static_cast<unsigned char>(0x80 | (u & 0x3F)));
        } else {
            // Surrogates too: each code unit of a pair becomes its own three-byte group.
            appendPercent(out, static_cast<unsigned char>(0xE0 | (u >> 12)));
            appendPercent(out, static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F)));
            appendPercent(out, static_cast<unsigned char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

} // namespace search
