#include "core/HistoryConfig.h"

#include "core/Ini.h"
#include "history/RingHistory.h"

#include <QDir>

QString HistoryPath(const QString &iniPath)
{
    const QString configured = ReadIniString(kAppTitle, QStringLiteral("history"), iniPath);
    if (configured.compare(QStringLiteral("off"), Qt::CaseInsensitive) == 0)
        return {};
    const QString name = QStringLiteral("ring-history.sqlite");
    // systemd names the folders of the unit's StateDirectory= in it, separated by colons.
    const QString stateFolder = qEnvironmentVariable("STATE_DIRECTORY").section(QLatin1Char(':'), 0, 0);
    if (configured.isEmpty() && QDir::isAbsolutePath(stateFolder))
        return QDir(stateFolder).absoluteFilePath(name);
    return ConfiguredFilePath(iniPath, QStringLiteral("history"), name);
}

int HistoryDays(const QString &iniPath)
{
    const int days = ReadIniInt(kAppTitle, QStringLiteral("history_days"), iniPath);
    return days > 0 ? days : RingHistory::kDefaultKeepDays;
}
