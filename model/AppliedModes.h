#pragma once
// The mode byte this run of the program last sent to each module, by either Apply, and when:
// each send gets the next number of a count, so a verification can tell what came after it.
#include <cstdint>
#include <map>
#include <optional>

class AppliedModes
{
public:
    struct Sent
    {
        uint8_t mode = 0;
        uint64_t stamp = 0;
    };

    void Record(int id, uint8_t mode) { mModes[id] = Sent{mode, ++mLastStamp}; }
    std::optional<Sent> Applied(int id) const;
    const std::map<int, Sent> &All() const { return mModes; }
    // The stamp of the last send; 0 before the first.
    uint64_t LastStamp() const { return mLastStamp; }
    void Clear() { *this = AppliedModes(); }

private:
    std::map<int, Sent> mModes;
    uint64_t mLastStamp = 0;
};

extern AppliedModes gAppliedModes;
