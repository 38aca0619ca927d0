#pragma once
// The mode byte this run of the program last sent to each module, by either Apply.
#include <cstdint>
#include <map>
#include <optional>

class AppliedModes
{
public:
    void Record(int id, uint8_t mode) { mModes[id] = mode; }
    std::optional<uint8_t> Applied(int id) const;
    const std::map<int, uint8_t> &All() const { return mModes; }
    void Clear() { mModes.clear(); }

private:
    std::map<int, uint8_t> mModes;
};

extern AppliedModes gAppliedModes;
