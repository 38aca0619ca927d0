#pragma once
// One finished scan, as its replies were received: what started it, when its G went out, on
// which port, and each module that the scan counted, in ring order, as its reply said it. This
// record is what every part that watches the ring takes from a scan; the ring table may have
// changed since (a locate's answer).
#include <QString>
#include <cstdint>
#include <vector>

enum class ScanOrigin {
    Menu,        // "&Refresh", or a command that scans as it does
    AutoRefresh  // a tick of the automatic refresh
};

// One module as a reply told it (a scan's record), or as the reference ring keeps it (there
// the channels stay sound and zero, and no time is kept).
struct ModuleSnapshot
{
    int id = 0;
    uint8_t side = 0;  // the reply letter: G, L or R
    uint8_t version = 0;
    uint8_t mode = 0;
    bool faulty1 = false;
    bool faulty2 = false;
    int counter1 = 0;
    int counter2 = 0;
    int64_t parsedMs = 0;  // when the reply was parsed, ms since 1970 UTC

    bool AnyFaulty() const { return faulty1 || faulty2; }
};

using RingSnapshot = std::vector<ModuleSnapshot>;

// A letter a module answers a scan with: G (the attached module), L or R.
inline bool IsScanSide(uint8_t side) { return side == 'G' || side == 'L' || side == 'R'; }

struct RingScan
{
    uint64_t serial = 0;  // 1 for the program's first scan, counting up
    ScanOrigin origin = ScanOrigin::Menu;
    int64_t sentMs = 0;   // when its G went out, ms since 1970 UTC
    int portNumber = 0;   // 1 to 4
    QString device;       // the device behind the port
    RingSnapshot modules; // ring order; empty: the scan found no modules
    bool cut = false;     // the port was lost before the scan was over: not a ring

    bool Found() const { return !modules.empty(); }
    // The module's entry, or null when the scan did not count it.
    const ModuleSnapshot *Find(int id) const;
    // Its ring position, or -1.
    int PositionOf(int id) const;
};
