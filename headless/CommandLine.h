#pragma once
// What the command line asks for: the program with its windows (no options), the watcher
// without a window (--headless), or one scan judged for a script (--check, with --json).
#include <QString>
#include <QStringList>

struct CommandLine
{
    enum class Mode { Window, Watch, Check, Help };

    Mode mode = Mode::Window;
    QString configPath;  // --config; empty: the file the program uses by default
    bool json = false;
    QString problem;     // the option that cannot be used, named

    static const QString kUsage;

    // arguments: without the program's name.
    static CommandLine Parse(const QStringList &arguments);
    // Whether the arguments ask for anything but the windows; read before any application object
    // exists, so that a run without a window never touches a display.
    static bool WantsNoWindow(int argc, const char *const *argv);
};
