#pragma once
// Follows the ring from scan to scan: the reference in force, the last ring found, and whether
// the scans fail; turns each scan into its events.
#include "model/ReferenceFile.h"
#include "model/RingEvent.h"
#include "model/RingSnapshot.h"

#include <optional>
#include <vector>

class RingWatch
{
public:
    void SetReference(std::optional<RingSnapshot> reference) { mReference = std::move(reference); }
    const std::optional<RingSnapshot> &Reference() const { return mReference; }
    // The ring of the last scan that found modules.
    const std::optional<RingSnapshot> &LastRing() const { return mLastRing; }

    // The events of a scan's ring (empty: the scan found none); they carry no time yet.
    std::vector<RingEvent> Take(RingSnapshot now);

    // Modules of the reference in the last scan; -1 without a reference or before the first scan.
    int ReferencePresent() const;

private:

    std::optional<RingSnapshot> mReference;
    std::optional<RingSnapshot> mLastRing;
    bool mLastScanFailed = false;
};
