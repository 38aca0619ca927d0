#include "bus/BusLink.h"

#include "bus/SendCommand.h"
#include "bus/SerialPort.h"
#include "bus/WaitLoop.h"
#include "model/Clock.h"
#include "model/RingTable.h"

#include <algorithm>

BusLink::BusLink(SerialPort *port, RingTable &table, QObject *parent)
    : QObject(parent), mPort(port), mTable(table), mReceiver(table)
{
    Timer1.setInterval(kPollIntervalMs);
    Timer2.setInterval(kPollIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &BusLink::PollPort);
    connect(&Timer2, &QTimer::timeout, this, &BusLink::ParseReceived);
}

void BusLink::Enable(QTimer &timer)
{
    if (!timer.isActive())
        timer.start();
}

void BusLink::EnableRefresh()
{
    if (!mRefreshDueMs)
        RestartRefresh();
}

void BusLink::RestartRefresh() { mRefreshDueMs = TheClock().ElapsedMs() + kRefreshIntervalMs; }

void BusLink::EnableReception()
{
    mHeld = false;
    Enable(Timer1);
    Enable(Timer2);
}

void BusLink::Resume()
{
    EnableReception();
    if (mAutoRefresh)
        EnableRefresh();
}

void BusLink::Hold()
{
    StopAll();
    mHeld = true;
}

void BusLink::ResumeUnlessHeld()
{
    if (!mHeld)
        Resume();
}

void BusLink::StopAll()
{
    Timer1.stop();
    Timer2.stop();
    StopRefresh();
}

void BusLink::Abandon()
{
    StopAll();
    mAbandoned = true;
    mCollecting = false;
    mRefreshWhenOver = false;
    mCutShort.reset();
}

void BusLink::PollPort()
{
    if (mPort && mPort->BytesWaiting() != 0) {
        StopRefresh();
        ReadComInput();
        return;
    }
    if (!mDataReceived) {
        // The line has been quiet since the last pass: a frame cut off then will not
        // be completed, and keeping it would put the next reply out of step.
        mReceiver.DropRemainder();
        SettleIfQuiet();
    }
    if (mRefreshDueMs && TheClock().ElapsedMs() >= *mRefreshDueMs) {
        mRefreshDueMs.reset();
        // Outside this handler: its scan waits for the poll, which does not run inside itself.
        QMetaObject::invokeMethod(this, &BusLink::RefreshRing, Qt::QueuedConnection);
    }
}

void BusLink::ReadComInput()
{
    Timer1.stop();
    Timer2.stop();
    if (mPort)
        mReceiver.Append(mPort->ReadAll());
    mLastInputMs = TheClock().ElapsedMs();
    mDataReceived = true;
    Timer2.start();
    Timer1.start();
}

void BusLink::ParseReceived()
{
    // A read that comes first postpones the pass: both timers fall due together, and
    // while the ring is still answering the pass waits for the line to pause, so a short
    // ring is parsed whole (the buffer's early parse keeps a long answer from filling it).
    if (mDataReceived && mPort && mPort->BytesWaiting() != 0) {
        PollPort();
        return;
    }
    if (mDataReceived)
        ParsePass();
    else
        mReceiver.Reset();
    mDataReceived = false;
    Enable(Timer1);
}

void BusLink::ParsePass()
{
    Timer1.stop();
    Timer2.stop();
    StopRefresh();
    const bool sorted = mReceiver.ParseWaiting();
    mDataReceived = false;
    emit passParsed(sorted);
    if (mCutShort && !mReceiver.CarryingOver())
        SettleCutShort();
}

// Everything the port holds now goes through a parse pass.
void BusLink::TakeInWaiting()
{
    if (mPort && mPort->BytesWaiting() != 0)
        ReadComInput();
    if (mDataReceived) {
        ParsePass();
        Enable(Timer1);
    }
}

void BusLink::SettleIfQuiet()
{
    if ((!mCollecting && !mCutShort) || TheClock().ElapsedMs() - mLastInputMs < kScanQuietMs)
        return;
    if (mCutShort)
        SettleCutShort();
    // A scan inside another's wait shares the ring with it: it is over once both waits are.
    if (mCollecting && mWaits == 0)
        SettleScan();
}

RingScan BusLink::Underway() const
{
    RingScan scan = mScan;
    scan.modules = mReceiver.Readings();
    return scan;
}

void BusLink::SettleScan()
{
    mCollecting = false;
    emit scanSettled(Underway());
    // Its late replies stopped the automatic refresh that the scan had started.
    if (mRefreshWhenOver && mAutoRefresh)
        EnableRefresh();
    mRefreshWhenOver = false;
}

void BusLink::SettleCutShort()
{
    RingScan scan = std::move(*mCutShort);
    mCutShort.reset();
    scan.modules = mReceiver.TakeCarriedOver();
    emit scanSettled(scan);
}

void BusLink::RefreshRing()
{
    if (mAutoRefresh && !mHeld)
        Scan(ScanOrigin::AutoRefresh);
}

void BusLink::Scan(ScanOrigin origin)
{
    const uint64_t serial = mScan.serial + 1;
    if (mCollecting || mCutShort) {
        // The ring may still be answering the last scan: what came so far is its ring, and
        // so is what comes before the new ring's first reply.
        TakeInWaiting();
        if (mCutShort)
            SettleCutShort();
        if (mCollecting) {
            mCollecting = false;
            mCutShort = mScan;
            mReceiver.CarryOver({mTable.Order().begin(), mTable.Order().end()});
        }
    }
    mScan = RingScan{};
    mScan.serial = serial;
    mScan.origin = origin;
    mScan.sentMs = TheClock().EpochMs();
    if (mPort) {
        mScan.portNumber = mPort->PortNumber();
        mScan.device = mPort->DeviceName(mScan.portNumber);
    }
    mRefreshWhenOver = false;
    mAbandoned = false;
    mTable.ClearOrder();
    mReceiver.BeginScan();
    SendCommand(mPort, 'G');

    ++mWaits;
    int64_t t0 = TheClock().ElapsedMs();
    size_t carried = mReceiver.CarriedCount();
    while (mTable.Count() == 0) {
        YieldToEventLoop(kScanYieldMs);
        // While the ring finishes its answer to the scan before, it cannot answer this one:
        // the second counts from its last reply to that.
        if (mReceiver.CarryingOver() && mReceiver.CarriedCount() != carried) {
            carried = mReceiver.CarriedCount();
            t0 = TheClock().ElapsedMs();
        }
        if (TimeIsUp(t0, kScanLimitMs) || mAbandoned)
            break;
    }
    --mWaits;
    if (mAbandoned)
        return;

    // Replies that came in just before the limit count, although no pass has run yet.
    if (mTable.Count() == 0)
        TakeInWaiting();

    if (mTable.Count() == 0) {
        StopRefresh();
        // A scan started inside this one's wait and finding none has said so already.
        if (mScan.serial == serial) {
            if (mCutShort)
                SettleCutShort();
            emit scanSettled(mScan);
        }
        emit noModulesFound();
        return;
    }
    mCollecting = true;
    emit ringFound();
    if (mTable.MinVersion() < kMinAcceptedVersion) {
        emit foreignModuleFound();
        return;
    }
    emit programmingAllowed();
    if (mTable.Count() >= 1 && mAutoRefresh) {
        RestartRefresh();
        mRefreshWhenOver = true;
    }
}

void BusLink::PortLost()
{
    if (mWaits > 0 || mCollecting)
        mScan.cut = true;
    if (mCutShort)
        mCutShort->cut = true;
}

bool BusLink::Locate(int id) { return SendCommand(mPort, 'P', uint8_t(id % 256), uint8_t(id / 256)); }

bool BusLink::ProgramModule(int id, uint8_t mode, bool keep)
{
    if (!SendCommand(mPort, keep ? 'W' : 'S', uint8_t(id % 256), uint8_t(id / 256), mode))
        return false;
    mTable.RecordApplied(id, mode);
    return true;
}
