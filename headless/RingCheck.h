#pragma once
// What a check for scripts makes of the keeper's last scan, by the Nagios and Icinga plugin
// convention: the status as exit code, and one summary line beginning with the status's word,
// under 80 characters up to its performance data
// ("CRITICAL: Module 3 channel 2 faulty | modules=14;;;0 faulty=1;;0;0 missing=0;;0;0 errors=17c;;;0").
#include "model/RingKeeper.h"

#include <QString>

struct RingCheck
{
    enum class Status { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };

    Status status = Status::Unknown;
    QString line;

    // CRITICAL: no module answering or the scan cut by a lost port (judged as a ring of none), a
    // faulty channel, a module of the reference missing.
    // WARNING: a counter increased since the found ring before (the one kept from an earlier run
    // where the keeper was seeded with it), modules that differ from the reference.
    // OK: neither.
    static RingCheck Judge(const RingKeeper &keeper);
    // UNKNOWN, with why no scan could be judged.
    static RingCheck Unknown(const QString &why);
    static QString Word(Status status);
};
