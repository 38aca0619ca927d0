#include "model/AppliedModes.h"

AppliedModes gAppliedModes;

std::optional<uint8_t> AppliedModes::Applied(int id) const
{
    const auto found = mModes.find(id);
    if (found == mModes.end())
        return std::nullopt;
    return found->second;
}
