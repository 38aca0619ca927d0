#pragma once
// What the command line asks for: the watcher without a window (--headless), one scan judged for
// a script (--check, with --json and --window), the usage or the version. The windows take no
// option: any argument is read here, before any application object exists.
#include <QString>
#include <QStringList>
#include <cstdint>

struct CommandLine
{
    enum class Mode { Watch, Check, Help, Version };

    static constexpr int64_t kDefaultWindowMs = 15 * 60 * 1000;

    Mode mode = Mode::Watch;
    QString configPath;  // --config; empty: the file the program uses by default
    bool json = false;
    int64_t windowMs = kDefaultWindowMs;  // --window: how far back the check looks for an increase
    QString problem;     // the option that cannot be used, named

    static const QString kUsage;

    // arguments: without the program's name.
    static CommandLine Parse(const QStringList &arguments);
    // "15m", "900s", "1h", "900" (seconds) as ms; -1 for anything else or nothing.
    static int64_t DurationMs(const QString &text);
};
