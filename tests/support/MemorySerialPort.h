#pragma once
// An in-memory serial line for tests: the test plays the ring, feeding replies and reading frames.
#include "bus/SerialPort.h"

#include <QList>
#include <array>
#include <functional>
#include <utility>

class MemorySerialPort : public SerialPort
{
public:
    OpenError Open() override
    {
        if (mOpen)
            return OpenError::Other;
        const OpenError result = mOpenResults[size_t(mPortNumber)];
        if (result == OpenError::None) {
            mOpen = true;
            ++openCount;
        }
        return NoteOpen(result);
    }
    void Close() override
    {
        if (mOpen)
            ++closeCount;
        mOpen = false;
        NoteClosed();
    }
    bool IsOpen() const override { return mOpen; }
    qint64 BytesWaiting() override { return mOpen ? mIncoming.size() : 0; }
    QByteArray ReadAll() override { return mOpen ? std::exchange(mIncoming, {}) : QByteArray(); }
    bool Write(const QByteArray &block) override
    {
        if (!mOpen || (refuses && refuses(block)))
            return false;
        written.append(block);
        return true;
    }

    // What the ring sends next.
    void Feed(const QByteArray &bytes) { mIncoming += bytes; }
    // The device goes away while the port is open: closed, as a real port closes itself.
    void Vanish()
    {
        if (!mOpen)
            return;
        mOpen = false;
        ReportVanished();
    }
    // What Open answers for a port number (None by default).
    void SetOpenResult(int number, OpenError result) { mOpenResults[size_t(number)] = result; }

    QList<QByteArray> written;  // every block written, in order
    // A block the port does not take, as a driver that fails the write; none when empty.
    std::function<bool(const QByteArray &block)> refuses;
    int openCount = 0;
    int closeCount = 0;

private:
    bool mOpen = false;
    QByteArray mIncoming;
    std::array<OpenError, kLastPort + 1> mOpenResults{};
};
