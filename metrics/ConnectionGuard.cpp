#include "metrics/ConnectionGuard.h"

#include "model/Clock.h"

#include <QTcpSocket>

ConnectionGuard::ConnectionGuard(QObject *parent)
    : QObject(parent)
{
    mSweep.setInterval(kSweepMs);
    mSweep.setTimerType(Qt::CoarseTimer);
    connect(&mSweep, &QTimer::timeout, this, &ConnectionGuard::CloseIdle);
}

bool ConnectionGuard::BeingAnswered(const Connection &connection) const
{
    return connection.askedMs >= 0 || connection.socket->bytesToWrite() > 0;
}

bool ConnectionGuard::Admit(QTcpSocket *socket)
{
    if (int(mConnections.size()) >= kMaxConnections) {
        Entry victim = std::find_if(mConnections.begin(), mConnections.end(), [this](const Connection &c) {
            return !c.spoke && !BeingAnswered(c);
        });
        if (victim == mConnections.end())
            victim = std::find_if(mConnections.begin(), mConnections.end(),
                                  [this](const Connection &c) { return !BeingAnswered(c); });
        if (victim == mConnections.end()) {
            socket->abort();
            return false;
        }
        Drop(victim->socket);
    }
    // A request that does not fit stops being read.
    socket->setReadBufferSize(kReadLimit);
    const Entry entry = mConnections.insert(mConnections.end(), {socket, TheClock().ElapsedMs() + kIdleMs});
    connect(socket, &QObject::destroyed, this, [this, entry] { mConnections.erase(entry); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (const Entry found = Find(socket); found != mConnections.end())
            Remove(found);
    });
    connect(socket, &QTcpSocket::readyRead, this, [entry] { entry->spoke = true; });
    connect(socket, &QTcpSocket::bytesWritten, this, [socket, entry] {
        if (socket->bytesToWrite() == 0) {
            entry->askedMs = -1;
            entry->deadlineMs = TheClock().ElapsedMs() + kIdleMs;
        }
    });
    // After the request has been answered: an answer too big for what all may hold drops the
    // connections that read least.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { MakeRoom(socket, 0); }, Qt::QueuedConnection);
    if (!mSweep.isActive())
        mSweep.start();
    return true;
}

void ConnectionGuard::Asked(QTcpSocket *socket)
{
    if (const Entry entry = Find(socket); entry != mConnections.end() && entry->askedMs < 0)
        entry->askedMs = TheClock().ElapsedMs();
}

qint64 ConnectionGuard::Held() const
{
    qint64 held = 0;
    for (const Connection &connection : mConnections)
        held += connection.socket->bytesAvailable() + connection.socket->bytesToWrite();
    return held;
}

bool ConnectionGuard::MakeRoom(const QTcpSocket *socket, qint64 bytes)
{
    for (qint64 held = Held(); held + bytes > kHeldLimit; held = Held()) {
        Entry slowest = mConnections.end();
        for (Entry entry = mConnections.begin(); entry != mConnections.end(); ++entry)
            if (entry->socket != socket && entry->socket->bytesToWrite() > 0
                && (slowest == mConnections.end() || entry->askedMs < slowest->askedMs))
                slowest = entry;
        if (slowest == mConnections.end())
            return false;
        Drop(slowest->socket);
    }
    return true;
}

ConnectionGuard::Entry ConnectionGuard::Find(const QTcpSocket *socket)
{
    return std::find_if(mConnections.begin(), mConnections.end(),
                        [socket](const Connection &connection) { return connection.socket == socket; });
}

void ConnectionGuard::Remove(Entry entry)
{
    QTcpSocket *socket = entry->socket;
    mConnections.erase(entry);
    disconnect(socket, nullptr, this, nullptr);
}

void ConnectionGuard::Drop(QTcpSocket *socket)
{
    const Entry entry = Find(socket);
    if (entry == mConnections.end())
        return;
    Remove(entry);
    // Nothing more of it is read; its server deletes it once it is disconnected.
    disconnect(socket, &QIODevice::readyRead, nullptr, nullptr);
    socket->abort();
}

void ConnectionGuard::CloseIdle()
{
    const int64_t now = TheClock().ElapsedMs();
    std::vector<QTcpSocket *> due;
    for (const Connection &connection : mConnections)
        if (now >= connection.deadlineMs)
            due.push_back(connection.socket);
    for (QTcpSocket *socket : due)
        Drop(socket);
    if (mConnections.empty())
        mSweep.stop();
}
