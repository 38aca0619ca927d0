#include "bus/PortWatcher.h"

#include "bus/BusLink.h"
#include "bus/SerialPort.h"

PortWatcher::PortWatcher(BusLink *link, QObject *parent)
    : QObject(parent), mLink(link)
{
    mTimer.setInterval(kLookIntervalMs);
    mTimer.setTimerType(Qt::CoarseTimer);
    connect(&mTimer, &QTimer::timeout, this, &PortWatcher::Look);
    if (SerialPort *port = mLink->Port())
        port->SetVanishedHandler([this] {
            mLink->PortLost();
            mTimer.start();
        });
}

PortWatcher::~PortWatcher()
{
    if (SerialPort *port = mLink->Port())
        port->SetVanishedHandler(nullptr);
}

void PortWatcher::Look()
{
    SerialPort *port = mLink->Port();
    if (!port) {
        mTimer.stop();
        return;
    }
    // Opened meanwhile by someone else: nothing left to bring back.
    if (!port->IsOpen() && port->Open() != SerialPort::OpenError::None)
        return;
    mTimer.stop();
    mLink->ResumeUnlessHeld();
}
