#include "bus/SerialPort.h"

bool SerialPort::SetPortNumber(int number)
{
    if (IsOpen() || number < kFirstPort || number > kLastPort)
        return false;
    mPortNumber = number;
    return true;
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
