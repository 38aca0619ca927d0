#pragma once
// The ring watched without a window: the configured port opened, and looked for once a second
// while it is missing; a scan at start, then one every scan_interval seconds from the last G (at
// once after a scan that took longer), whatever it found; each event, each scan cut by a lost
// port and each change of the port's state as a line; what the core must tell as a notice; the
// metrics page where the configuration asks for it. It never asks anything.
#include "core/RingCore.h"

#include <QObject>
#include <QTimer>

class HeadlessWatch : public QObject
{
    Q_OBJECT

public:
    explicit HeadlessWatch(QObject *parent = nullptr);

    // Opens the core with the configuration, and its port, and starts watching.
    void Start(const ProgramConfig &config);
    // Ends the watch: the scan in progress abandoned, the port closed.
    void Stop();
    // Reads the configuration file again and follows it: the port (reopened where it changed),
    // the scan interval, the page and the history. A file that can no longer be watched by is a
    // notice, and the watch goes on as it was.
    void Reread();

    RingCore &Core() { return mCore; }

    // "2026-12-07T13:28:29+01:00 57 Module 57 missing"; "-" where no module is named.
    static QString Line(const QDateTime &time, int id, const QString &text);

signals:
    // A line for standard output: an event, a scan cut by a lost port, or the port's new state.
    void line(const QString &text);
    // A line for standard error: what the core must tell.
    void notice(const QString &text);

private:
    void OpenPort();
    // The next G due scan_interval after the last, or at once where that has passed.
    void ScheduleNext();
    void ScanNext();
    void TellPortState();

    RingCore mCore;
    QTimer *mScanTimer;
    int64_t mIntervalMs = 10000;
    int64_t mLastScanMs = 0;  // when the last G went out, on the monotonic clock
    QString mPortState;
    bool mStopped = false;
};
