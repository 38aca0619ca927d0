#include "history/ModuleRow.h"

#include <QSqlQuery>

const QString kModuleRowColumns = QStringLiteral("side, version, mode, faulty1, faulty2, counter1, counter2");

ModuleSnapshot ModuleFromRow(const QSqlQuery &query, int id)
{
    ModuleSnapshot module;
    module.id = id;
    const QString side = query.value(0).toString();
    module.side = side.isEmpty() ? 0 : uint8_t(side.at(0).toLatin1());
    module.version = uint8_t(query.value(1).toInt());
    module.mode = uint8_t(query.value(2).toInt());
    module.faulty1 = query.value(3).toBool();
    module.faulty2 = query.value(4).toBool();
    module.counter1 = query.value(5).toInt();
    module.counter2 = query.value(6).toInt();
    return module;
}

QString SideColumn(uint8_t side) { return side ? QString(QChar(side)) : QString(); }
