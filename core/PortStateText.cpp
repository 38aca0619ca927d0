#include "core/PortStateText.h"

QString PortLabel(int number, const QString &device) { return QStringLiteral("COM%1 (%2)").arg(number).arg(device); }

QString PortLabel(const SerialPort &port) { return PortLabel(port.PortNumber(), port.DeviceName(port.PortNumber())); }

QString PortStateText(int chosen, int number, const QString &device, SerialPort::State state, bool watching)
{
    using State = SerialPort::State;
    if (chosen == 0 && state != State::Open)
        return QStringLiteral("No COM port chosen: closed");
    QString words;
    switch (state) {
    case State::Open: words = QStringLiteral("open"); break;
    case State::InUse: words = QStringLiteral("in use by another program"); break;
    case State::NotFound: words = QStringLiteral("not found"); break;
    case State::Failed: words = QStringLiteral("could not be opened"); break;
    case State::Closed: words = QStringLiteral("closed by the COM port dialog"); break;
    case State::Vanished: words = QStringLiteral("closed, the device vanished"); break;
    }
    if (watching && (state == State::Vanished || state == State::NotFound))
        words = QStringLiteral("closed, the device vanished; looking for it once a second");
    return PortLabel(number, device) + QStringLiteral(": ") + words;
}
