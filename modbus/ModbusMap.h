#pragma once
// The registers a PLC reads over Modbus: the ring of the last whole scan, built when it is handed
// over, so that one read never mixes two rings' modules or order; each module's block is one reply
// of that module, its newest, so that a break shows at that reply; the port, the events and the
// age of that scan are filled in as they stand when read.
#include "model/RingScan.h"

#include <cstdint>
#include <optional>
#include <vector>

// What the map reads at the moment of a request.
struct ModbusLive
{
    bool portOpen = false;
    int eventsUnacknowledged = 0;
    int64_t nowMs = 0;  // the program's elapsed clock
};

class ModbusMap
{
public:
    static constexpr int kPortOpen = 0;
    static constexpr int kModules = 1;
    static constexpr int kFaultyChannels = 2;
    static constexpr int kReferenceMissing = 3;
    static constexpr int kEventsUnacknowledged = 4;
    static constexpr int kSecondsSinceScan = 5;
    static constexpr int kWholeScans = 6;
    static constexpr int kSound = 7;
    // The module at ring position k starts at register kFirstModule + kPerModule * k.
    static constexpr int kFirstModule = 100;
    static constexpr int kPerModule = 10;

    // Before the first whole scan.
    ModbusMap() = default;
    // scan: whole (not cut), handed over at endedMs of the elapsed clock; wholeScans: those of
    // this run, this one included.
    ModbusMap(const RingScan &scan, const std::optional<RingSnapshot> &reference, uint64_t wholeScans, int64_t endedMs);

    // The modules as their newest replies told them (the map's ring, in its order): their blocks,
    // the faulty channels and the soundness follow; their places and sides stay.
    void Refresh(const RingSnapshot &ring);

    // count registers from first; first + count at most 65536.
    std::vector<uint16_t> Read(int first, int count, const ModbusLive &live) const;

private:
    size_t Modules() const { return mRegisters.size() > size_t(kFirstModule) ? (mRegisters.size() - kFirstModule) / kPerModule : 0; }

    std::vector<uint16_t> mRegisters;  // from register 0 up to the last module's
    bool mRingAsReference = false;     // modules found, and those the reference has where there is one
    int64_t mEndedMs = -1;             // -1: no whole scan yet
};
