#include "model/ModuleDescription.h"

#include "model/Global.h"
#include "model/ModeByte.h"
#include "model/ModuleData.h"
#include "model/ModuleTexts.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// The description's words, in the language of the windows.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ModuleDescription)
};

QString ReplyText(uint8_t letter)
{
    switch (letter) {
    case 'G':
        return Words::tr("G (attached module)");
    case 'L':
        return Words::tr("L (side L)");
    case 'R':
        return Words::tr("R (side R)");
    case 'P':
        return Words::tr("P (locate answer)");
    default:
        return QString(QLatin1Char(char(letter)));
    }
}

QString ParityText(uint8_t mode)
{
    return ModeByte::ParityOf(mode) == ModeByte::Parity::None
               ? Words::tr("no parity")
               : Words::tr("%1 parity").arg(ModeByte::ParityText(mode));
}

QString ChannelText(int channel, bool faulty, int counter)
{
    return Words::tr("Channel %1: %2, error counter %3")
        .arg(channel)
        .arg(ChannelStateText(faulty))
        .arg(counter);
}

} // namespace

QString DescribeModule(const ModuleData &record, bool locateFailed)
{
    // A record no reply was ever stored in: before the first scan, the lone picture's.
    if (record.GetSide() == 0)
        return Words::tr("No module has answered yet");
    const uint8_t mode = record.GetMode();
    const uint8_t version = record.GetVersion();
    QStringList lines;
    lines << Words::tr("Module %1").arg(record.GetModuleID())
          << Words::tr("Last reply: %1").arg(ReplyText(record.GetSide()))
          << Words::tr("Version: %1").arg(VersionText(version))
          << Words::tr("Mode: %1 (%2 baud, %3, %4, %5)")
                 .arg(ByteToBin(mode), ModeByte::BaudText(mode), ParityText(mode),
                      ModeByte::HasTwoStopBits(mode) ? Words::tr("2 stop bits") : Words::tr("1 stop bit"),
                      ModeByte::RuleText(mode))
          << ChannelText(1, record.GetStatusChannel1(), record.GetErrorCounterChannel1())
          << ChannelText(2, record.GetStatusChannel2(), record.GetErrorCounterChannel2());
    if (locateFailed)
        lines << Words::tr("Marked faulty: no answer to the last locate");
    return lines.join(QLatin1Char('\n'));
}
