#pragma once
// Serves the metrics page over HTTP on the program's thread: GET and HEAD of /metrics; any
// other path is 404 and any other method 405. Nothing a request says changes the program.
#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHostAddress>
#include <functional>

class GuardedTcpServer;

class MetricsServer : public QAbstractHttpServer
{
public:
    // page: the page as it is at the moment of the request.
    explicit MetricsServer(std::function<QByteArray()> page, QObject *parent = nullptr);

    // Empty once it listens; otherwise the system's reason.
    QString Listen(const QHostAddress &address, quint16 port);
    // The listening socket's server, null before Listen succeeded.
    GuardedTcpServer *Tcp() const { return mTcp; }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    std::function<QByteArray()> mPage;
    GuardedTcpServer *mTcp = nullptr;
};
