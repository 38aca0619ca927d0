#pragma once
// What one scan found of each module, in ring order: kept after the scan, since gModules
// changes with every reply.
#include "model/RingScan.h"

#include <cstdint>
#include <vector>

struct ModuleSnapshot
{
    int id = 0;
    uint8_t side = 0;
    uint8_t version = 0;
    uint8_t mode = 0;
    bool faulty1 = false;
    bool faulty2 = false;
    int counter1 = 0;
    int counter2 = 0;
};

using RingSnapshot = std::vector<ModuleSnapshot>;

// The records of the scan's modules as they stand in gModules now.
RingSnapshot TakeSnapshot(const RingScan &scan);
