#pragma once
// Brings a request to end the program onto its thread: SIGTERM and SIGINT, and on Windows
// Ctrl+C, Ctrl+Break, the console closing and a WM_CLOSE sent to the program's thread.
#include <QObject>
#include <memory>

class StopSignals : public QObject
{
    Q_OBJECT

public:
    // One at a time.
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void stopRequested();

private:
    struct Platform;
    std::unique_ptr<Platform> mPlatform;
};
