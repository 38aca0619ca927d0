#pragma once
// Copies the history's write-ahead log back into the file on a thread of its own every second,
// so that the scans and the thinning on the program's thread never wait for it. Each copy first
// syncs the log to the disk: the commits, which do not wait for the disk, are on it within a second.
#include <QString>
#include <QThread>

class WalCheckpointer
{
public:
    static constexpr int kIntervalMs = 1000;

    explicit WalCheckpointer(const QString &path);
    ~WalCheckpointer();

private:
    QThread mThread;
};
