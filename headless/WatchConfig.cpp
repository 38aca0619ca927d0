#include "headless/WatchConfig.h"

#include "core/Ini.h"
#include "core/MetricsSetting.h"

#include <QFileInfo>

WatchConfig WatchConfig::Read(const QString &iniPath)
{
    WatchConfig config;
    if (!QFileInfo(iniPath).isFile()) {
        config.problem = QStringLiteral("%1: no such configuration file").arg(iniPath);
        return config;
    }
    const QString comport = ReadIniString(kAppTitle, QStringLiteral("comport"), iniPath);
    const int32_t number = ReadIniInt(kAppTitle, QStringLiteral("comport"), iniPath);
    if (number < 1 || number > 4) {
        config.problem = comport.isEmpty()
            ? QStringLiteral("comport missing in %1: it names the port, 1 to 4").arg(iniPath)
            : QStringLiteral("comport=%1 in %2: not a port number 1 to 4").arg(comport, iniPath);
        return config;
    }
    config.comport = number;
    config.problem = ReadMetricsSetting(iniPath).problem;
    return config;
}
