#pragma once
// Where the configuration file puts the ring history and how long the history keeps scans one
// by one: the keys "history" (a file relative to the configuration file's folder, or absolute;
// "off" for none; ring-history.sqlite by default, in the service's state folder when systemd
// gives one) and "history_days" (90 by default).
#include <QString>

// The history file made absolute; empty for "history=off".
QString HistoryPath(const QString &iniPath);
int HistoryDays(const QString &iniPath);
