#include "model/RingTable.h"

#include "model/ApplyTargets.h"

RingTable::RingTable()
    : mModules(kTableSize), mOrder(kTableSize, 0), mLocateFailed(std::make_unique<std::bitset<kTableSize>>())
{
}

const ModuleData &RingTable::Module(int id) const
{
    static const ModuleData outsideTable;
    return IsTableID(id) ? mModules[size_t(id)] : outsideTable;
}

int RingTable::IDAt(int position) const
{
    return position >= 0 && position < kTableSize ? mOrder[size_t(position)] : 0;
}

bool RingTable::Counted(int id) const
{
    for (int i = 0; i < mCount; ++i)
        if (mOrder[size_t(i)] == id)
            return true;
    return false;
}

std::vector<int> RingTable::ApplyTargets() const { return ::ApplyTargets(mOrder.data(), mCount, mLocalModuleID); }

void RingTable::Store(int id, uint8_t side, uint8_t version, uint8_t mode, bool status1, int16_t counter1,
                      bool status2, int16_t counter2, float timeStamp)
{
    if (!IsTableID(id))
        return;
    ModuleData &record = mModules[size_t(id)];
    record.SetModuleID(int16_t(id));
    record.SetSide(side);
    record.SetTimeStamp(timeStamp);
    record.SetVersion(version);
    if (version < mMinVersion)
        mMinVersion = version;
    record.SetStatusChannel1(status1);
    record.SetStatusChannel2(status2);
    record.SetErrorCounterChannel1(counter1);
    record.SetErrorCounterChannel2(counter2);
    record.SetMode(mode);
    mApplied.NoteReported(id, mode);
    mLocateFailed->reset(size_t(id));
}

bool RingTable::Append(int id)
{
    if (mCount >= kTableSize)
        return false;
    mOrder[size_t(mCount++)] = int16_t(id);
    return true;
}

void RingTable::SortModulesBySide()
{
    const int count = mCount;
    if (count <= 2)
        return;
    std::vector<int16_t> scratch(size_t(count), 0);
    int front = 1;
    int back = count - 1;
    for (int i = 1; i <= count - 1; ++i) {
        const int16_t id = mOrder[size_t(i)];
        if (Module(id).GetSide() == 'L')
            scratch[size_t(front++)] = id;
        else
            scratch[size_t(back--)] = id;
    }
    for (int i = 1; i <= count - 1; ++i)
        mOrder[size_t(i)] = scratch[size_t(i)];
}

void RingTable::MarkLocateFailed(int id)
{
    if (!IsTableID(id))
        return;
    ModuleData &record = mModules[size_t(id)];
    record.SetStatusChannel1(true);
    record.SetStatusChannel2(true);
    mLocateFailed->set(size_t(id));
}
