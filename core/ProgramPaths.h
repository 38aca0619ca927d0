#pragma once
// Where the program keeps its configuration file.
#include <QString>
#include <QStringList>
#include <functional>

// The program's directory with one separator after it, then the program's file name
// without its extension, then ".ini".
QString BuildIniPath(const QString &programDir, const QString &programFileName);

// The file beside the program wherever that folder can be written or the file is there
// already (a build tree or a copied folder); otherwise, for an installed program whose
// folder belongs to the system (see IsSystemProgramFolder), the same file name in userConfigDir.
QString ChooseIniPath(const QString &programDir, const QString &programFileName,
                      const QString &userConfigDir,
                      const std::function<bool(const QString &dir)> &folderIsWritable);

// Whether a file can be created in dir: tried, not guessed from permission bits.
bool FolderIsWritable(const QString &dir);

// The folders an installed program lives in, which are never written even where they can
// be (root can write /usr/bin, but a file there would outlive the package): on Windows
// everything inside the program folders (C:\Program Files and its 32-bit twin).
bool IsSystemProgramFolder(const QString &dir);

// Whether dir is one of roots or lies inside one, compared as Windows compares paths: without
// regard to case, either separator. Empty roots match nothing.
bool LiesInWindowsFolder(const QString &dir, const QStringList &roots);

// The configuration file of the running program.
QString ProgramIniPath();
