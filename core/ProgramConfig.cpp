#include "core/ProgramConfig.h"

#include "core/HistoryConfig.h"
#include "core/Ini.h"
#include "core/RingLog.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
// A century of scans kept one by one: more is a slip of the finger.
constexpr int kMostHistoryDays = 36500;

// A whole number 0 to 255 as the file holds it; -1 for anything else.
int ByteValue(const QString &key, const QString &iniPath)
{
    const int32_t value = ReadIniInt(kAppTitle, key, iniPath);
    return value >= 0 && value <= 255 ? value : -1;
}
} // namespace

ProgramConfig ProgramConfig::Read(const QString &iniPath)
{
    ProgramConfig config;
    config.iniPath = iniPath;
    const QFileInfo file(iniPath);
    config.mFound = file.isFile();
    config.mModified = file.lastModified();
    config.mSize = file.exists() ? file.size() : -1;
    config.comport = ByteValue(QStringLiteral("comport"), iniPath);
    config.comportText = ReadIniString(kAppTitle, QStringLiteral("comport"), iniPath);
    config.debug = ByteValue(QStringLiteral("debug"), iniPath) == kDebugValue;
    config.alarmBeep = ReadIniInt(kAppTitle, QStringLiteral("alarm"), iniPath) == 1;
    for (int n = 1; n <= 4; ++n)
        config.devices[size_t(n)] = ReadIniString(kAppTitle, QStringLiteral("COM%1").arg(n), iniPath);
    config.logPath = RingLog::ConfiguredPath(iniPath);
    config.historyPath = HistoryPath(iniPath);
    config.historyDays = HistoryDays(iniPath);
    const QString days = ReadIniString(kAppTitle, QStringLiteral("history_days"), iniPath);
    if (!days.isEmpty()) {
        bool ok = false;
        const int value = days.toInt(&ok);
        if (!ok || value < 1 || value > kMostHistoryDays)
            config.historyDaysProblem = QCoreApplication::translate("ProgramConfig", "history_days=%1 in %2: not a number of days (1 to %3)")
                                            .arg(days, iniPath).arg(kMostHistoryDays);
    }
    config.metrics = ReadMetricsSetting(iniPath);
    config.modbus = ReadMetricsSetting(iniPath, QStringLiteral("modbus"));
    config.language = ReadIniString(kAppTitle, QStringLiteral("language"), iniPath).trimmed();
    const QString interval = ReadIniString(kAppTitle, QStringLiteral("scan_interval"), iniPath);
    if (!interval.isEmpty()) {
        bool ok = false;
        config.scanIntervalS = interval.toInt(&ok);
        if (!ok || config.scanIntervalS < 0 || config.scanIntervalS > 86400) {
            config.scanIntervalS = 10;
            config.scanIntervalProblem =
                QCoreApplication::translate("ProgramConfig", "scan_interval=%1 in %2: not a number of seconds (0 to 86400)").arg(interval, iniPath);
        }
    }
    return config;
}

bool ProgramConfig::Stale() const
{
    const QFileInfo file(iniPath);
    return file.lastModified() != mModified || (file.exists() ? file.size() : -1) != mSize;
}

QString ProgramConfig::WatchProblem() const
{
    if (!mFound)
        return QCoreApplication::translate("ProgramConfig", "%1: no such configuration file").arg(iniPath);
    if (!HasComPort())
        return ComPortProblem();
    if (!metrics.problem.isEmpty())
        return metrics.problem;
    if (!modbus.problem.isEmpty())
        return modbus.problem;
    if (!historyDaysProblem.isEmpty())
        return historyDaysProblem;
    return scanIntervalProblem;
}

QString ProgramConfig::ComPortProblem() const
{
    if (HasComPort())
        return {};
    return comportText.isEmpty() ? QCoreApplication::translate("ProgramConfig", "comport missing in %1: it names the port, 1 to 4").arg(iniPath)
                                 : QCoreApplication::translate("ProgramConfig", "comport=%1 in %2: not a port number 1 to 4").arg(comportText, iniPath);
}
