#pragma once
// A module's row in the history (module_rows): the columns that hold a module as its reply told
// it, and the module they describe.
#include "model/RingScan.h"

#include <QString>

class QSqlQuery;

// "side, version, mode, faulty1, faulty2, counter1, counter2", in this order.
extern const QString kModuleRowColumns;

// The module of ID id from the query's current row, those columns first.
ModuleSnapshot ModuleFromRow(const QSqlQuery &query, int id);
// The text the side column holds: the reply letter, or empty.
QString SideColumn(uint8_t side);
