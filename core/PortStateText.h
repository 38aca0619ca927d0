#pragma once
// The words for the serial port, as the status bar and the windowless watcher say them: which
// port, the device behind it and its state.
#include "bus/SerialPort.h"

#include <QString>

// "COM1 (/dev/ttyUSB0)": the port number and the device behind it.
QString PortLabel(int number, const QString &device);
QString PortLabel(const SerialPort &port);

// chosen: the configured port 1 to 4, 0 when none is chosen; number and device: the port as
// it stands; watching: a vanished device is looked for again.
QString PortStateText(int chosen, int number, const QString &device, SerialPort::State state, bool watching);
