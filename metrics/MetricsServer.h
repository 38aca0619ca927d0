#pragma once
// Serves the metrics page over HTTP/1.1 on the program's thread: GET and HEAD of /metrics; any
// other path is 404 and any other method 405. A connection's requests are answered one at a
// time, the next read only once the answer before it has gone out; "Connection: close" and
// HTTP/1.0 close after the answer. Nothing a request says changes the program.
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <functional>

class GuardedTcpServer;
class QTcpSocket;

class MetricsServer : public QObject
{
public:
    // page: the page as it is at the moment of the request.
    explicit MetricsServer(std::function<QByteArray()> page, QObject *parent = nullptr);

    // Empty once it listens; otherwise the system's reason.
    QString Listen(const QHostAddress &address, quint16 port);
    // The listening socket's server, null before Listen succeeded.
    GuardedTcpServer *Tcp() const { return mTcp; }

private:
    void Take(QTcpSocket *socket);
    // Answers the requests the connection has sent, while each answer goes out at once.
    void Serve(QTcpSocket *socket);

    std::function<QByteArray()> mPage;
    GuardedTcpServer *mTcp = nullptr;
};
