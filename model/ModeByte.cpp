#include "model/ModeByte.h"

#include <QCoreApplication>

namespace ModeByte {

const QStringList &BaudTexts()
{
    static const QStringList texts{QStringLiteral("1200"),  QStringLiteral("2400"),
                                   QStringLiteral("4800"),  QStringLiteral("9600"),
                                   QStringLiteral("19200"), QStringLiteral("38400"),
                                   QStringLiteral("57600"), QStringLiteral("115200")};
    return texts;
}

const QStringList &RuleTexts()
{
    static const QStringList texts{QStringLiteral("CH1_Error AND CH2_Error"),
                                   QStringLiteral("NOT CH1_Error AND NOT CH2_Error"),
                                   QStringLiteral("CH1_Error OR CH2_Error"),
                                   QStringLiteral("NOT CH1_Error OR NOT CH2_Error")};
    return texts;
}

QString BaudText(uint8_t mode) { return BaudTexts().at(mode & kBaudMask); }

QString RuleText(uint8_t mode) { return RuleTexts().at((mode & kRuleMask) >> 4); }

QString ParityText(uint8_t mode)
{
    switch (ParityOf(mode)) {
    case Parity::Even:
        return QCoreApplication::translate("ModeByte", "even");
    case Parity::Odd:
        return QCoreApplication::translate("ModeByte", "odd");
    case Parity::None:
        break;
    }
    return QCoreApplication::translate("ModeByte", "none");
}

Parity ParityOf(uint8_t mode)
{
    if (mode & kParityOdd)
        return Parity::Odd;
    if (mode & kParityEven)
        return Parity::Even;
    return Parity::None;
}

bool HasTwoStopBits(uint8_t mode) { return (mode & kTwoStopBits) != 0; }

uint8_t BaudCodeFromText(const QString &text)
{
    const qsizetype index = BaudTexts().indexOf(text);
    return index < 0 ? 0 : uint8_t(index);
}

uint8_t RuleBitsFromText(const QString &text)
{
    const qsizetype index = RuleTexts().indexOf(text);
    return index < 0 ? 0 : uint8_t(index << 4);
}

} // namespace ModeByte
