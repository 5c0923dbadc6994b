#include "support/StandInServer.h"

#include <QTcpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

quint16 StandInServer::reservePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    quint16 port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

bool StandInServer::listen(quint16 port)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return m_server.listen(QHostAddress::LocalHost, port);
}

namespace {

bool isSearchHost(const QUrl& u)
{
    const QString host = u.host();
    if (u.path() == QStringLiteral("/favicon.ico"))
        return false;
    return host == QStringLiteral("www.baidu.com") || host == QStringLiteral("wenku.baidu.com") ||
           host == QStringLiteral("scholar.cnki.net");
}

} // namespace

QList<QUrl> StandInServer::searches() const
{
    QList<QUrl> out;
    for (const QUrl& u : requests) {
        if (isSearchHost(u))
            out.append(u);
    }
    return out;
}

void StandInServer::serve(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    if (!buffer.contains("\r\n\r\n"))
        return;
    socket->setProperty("buffer", QByteArray());
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QUrl url = QUrl::fromEncoded(requestLine.value(1));
    requests.append(url);
    requestTargets.append(requestLine.value(1));
    requestHeads.append(buffer.left(buffer.indexOf("\r\n\r\n")));

    Response r;
    if (m_handler && isSearchHost(url))
        r = m_handler(url);
    else
        r.status = 404;
    if (r.closeWithoutAnswer) {
        socket->abort();
        return;
    }
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(r.status) + (r.status == 200 ? " OK" : " Not Found") +
                        "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                        QByteArray::number(r.body.size()) + "\r\nConnection: close\r\n\r\n" + r.body;
    socket->write(answer);
    socket->disconnectFromHost();
}
