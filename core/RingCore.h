#pragma once
// The ring, run for a window or for none: the port and the link to the ring, the keeper of the
// ring over time, the reference and the events, the ring log, the history, Verify Settings and
// the metrics page. A finished scan is handed to these parts in one order, written in TakeScan;
// what the user must be told leaves as a notice once the hand-over is over, never from inside it.
#include "bus/BusLink.h"
#include "bus/PortWatcher.h"
#include "core/ReferenceRing.h"
#include "core/RingLog.h"
#include "core/SettingsVerifier.h"
#include "history/RingHistory.h"
#include "metrics/MetricsPage.h"
#include "model/EventList.h"
#include "model/RingKeeper.h"

#include <QObject>
#include <QStringList>
#include <memory>

class MetricsServer;
class SerialPort;

class RingCore : public QObject
{
    Q_OBJECT

public:
    enum class Notice { Error, Information };
    Q_ENUM(Notice)

    // port null: a port for real devices of the core's own.
    explicit RingCore(SerialPort *port = nullptr, QObject *parent = nullptr);
    ~RingCore() override;

    SerialPort &Port() { return *mPort; }
    BusLink &Link() { return mLink; }
    PortWatcher &Watcher() { return mWatcher; }
    const RingKeeper &Keeper() const { return mKeeper; }
    EventList &Events() { return mEvents; }
    RingLog &Log() { return mLog; }
    RingHistory &History() { return mHistory; }

    // Reads the configured reference; one that cannot be used is a notice.
    void LoadReference();
    // Opens the configured history and shows the events of earlier runs; a file that cannot
    // be the history is a notice, and the ring runs without it.
    void OpenHistory();
    // The question to ask before Save as Reference replaces a saved reference; empty: none, also
    // where there is no ring that could be saved (Save as Reference then says why).
    QString SaveReferenceQuestion() const;
    // The ring of the last scan that found modules becomes the reference; a failure is a notice.
    void SaveReference();
    void Verify() { mVerifier.Verify(); }
    // Serves the metrics page where the configuration asks for it; a page that cannot be served
    // is a notice. True while it is served.
    bool ServeMetrics();
    // A locate that got no answer in time: a row of the ring log.
    void NoteLocateUnanswered(int position, int id) { mLog.WriteLocateUnanswered(position, id); }

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
    void TakeScan(const RingScan &scan);
    // Stamps the event with the time and adds it to the log and the list.
    void AddEvent(RingEvent &event, const RingScan &scan);
    void Tell(Notice level, const QString &title, const QString &text);

    std::unique_ptr<SerialPort> mOwnedPort;
    SerialPort *mPort;
    BusLink mLink;
    PortWatcher mWatcher{&mLink};
    RingKeeper mKeeper;
    ReferenceRing mReference;
    EventList mEvents;
    RingLog mLog;
    RingHistory mHistory;
    SettingsVerifier mVerifier{mLink};
    ScanCounts mScanCounts;
    std::unique_ptr<MetricsServer> mMetricsServer;
};
