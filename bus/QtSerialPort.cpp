#include "bus/QtSerialPort.h"

#include "bus/DevicePort.h"

#include <QFileInfo>
#include <poll.h>

std::unique_ptr<SerialPort> MakeDevicePort() { return std::make_unique<QtSerialPort>(); }

QtSerialPort::QtSerialPort()
{
    QObject::connect(&mPort, &QSerialPort::errorOccurred, &mPort,
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

QtSerialPort::~QtSerialPort() { mPort.close(); }

SerialPort::OpenError QtSerialPort::MapOpenError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return OpenError::None;
    case QSerialPort::DeviceNotFoundError:
        return OpenError::NotFound;
    // Windows answers "access denied" for a port another program has open; on POSIX
    // systems the lock file or the exclusive mode of the terminal gives the same error.
    case QSerialPort::PermissionError:
        return OpenError::InUse;
    default:
        return OpenError::Other;
    }
}

SerialPort::OpenError QtSerialPort::Open()
{
    if (mPort.isOpen())
        return OpenError::Other;
    // Under any of its names (a link in /dev/serial/by-id) the device takes one lock: a second
    // program finds it in use, even where it may open a terminal held exclusively.
    const QString name = DeviceName(mPortNumber);
    const QString device = QFileInfo(name).canonicalFilePath();
    mPort.setPortName(device.isEmpty() ? name : device);
    if (!mPort.open(QIODevice::ReadWrite)) {
        const OpenError error = MapOpenError(mPort.error());
        mPort.clearError();
        return NoteOpen(error == OpenError::None ? OpenError::Other : error);
    }
    const bool configured = mPort.setBaudRate(QSerialPort::Baud9600)
        && mPort.setDataBits(QSerialPort::Data8) && mPort.setParity(QSerialPort::NoParity)
        && mPort.setStopBits(QSerialPort::OneStop) && mPort.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        mPort.close();
        return NoteOpen(OpenError::Other);
    }
    return NoteOpen(OpenError::None);
}

void QtSerialPort::Close()
{
    if (mPort.isOpen())
        mPort.close();
    mPort.clearError();
    NoteClosed();
}

bool QtSerialPort::IsOpen() const { return mPort.isOpen(); }

qint64 QtSerialPort::BytesWaiting() { return mPort.isOpen() ? mPort.bytesAvailable() : 0; }

QByteArray QtSerialPort::ReadAll() { return mPort.isOpen() ? mPort.readAll() : QByteArray(); }

// QSerialPort only queues a block; it is handed to the device here, as far as the device
// has room for it now, so that a device that refuses it is known at once. What finds no room
// yet stays queued and goes out from the event loop. A refused block is dropped with
// whatever still waits before it, so that no broken frame follows.
bool QtSerialPort::Write(const QByteArray &block)
{
    if (!mPort.isOpen())
        return false;
    pollfd device{mPort.handle(), POLLOUT, 0};
    const bool polled = ::poll(&device, 1, 0) >= 0;
    mWriteFailed = !polled || (device.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
    mWriting = true;
    const bool queued = !mWriteFailed && mPort.write(block) == block.size();
    // Only with room: a write the device would block reads as an error too.
    if (queued && (device.revents & POLLOUT))
        mPort.flush();
    mWriting = false;
    if (queued && !mWriteFailed)
        return true;
    mPort.clear(QSerialPort::Output);
    return false;
}

void QtSerialPort::OnError(QSerialPort::SerialPortError error)
{
    if (mWriting && (error == QSerialPort::WriteError || error == QSerialPort::ResourceError))
        mWriteFailed = true;
    // A device that went away (adapter pulled, peer closed) is closed here, so the
    // program sees a closed port and stops polling it instead of failing on every read.
    // A terminal that hung up reads as end of file, which QSerialPort reports as a read
    // error and keeps reporting on every turn of the event loop.
    // The close is queued: the port is still inside its own notifier here.
    if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && mPort.isOpen())
        QMetaObject::invokeMethod(&mPort, [this] {
            // Closed on purpose before this turn came: nothing vanished then.
            if (!mPort.isOpen())
                return;
            Close();
            ReportVanished();
        }, Qt::QueuedConnection);
}
