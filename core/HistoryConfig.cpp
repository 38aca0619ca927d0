#include "core/HistoryConfig.h"

#include "core/Ini.h"
#include "history/RingHistory.h"

QString HistoryPath(const QString &iniPath)
{
    if (ReadIniString(kAppTitle, QStringLiteral("history"), iniPath).compare(QStringLiteral("off"), Qt::CaseInsensitive) == 0)
        return {};
    return ConfiguredFilePath(iniPath, QStringLiteral("history"), QStringLiteral("ring-history.sqlite"));
}

int HistoryDays(const QString &iniPath)
{
    const int days = ReadIniInt(kAppTitle, QStringLiteral("history_days"), iniPath);
    return days > 0 ? days : RingHistory::kDefaultKeepDays;
}
