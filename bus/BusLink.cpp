#include "bus/BusLink.h"

#include "bus/ScanView.h"
#include "bus/SendCommand.h"
#include "bus/SerialPort.h"
#include "bus/WaitLoop.h"
#include "model/Clock.h"
#include "model/Global.h"

#include <algorithm>

BusLink::BusLink(SerialPort *port, QObject *parent)
    : QObject(parent), mPort(port)
{
    Timer1.setInterval(kPollIntervalMs);
    Timer2.setInterval(kPollIntervalMs);
    Timer3.setInterval(kRefreshIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &BusLink::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &BusLink::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &BusLink::Timer3_Timer);
}

void BusLink::Enable(QTimer &timer)
{
    if (!timer.isActive())
        timer.start();
}

void BusLink::EnableReception()
{
    Enable(Timer1);
    Enable(Timer2);
}

void BusLink::StopAll()
{
    Timer1.stop();
    Timer2.stop();
    Timer3.stop();
    mRefreshAfterReplies = false;
}

void BusLink::Timer1_Timer()
{
    if (mPort && mPort->BytesWaiting() != 0) {
        Timer3.stop();
        ReadComInput();
    } else if (!gDataReceived) {
        // The line has been quiet since the last pass: a frame cut off then will not
        // be completed, and keeping it would put the next reply out of step.
        mReceiver.DropRemainder();
        mRefreshAfterReplies = false;
    }
}

void BusLink::ReadComInput()
{
    Timer1.stop();
    Timer2.stop();
    if (mPort)
        mReceiver.Append(mPort->ReadAll());
    gDataReceived = true;
    Timer2.start();
    Timer1.start();
}

void BusLink::Timer2_Timer()
{
    // A read that comes first postpones the pass: both timers fall due together, and
    // while the ring is still answering the pass waits for the line to pause, so a short
    // ring is parsed whole (the buffer's early parse keeps a long answer from filling it).
    if (gDataReceived && mPort && mPort->BytesWaiting() != 0) {
        Timer1_Timer();
        return;
    }
    if (gDataReceived)
        ParsePass();
    else
        mReceiver.Reset();
    gDataReceived = false;
    Enable(Timer1);
    SettleScan();
}

void BusLink::SettleScan()
{
    // Every pass that gets here found the line quiet for a poll interval.
    if (!mScanUnsettled)
        return;
    mScanUnsettled = false;
    mScan.order.assign(gModuleOrder.begin(), gModuleOrder.begin() + std::clamp<int>(gModuleCount, 0, kTableSize));
    emit scanSettled(mScan);
}

void BusLink::ParsePass()
{
    Timer1.stop();
    Timer2.stop();
    Timer3.stop();
    const bool sorted = mReceiver.ParseWaiting();
    gDataReceived = false;
    // A long ring is still answering when the scan's wait ends; its replies stopped the
    // automatic refresh that the scan had started, so it starts once they are in.
    if (mRefreshAfterReplies && gAutoRefresh)
        Timer3.start();
    mRefreshAfterReplies = false;
    emit passParsed(sorted);
}

void BusLink::Timer3_Timer()
{
    if (gAutoRefresh)
        Scan(ScanOrigin::AutoRefresh);
}

void BusLink::Scan(ScanOrigin origin)
{
    mScan = RingScan{mScan.serial + 1, origin, {}};
    mScanUnsettled = false;
    gModuleCount = 0;
    mRefreshAfterReplies = false;
    const uint8_t cmd = 'G';
    SendCommand(cmd);

    mScanWaiting = true;
    const int64_t t0 = TheClock().ElapsedMs();
    while (gModuleCount == 0) {
        YieldToEventLoop(kScanYieldMs);
        if (TimeIsUp(t0, kScanLimitMs))
            break;
    }
    mScanWaiting = false;

    // Replies that came in just before the limit count, although no pass has run yet.
    if (gModuleCount == 0 && mPort && mPort->BytesWaiting() != 0)
        ReadComInput();
    if (gModuleCount == 0 && gDataReceived) {
        ParsePass();
        Enable(Timer1);
    }

    if (gModuleCount == 0) {
        Timer3.stop();
        emit scanSettled(mScan);
        if (mView)
            mView->ShowNoModulesFound();
        return;
    }
    // A parse pass stops Timer2 until the next read: stopped now, the replies were all
    // parsed in a pass that found the line quiet, and nothing came since.
    mScanUnsettled = true;
    if (!Timer2.isActive())
        SettleScan();
    if (mView)
        mView->RedrawRing();
    if (gMinVersion < kMinAcceptedVersion) {
        if (mView)
            mView->ShowForeignModuleWarning();
        return;
    }
    if (mView)
        mView->EnableApplyButtons();
    if (gModuleCount >= 1 && gAutoRefresh) {
        Timer3.start();
        mRefreshAfterReplies = true;
    }
}
