#pragma once
// The ring watched without a window: the configured port opened, and looked for once a second
// while it is missing; a scan at start and another 10 s after each hand-over, whatever it found;
// each event, each scan cut by a lost port and each change of the port's state as a line; what the core must tell as a
// notice; the metrics page where the configuration asks for it. It never asks anything.
#include "core/RingCore.h"

#include <QObject>
#include <QTimer>

class HeadlessWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int kScanIntervalMs = 10000;

    explicit HeadlessWatch(QObject *parent = nullptr);

    // Opens port comport (1 to 4) of the configuration in gIniPath and starts watching.
    void Start(int comport);
    // Ends the watch: the scan in progress abandoned, the port closed.
    void Stop();
    // The scan timer's handler.
    void ScanTimer_Timer();

    RingCore &Core() { return mCore; }
    const QTimer &ScanTimer() const { return mScanTimer; }

    // "2026-12-07T13:28:29+01:00 57 Module 57 missing"; "-" where no module is named.
    static QString Line(const QDateTime &time, int id, const QString &text);

signals:
    // A line for standard output: an event, a scan cut by a lost port, or the port's new state.
    void line(const QString &text);
    // A line for standard error: what the core must tell.
    void notice(const QString &text);

private:
    void TellPortState();

    RingCore mCore;
    QTimer mScanTimer;
    QString mPortState;
    bool mStopped = false;
};
