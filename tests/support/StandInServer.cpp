#include "support/StandInServer.h"

#include "TestData.h"

#include <QSslSocket>
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

// Every connection is a TLS-capable socket that starts in the clear: a tunnel turns to TLS after its
// CONNECT has been answered.
class StandInServer::Server : public QTcpServer
{
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto* socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        addPendingConnection(socket);
    }
};

bool StandInServer::listen(quint16 port)
{
    m_server = new Server(this);
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return m_server->listen(QHostAddress::LocalHost, port);
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
    if (requestLine.value(0) == "CONNECT") {
        auto* tls = qobject_cast<QSslSocket*>(socket);
        const QByteArray host = requestLine.value(1).split(':').value(0);
        socket->setProperty("tunnelHost", host);
        socket->write("HTTP/1.1 200 Connection established\r\n\r\n");
        tls->setLocalCertificate(QSslCertificate(testdata::bytes("standin-cert.pem")));
        tls->setPrivateKey(QSslKey(testdata::bytes("standin-key.pem"), QSsl::Rsa));
        tls->startServerEncryption();
        return;
    }
    const QByteArray tunnelHost = socket->property("tunnelHost").toByteArray();
    const QByteArray target =
        tunnelHost.isEmpty() ? requestLine.value(1) : "https://" + tunnelHost + requestLine.value(1);
    const QUrl url = QUrl::fromEncoded(target);
    requests.append(url);
    requestTargets.append(target);
    requestHeads.append(buffer.left(buffer.indexOf("\r\n\r\n")));

    Response r;
    if (m_handler && (isSearchHost(url) || url.host() == QStringLiteral("wappass.baidu.com")))
        r = m_handler(url);
    else
        r.status = 404;
    answer(socket, r);
}

void StandInServer::answer(QTcpSocket* socket, const Response& r)
{
    if (r.closeWithoutAnswer) {
        socket->abort();
        return;
    }
    if (r.neverAnswer)
        return; // the connection stays open and silent until the browser gives up
    const QByteArray reason = r.status == 200 ? " OK" : r.status == 302 ? " Found" : " Not Found";
    QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + reason;
    if (!r.location.isEmpty())
        head += "\r\nLocation: " + r.location;
    socket->write(head + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                  QByteArray::number(r.body.size()) + "\r\nConnection: close\r\n\r\n" + r.body);
    socket->disconnectFromHost();
}
