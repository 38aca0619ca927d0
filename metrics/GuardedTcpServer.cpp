#include "metrics/GuardedTcpServer.h"

#include "model/Clock.h"

#include <QPointer>
#include <QTcpSocket>

GuardedTcpServer::GuardedTcpServer(QObject *parent)
    : QTcpServer(parent)
{
    setListenBacklogSize(kMaxConnections);
    mSweep.setInterval(kSweepMs);
    mSweep.setTimerType(Qt::CoarseTimer);
    connect(&mSweep, &QTimer::timeout, this, &GuardedTcpServer::CloseIdle);
}

void GuardedTcpServer::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    if (int(mConnections.size()) >= kMaxConnections)
        Drop(mConnections.begin());
    // A request that does not fit stops being read; its connection waits for its deadline.
    socket->setReadBufferSize(kReadLimit);
    const Entry entry = mConnections.insert(mConnections.end(), {socket, TheClock().ElapsedMs() + kIdleMs});
    connect(socket, &QObject::destroyed, this, [this, entry] { mConnections.erase(entry); });
    connect(socket, &QTcpSocket::bytesWritten, this, [socket, entry] {
        if (socket->bytesToWrite() == 0)
            entry->deadlineMs = TheClock().ElapsedMs() + kIdleMs;
    });
    // Queued: after the request has been answered. A client that asks without reading piles up
    // answers in memory.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket = QPointer<QTcpSocket>(socket)] {
        if (socket && socket->bytesToWrite() > kQueuedLimit)
            if (const Entry entry = Find(socket); entry != mConnections.end())
                Drop(entry);
    }, Qt::QueuedConnection);
    if (!mSweep.isActive())
        mSweep.start();
    addPendingConnection(socket);
}

GuardedTcpServer::Entry GuardedTcpServer::Find(const QTcpSocket *socket)
{
    return std::find_if(mConnections.begin(), mConnections.end(),
                        [socket](const Connection &connection) { return connection.socket == socket; });
}

void GuardedTcpServer::Drop(Entry entry)
{
    QTcpSocket *socket = entry->socket;
    mConnections.erase(entry);
    disconnect(socket, nullptr, this, nullptr);
    // Nothing more of it is read, nor what the HTTP server queued to read; the HTTP server
    // deletes it once it is disconnected.
    disconnect(socket, &QIODevice::readyRead, nullptr, nullptr);
    socket->abort();
}

void GuardedTcpServer::CloseIdle()
{
    const int64_t now = TheClock().ElapsedMs();
    for (Entry entry = mConnections.begin(); entry != mConnections.end();)
        if (now >= entry->deadlineMs)
            Drop(entry++);
        else
            ++entry;
    if (mConnections.empty())
        mSweep.stop();
}
