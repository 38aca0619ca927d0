#include "core/PortConfig.h"

#include "core/Ini.h"
#include "bus/SerialPort.h"

void LoadDeviceOverrides(SerialPort &port, const QString &iniPath)
{
    for (int n = SerialPort::kFirstPort; n <= SerialPort::kLastPort; ++n)
        port.SetDeviceOverride(n, ReadIniString(kAppTitle, QStringLiteral("COM%1").arg(n), iniPath));
}
