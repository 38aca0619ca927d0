#include "core/HistoryConfig.h"

#include "core/Ini.h"
#include "history/RingHistory.h"

#include <QDir>
#include <QFileInfo>

QString HistoryPath(const QString &iniPath)
{
    const QString name = ReadIniString(kAppTitle, QStringLiteral("history"), iniPath, QStringLiteral("ring-history.sqlite"));
    if (name.compare(QStringLiteral("off"), Qt::CaseInsensitive) == 0)
        return {};
    return QFileInfo(iniPath).absoluteDir().absoluteFilePath(name);
}

int HistoryDays(const QString &iniPath)
{
    const int days = ReadIniInt(kAppTitle, QStringLiteral("history_days"), iniPath);
    return days > 0 ? days : RingHistory::kDefaultKeepDays;
}
