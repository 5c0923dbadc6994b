#pragma once

#include <QString>

#include <optional>

// The public search services, their query URLs and the two percent-encoders.
namespace search {

enum class Engine { Baidu, Wenku, Longyuan, Zhiwang };

inline const QString kBaiduHost = QStringLiteral("www.baidu.com");
inline const QString kWenkuHost = QStringLiteral("wenku.baidu.com");
inline const QString kCnkiHost = QStringLiteral("scholar.cnki.net");

// The check marks of the engine menu.
struct EngineMarks
{
    bool baidu = true;
    bool wenku = false;
    bool longyuan = false;
    bool zhiwang = false;
};

// The first of zhiwang, longyuan, wenku that is checked, else baidu.
Engine selectedEngine(const EngineMarks& marks);

// The engine menu's name for a service, as the window and the report show it.
QString engineName(Engine engine);

// Whether url is on a host of the engine's service: baidu.com and its subdomains for both Baidu
// services, cnki.net and its subdomains for CNKI, none for Longyuan. A service may answer from any
// of its hosts.
bool isServiceHost(Engine engine, const QString& url);

// The query field of the service's search form ("wd", "word", "q"); empty for Longyuan.
QString queryField(Engine engine);

// The query text that url carries in a service's query field (wd, word or q), percent-decoded as
// UTF-8 when the bytes are valid UTF-8, else as GBK; nullopt when url has no such field. A service may
// answer a GBK-encoded search at a UTF-8-encoded address after its redirects.
std::optional<QString> queryInUrl(const QString& url);

// Whether the page at pageUrl answers the search sent as sentUrl for query: its query field decodes
// to the same words (white space runs compared as one space, the ends trimmed).
bool answersSearch(const QString& pageUrl, const QString& sentUrl, const QString& query);

// The query URL for query text; nullopt for Longyuan.
std::optional<QString> searchUrl(Engine engine, const QString& query);

// GBK percent-encoding: "-,.0123456789/" and ASCII letters stay, every other byte is %XX.
QString UrlEncodeGbk(const QString& text);

// UTF-8 percent-encoding of each UTF-16 code unit; ASCII is never escaped.
QString UrlEncodeUtf8(const QString& text);

} // namespace search
