#pragma once
// Time of day for time stamps, the calendar for what is kept and logged, and a monotonic clock
// for waits; a test swaps in a clock of its own.
#include <QDateTime>
#include <QElapsedTimer>
#include <cstdint>

class Clock
{
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, as the module records keep it.
    virtual float SecondsSinceMidnight() = 0;
    // Milliseconds on a clock that never jumps back, for measuring waits.
    virtual int64_t ElapsedMs() = 0;
    // Milliseconds since 1970-01-01 UTC: when a reply came, when a row or an event was written.
    virtual int64_t EpochMs() = 0;
};

class SystemClock : public Clock
{
public:
    SystemClock();
    float SecondsSinceMidnight() override;
    int64_t ElapsedMs() override;
    int64_t EpochMs() override;

private:
    QElapsedTimer mTimer;
};

// The clock every part of the program reads. Null puts the system clock back.
Clock &TheClock();
void SetClock(Clock *clock);

// The clock's calendar time, in local time.
QDateTime ClockNow();
