#include "app/DurationText.h"

#include <QCoreApplication>

QString DurationText(int64_t ms)
{
    const int64_t seconds = (ms + 500) / 1000;
    if (seconds < 60)
        return QCoreApplication::translate("DurationText", "%1 s").arg(seconds);
    const int64_t minutes = seconds / 60;
    if (minutes < 60)
        return QCoreApplication::translate("DurationText", "%1 min").arg(minutes);
    const int64_t hours = minutes / 60;
    if (hours < 24)
        return QCoreApplication::translate("DurationText", "%1 h %2 min").arg(hours).arg(minutes % 60);
    return QCoreApplication::translate("DurationText", "%1 d %2 h").arg(hours / 24).arg(hours % 24);
}
