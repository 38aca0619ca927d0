#pragma once
// Plays the ring for a test on a manual clock: on every turn of the event loop the clock moves
// on by a step, the actions due by then run, and then the link polls and parses as its timers do;
// at endMs (if given) the play ends and the clock stands still.
#include "ManualClock.h"
#include "bus/BusLink.h"
#include "MemorySerialPort.h"

#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

class TimedRing : public QObject
{
public:
    TimedRing(ManualClock &clock, MemorySerialPort &port, BusLink &link, int64_t stepMs = 0, int64_t endMs = -1)
        : mClock(clock), mPort(port)
    {
        connect(&mTicker, &QTimer::timeout, this, [this, &link, stepMs, endMs] {
            if (endMs >= 0 && mClock.NowMs() >= endMs) {
                mTicker.stop();
                return;
            }
            mClock.Advance(stepMs);
            for (auto &[due, action] : mActions)
                if (action && mClock.NowMs() >= due)
                    std::exchange(action, nullptr)();
            link.PollPort();
            link.ParseReceived();
        });
        mTicker.start(0);
    }
    void At(int64_t ms, std::function<void()> action) { mActions.push_back({ms, std::move(action)}); }
    void AnswerAt(int64_t ms, const QByteArray &reply) { At(ms, [this, reply] { mPort.Feed(reply); }); }

private:
    ManualClock &mClock;
    MemorySerialPort &mPort;
    QTimer mTicker;
    std::vector<std::pair<int64_t, std::function<void()>>> mActions;
};
