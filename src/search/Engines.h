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

// The query URL for query text; nullopt for Longyuan.
std::optional<QString> searchUrl(Engine engine, const QString& query);

// GBK percent-encoding: "-,.0123456789/" and ASCII letters stay, every other byte is %XX.
QString UrlEncodeGbk(const QString& text);

// UTF-8 percent-encoding of each UTF-16 code unit; ASCII is never escaped.
QString UrlEncodeUtf8(const QString& text);

} // namespace search
