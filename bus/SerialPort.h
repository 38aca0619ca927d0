#pragma once
// The serial line as the program uses it: one of four numbered ports, 9600 baud 8N1, raw bytes.
// QtSerialPort (WinSerialPort on Windows) drives a real device; MemorySerialPort stands in
// for it in tests.
#include <QByteArray>
#include <QString>
#include <array>
#include <functional>

class SerialPort
{
public:
    // Why an open failed.
    enum class OpenError {
        None,     // the port is open
        InUse,    // another program holds the device
        NotFound, // no such device
        Other     // anything else, opening a port that is already open included
    };

    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 4;

    virtual ~SerialPort() = default;

    // Selects the port 1 to 4 that the next Open uses; refused (returns false) while open.
    virtual bool SetPortNumber(int number);
    int PortNumber() const { return mPortNumber; }

    virtual OpenError Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual qint64 BytesWaiting() = 0;
    // Every byte waiting, in one piece; empty when the port is closed.
    virtual QByteArray ReadAll() = 0;
    // Queues one block for sending; false when the port is closed or refuses it.
    virtual bool Write(const QByteArray &block) = 0;

    // The device a port number stands for: "COM1".."COM4" on Windows, /dev/ttyS0..3
    // elsewhere, unless an override names another device.
    QString DeviceName(int number) const;
    void SetDeviceOverride(int number, const QString &device);
    static QString DefaultDeviceName(int number);

    // Called after the port closed itself because its device went away; null removes it.
    void SetVanishedHandler(std::function<void()> handler) { mVanished = std::move(handler); }

protected:
    void ReportVanished()
    {
        if (mVanished)
            mVanished();
    }

    int mPortNumber = 1;

private:
    std::array<QString, kLastPort + 1> mOverrides;
    std::function<void()> mVanished;
};
