#include "bus/SerialPort.h"

bool SerialPort::SetPortNumber(int number)
{
    if (IsOpen() || number < kFirstPort || number > kLastPort)
        return false;
    if (number != mPortNumber) {
        mPortNumber = number;
        TellStateChanged();
    }
    return true;
}

SerialPort::OpenError SerialPort::NoteOpen(OpenError result)
{
    switch (result) {
    case OpenError::None: SetState(State::Open); break;
    case OpenError::InUse: SetState(State::InUse); break;
    case OpenError::NotFound: SetState(State::NotFound); break;
    case OpenError::Other: SetState(State::Failed); break;
    }
    return result;
}

// The handler runs first, so that whoever is told of the new state already knows whether
// the device is looked for again.
void SerialPort::ReportVanished()
{
    if (mVanished)
        mVanished();
    SetState(State::Vanished);
}

void SerialPort::SetState(State state)
{
    if (state == mState)
        return;
    mState = state;
    TellStateChanged();
}

void SerialPort::TellStateChanged()
{
    if (mStateChanged)
        mStateChanged();
}

QString SerialPort::DefaultDeviceName(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString SerialPort::DeviceName(int number) const
{
    if (number < kFirstPort || number > kLastPort)
        return QString();
    const QString &override = mOverrides[size_t(number)];
    return override.isEmpty() ? DefaultDeviceName(number) : override;
}

void SerialPort::SetDeviceOverride(int number, const QString &device)
{
    if (number >= kFirstPort && number <= kLastPort)
        mOverrides[size_t(number)] = device.trimmed();
}
