#pragma once
// Which device each of the four port numbers stands for, from the optional keys "COM1" to
// "COM4" of the configuration file's section (COM1=/dev/ttyUSB0, COM3=COM12, ...).
#include <QString>

class SerialPort;

void LoadDeviceOverrides(SerialPort &port, const QString &iniPath);
