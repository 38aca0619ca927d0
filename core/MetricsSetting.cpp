#include "core/MetricsSetting.h"

#include "core/Ini.h"

QString MetricsSetting::Where() const
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QStringLiteral("[%1]").arg(address.toString())
        : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

MetricsSetting ReadMetricsSetting(const QString &iniPath, const QString &key)
{
    MetricsSetting setting;
    const QString portText = ReadIniString(kAppTitle, key, iniPath);
    if (portText.isEmpty())
        return setting;
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        setting.problem = QStringLiteral("%1=%2 in %3: not a TCP port (1 to 65535)").arg(key, portText, iniPath);
        return setting;
    }
    const QString addressText = ReadIniString(kAppTitle, key + QStringLiteral("_address"), iniPath);
    if (!addressText.isEmpty() && !setting.address.setAddress(addressText)) {
        setting.problem = QStringLiteral("%1_address=%2 in %3: not an IP address").arg(key, addressText, iniPath);
        return setting;
    }
    setting.port = quint16(port);
    return setting;
}
