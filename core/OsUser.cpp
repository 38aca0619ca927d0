#include "core/OsUser.h"

#include <QSysInfo>
#include <iterator>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

QString OsUserName()
{
    for (const char *name : {"USER", "USERNAME"}) {
        const QString user = qEnvironmentVariable(name);
        if (!user.isEmpty())
            return user;
    }
#ifdef Q_OS_WIN
    wchar_t buffer[257];
    DWORD size = DWORD(std::size(buffer));
    if (GetUserNameW(buffer, &size) && size > 0)
        return QString::fromWCharArray(buffer, int(size) - 1);
    return {};
#else
    const passwd *entry = getpwuid(geteuid());
    return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : QString();
#endif
}

QString ComputerName() { return QSysInfo::machineHostName(); }
