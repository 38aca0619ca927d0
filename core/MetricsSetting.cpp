#include "core/MetricsSetting.h"

#include "core/Ini.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>

namespace {

// The IPv4 or IPv6 address written as text, as Qt writes it ("127.1" is 127.0.0.1; a scope
// such as "%eth0" stays); empty when the text is no IP address.
QString IpAddressText(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype percent = trimmed.indexOf(QLatin1Char('%'));
    const QString bare = trimmed.left(percent);
    if (bare.startsWith(QLatin1Char('[')))
        return {};
    QUrl url;
    url.setHost(bare, QUrl::StrictMode);
    const QString host = url.host();
    if (!url.isValid() || host.isEmpty())
        return {};
    if (host.contains(QLatin1Char(':')))
        return percent < 0 ? host : host + trimmed.mid(percent);
    static const QRegularExpression dotted(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = dotted.match(host);
    if (percent >= 0 || !match.hasMatch())
        return {};
    for (int part = 1; part <= 4; ++part)
        if (match.captured(part).toInt() > 255)
            return {};
    return host;
}

} // namespace

QString MetricsSetting::Where() const
{
    const QString host = address.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(address) : address;
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
        setting.problem = QCoreApplication::translate("MetricsSetting", "%1=%2 in %3: not a TCP port (1 to 65535)").arg(key, portText, iniPath);
        return setting;
    }
    const QString addressText = ReadIniString(kAppTitle, key + QStringLiteral("_address"), iniPath);
    if (!addressText.isEmpty()) {
        setting.address = IpAddressText(addressText);
        if (setting.address.isEmpty()) {
            setting.problem = QCoreApplication::translate("MetricsSetting", "%1_address=%2 in %3: not an IP address").arg(key, addressText, iniPath);
            return setting;
        }
    }
    setting.port = quint16(port);
    return setting;
}
