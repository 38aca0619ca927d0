#pragma once
// Brings a request to end the program onto its thread: SIGTERM and SIGINT, and on Windows
// Ctrl+C, Ctrl+Break, the console closing and a WM_CLOSE sent to the program's thread; and
// SIGHUP's request to read the configuration file again.
#include <QObject>
#include <memory>

class StopSignals : public QObject
{
    Q_OBJECT

public:
    // Catches the signals from now on (and unblocks them), before any application object exists:
    // what comes before a StopSignals is made waits for it, and what comes after the last is gone
    // ends nothing.
    static void CatchEarly();

    // One at a time.
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void stopRequested();
    void rereadRequested();

private:
    struct Platform;
    std::unique_ptr<Platform> mPlatform;
};
