#include "metrics/GuardedTcpServer.h"

#include <QTcpSocket>

GuardedTcpServer::GuardedTcpServer(QObject *parent)
    : QTcpServer(parent)
{
    setListenBacklogSize(ConnectionGuard::kMaxConnections);
}

void GuardedTcpServer::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle) || !mGuard.Admit(socket)) {
        delete socket;
        return;
    }
    addPendingConnection(socket);
}
