#pragma once
// What a scan changed: its ring against the reference and against the ring found before it,
// one event per difference, named by module ID. A difference from the reference is told at
// the scan that brings it; one that the ring before showed already (the same kind of
// difference of the same module) is not told again, so an unchanged ring gives no event.
#include "model/RingEvent.h"
#include "model/RingKeeper.h"

#include <vector>

// The events of the keeper's last scan, which it has just taken. They carry no time yet.
std::vector<RingEvent> ScanEvents(const RingKeeper &keeper);

// How a ring differs from the reference, one event per difference.
std::vector<RingEvent> ReferenceDifferences(const RingSnapshot &ring, const RingSnapshot &reference);
