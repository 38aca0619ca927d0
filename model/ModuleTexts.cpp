#include "model/ModuleTexts.h"

#include <QCoreApplication>

QString VersionText(uint8_t version) { return QStringLiteral("%1.%2").arg(version / 10).arg(version % 10); }

QString ModeHex(uint8_t mode)
{
    return QStringLiteral("0x") + QString::number(mode, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString SideText(uint8_t side)
{
    return side >= 0x20 && side < 0x7f && side != ',' ? QString(QLatin1Char(char(side))) : QString();
}

QString ChannelStateText(bool faulty)
{
    return faulty ? QCoreApplication::translate("ModuleTexts", "faulty") : QCoreApplication::translate("ModuleTexts", "sound");
}
