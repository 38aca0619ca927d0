#pragma once
// A TCP server whose connections are kept under a ConnectionGuard from the moment they are
// accepted.
#include "metrics/ConnectionGuard.h"

#include <QTcpServer>

class GuardedTcpServer : public QTcpServer
{
    Q_OBJECT

public:
    explicit GuardedTcpServer(QObject *parent = nullptr);

    ConnectionGuard &Guard() { return mGuard; }

protected:
    void incomingConnection(qintptr handle) override;

private:
    ConnectionGuard mGuard;
};
