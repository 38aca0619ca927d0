#include "app/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString BuildIniPath(const QString &programDir, const QString &programFileName)
{
    QString path = programDir;
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('/');
    return path + QFileInfo(programFileName).completeBaseName() + QStringLiteral(".ini");
}

bool IsSystemProgramFolder(const QString &dir)
{
#ifdef Q_OS_UNIX
    static const QStringList systemFolders{QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin"),
                                           QStringLiteral("/bin"), QStringLiteral("/usr/sbin")};
    return systemFolders.contains(QDir::cleanPath(dir));
#else
    Q_UNUSED(dir);
    return false;
#endif
}

QString ChooseIniPath(const QString &programDir, const QString &programFileName,
                      const QString &userConfigDir,
                      const std::function<bool(const QString &dir)> &folderIsWritable)
{
    const QString beside = BuildIniPath(programDir, programFileName);
    const bool besideIsFine = QFileInfo::exists(beside)
        || (folderIsWritable(programDir) && !IsSystemProgramFolder(programDir));
    if (besideIsFine || userConfigDir.isEmpty())
        return beside;
    QDir().mkpath(userConfigDir);
    return BuildIniPath(userConfigDir, programFileName);
}

bool FolderIsWritable(const QString &dir)
{
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".zephlink9-write-test-XXXXXX")));
    return probe.open();
}

QString ProgramIniPath()
{
    return ChooseIniPath(QCoreApplication::applicationDirPath(),
                         QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                         QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                         FolderIsWritable);
}
