#include "bus/SendCommand.h"

#include "bus/Frames.h"

bool SendCommand(SerialPort *port, uint8_t cmd, uint8_t arg1, uint8_t arg2, uint8_t arg3)
{
    if (!port || !port->IsOpen())
        return false;
    return port->Write(BuildCommandFrame(cmd, arg1, arg2, arg3));
}
