#include "core/PortStateText.h"

#include <QCoreApplication>

QString PortLabel(int number, const QString &device) { return QStringLiteral("COM%1 (%2)").arg(number).arg(device); }

QString PortLabel(const SerialPort &port) { return PortLabel(port.PortNumber(), port.DeviceName(port.PortNumber())); }

QString PortStateText(int chosen, int number, const QString &device, SerialPort::State state, bool watching)
{
    using State = SerialPort::State;
    if (chosen == 0 && state != State::Open)
        return QCoreApplication::translate("PortStateText", "No COM port chosen: closed");
    QString words;
    switch (state) {
    case State::Open: words = QCoreApplication::translate("PortStateText", "open"); break;
    case State::InUse: words = QCoreApplication::translate("PortStateText", "in use by another program"); break;
    case State::NotFound: words = QCoreApplication::translate("PortStateText", "not found"); break;
    case State::Failed: words = QCoreApplication::translate("PortStateText", "could not be opened"); break;
    case State::Closed: words = QCoreApplication::translate("PortStateText", "closed by the COM port dialog"); break;
    case State::Vanished: words = QCoreApplication::translate("PortStateText", "closed, the device vanished"); break;
    }
    if (watching && (state == State::Vanished || state == State::NotFound))
        words = QCoreApplication::translate("PortStateText", "closed, the device vanished; looking for it once a second");
    return PortLabel(number, device) + QStringLiteral(": ") + words;
}
