#include "model/ApplyTargets.h"

#include "model/Global.h"

#include <algorithm>

std::vector<int> ApplyTargets(const int16_t *order, int count, int localID)
{
    std::vector<int> targets;
    count = std::clamp(count, 0, kTableSize);
    targets.reserve(size_t(count) + 1);
    for (int i = 0; i < count; ++i) {
        const int id = order[i];
        if (id != 0 && id != localID && IsTableID(id))
            targets.push_back(id);
    }
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    targets.push_back(localID);
    return targets;
}
