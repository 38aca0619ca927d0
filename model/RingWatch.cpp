#include "model/RingWatch.h"

#include "model/RingComparison.h"

#include <unordered_set>

std::vector<RingEvent> RingWatch::Take(RingSnapshot now)
{
    std::vector<RingEvent> events;
    if (now.empty()) {
        // The first failed scan of a row says so; the ring found next is compared with the last one found.
        if (!mLastScanFailed) {
            RingEvent event;
            event.kind = RingEventKind::NoModulesFound;
            event.text = QStringLiteral("No modules found");
            events.push_back(event);
        }
        mLastScanFailed = true;
        return events;
    }
    events = CompareRings(now, mReference ? &*mReference : nullptr, mLastRing ? &*mLastRing : nullptr);
    mLastScanFailed = false;
    mLastRing = std::move(now);
    return events;
}

int RingWatch::ReferencePresent() const
{
    if (!mReference || (!mLastRing && !mLastScanFailed))
        return -1;
    if (mLastScanFailed)
        return 0;
    std::unordered_set<int> ids;
    for (const ModuleSnapshot &module : *mLastRing)
        ids.insert(module.id);
    int present = 0;
    for (const ModuleSnapshot &module : *mReference)
        present += int(ids.count(module.id));
    return present;
}
