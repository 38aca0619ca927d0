#pragma once
// The ring, run for a window or for none, and the only door to it: the configuration, the port
// and the link to the ring, the live ring table, the commands, the keeper of the ring over time,
// the reference and the events, the ring log, the history, Verify Settings, the record of every
// programming, the metrics page and the Modbus registers.
// A finished scan is handed to these parts in one order, written in TakeScan; what the user
// must be told leaves as a notice once the hand-over is over, never from inside it.
#include "bus/BusLink.h"
#include "bus/PortWatcher.h"
#include "bus/SerialPort.h"
#include "core/ProgramConfig.h"
#include "core/ProgrammingLog.h"
#include "core/ReferenceRing.h"
#include "core/RingLog.h"
#include "core/SettingsVerifier.h"
#include "history/RingHistory.h"
#include "metrics/MetricsPage.h"
#include "model/EventList.h"
#include "model/RingKeeper.h"
#include "model/RingTable.h"
#include "modbus/ModbusMap.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class SerialPort;

class RingCore : public QObject
{
    Q_OBJECT

public:
    enum class Notice { Error, Information };
    Q_ENUM(Notice)

    // An address not up yet when the program starts (a network still coming up at boot).
    static constexpr int kMetricsRetryMs = 10000;

    // port null: a port for real devices of the core's own.
    explicit RingCore(SerialPort *port = nullptr, QObject *parent = nullptr);
    ~RingCore() override;

    // What programming the whole ring came to.
    struct RingProgramming
    {
        int total = 0;      // modules to program
        int sent = 0;       // frames the port took
        int failedID = -1;  // the module whose frame the port refused; -1: none
    };

    SerialPort &Port() { return *mPort; }
    const SerialPort &Port() const { return *mPort; }
    BusLink &Link() { return mLink; }
    PortWatcher &Watcher() { return mWatcher; }
    const RingTable &Table() const { return mTable; }
    const RingKeeper &Keeper() const { return mKeeper; }
    EventList &Events() { return mEvents; }
    RingHistory &History() { return mHistory; }
    ProgrammingLog &Programming() { return mProgramming; }
    const ProgramConfig &Config() const { return mConfig; }

    enum class HistoryOpening { Now, Later };
    // Opens the core with a configuration: the devices behind the port numbers, the ring log,
    // the reference, the history (with the events of earlier runs; Later: at OpenHistory) and
    // the metrics page and the Modbus server. What cannot be used is a notice, and the ring runs
    // without it.
    void Start(const ProgramConfig &config, HistoryOpening history = HistoryOpening::Now);
    // Opens the configured history and shows the events of earlier runs.
    void OpenHistory();
    // Reads the configuration file again where it changed since, and follows it. True when it changed.
    bool Reread();
    // Takes config as the configuration: the port's devices, the ring log, the debug switch, the
    // history (where it is open) and the metrics page follow it. The port stays as it is.
    void Follow(const ProgramConfig &config);
    // Opens the configured port.
    SerialPort::OpenError OpenConfiguredPort();
    // The COM port dialog's choice (0: none): kept in the configuration file and opened.
    void ChoosePort(int number);
    // "COM1 (/dev/ttyUSB0) open", ... as the status bar and the watcher say it.
    QString PortStateText() const;

    // The commands the ring understands.
    void Scan(ScanOrigin origin = ScanOrigin::Menu) { mLink.Scan(origin); }
    bool Locate(int id) { return mLink.Locate(id); }
    // A locate that got no answer in time: the module reads faulty, and the ring log has a row.
    void LocateUnanswered(int position, int id);
    // Sends module id its mode byte (W when keep) and records it. True when the port took the frame.
    bool ProgramModule(int id, uint8_t mode, bool keep);
    // Programs every module of the last scan, the attached module last, stopping at the first frame
    // the port refuses. Before each frame, keepNext(index, total) tells whether the module keeps the
    // mode in its E²PROM; it may yield to the event loop.
    RingProgramming ProgramRing(uint8_t mode, const std::function<bool(int index, int total)> &keepNext);
    void SetAutoRefresh(bool on);
    bool Debug() const { return mLink.Receiver().Echo(); }
    void SetDebug(bool on) { mLink.Receiver().SetEcho(on); }
    // The lowest firmware seen is counted afresh from the next reply.
    void ResetMinVersion() { mTable.ResetMinVersion(); }

    // The question to ask before Save as Reference replaces a saved reference with ring; empty:
    // none, also where ring could not be saved (Save as Reference then says why).
    QString SaveReferenceQuestion(const RingScan &ring) const;
    // ring becomes the reference; a ring that cannot be one, or a file that cannot be written,
    // is a notice, and the reference stays as it was.
    void SaveReference(const RingScan &ring);
    void Verify() { mVerifier.Verify(); }

    // How the last ring found differs from the reference: for the report.
    QStringList ReferenceDifferences() const;
    // "Reference: 118 of 120 present", "No reference ring", "Reference unreadable: line 7".
    QString ReferenceText() const;
    // "3 new events"; empty when all are acknowledged.
    QString NewEventsText() const;

signals:
    // A finished scan, after the core's own parts have taken it.
    void scanHandedOver(const RingScan &scan);
    // A verification is over (its results are the keeper's).
    void verified();
    // Something the user must be told; always sent after the hand-over that caused it.
    void notice(RingCore::Notice level, const QString &title, const QString &text);
    // A scan of the automatic refresh brought a missing module, a faulty channel or no ring.
    void alarm();
    // The reference, or what the status bar says of it, changed.
    void referenceChanged();
    // The port opened, closed, failed to open or lost its device; or its number changed.
    void portStateChanged();

private:
    // The port whose events in the history are this program's: the configured one, before it
    // is opened too.
    int OwnPort() const;
    void LoadReference();
    // The keeper compares with the reference as it stands on disk.
    void KeepReferenceLoaded();
    // A page that cannot be served yet is tried again every kMetricsRetryMs, told once.
    bool ServeMetrics();
    bool ServeModbus();
    void ApplyConfig();
    void TakeScan(const RingScan &scan);
    // Stamps the event with the time and adds it to the log and the list.
    void AddEvent(RingEvent &event, const RingScan &scan);
    void Tell(Notice level, const QString &title, const QString &text);
    // A programming's record, stamped now, on the port in use.
    ProgrammingRecord BegunHere(ProgrammingKind kind) const;

    ProgramConfig mConfig;
    std::unique_ptr<SerialPort> mOwnedPort;
    SerialPort *mPort;
    RingTable mTable;
    BusLink mLink{mPort, mTable};
    PortWatcher mWatcher{&mLink};
    RingKeeper mKeeper;
    ReferenceRing mReference;
    EventList mEvents;
    RingLog mLog;
    RingHistory mHistory;
    SettingsVerifier mVerifier{mLink, mTable};
    ProgrammingLog mProgramming{mHistory};
    ScanCounts mScanCounts;
    std::unique_ptr<QObject> mMetricsServer;
    ModbusMap mModbusMap;
    std::unique_ptr<QObject> mModbusServer;
    QTimer *mMetricsRetry;
};
