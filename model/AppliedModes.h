#pragma once
// The mode byte this run of the program last sent to each module, by either Apply, and when:
// each send gets the next number of a count, so a verification can tell what came after it;
// and whether a reply has reported that mode since.
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
        bool readBack = false;  // a reply since the send reported this mode
    };

    void Record(int id, uint8_t mode) { mModes[id] = Sent{mode, ++mLastStamp, false}; }
    // Module id reported mode: a send of that mode is read back.
    void NoteReported(int id, uint8_t mode);
    std::optional<Sent> Applied(int id) const;
    const std::map<int, Sent> &All() const { return mModes; }
    // The stamp of the last send; 0 before the first.
    uint64_t LastStamp() const { return mLastStamp; }
    void Clear() { *this = AppliedModes(); }

private:
    std::map<int, Sent> mModes;
    uint64_t mLastStamp = 0;
};

