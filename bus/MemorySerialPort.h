#pragma once
// An in-memory serial line for tests: the test plays the ring, feeding replies and reading frames.
#include "bus/SerialPort.h"

#include <QList>
#include <array>

class MemorySerialPort : public SerialPort
{
public:
    OpenError Open() override;
    void Close() override;
    bool IsOpen() const override { return mOpen; }
    qint64 BytesWaiting() override { return mOpen ? mIncoming.size() : 0; }
    QByteArray ReadAll() override;
    bool Write(const QByteArray &block) override;

    // What the ring sends next.
    void Feed(const QByteArray &bytes) { mIncoming += bytes; }
    // The device goes away while the port is open: closed, as a real port closes itself.
    void Vanish();
    // What Open answers for a port number (None by default).
    void SetOpenResult(int number, OpenError result) { mOpenResults[size_t(number)] = result; }

    QList<QByteArray> written;  // every block written, in order
    int openCount = 0;
    int closeCount = 0;

private:
    bool mOpen = false;
    QByteArray mIncoming;
    std::array<OpenError, kLastPort + 1> mOpenResults{};
};
