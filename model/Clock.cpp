#include "model/Clock.h"

#include <QTime>
#include <cmath>

SystemClock::SystemClock() { mTimer.start(); }

float SystemClock::SecondsSinceMidnight()
{
    return float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

int64_t SystemClock::ElapsedMs() { return mTimer.elapsed(); }

float ManualClock::SecondsSinceMidnight()
{
    // Wraps at midnight as the real time of day does.
    const double seconds = std::fmod(double(mTimeOfDayBase) + double(mNowMs) / 1000.0, 86400.0);
    return float(seconds);
}

int64_t ManualClock::ElapsedMs()
{
    mNowMs += mAutoAdvanceMs;
    return mNowMs;
}

namespace {
Clock *gClockOverride = nullptr;
}

Clock &TheClock()
{
    static SystemClock systemClock;
    return gClockOverride ? *gClockOverride : systemClock;
}

void SetClock(Clock *clock) { gClockOverride = clock; }
