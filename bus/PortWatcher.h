#pragma once
// Brings back a port whose device vanished while it was open: looks for the device about
// once a second and, once it opens again, restarts reception as choosing the port does,
// unless a box or the main window's deactivation holds the timers.
#include <QObject>
#include <QTimer>

class BusLink;

class PortWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int kLookIntervalMs = 1000;

    explicit PortWatcher(BusLink *link, QObject *parent = nullptr);
    ~PortWatcher() override;

    bool IsWatching() const { return mTimer.isActive(); }
    // Looks for a device that was missing when the port was to be opened.
    void Start() { mTimer.start(); }
    // The port was chosen or closed on purpose: the vanished device is no longer looked for.
    void Stop() { mTimer.stop(); }
    // One look, as the timer makes it.
    void Look();

private:
    BusLink *mLink;
    QTimer mTimer;
};
