#pragma once
// The network part's entry: the services the core asks for when the configuration names them,
// built with Qt Network and Qt SerialBus, which the program itself does not load.
#include "core/NetworkServices.h"

#include <QObject>

class NetworkPart : public QObject, public NetworkServices
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZephNetworkServices_iid)
    Q_INTERFACES(NetworkServices)

public:
    std::unique_ptr<QObject> ServeMetrics(const QString &address, quint16 port, std::function<QByteArray()> page,
                                          Clock &clock, QString *reason) override;
    std::unique_ptr<QObject> ServeModbus(const QString &address, quint16 port,
                                         std::function<std::vector<uint16_t>(int first, int count)> registers,
                                         Clock &clock, QString *reason) override;
};
