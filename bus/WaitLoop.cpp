#include "bus/WaitLoop.h"

#include "model/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void YieldToEventLoop(int maxSleepMs)
{
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(maxSleepMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool TimeIsUp(int64_t startMs, int64_t limitMs)
{
    return TheClock().ElapsedMs() - startMs >= limitMs;
}
