#include "modbus/ModbusMap.h"

#include "model/RingComparison.h"

#include <algorithm>
#include <bitset>
#include <memory>

ModbusMap::ModbusMap(const RingScan &scan, const std::optional<RingSnapshot> &reference, uint64_t wholeScans,
                     int64_t endedMs)
    : mEndedMs(endedMs)
{
    const RingSnapshot &ring = scan.modules;
    const size_t modules = std::min(ring.size(), size_t((65536 - kFirstModule) / kPerModule));
    mRegisters.assign(modules ? kFirstModule + kPerModule * modules : kSound + 1, 0);
    for (size_t k = 0; k < modules; ++k) {
        mRegisters[kFirstModule + kPerModule * k] = uint16_t(ring[k].id);
        mRegisters[kFirstModule + kPerModule * k + 1] = ring[k].side;
    }
    int missing = 0;
    if (reference) {
        auto found = std::make_unique<std::bitset<65536>>();
        for (const ModuleSnapshot &module : ring)
            found->set(size_t(module.id) & 0xFFFF);
        for (const ModuleSnapshot &module : *reference)
            missing += found->test(size_t(module.id) & 0xFFFF) ? 0 : 1;
    }
    mRegisters[kModules] = uint16_t(std::min<size_t>(ring.size(), 65535));
    mRegisters[kReferenceMissing] = uint16_t(std::min(missing, 65535));
    mRegisters[kWholeScans] = uint16_t(wholeScans);
    mRingAsReference = scan.Found() && (!reference || ReferenceDifferences(ring, *reference).empty());
    Refresh(ring);
}

void ModbusMap::Refresh(const RingSnapshot &ring)
{
    int faulty = 0;
    for (size_t k = 0; k < Modules(); ++k) {
        uint16_t *at = &mRegisters[kFirstModule + kPerModule * k];
        if (k < ring.size() && uint16_t(ring[k].id) == at[0]) {
            const ModuleSnapshot &module = ring[k];
            at[2] = module.version;
            at[3] = module.mode;
            at[4] = uint16_t((module.faulty1 ? 1 : 0) | (module.faulty2 ? 2 : 0));
            at[5] = uint16_t(module.counter1);
            at[6] = uint16_t(module.counter2);
        }
        faulty += (at[4] & 1) + (at[4] >> 1);
    }
    mRegisters[kFaultyChannels] = uint16_t(std::min(faulty, 65535));
    mRegisters[kSound] = mRingAsReference && faulty == 0;
}

std::vector<uint16_t> ModbusMap::Read(int first, int count, const ModbusLive &live) const
{
    std::vector<uint16_t> values(size_t(std::max(count, 0)), 0);
    for (int k = 0; k < count; ++k) {
        const int address = first + k;
        if (size_t(address) < mRegisters.size())
            values[size_t(k)] = mRegisters[size_t(address)];
    }
    const auto fill = [&](int address, int64_t value) {
        if (address >= first && address < first + count)
            values[size_t(address - first)] = uint16_t(std::clamp<int64_t>(value, 0, 65535));
    };
    fill(kPortOpen, live.portOpen ? 1 : 0);
    fill(kEventsUnacknowledged, live.eventsUnacknowledged);
    fill(kSecondsSinceScan, mEndedMs < 0 ? 65535 : (live.nowMs - mEndedMs) / 1000);
    return values;
}
