#include "model/AppliedModes.h"

std::optional<AppliedModes::Sent> AppliedModes::Applied(int id) const
{
    const auto found = mModes.find(id);
    if (found == mModes.end())
        return std::nullopt;
    return found->second;
}

void AppliedModes::NoteReported(int id, uint8_t mode)
{
    const auto found = mModes.find(id);
    if (found != mModes.end() && found->second.mode == mode)
        found->second.readBack = true;
}
