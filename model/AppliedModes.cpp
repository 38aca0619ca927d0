#include "model/AppliedModes.h"

AppliedModes gAppliedModes;

std::optional<AppliedModes::Sent> AppliedModes::Applied(int id) const
{
    const auto found = mModes.find(id);
    if (found == mModes.end())
        return std::nullopt;
    return found->second;
}
