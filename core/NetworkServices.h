#pragma once
// What the network part, loaded only when the configuration asks for a service, serves for the
// core; the core itself links no network library.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Clock;

class NetworkServices
{
public:
    static constexpr char kPartName[] = "zephlink9-network";

    virtual ~NetworkServices() = default;

    // The metrics page at http://address:port/metrics, page() as it is at each request; the
    // server serves until it is deleted. Null, with reason, when it cannot listen there. clock:
    // the program's clock, for the connections' idle limits.
    virtual std::unique_ptr<QObject> ServeMetrics(const QString &address, quint16 port,
                                                  std::function<QByteArray()> page, Clock &clock,
                                                  QString *reason) = 0;
    // The ring's registers over Modbus TCP, read-only: registers(first, count) as they stand at
    // each request. Null, with reason, when it cannot listen there.
    virtual std::unique_ptr<QObject> ServeModbus(const QString &address, quint16 port,
                                                 std::function<std::vector<uint16_t>(int first, int count)> registers,
                                                 Clock &clock, QString *reason) = 0;
};

#define ZephNetworkServices_iid "zephlink9.NetworkServices/2"
Q_DECLARE_INTERFACE(NetworkServices, ZephNetworkServices_iid)
