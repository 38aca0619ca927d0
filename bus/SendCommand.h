#pragma once
// The one way out to the ring: a command frame written to a port.
#include "bus/SerialPort.h"

#include <cstdint>

// Builds the frame from cmd and its three argument bytes and hands it to the port. Nothing is
// awaited; with no port, or a closed one, the frame is lost. True when the port took the frame,
// for a caller that must not count a lost frame as sent.
bool SendCommand(SerialPort *port, uint8_t cmd, uint8_t arg1 = 0, uint8_t arg2 = 0, uint8_t arg3 = 0);
