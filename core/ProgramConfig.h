#pragma once
// The configuration file, read once into one value: the port and its devices, the debug switch,
// the alarm, the windows' language, and the files and services the ring feeds. It is read again
// only when the file changed (the COM port dialog, or another program, wrote it).
#include "core/MetricsSetting.h"

#include <QDateTime>
#include <QString>
#include <array>

struct ProgramConfig
{
    // The value of "debug" that unlocks the debug window.
    static constexpr int kDebugValue = 73;

    QString iniPath;
    int comport = -1;     // as written: 1 to 4 is a port; anything else is none
    QString comportText;  // the value as it stands, for a message
    bool debug = false;
    bool alarmBeep = false;
    std::array<QString, 5> devices;  // [1] to [4]: the device each port number stands for; empty: the default
    QString logPath;
    QString historyPath;  // empty: "history=off"
    int historyDays = 0;
    QString historyDaysProblem;
    MetricsSetting metrics;
    MetricsSetting modbus;  // the registers over Modbus TCP
    // The watcher's seconds from one G to the next ("scan_interval"); 0: at once after the
    // hand-over.
    int scanIntervalS = 10;
    QString scanIntervalProblem;
    // "language" as written: "de" or "en" chooses the windows' language; anything else leaves
    // it to the user's interface language.
    QString language;

    // The rule for a usable "comport".
    static bool IsComPort(int number) { return number >= 1 && number <= 4; }
    bool HasComPort() const { return IsComPort(comport); }
    // "comport missing in ...", "comport=7 in ...: not a port number 1 to 4"; empty when usable.
    QString ComPortProblem() const;
    // What keeps a run without a window from starting: no file, no port, a page that cannot be
    // served; the first such value, named. Empty when none.
    QString WatchProblem() const;

    static ProgramConfig Read(const QString &iniPath);
    // Whether the file changed since this value was read.
    bool Stale() const;

private:
    bool mFound = false;
    QDateTime mModified;
    qint64 mSize = -1;
};
