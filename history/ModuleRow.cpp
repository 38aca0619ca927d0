#include "history/ModuleRow.h"

#include <QSqlQuery>

const QString kModuleRowColumns = QStringLiteral("side, version, mode, faulty1, faulty2, counter1, counter2");

ModuleSnapshot ModuleFromRow(const QSqlQuery &query, int id, StoredRow &row)
{
    ModuleSnapshot module;
    module.id = id;
    const QVariant side = query.value(0);
    const QString letter = side.toString();
    if (side.typeId() != QMetaType::QString || letter.size() > 1 || (letter.size() == 1 && letter.at(0).unicode() > 0xFF))
        row.Fail(QStringLiteral("side is %1, not a reply letter").arg(StoredValueText(side)));
    else
        module.side = letter.isEmpty() ? 0 : uint8_t(letter.at(0).unicode());
    module.version = uint8_t(row.Int(query.value(1), "version", 0, 0xFF));
    module.mode = uint8_t(row.Int(query.value(2), "mode", 0, 0xFF));
    module.faulty1 = row.Int(query.value(3), "faulty1", 0, 1) != 0;
    module.faulty2 = row.Int(query.value(4), "faulty2", 0, 1) != 0;
    module.counter1 = int(row.Int(query.value(5), "counter1", 0, kMaxStoredCounter));
    module.counter2 = int(row.Int(query.value(6), "counter2", 0, kMaxStoredCounter));
    return module;
}

QString ModuleRowName(int port, int id) { return QStringLiteral("Row of module %1 of port %2").arg(id).arg(port); }

QString SideColumn(uint8_t side) { return side ? QString(QChar(side)) : QString(); }
