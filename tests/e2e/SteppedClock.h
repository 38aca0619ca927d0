#pragma once
// The system clock, moved ahead at once by a test: the automatic refresh falls due without the
// test waiting its interval out.
#include "model/Clock.h"

class SteppedClock : public SystemClock
{
public:
    int64_t ElapsedMs() override { return SystemClock::ElapsedMs() + mAheadMs; }
    void Skip(int64_t ms) { mAheadMs += ms; }

private:
    int64_t mAheadMs = 0;
};
