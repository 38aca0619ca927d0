#include "model/Global.h"

QString ByteToBin(uint8_t value)
{
    QString text;
    text.reserve(8);
    for (int bit = 128; bit >= 1; bit /= 2)
        text += (value & bit) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}
