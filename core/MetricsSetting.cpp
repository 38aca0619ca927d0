#include "core/MetricsSetting.h"

#include "core/Ini.h"

QString MetricsSetting::Where() const
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QStringLiteral("[%1]").arg(address.toString())
        : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

MetricsSetting ReadMetricsSetting(const QString &iniPath)
{
    MetricsSetting setting;
    const QString portText = ReadIniString(kAppTitle, QStringLiteral("metrics"), iniPath);
    if (portText.isEmpty())
        return setting;
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        setting.problem = QStringLiteral("metrics=%1 in %2: not a TCP port (1 to 65535)").arg(portText, iniPath);
        return setting;
    }
    const QString addressText = ReadIniString(kAppTitle, QStringLiteral("metrics_address"), iniPath);
    if (!addressText.isEmpty() && !setting.address.setAddress(addressText)) {
        setting.problem = QStringLiteral("metrics_address=%1 in %2: not an IP address").arg(addressText, iniPath);
        return setting;
    }
    setting.port = quint16(port);
    return setting;
}
