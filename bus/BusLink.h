#pragma once
// The link to the ring: the three timers that poll, parse and refresh, and the scan.
#include "bus/ReplyReceiver.h"
#include "model/RingScan.h"

#include <QObject>
#include <QTimer>

class ScanView;
class SerialPort;

class BusLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPollIntervalMs = 100;
    static constexpr int kRefreshIntervalMs = 10000;
    static constexpr int kScanLimitMs = 1000;
    // How long one yield of the scan's wait may sleep when nothing happens.
    static constexpr int kScanYieldMs = 5;

    explicit BusLink(SerialPort *port, QObject *parent = nullptr);

    void SetScanView(ScanView *view) { mView = view; }
    SerialPort *Port() const { return mPort; }
    ReplyReceiver &Receiver() { return mReceiver; }

    // Timer handlers, public so that tests can drive them.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void ReadComInput();

    // Sends G, waits up to a second for the first counted module, then reports.
    void Scan(ScanOrigin origin = ScanOrigin::Menu);
    // The serial that the next scan's RingScan will carry.
    uint64_t NextScanSerial() const { return mScan.serial + 1; }

    // "Enabled = True": starts a stopped timer; a running one keeps its interval.
    static void Enable(QTimer &timer);
    void EnableReception();
    void StopAll();
    // True while a scan waits for its first counted module.
    bool ScanWaiting() const { return mScanWaiting; }

signals:
    // A parse pass has taken what was received into the table; sorted: it ran the side sort.
    void passParsed(bool sorted);

public:

    QTimer Timer1;  // polls the port
    QTimer Timer2;  // parses what came
    QTimer Timer3;  // automatic refresh

signals:
    // A scan is over: all its replies are in (its order empty when it found no module).
    void scanSettled(const RingScan &scan);

private:
    void SettleScan();
    void ParsePass();

    SerialPort *mPort;
    ScanView *mView = nullptr;
    ReplyReceiver mReceiver;
    bool mScanUnsettled = false;
    bool mScanWaiting = false;
    // The last scan succeeded with automatic refresh on, and its replies may still come.
    bool mRefreshAfterReplies = false;
    RingScan mScan;
};
