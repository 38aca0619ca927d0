#pragma once
// How long the event loop went without turning: a 10 ms timer records the largest gap
// between two of its ticks, nested loops (the scan's and the locate's waits) included.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class LoopGapMeter : public QObject
{
public:
    explicit LoopGapMeter(int intervalMs = 10);

    // Forgets the gaps so far and measures from now on.
    void Restart();
    qint64 LargestGapMs() const;
    int Ticks() const { return mTicks; }

private:
    void Tick();

    QTimer mTimer;
    QElapsedTimer mSinceTick;
    qint64 mLargest = 0;
    int mTicks = 0;
};
