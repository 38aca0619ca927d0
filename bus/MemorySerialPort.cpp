#include "bus/MemorySerialPort.h"

SerialPort::OpenError MemorySerialPort::Open()
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

void MemorySerialPort::Close()
{
    if (mOpen)
        ++closeCount;
    mOpen = false;
    NoteClosed();
}

void MemorySerialPort::Vanish()
{
    if (!mOpen)
        return;
    mOpen = false;
    ReportVanished();
}

QByteArray MemorySerialPort::ReadAll()
{
    if (!mOpen)
        return QByteArray();
    QByteArray bytes;
    bytes.swap(mIncoming);
    return bytes;
}

bool MemorySerialPort::Write(const QByteArray &block)
{
    if (!mOpen)
        return false;
    written.append(block);
    return true;
}
