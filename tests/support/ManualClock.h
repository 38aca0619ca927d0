#pragma once
// A clock that moves only when told to, or by a fixed step each time elapsed time is read. Its
// calendar starts on 2026-12-07 in local time, at the time of day set.
#include "model/Clock.h"

#include <QDate>
#include <QTime>
#include <cmath>

class ManualClock : public Clock
{
public:
    float SecondsSinceMidnight() override
    {
        // Wraps at midnight as the real time of day does.
        return float(std::fmod(double(mTimeOfDayBase) + double(mNowMs) / 1000.0, 86400.0));
    }
    int64_t ElapsedMs() override
    {
        mNowMs += mAutoAdvanceMs;
        return mNowMs;
    }
    int64_t EpochMs() override
    {
        static const int64_t firstDay = QDateTime(QDate(2026, 12, 7), QTime(0, 0)).toMSecsSinceEpoch();
        return firstDay + int64_t(double(mTimeOfDayBase) * 1000.0) + mNowMs;
    }

    void Advance(int64_t ms) { mNowMs += ms; }
    void SetAutoAdvance(int64_t msPerRead) { mAutoAdvanceMs = msPerRead; }
    void SetTimeOfDay(float seconds) { mTimeOfDayBase = seconds; }
    int64_t NowMs() const { return mNowMs; }

private:
    int64_t mNowMs = 0;
    int64_t mAutoAdvanceMs = 0;
    float mTimeOfDayBase = 36000.0f;
};
