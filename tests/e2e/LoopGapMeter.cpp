#include "LoopGapMeter.h"

#include <algorithm>

LoopGapMeter::LoopGapMeter(int intervalMs)
{
    mTimer.setTimerType(Qt::PreciseTimer);
    mTimer.setInterval(intervalMs);
    connect(&mTimer, &QTimer::timeout, this, &LoopGapMeter::Tick);
    Restart();
}

void LoopGapMeter::Restart()
{
    mLargest = 0;
    mTicks = 0;
    mSinceTick.start();
    mTimer.start();
}

qint64 LoopGapMeter::LargestGapMs() const
{
    // A gap that is still open counts too.
    return std::max(mLargest, mSinceTick.elapsed());
}

void LoopGapMeter::Tick()
{
    mLargest = std::max(mLargest, mSinceTick.restart());
    ++mTicks;
}
