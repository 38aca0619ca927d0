#include "core/ProgrammingLog.h"

#include "core/OsUser.h"
#include "history/RingHistory.h"
#include "model/Clock.h"

#include <algorithm>

ProgrammingLog::ProgrammingLog(RingHistory &history, QObject *parent)
    : QObject(parent), mHistory(history)
{
}

ProgrammingRecord ProgrammingLog::Begun(ProgrammingKind kind, int port, const QString &device)
{
    ProgrammingRecord record;
    record.timeMs = TheClock().EpochMs();
    record.kind = kind;
    record.user = OsUserName();
    record.computer = ComputerName();
    record.port = port;
    record.device = device;
    return record;
}

void ProgrammingLog::Add(const ProgrammingRecord &record)
{
    mHistory.KeepProgramming(record);
    AddKept(record);
}

void ProgrammingLog::AddKept(const ProgrammingRecord &record)
{
    mRun.push_back(record);
    emit changed();
}

std::vector<ProgrammingRecord> ProgrammingLog::Records(int64_t fromMs) const
{
    std::vector<ProgrammingRecord> records;
    if (Lasting()) {
        records = mHistory.Programmings(fromMs);
    } else {
        std::copy_if(mRun.begin(), mRun.end(), std::back_inserter(records),
                     [fromMs](const ProgrammingRecord &record) { return record.timeMs >= fromMs; });
    }
    FollowVerifications(records);
    std::reverse(records.begin(), records.end());
    return records;
}

bool ProgrammingLog::Lasting() const { return mHistory.IsOpen(); }
