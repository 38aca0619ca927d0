#include "bus/WinSerialPort.h"

#include "bus/DevicePort.h"

std::unique_ptr<SerialPort> MakeDevicePort() { return std::make_unique<WinSerialPort>(); }

WinSerialPort::~WinSerialPort() { Close(); }

SerialPort::OpenError WinSerialPort::MapError(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return OpenError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    // What an open port reads or asks for once its USB adapter has been pulled.
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_INVALID_HANDLE:
        return OpenError::NotFound;
    // A COM port is opened exclusively: another program holding it is refused this way.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return OpenError::InUse;
    default:
        return OpenError::Other;
    }
}

SerialPort::OpenError WinSerialPort::Open()
{
    if (IsOpen())
        return OpenError::Other;
    QString device = DeviceName(mPortNumber);
    if (!device.startsWith(QLatin1String("\\\\")))
        device.prepend(QLatin1String("\\\\.\\"));
    mHandle = CreateFileW(reinterpret_cast<LPCWSTR>(device.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                          nullptr, OPEN_EXISTING, 0, nullptr);
    if (mHandle == INVALID_HANDLE_VALUE) {
        const OpenError error = MapError(GetLastError());
        return NoteOpen(error == OpenError::None ? OpenError::Other : error);
    }
    if (!Configure()) {
        Close();
        return NoteOpen(OpenError::Other);
    }
    return NoteOpen(OpenError::None);
}

bool WinSerialPort::Configure()
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(mHandle, &dcb))
        return false;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    // A framing or overrun error must not stop reading until someone clears it.
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(mHandle, &dcb))
        return false;
    // A read returns at once with what is waiting; a write waits until it is sent, a second at most.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    return SetCommTimeouts(mHandle, &timeouts);
}

void WinSerialPort::Close()
{
    if (mHandle != INVALID_HANDLE_VALUE)
        CloseHandle(mHandle);
    mHandle = INVALID_HANDLE_VALUE;
    mReceived.clear();
    NoteClosed();
}

bool WinSerialPort::IsOpen() const { return mHandle != INVALID_HANDLE_VALUE; }

void WinSerialPort::Vanish()
{
    Close();
    ReportVanished();
}

void WinSerialPort::Fetch()
{
    if (!IsOpen())
        return;
    // Clears a line error too, which would otherwise hold back the bytes behind it.
    if (!ClearCommError(mHandle, nullptr, nullptr)) {
        if (DeviceGone(GetLastError()))
            Vanish();
        return;
    }
    // Read until a read comes back short.
    char chunk[1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(mHandle, chunk, sizeof chunk, &got, nullptr)) {
            if (DeviceGone(GetLastError()))
                Vanish();
            return;
        }
        mReceived.append(chunk, qsizetype(got));
        if (got < sizeof chunk)
            return;
    }
}

qint64 WinSerialPort::BytesWaiting()
{
    Fetch();
    return mReceived.size();
}

QByteArray WinSerialPort::ReadAll()
{
    Fetch();
    QByteArray all;
    all.swap(mReceived);
    return all;
}

bool WinSerialPort::Write(const QByteArray &block)
{
    if (!IsOpen())
        return false;
    DWORD written = 0;
    if (!WriteFile(mHandle, block.constData(), DWORD(block.size()), &written, nullptr)) {
        if (DeviceGone(GetLastError())) {
            Vanish();
            return false;
        }
        // A write the system gave up on: nothing of the frame may follow later.
        PurgeComm(mHandle, PURGE_TXABORT | PURGE_TXCLEAR);
        return false;
    }
    // A write that timed out ends without an error, short of its block. It failed, however
    // long it took, and the rest of its frame is dropped so that no broken frame follows.
    if (written < DWORD(block.size())) {
        PurgeComm(mHandle, PURGE_TXABORT | PURGE_TXCLEAR);
        return false;
    }
    return true;
}
