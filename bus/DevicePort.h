#pragma once
// The port class that drives a real device on this system.
#include "bus/SerialPort.h"

#include <memory>

std::unique_ptr<SerialPort> MakeDevicePort();
