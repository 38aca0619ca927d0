#pragma once
// The link to the ring: the timers that poll and parse, the automatic refresh (due on the
// program's clock, looked at by each poll), the commands the ring understands, the scan, and the
// one place that decides when a scan is over.
#include "bus/ReplyReceiver.h"
#include "model/Global.h"
#include "model/RingScan.h"

#include <QObject>
#include <QTimer>
#include <optional>

class RingTable;
class SerialPort;

class BusLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPollIntervalMs = 100;
    static constexpr int kRefreshIntervalMs = ::kRefreshIntervalMs;
    static constexpr int kScanLimitMs = 1000;
    // How long one yield of the scan's wait may sleep when nothing happens.
    static constexpr int kScanYieldMs = 5;
    // A ring that has been silent as long as a scan waits for its first reply has said all
    // it will: the scan is over.
    static constexpr int kScanQuietMs = kScanLimitMs;

    BusLink(SerialPort *port, RingTable &table, QObject *parent = nullptr);

    SerialPort *Port() const { return mPort; }
    ReplyReceiver &Receiver() { return mReceiver; }
    const ReplyReceiver &Receiver() const { return mReceiver; }

    // What the poll timer and the parse timer do at each tick: the port's bytes taken in (a scan
    // whose ring went quiet is over), then what came parsed into the table. A driver of its own
    // clock calls them in turn.
    void PollPort();
    void ParseReceived();

    // Sends G, waits up to a second for the first counted module, then reports.
    void Scan(ScanOrigin origin = ScanOrigin::Menu);
    // Sends P to module id: it answers with its record. True when the port took the frame.
    bool Locate(int id);
    // Sends module id its mode byte, with W (kept in its E²PROM) or S (until it is switched
    // off). Only a frame the port took counts as applied. True when it did.
    bool ProgramModule(int id, uint8_t mode, bool keep);

    // The port lost its device: the scan under way, and one still collecting, are cut.
    void PortLost();

    // Whether a scan that finds modules starts the automatic refresh.
    void SetAutoRefresh(bool on) { mAutoRefresh = on; }
    bool AutoRefresh() const { return mAutoRefresh; }

    // Starts reception (Timer1, Timer2); ends a hold.
    void EnableReception();
    // Starts reception, and the automatic refresh where it is on; ends a hold.
    void Resume();
    // Stops all three timers until Resume or EnableReception: a box or dialog that stops
    // the traffic while it is open, or the main window losing activation.
    void Hold();
    // What Resume starts, unless a hold keeps the timers stopped (a device that came back).
    void ResumeUnlessHeld();
    void StopAll();
    // Stops the timers and ends the scan in progress, in its wait or collecting its late
    // replies, without a hand-over: the program is ending.
    void Abandon();
    // The automatic refresh's timer: started (a running one keeps its interval) and stopped.
    void StartRefresh() { EnableRefresh(); }
    void StopRefresh() { mRefreshDueMs.reset(); }
    // True while any scan waits for its first counted module.
    bool ScanWaiting() const { return mWaits > 0; }
    // The serial number the next scan gets.
    uint64_t NextScanSerial() const { return mScan.serial + 1; }
    // The newest scan with the modules counted so far, in ring order: the one under way, or the
    // last one over.
    RingScan Underway() const;

signals:
    // A parse pass has taken what was received into the table; sorted: it ran the side sort.
    void passParsed(bool sorted);
    // A scan is over: all its replies are in, each as it came (none when it found no module).
    void scanSettled(const RingScan &scan);
    // A scan's wait is over. None of the modules answered:
    void noModulesFound();
    // The ring answered: its order is in the table to be drawn.
    void ringFound();
    // Then, one of its modules is of an older firmware generation:
    void foreignModuleFound();
    // or every module is recent enough to be programmed.
    void programmingAllowed();

private:
    void RefreshRing();
    void ReadComInput();
    // "Enabled = True": starts a stopped timer; a running one keeps its interval.
    static void Enable(QTimer &timer);
    // The same for the automatic refresh; Restart counts its interval afresh.
    void EnableRefresh();
    void RestartRefresh();

    void ParsePass();
    void TakeInWaiting();
    void SettleIfQuiet();
    void SettleScan();
    void SettleCutShort();

    QTimer Timer1;  // polls the port
    QTimer Timer2;  // parses what came
    // When the automatic refresh scans next, on the monotonic clock; none while it is stopped.
    std::optional<int64_t> mRefreshDueMs;
    SerialPort *mPort;
    RingTable &mTable;
    ReplyReceiver mReceiver;
    bool mDataReceived = false;  // bytes came since the last parse pass
    bool mAutoRefresh = false;
    RingScan mScan;  // the newest scan: what started it, when, on which port
    // Its wait ended with modules counted, and more of its replies may come.
    bool mCollecting = false;
    // It ended as a successful scan with automatic refresh on: the refresh goes on once it is over.
    bool mRefreshWhenOver = false;
    // A scan that a newer one cut short while the ring still answered it; it takes the
    // replies that come before the newer ring's first.
    std::optional<RingScan> mCutShort;
    int mWaits = 0;  // scans in their wait; a scan started inside another's wait nests
    bool mHeld = false;
    bool mAbandoned = false;
    int64_t mLastInputMs = 0;
};
