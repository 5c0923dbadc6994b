#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QUrl>

#include <functional>

// A loopback stand-in of the search services. The browser is pointed at it as its HTTP proxy, so
// every request arrives with its absolute URL and the test sees exactly what the program sent.
class StandInServer : public QObject
{
    Q_OBJECT
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        bool closeWithoutAnswer = false; // the connection ends before any answer: a page that never arrives
    };
    using Handler = std::function<Response(const QUrl&)>;

    // A free loopback port, to name in the browser's flags before the application object exists.
    static quint16 reservePort();

    bool listen(quint16 port);
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Requests for the search hosts only (the start-up page and favicons are left out).
    QList<QUrl> searches() const;
    QList<QUrl> requests;
    QList<QByteArray> requestTargets; // the request lines' targets, byte for byte
    QList<QByteArray> requestHeads;   // each request's lines up to the blank line, as sent

private:
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    Handler m_handler;
};
