#include "modbus/ModbusServer.h"

#include <QModbusTcpConnectionObserver>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// The TCP header before the unit ID: transaction, protocol and length; a frame's length counts
// the unit ID and at most 253 bytes of request.
constexpr qsizetype kHeader = 6;
constexpr int kMaxLength = 254;

class Admission : public QModbusTcpConnectionObserver
{
public:
    explicit Admission(std::function<bool(QTcpSocket *)> admit) : mAdmit(std::move(admit)) {}
    bool acceptNewConnection(QTcpSocket *newClient) override { return mAdmit(newClient); }

private:
    std::function<bool(QTcpSocket *)> mAdmit;
};

} // namespace

ModbusServer::ModbusServer(Registers registers, QObject *parent)
    : QModbusTcpServer(parent), mRegisters(std::move(registers))
{
    installConnectionObserver(new Admission([this](QTcpSocket *socket) { return Admit(socket); }));
}

QString ModbusServer::Listen(const QHostAddress &address, quint16 port)
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QStringLiteral("[%1]").arg(address.toString())
        : address.toString();
    setConnectionParameter(QModbusDevice::NetworkAddressParameter, host);
    setConnectionParameter(QModbusDevice::NetworkPortParameter, port);
    if (QTcpServer *tcp = findChild<QTcpServer *>())
        tcp->setListenBacklogSize(ConnectionGuard::kMaxConnections);
    if (connectDevice())
        return {};
    return errorString();
}

quint16 ModbusServer::Port() const
{
    const QTcpServer *tcp = findChild<QTcpServer *>();
    return tcp && tcp->isListening() ? tcp->serverPort() : 0;
}

bool ModbusServer::Admit(QTcpSocket *socket)
{
    if (!mGuard.Admit(socket))
        return false;
    mPending.insert(socket, {});
    // Before the server reads what arrived.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Arrived(socket); });
    connect(socket, &QObject::destroyed, this, [this, socket] { mPending.remove(socket); });
    return true;
}

void ModbusServer::Arrived(QTcpSocket *socket)
{
    mUnits.clear();
    mNextUnit = 0;
    QByteArray &pending = mPending[socket];
    pending += socket->peek(socket->bytesAvailable());
    while (pending.size() > kHeader) {
        const auto *bytes = reinterpret_cast<const uint8_t *>(pending.constData());
        const int protocol = bytes[2] << 8 | bytes[3];
        const int length = bytes[4] << 8 | bytes[5];
        if (protocol != 0 || length < 2 || length > kMaxLength) {
            mUnits.clear();
            pending.clear();
            mGuard.Drop(socket);
            return;
        }
        if (pending.size() < kHeader + length)
            break;
        mUnits.push_back(bytes[6]);
        pending.remove(0, kHeader + length);
        mGuard.Asked(socket);
    }
    if (!mUnits.empty())
        setServerAddress(mUnits[mNextUnit++]);
}

QModbusResponse ModbusServer::processRequest(const QModbusPdu &request)
{
    if (mNextUnit < mUnits.size())
        setServerAddress(mUnits[mNextUnit++]);
    const QModbusPdu::FunctionCode function = request.functionCode();
    if (function != QModbusPdu::ReadHoldingRegisters && function != QModbusPdu::ReadInputRegisters)
        return QModbusExceptionResponse(function, QModbusExceptionResponse::IllegalFunction);
    quint16 first = 0;
    quint16 count = 0;
    if (request.dataSize() != 4)
        return QModbusExceptionResponse(function, QModbusExceptionResponse::IllegalDataValue);
    request.decodeData(&first, &count);
    if (count < 1 || count > kMaxRead)
        return QModbusExceptionResponse(function, QModbusExceptionResponse::IllegalDataValue);
    if (int(first) + int(count) > 65536)
        return QModbusExceptionResponse(function, QModbusExceptionResponse::IllegalDataAddress);
    const std::vector<uint16_t> values = mRegisters(first, count);
    return QModbusResponse(function, quint8(count * 2), QList<quint16>(values.begin(), values.end()));
}
