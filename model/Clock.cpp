#include "model/Clock.h"

#include <QTime>

SystemClock::SystemClock() { mTimer.start(); }

float SystemClock::SecondsSinceMidnight()
{
    return float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

int64_t SystemClock::ElapsedMs() { return mTimer.elapsed(); }

int64_t SystemClock::EpochMs() { return QDateTime::currentMSecsSinceEpoch(); }

namespace {
Clock *gClockOverride = nullptr;
}

Clock &TheClock()
{
    static SystemClock systemClock;
    return gClockOverride ? *gClockOverride : systemClock;
}

void SetClock(Clock *clock) { gClockOverride = clock; }

QDateTime ClockNow() { return QDateTime::fromMSecsSinceEpoch(TheClock().EpochMs()); }
