#pragma once
// The serial line on a Windows COM port through the Win32 API: a plain handle read at once
// with whatever is waiting, so it carries the replies where overlapped event waits do not.
#include "bus/SerialPort.h"

#include <windows.h>

class WinSerialPort : public SerialPort
{
public:
    ~WinSerialPort() override;

    OpenError Open() override;
    void Close() override;
    bool IsOpen() const override;
    qint64 BytesWaiting() override;
    QByteArray ReadAll() override;
    bool Write(const QByteArray &block) override;

    // How long a write may take before the system ends it short: a wedged adapter must not
    // hold the program.
    static constexpr DWORD kWriteTimeoutMs = 1000;

    // How a Win32 error code reads in our terms.
    static OpenError MapError(DWORD error);
    // Whether a failed read or write on an open port means that its device went away.
    static bool DeviceGone(DWORD error) { return MapError(error) == OpenError::NotFound; }

private:
    bool Configure();
    // Moves everything the driver holds into mReceived; closes the port when its device went away.
    void Fetch();
    void Vanish();

    HANDLE mHandle = INVALID_HANDLE_VALUE;
    QByteArray mReceived;
};
