#pragma once
// A module's row in the history (module_rows): the columns that hold a module as its reply told
// it, and the module they describe.
#include "history/StoredRow.h"
#include "model/RingScan.h"

#include <QString>

class QSqlQuery;

// The largest counter a reply carries (15 bits).
inline constexpr int kMaxStoredCounter = 0x7FFF;

// "side, version, mode, faulty1, faulty2, counter1, counter2", in this order.
extern const QString kModuleRowColumns;

// The module of ID id from the query's current row, those columns first; the row is bad when
// a column holds what no reply can say.
ModuleSnapshot ModuleFromRow(const QSqlQuery &query, int id, StoredRow &row);
// The row's name in the history's message: "Row of module 7 of port 1".
QString ModuleRowName(int port, int id);
// The text the side column holds: the reply letter, or empty.
QString SideColumn(uint8_t side);
