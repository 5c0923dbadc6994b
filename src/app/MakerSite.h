#pragma once

#include <QString>

// The maker's web server. tessaro.example is reserved for examples: nothing real is contacted until
// the maker's own host is set here.
namespace maker {

inline const QString kHost = QStringLiteral("tessaro.example");
inline const QString kStartupPage =
    QStringLiteral("http://") + kHost + QStringLiteral("/tessaro/tessaro.asp?id=20160727");
inline const QString kProjectPage =
    QStringLiteral("http://") + kHost + QStringLiteral("/ziyuan/post/2014/04/04/11.aspx");

} // namespace maker
