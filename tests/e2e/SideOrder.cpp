#include "SideOrder.h"

#include <QRegularExpression>
#include <algorithm>

QList<int> SideSortedOrder(const QStringList &simulatorList)
{
    static const QRegularExpression fields(QStringLiteral("^id=(\\d+) side=([GLR])"));
    int attached = -1;
    QList<int> left;
    QList<int> others;
    for (const QString &line : simulatorList) {
        const QRegularExpressionMatch match = fields.match(line);
        if (!match.hasMatch())
            continue;
        const int id = match.captured(1).toInt();
        const QString side = match.captured(2);
        if (side == QLatin1String("G") && attached < 0)
            attached = id;
        else if (side == QLatin1String("L"))
            left.append(id);
        else
            others.append(id);
    }
    std::reverse(others.begin(), others.end());
    return QList<int>{attached} + left + others;
}
