#pragma once
// What a check for scripts makes of the keeper's last scan, by the Nagios and Icinga plugin
// convention: the status as exit code, and one summary line beginning with the status's word,
// under 80 characters up to its performance data
// ("CRITICAL: Module 3 channel 2 faulty | modules=14;;;0 faulty=1;;0;0 missing=0;;0;0 errors=17c;;;0
// m3_ch1=0c;;;0 m3_ch1_increase=0;0;;0 ...": each channel's counter, and its increase within the window).
#include "history/HistoryTypes.h"
#include "model/RingKeeper.h"

#include <QString>
#include <vector>

class RingHistory;

struct RingCheck
{
    enum class Status { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };

    Status status = Status::Unknown;
    QString line;

    // CRITICAL: no module answering or the scan cut by a lost port (judged as a ring of none), a
    // faulty channel, a module of the reference missing.
    // WARNING: a counter increased (increases: the channels whose counter rose, as
    // WindowIncreases finds them), modules that differ from the reference.
    // OK: neither.
    static RingCheck Judge(const RingKeeper &keeper, const std::vector<ChannelTotal> &increases);
    // The port's channels whose counter rose since the scan the history kept at least windowMs
    // before nowMs (it keeps increases by the minute: the window reaches back to a minute's start).
    // A retry within the window finds the same.
    static std::vector<ChannelTotal> WindowIncreases(RingHistory &history, int port, int64_t nowMs, int64_t windowMs);
    // UNKNOWN, with why no scan could be judged.
    static RingCheck Unknown(const QString &why);
    static QString Word(Status status);
};
