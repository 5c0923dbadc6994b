#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QTcpServer>
#include <QUrl>

#include <functional>

// A loopback stand-in of the search services. The browser is pointed at it as its HTTP proxy, so
// every plain request arrives with its absolute URL; an https request arrives as a CONNECT tunnel,
// which the stand-in answers and then ends in TLS with a test certificate (the browser is told to
// accept it), so the test sees exactly what the program sent in both cases.
class StandInServer : public QObject
{
    Q_OBJECT
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        bool closeWithoutAnswer = false; // the connection ends before any answer: a page that never arrives
        bool neverAnswer = false; // the connection stays open without an answer: a load that never ends
        QByteArray location;      // with status 302: where the browser is sent
    };
    using Handler = std::function<Response(const QUrl&)>;

    // A free loopback port, to name in the browser's flags before the application object exists.
    static quint16 reservePort();

    bool listen(quint16 port);
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Requests for the search hosts only (the start-up page and favicons are left out).
    QList<QUrl> searches() const;
    QList<QUrl> requests;
    QList<QByteArray>
        requestTargets; // the request lines' targets, byte for byte (tunnelled: https://host + target)
    QList<QByteArray> requestHeads; // each request's lines up to the blank line, as sent

private:
    class Server;
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Response& r);

    Server* m_server;
    Handler m_handler;
};
