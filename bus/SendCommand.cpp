#include "bus/SendCommand.h"

#include "bus/Frames.h"
#include "model/Global.h"

namespace {
SerialPort *gCommPort = nullptr;
}

void SetCommPort(SerialPort *port) { gCommPort = port; }

SerialPort *CommPort() { return gCommPort; }

bool SendCommand(const uint8_t &cmd)
{
    if (!gCommPort || !gCommPort->IsOpen())
        return false;
    return gCommPort->Write(BuildCommandFrame(cmd, gCmdArg1, gCmdArg2, gCmdArg3));
}
