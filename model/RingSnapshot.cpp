#include "model/RingSnapshot.h"

#include "model/Global.h"

RingSnapshot TakeSnapshot(const RingScan &scan)
{
    RingSnapshot ring;
    ring.reserve(scan.order.size());
    for (const int16_t id : scan.order) {
        if (!IsTableID(id))
            continue;
        const ModuleData &record = gModules[size_t(id)];
        ring.push_back({id, record.GetSide(), record.GetVersion(), record.GetMode(), record.GetStatusChannel1(),
                        record.GetStatusChannel2(), record.GetErrorCounterChannel1(),
                        record.GetErrorCounterChannel2()});
    }
    return ring;
}
