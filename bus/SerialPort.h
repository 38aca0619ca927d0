#pragma once
// The serial line as the program uses it: one of four numbered ports, 9600 baud 8N1, raw bytes.
// QtSerialPort (WinSerialPort on Windows) drives a real device; a test hands in a double of its own.
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

    // What the port is now, for the technician to see.
    enum class State {
        Closed,    // not opened yet, or closed on purpose
        Open,
        InUse,     // the last open found the device held by another program
        NotFound,  // the last open found no such device
        Failed,    // the last open failed otherwise
        Vanished   // closed because its device went away
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

    State CurrentState() const { return mState; }
    // Called after the state or the port number changed; null removes it.
    void SetStateHandler(std::function<void()> handler) { mStateChanged = std::move(handler); }

protected:
    // Every implementation reports through these: an attempt to open (its result passed on),
    // a close, and a device that went away while open (after the port closed itself).
    OpenError NoteOpen(OpenError result);
    void NoteClosed() { SetState(State::Closed); }
    void ReportVanished();

    int mPortNumber = 1;

private:
    void SetState(State state);
    void TellStateChanged();

    std::array<QString, kLastPort + 1> mOverrides;
    std::function<void()> mVanished;
    std::function<void()> mStateChanged;
    State mState = State::Closed;
};
