#pragma once
// What differs between a scan's ring, the reference ring and the ring of the scan before:
// one event per difference, named by module ID. Differences from the reference that the ring
// before showed already are not told again, so an unchanged ring gives no event.
#include "model/RingEvent.h"
#include "model/RingSnapshot.h"

#include <vector>

// reference or before null: no reference loaded, no ring found before. The events carry no time.
std::vector<RingEvent> CompareRings(const RingSnapshot &now, const RingSnapshot *reference,
                                    const RingSnapshot *before);
