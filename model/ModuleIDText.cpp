#include "model/ModuleIDText.h"

#include "model/Global.h"

#include <QCoreApplication>

#include <algorithm>

QString ModuleIDProblem(const QString &text, int *id)
{
    // Signs, blanks, exponents and numbers too long for an int are not IDs.
    const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!digitsOnly)
        return QCoreApplication::translate("ModuleIDText", "A module ID is a whole decimal number, digits 0 to 9 only.");
    bool parsed = false;
    const int value = text.toInt(&parsed);
    if (!parsed || !IsTableID(value))
        return QCoreApplication::translate("ModuleIDText", "A module ID lies between 0 and 32000.");
    *id = value;
    return {};
}
