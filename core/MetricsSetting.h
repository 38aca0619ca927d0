#pragma once
// Where the configuration asks for a server of the ring: the key ("metrics" for the page,
// "modbus" for the registers) names the TCP port and the key with "_address" the address to
// listen on, 127.0.0.1 when it is missing.
#include <QString>

struct MetricsSetting
{
    quint16 port = 0;  // 0: no server
    QString address = QStringLiteral("127.0.0.1");  // an IP address, as Qt writes it
    // The value that cannot be used, named: "metrics=99999 in /etc/...: not a TCP port (1 to 65535)".
    QString problem;

    // "127.0.0.1:9420", "[::1]:9420".
    QString Where() const;
};

MetricsSetting ReadMetricsSetting(const QString &iniPath, const QString &key = QStringLiteral("metrics"));
