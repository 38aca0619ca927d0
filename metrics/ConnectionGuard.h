#pragma once
// Keeps the clients of a server from wearing the program down: at most kMaxConnections at a
// time, at most kHeldLimit bytes of requests and answers waiting over all of them, and each
// connection closed kIdleMs after it opened or after its last answer went out. A connection
// being answered keeps its place; a new one takes the place of one that never asked, or of one
// between requests, or is refused.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <list>

class QTcpSocket;

class ConnectionGuard : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxConnections = 256;
    static constexpr qint64 kReadLimit = 16 * 1024;
    static constexpr qint64 kHeldLimit = 16 * 1024 * 1024;
    static constexpr int kIdleMs = 5000;
    static constexpr int kSweepMs = 1000;

    explicit ConnectionGuard(QObject *parent = nullptr);

    // Takes the connection under guard; false: refused, and closed.
    bool Admit(QTcpSocket *socket);
    // A whole request arrived: the connection is being answered until its answers have gone out.
    void Asked(QTcpSocket *socket);
    // Drops the connections whose answers have waited unread longest until an answer of that
    // many bytes fits beside what all hold; false when it cannot.
    bool MakeRoom(const QTcpSocket *socket, qint64 bytes);
    // Closes it at once; what was not sent is dropped.
    void Drop(QTcpSocket *socket);

    int Connections() const { return int(mConnections.size()); }
    // Requests read and not yet taken, and answers not yet sent, of all connections.
    qint64 Held() const;
    // The sweep timer's handler: closes the connections whose time is up.
    void CloseIdle();

private:
    struct Connection
    {
        QTcpSocket *socket;
        int64_t deadlineMs;
        bool spoke = false;          // sent anything at all
        int64_t askedMs = -1;        // when its oldest request not yet answered came; -1: none
    };
    using Entry = std::list<Connection>::iterator;

    Entry Find(const QTcpSocket *socket);
    bool BeingAnswered(const Connection &connection) const;
    void Remove(Entry entry);

    std::list<Connection> mConnections;  // oldest first
    QTimer mSweep;
};
