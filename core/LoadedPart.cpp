#include "core/LoadedPart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

QObject *LoadPart(const QString &name, QString *problem)
{
#ifdef Q_OS_WIN
    const QString file = name + QStringLiteral(".dll");
#else
    const QString file = name + QStringLiteral(".so");
#endif
    const QString programDir = QCoreApplication::applicationDirPath();
    QStringList folders{programDir};
#ifdef ZEPH_INSTALLED_PART_DIR
    folders << QDir::cleanPath(programDir + QStringLiteral("/" ZEPH_INSTALLED_PART_DIR));
#endif
    folders << QCoreApplication::libraryPaths();
    folders.removeDuplicates();
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo(path).isFile())
            continue;
        QPluginLoader loader(path);
        if (QObject *root = loader.instance())
            return root;
        *problem = QStringLiteral("%1 cannot be loaded: %2").arg(QDir::toNativeSeparators(path), loader.errorString());
        return nullptr;
    }
    *problem = QStringLiteral("%1 is not installed (looked in %2)")
                   .arg(file, QDir::toNativeSeparators(folders.join(QStringLiteral(", "))));
    return nullptr;
}
