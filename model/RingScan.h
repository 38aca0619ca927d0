#pragma once
// One scan's ring once all its replies are in: the module IDs in ring order (position 0 is the
// module the PC is attached to), and what started the scan. The records themselves stay in
// gModules; read them when the scan is handed over.
#include <cstdint>
#include <vector>

enum class ScanOrigin {
    Menu,        // "&Refresh", or a command that scans as it does
    AutoRefresh  // a tick of the automatic refresh
};

struct RingScan
{
    uint64_t serial = 0;  // 1 for the program's first scan, counting up
    ScanOrigin origin = ScanOrigin::Menu;
    std::vector<int16_t> order;  // empty: the scan found no modules
};
