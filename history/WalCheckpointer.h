#pragma once
// Copies the history's write-ahead log back into the file on a thread of its own, now and
// then, so that the scans and the thinning on the program's thread never wait for it.
#include <QString>
#include <QThread>

class WalCheckpointer
{
public:
    static constexpr int kIntervalMs = 10000;

    explicit WalCheckpointer(const QString &path);
    ~WalCheckpointer();

private:
    QThread mThread;
};
