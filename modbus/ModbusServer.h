#pragma once
// A read-only Modbus TCP server on the program's thread: function codes 03 and 04 read the same
// registers, whatever the unit ID; every other function gets exception 01, a read past register
// 65535 exception 02. Its connections are kept under a ConnectionGuard, and a connection that
// sends what is no Modbus TCP frame is closed. Nothing a request says changes the program.
#include "metrics/ConnectionGuard.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QModbusTcpServer>
#include <cstdint>
#include <functional>
#include <vector>

class QTcpSocket;

class ModbusServer : public QModbusTcpServer
{
public:
    static constexpr int kMaxRead = 125;

    // registers(first, count): the registers as they stand at the moment of the request.
    using Registers = std::function<std::vector<uint16_t>(int first, int count)>;
    explicit ModbusServer(Registers registers, QObject *parent = nullptr);

    // Empty once it listens; otherwise the system's reason.
    QString Listen(const QHostAddress &address, quint16 port);
    // The port it listens on; 0 before Listen succeeded.
    quint16 Port() const;
    ConnectionGuard &Guard() { return mGuard; }

protected:
    QModbusResponse processRequest(const QModbusPdu &request) override;

private:
    bool Admit(QTcpSocket *socket);
    // Before the frames that arrived are answered: their unit IDs, in order, each made the
    // server's address as its turn comes.
    void Arrived(QTcpSocket *socket);

    Registers mRegisters;
    ConnectionGuard mGuard;
    QHash<QTcpSocket *, QByteArray> mPending;  // bytes of a frame not yet whole, per connection
    std::vector<uint8_t> mUnits;
    size_t mNextUnit = 0;
};
