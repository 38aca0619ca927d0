#include "network/NetworkPart.h"

#include "metrics/MetricsServer.h"
#include "modbus/ModbusServer.h"
#include "model/Clock.h"

#include <QHostAddress>

std::unique_ptr<QObject> NetworkPart::ServeMetrics(const QString &address, quint16 port,
                                                   std::function<QByteArray()> page, Clock &clock, QString *reason)
{
    // This part has its own copy of the clock's switch: it reads the program's clock.
    SetClock(&clock);
    auto server = std::make_unique<MetricsServer>(std::move(page));
    *reason = server->Listen(QHostAddress(address), port);
    if (!reason->isEmpty())
        return nullptr;
    return server;
}

std::unique_ptr<QObject> NetworkPart::ServeModbus(const QString &address, quint16 port,
                                                  std::function<std::vector<uint16_t>(int first, int count)> registers,
                                                  Clock &clock, QString *reason)
{
    SetClock(&clock);
    auto server = std::make_unique<ModbusServer>(std::move(registers));
    *reason = server->Listen(QHostAddress(address), port);
    if (!reason->isEmpty())
        return nullptr;
    return server;
}
