#include "core/ProgramPaths.h"

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

bool LiesInWindowsFolder(const QString &dir, const QStringList &roots)
{
    const auto clean = [](const QString &path) {
        return QDir::cleanPath(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    };
    const QString path = clean(dir);
    for (const QString &root : roots) {
        if (root.isEmpty())
            continue;
        QString folder = clean(root);
        if (path.compare(folder, Qt::CaseInsensitive) == 0)
            return true;
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        if (path.startsWith(folder, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool IsSystemProgramFolder(const QString &dir)
{
#ifdef Q_OS_UNIX
    static const QStringList systemFolders{QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin"),
                                           QStringLiteral("/bin"), QStringLiteral("/usr/sbin")};
    return systemFolders.contains(QDir::cleanPath(dir));
#else
    // Windows names its program folders to every process; the installer puts the program there.
    return LiesInWindowsFolder(dir, {qEnvironmentVariable("ProgramFiles"), qEnvironmentVariable("ProgramW6432"),
                                     qEnvironmentVariable("ProgramFiles(x86)")});
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
