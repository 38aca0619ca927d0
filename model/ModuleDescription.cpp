#include "model/ModuleDescription.h"

#include "model/Global.h"
#include "model/ModeByte.h"
#include "model/ModuleData.h"
#include "model/ModuleTexts.h"

#include <QStringList>

namespace {

QString ReplyText(uint8_t letter)
{
    switch (letter) {
    case 'G':
        return QStringLiteral("G (attached module)");
    case 'L':
        return QStringLiteral("L (side L)");
    case 'R':
        return QStringLiteral("R (side R)");
    case 'P':
        return QStringLiteral("P (locate answer)");
    default:
        return QString(QLatin1Char(char(letter)));
    }
}

QString ParityText(uint8_t mode)
{
    return ModeByte::ParityOf(mode) == ModeByte::Parity::None ? QStringLiteral("no parity")
                                                              : ModeByte::ParityText(mode) + QStringLiteral(" parity");
}

QString ChannelText(int channel, bool faulty, int counter)
{
    return QStringLiteral("Channel %1: %2, error counter %3")
        .arg(channel)
        .arg(ChannelStateText(faulty))
        .arg(counter);
}

} // namespace

QString DescribeModule(const ModuleData &record, bool locateFailed)
{
    // A record no reply was ever stored in: before the first scan, the lone picture's.
    if (record.GetSide() == 0)
        return QStringLiteral("No module has answered yet");
    const uint8_t mode = record.GetMode();
    const uint8_t version = record.GetVersion();
    QStringList lines;
    lines << QStringLiteral("Module %1").arg(record.GetModuleID())
          << QStringLiteral("Last reply: %1").arg(ReplyText(record.GetSide()))
          << QStringLiteral("Version: %1").arg(VersionText(version))
          << QStringLiteral("Mode: %1 (%2 baud, %3, %4, %5)")
                 .arg(ByteToBin(mode), ModeByte::BaudText(mode), ParityText(mode),
                      ModeByte::HasTwoStopBits(mode) ? QStringLiteral("2 stop bits") : QStringLiteral("1 stop bit"),
                      ModeByte::RuleText(mode))
          << ChannelText(1, record.GetStatusChannel1(), record.GetErrorCounterChannel1())
          << ChannelText(2, record.GetStatusChannel2(), record.GetErrorCounterChannel2());
    if (locateFailed)
        lines << QStringLiteral("Marked faulty: no answer to the last locate");
    return lines.join(QLatin1Char('\n'));
}
