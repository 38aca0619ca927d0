#pragma once
// The serial line on a real device, through QSerialPort.
#include "bus/SerialPort.h"

#include <QSerialPort>

class QtSerialPort : public SerialPort
{
public:
    QtSerialPort();
    ~QtSerialPort() override;

    OpenError Open() override;
    void Close() override;
    bool IsOpen() const override;
    qint64 BytesWaiting() override;
    QByteArray ReadAll() override;
    bool Write(const QByteArray &block) override;

    // How QSerialPort's error for a failed open reads in our terms.
    static OpenError MapOpenError(QSerialPort::SerialPortError error);

private:
    void OnError(QSerialPort::SerialPortError error);

    QSerialPort mPort;
    bool mWriting = false;
    bool mWriteFailed = false;  // the device reported an error during the write
};
