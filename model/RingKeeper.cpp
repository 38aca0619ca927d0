#include "model/RingKeeper.h"

#include "model/Global.h"

#include <unordered_map>
#include <unordered_set>

int RingKeeper::CounterIncrease(int before, int after) { return after >= before ? after - before : after; }

void RingKeeper::Take(const RingScan &scan)
{
    mLastScan = scan;
    // A scan cut by a lost port is the last scan, and no ring: nothing compares with it.
    if (scan.cut)
        return;
    if (mVerification)
        mVerification->Follow(scan);
    if (!scan.Found()) {
        ++mFailedInRow;
        return;
    }
    mFailedInRow = 0;
    mFoundBefore = std::move(mLastFound);
    mLastFound = scan;
    mNewest = scan.modules;
    mSeenBefore = mSeen;
    for (const ModuleSnapshot &module : scan.modules)
        if (IsTableID(module.id))
            mSeen.set(size_t(module.id));
}

void RingKeeper::Seed(const RingScan &found, const std::vector<int> &seenBefore)
{
    if (!found.Found())
        return;
    mLastFound = found;
    mNewest = found.modules;
    for (const ModuleSnapshot &module : found.modules)
        if (IsTableID(module.id))
            mSeen.set(size_t(module.id));
    for (const int id : seenBefore)
        if (IsTableID(id))
            mSeen.set(size_t(id));
}

bool RingKeeper::TakeReadings(const RingScan &underway)
{
    if (!mLastFound || underway.serial <= mLastScan.serial || underway.modules.empty()
        || underway.portNumber != mLastFound->portNumber || underway.device != mLastFound->device)
        return false;
    std::unordered_map<int, const ModuleSnapshot *> newest;
    for (const ModuleSnapshot &reading : underway.modules)
        newest[reading.id] = &reading;
    bool changed = false;
    for (ModuleSnapshot &module : mNewest) {
        const auto found = newest.find(module.id);
        if (found == newest.end())
            continue;
        const ModuleSnapshot &reading = *found->second;
        changed = changed || reading.version != module.version || reading.mode != module.mode
            || reading.faulty1 != module.faulty1 || reading.faulty2 != module.faulty2
            || reading.counter1 != module.counter1 || reading.counter2 != module.counter2;
        const uint8_t side = module.side;
        module = reading;
        module.side = side;
    }
    return changed;
}

bool RingKeeper::SeenBefore(int id) const { return IsTableID(id) && mSeenBefore.test(size_t(id)); }

int RingKeeper::Increase(int id, int channel) const
{
    if (!mLastFound || !mFoundBefore)
        return -1;
    const ModuleSnapshot *now = mLastFound->Find(id);
    const ModuleSnapshot *before = mFoundBefore->Find(id);
    if (!now || !before)
        return -1;
    return channel == 1 ? CounterIncrease(before->counter1, now->counter1)
                        : CounterIncrease(before->counter2, now->counter2);
}

int RingKeeper::Change(int id) const
{
    const int first = Increase(id, 1);
    return first < 0 ? -1 : first + Increase(id, 2);
}

int RingKeeper::ReferencePresent() const
{
    if (!mReference || mLastScan.serial == 0)
        return -1;
    if (!mLastScan.Found())
        return 0;
    std::unordered_set<int> ids;
    for (const ModuleSnapshot &module : mLastScan.modules)
        ids.insert(module.id);
    int present = 0;
    for (const ModuleSnapshot &module : *mReference)
        present += int(ids.count(module.id));
    return present;
}
