#pragma once
// The live ring: each module's record as its last reply left it, the ring order of the last
// scan, the attached module, the lowest firmware seen, the modules a locate could not find and
// the modes this run applied. The receiver writes it; the core owns it; every window reads it.
#include "model/AppliedModes.h"
#include "model/Global.h"
#include "model/ModuleData.h"

#include <bitset>
#include <memory>
#include <span>
#include <vector>

class RingTable
{
public:
    RingTable();

    // The record of module id; an ID without a slot reads as a fresh record.
    const ModuleData &Module(int id) const;
    // The ID at a ring position: past the last scan's count, what an earlier scan left there;
    // 0 outside the table.
    int IDAt(int position) const;
    const ModuleData &ModuleAt(int position) const { return Module(IDAt(position)); }
    int Count() const { return mCount; }
    std::span<const int16_t> Order() const { return {mOrder.data(), size_t(mCount)}; }
    // Whether the last scan counted module id.
    bool Counted(int id) const;
    int LocalModuleID() const { return mLocalModuleID; }
    uint8_t MinVersion() const { return mMinVersion; }
    bool LocateFailed(int id) const { return IsTableID(id) && mLocateFailed->test(size_t(id)); }
    const AppliedModes &Applied() const { return mApplied; }
    // The modules "Global Settings" programs, in the order it programs them.
    std::vector<int> ApplyTargets() const;

    // What a reply said of module id; a module's reply ends its locate mark.
    void Store(int id, uint8_t side, uint8_t version, uint8_t mode, bool status1, int16_t counter1, bool status2,
               int16_t counter2, float timeStamp);
    // A scan starts: no module counted yet.
    void ClearOrder() { mCount = 0; }
    // Counts module id next in the ring order; false when the order is full.
    bool Append(int id);
    void SetLocalModuleID(int id) { mLocalModuleID = int16_t(id); }
    void ResetMinVersion() { mMinVersion = 255; }
    // Leaves position 0 in place, then the L modules in their order, then all others reversed.
    void SortModulesBySide();
    // A locate got no answer: both channels of the module read faulty until its next reply.
    void MarkLocateFailed(int id);
    void RecordApplied(int id, uint8_t mode) { mApplied.Record(id, mode); }

private:
    std::vector<ModuleData> mModules;  // indexed by module ID
    std::vector<int16_t> mOrder;
    int mCount = 0;
    uint8_t mMinVersion = 255;
    int16_t mLocalModuleID = 0;
    std::unique_ptr<std::bitset<kTableSize>> mLocateFailed;
    AppliedModes mApplied;
};
