#pragma once
// The ring over time: the last scan, the last scan that found modules and the one found before
// it, each module's newest reading, the reference in force, the last verification, and the
// counters' increase from one found ring to the next. Everything that compares a scan with the
// past asks this one object.
#include "model/RingScan.h"
#include "model/Verification.h"

#include <bitset>
#include <optional>

class RingKeeper
{
public:
    // The increase of one channel's counter from one reading to the next. A counter that went
    // down (a power-cycled module, or the 15-bit counter wrapping) starts a new count.
    static int CounterIncrease(int before, int after);

    // A finished scan. One that found modules becomes the last found, and its counters are
    // compared with the found ring before it; a cut one counts as one that found none.
    void Take(const RingScan &scan);
    // A ring found before this run (kept in the history), and every module found before it:
    // the first scan counts from the ring, and a module seen before that answers again says so.
    void Seed(const RingScan &found, const std::vector<int> &seenBefore = {});

    // The last scan handed over; serial 0 before the first.
    const RingScan &LastScan() const { return mLastScan; }
    // The last scan that found modules, and the one that found modules before it; null: none.
    const RingScan *LastFound() const { return mLastFound ? &*mLastFound : nullptr; }
    const RingScan *FoundBefore() const { return mFoundBefore ? &*mFoundBefore : nullptr; }
    // The scan under way as far as its replies came: each module of the last found ring that has
    // answered it takes that reply's reading, keeping its place and side. True when a reading
    // changed.
    bool TakeReadings(const RingScan &underway);
    // The last found ring, in its order, each module as its newest reply on that port told it; a
    // break shows here at its module's next reply, before that scan is over. Empty: none found.
    const RingSnapshot &Newest() const { return mNewest; }
    // Scans in a row up to the last one that found no modules or were cut; 0 when the last one
    // found some.
    int FailedInRow() const { return mFailedInRow; }
    // Whether the module answered a scan before the last found one (in this run, or the seed).
    bool SeenBefore(int id) const;

    // The increase of a module's channel (1 or 2) from the found ring before to the last found
    // one; -1 where the module is not in both.
    int Increase(int id, int channel) const;
    // Both channels together; -1 where the module is not in both rings.
    int Change(int id) const;

    void SetReference(std::optional<RingSnapshot> reference) { mReference = std::move(reference); }
    const std::optional<RingSnapshot> &Reference() const { return mReference; }
    // Modules of the reference in the last scan; -1 without a reference or before the first scan.
    int ReferencePresent() const;

    void SetVerification(Verification verification) { mVerification = std::move(verification); }
    const std::optional<Verification> &LastVerification() const { return mVerification; }

private:
    RingScan mLastScan;
    std::optional<RingScan> mLastFound;
    std::optional<RingScan> mFoundBefore;
    RingSnapshot mNewest;
    int mFailedInRow = 0;
    std::bitset<32001> mSeen;
    std::bitset<32001> mSeenBefore;
    std::optional<RingSnapshot> mReference;
    std::optional<Verification> mVerification;
};
