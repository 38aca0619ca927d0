#pragma once
// The configuration as a run without a window needs it, read once at start: the port to open,
// and the first value that cannot be used, named, where there is one. The metrics page and the
// other keys are the core's to read.
#include <QString>

struct WatchConfig
{
    int comport = 0;  // 1 to 4
    QString problem;

    static WatchConfig Read(const QString &iniPath);
};
