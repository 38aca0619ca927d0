#pragma once
// A TCP server whose clients cannot wear the program down: at most kMaxConnections at a time
// (a new one closes the oldest), at most kReadLimit bytes of a request kept, at most kQueuedLimit
// bytes of answers left unread, and each connection closed kIdleMs after it opened or after its
// last answer went out, whatever it sent meanwhile.
#include <QTcpServer>
#include <QTimer>
#include <cstdint>
#include <list>

class QTcpSocket;

class GuardedTcpServer : public QTcpServer
{
    Q_OBJECT

public:
    static constexpr int kMaxConnections = 256;
    static constexpr qint64 kReadLimit = 16 * 1024;
    static constexpr qint64 kQueuedLimit = 4 * 1024 * 1024;
    static constexpr int kIdleMs = 5000;
    static constexpr int kSweepMs = 1000;

    explicit GuardedTcpServer(QObject *parent = nullptr);

    int Connections() const { return int(mConnections.size()); }
    // The sweep timer's handler: closes the connections whose time is up.
    void CloseIdle();

protected:
    void incomingConnection(qintptr handle) override;

private:
    struct Connection
    {
        QTcpSocket *socket;
        int64_t deadlineMs;
    };
    using Entry = std::list<Connection>::iterator;

    // Closes it at once; what was not sent is dropped.
    void Drop(Entry entry);
    Entry Find(const QTcpSocket *socket);

    std::list<Connection> mConnections;  // oldest first
    QTimer mSweep;
};
