#pragma once
// The one way out to the ring: SendCommand writes a frame to the port the main window opened.
#include "bus/SerialPort.h"

#include <cstdint>

// The port commands go to; the main window registers its own, tests a MemorySerialPort.
void SetCommPort(SerialPort *port);
SerialPort *CommPort();

// Builds the frame from cmd and gCmdArg1..3 and hands it to the port. Nothing is awaited;
// with no port, or a closed one, the frame is lost. True when the port took the frame, for
// a caller that must not count a lost frame as sent.
bool SendCommand(const uint8_t &cmd);
