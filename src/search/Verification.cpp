#include "search/Verification.h"

#include "search/PageScore.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace search {
namespace {

// What the services' verification pages say in their title or heading.
const QStringList kAsks{QStringLiteral("安全验证"), QStringLiteral("验证码"),
                        QStringLiteral("人机验证"), QStringLiteral("请完成下方验证"),
                        QStringLiteral("滑动验证"), QStringLiteral("身份验证")};

bool says(QStringView text)
{
    for (const QString& ask : kAsks) {
        if (text.contains(ask))
            return true;
    }
    return false;
}

// Whether a heading (h1 to h3) of the body says it.
bool headingSays(const QString& body)
{
    for (const char16_t level : {u'1', u'2', u'3'}) {
        const QString open = QStringLiteral("<h") + QChar(level);
        const QString close = QStringLiteral("</h") + QChar(level);
        for (qsizetype at = body.indexOf(open, 0, Qt::CaseInsensitive); at >= 0;
             at = body.indexOf(open, at + 3, Qt::CaseInsensitive)) {
            const qsizetype end = body.indexOf(close, at, Qt::CaseInsensitive);
            if (end < 0)
                break;
            if (says(QStringView(body).mid(at, end - at)))
                return true;
            at = end;
        }
    }
    return false;
}

} // namespace

bool isVerificationHost(const QString& url)
{
    const QString host = QUrl(url).host().toLower();
    return host == u"wappass.baidu.com" || host.endsWith(u".wappass.baidu.com");
}

bool isServiceAnswer(const QString& body, std::optional<Engine> service)
{
    if (!titles(body).isEmpty())
        return true;
    const QString field = service ? queryField(*service) : QString();
    if (field.isEmpty())
        return false;
    // An input of the form named like the query field of the service's address.
    const QRegularExpression input(QStringLiteral(R"(<input\b[^>]*\bname\s*=\s*["']?%1["'\s/>])").arg(field),
                                   QRegularExpression::CaseInsensitiveOption);
    return input.match(body).hasMatch();
}

bool asksForVerification(const QString& title, const std::optional<QString>& body,
                         std::optional<Engine> service)
{
    if (!body)
        return says(title);
    if (!says(title) && !headingSays(*body))
        return false;
    return !isServiceAnswer(*body, service);
}

} // namespace search
