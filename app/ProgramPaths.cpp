#include "app/ProgramPaths.h"

#include <QCoreApplication>
#include <QFileInfo>

QString BuildIniPath(const QString &programDir, const QString &programFileName)
{
    QString path = programDir;
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('/');
    return path + QFileInfo(programFileName).completeBaseName() + QStringLiteral(".ini");
}

QString ProgramIniPath()
{
    return BuildIniPath(QCoreApplication::applicationDirPath(),
                        QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}
