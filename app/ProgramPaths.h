#pragma once
// Where the program keeps its configuration file.
#include <QString>

// The program's directory with one separator after it, then the program's file name
// without its extension, then ".ini".
QString BuildIniPath(const QString &programDir, const QString &programFileName);

// The configuration file of the running program.
QString ProgramIniPath();
