#include "model/Clock.h"

#include <QTime>
#include <cmath>

SystemClock::SystemClock() { mTimer.start(); }

float SystemClock::SecondsSinceMidnight()
{
    return float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

int64_t SystemClock::ElapsedMs() { return mTimer.elapsed(); }

int64_t SystemClock::EpochMs() { return QDateTime::currentMSecsSinceEpoch(); }

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

int64_t ManualClock::EpochMs()
{
    static const int64_t firstDay = QDateTime(QDate(2026, 12, 7), QTime(0, 0)).toMSecsSinceEpoch();
    return firstDay + int64_t(double(mTimeOfDayBase) * 1000.0) + mNowMs;
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

QDateTime ClockNow() { return QDateTime::fromMSecsSinceEpoch(TheClock().EpochMs()); }
