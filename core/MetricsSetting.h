#pragma once
// Where the configuration asks for the metrics page: the key "metrics" names the TCP port and
// "metrics_address" the address to listen on, 127.0.0.1 when it is missing.
#include <QString>

struct MetricsSetting
{
    quint16 port = 0;  // 0: no page
    QString address = QStringLiteral("127.0.0.1");  // an IP address, as Qt writes it
    // The value that cannot be used, named: "metrics=99999 in /etc/...: not a TCP port (1 to 65535)".
    QString problem;

    // "127.0.0.1:9420", "[::1]:9420".
    QString Where() const;
};

MetricsSetting ReadMetricsSetting(const QString &iniPath);
