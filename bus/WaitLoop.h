#pragma once
// Yielding to the event loop from inside a handler that waits for replies.
#include <cstdint>

// Handles pending events once. With nothing pending it sleeps until the next event,
// but never longer than maxSleepMs, so a wait loop neither spins a core nor oversleeps
// its own limit.
void YieldToEventLoop(int maxSleepMs);

// Whether elapsed monotonic time since startMs has reached limitMs.
bool TimeIsUp(int64_t startMs, int64_t limitMs);
