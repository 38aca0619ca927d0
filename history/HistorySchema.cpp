#include "history/HistorySchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <vector>

namespace {

// Times are milliseconds (time_ms) or seconds (start_s) since 1970 UTC. A scan's modules are
// its ring (rings.ids: the module IDs in ring order, two bytes each, little-endian), and a
// module's row is written only when something of it changed since its row before.
// module_periods sums each module's counter increase and faulty time per minute; rows older
// than the kept days are merged into one per hour, with the scans answered in that hour.
const char *const kTables[] = {
    "CREATE TABLE scans(port INTEGER NOT NULL, time_ms INTEGER NOT NULL, origin INTEGER NOT NULL,"
    " device TEXT NOT NULL, modules INTEGER NOT NULL, ring INTEGER,"
    " PRIMARY KEY(port, time_ms)) WITHOUT ROWID",
    "CREATE TABLE rings(id INTEGER PRIMARY KEY, port INTEGER NOT NULL, ids BLOB NOT NULL)",
    "CREATE TABLE module_rows(port INTEGER NOT NULL, module INTEGER NOT NULL, time_ms INTEGER NOT NULL,"
    " side TEXT NOT NULL, version INTEGER NOT NULL, mode INTEGER NOT NULL,"
    " faulty1 INTEGER NOT NULL, faulty2 INTEGER NOT NULL, counter1 INTEGER NOT NULL, counter2 INTEGER NOT NULL,"
    " PRIMARY KEY(port, module, time_ms)) WITHOUT ROWID",
    "CREATE TABLE module_periods(port INTEGER NOT NULL, module INTEGER NOT NULL, start_s INTEGER NOT NULL,"
    " increase1 INTEGER NOT NULL, increase2 INTEGER NOT NULL, faulty1_ms INTEGER NOT NULL,"
    " faulty2_ms INTEGER NOT NULL, answered INTEGER,"
    " PRIMARY KEY(port, module, start_s)) WITHOUT ROWID",
    "CREATE TABLE scan_hours(port INTEGER NOT NULL, start_s INTEGER NOT NULL, scans INTEGER NOT NULL,"
    " PRIMARY KEY(port, start_s)) WITHOUT ROWID",
    "CREATE TABLE events(id INTEGER PRIMARY KEY, time_ms INTEGER NOT NULL, port INTEGER NOT NULL,"
    " module INTEGER, position INTEGER, kind INTEGER NOT NULL, text TEXT NOT NULL,"
    " acknowledged INTEGER NOT NULL)",
    "CREATE TABLE verifications(id INTEGER PRIMARY KEY, time_ms INTEGER NOT NULL, port INTEGER NOT NULL,"
    " applied_stamp INTEGER NOT NULL)",
    "CREATE TABLE verify_results(verification INTEGER NOT NULL, module INTEGER NOT NULL,"
    " kind INTEGER NOT NULL, mode INTEGER NOT NULL, applied INTEGER NOT NULL,"
    " PRIMARY KEY(verification, module)) WITHOUT ROWID",
    "CREATE TABLE settings(key TEXT PRIMARY KEY, value INTEGER NOT NULL) WITHOUT ROWID",
};

// Each version's step from the one before, from version 2 on. Version 2: the programming
// record, one row per Apply or Verify Settings (kind 0 Module State, 1 Global Settings, 2 Verify
// Settings, whose results are its verification's), and one per module an Apply sent to, in the
// order sent (frame 0 taken, 1 refused by the port, 2 not sent).
const std::vector<std::vector<const char *>> kSteps = {
    {
        "CREATE TABLE programmings(id INTEGER PRIMARY KEY, time_ms INTEGER NOT NULL, kind INTEGER NOT NULL,"
        " user_name TEXT NOT NULL, computer_name TEXT NOT NULL, port INTEGER NOT NULL, device TEXT NOT NULL,"
        " mode INTEGER NOT NULL, keep INTEGER NOT NULL, verification INTEGER)",
        "CREATE INDEX programmings_by_time ON programmings(time_ms)",
        "CREATE TABLE programmed_modules(programming INTEGER NOT NULL, seq INTEGER NOT NULL, module INTEGER NOT NULL,"
        " mode INTEGER NOT NULL, keep INTEGER NOT NULL, frame INTEGER NOT NULL,"
        " PRIMARY KEY(programming, seq)) WITHOUT ROWID",
    },
};

QString Run(QSqlQuery &query, const char *statement)
{
    return query.exec(QString::fromLatin1(statement)) ? QString() : query.lastError().text();
}

} // namespace

QString CreateHistorySchema(QSqlDatabase &db)
{
    QSqlQuery query(db);
    for (const char *statement : kTables) {
        if (const QString problem = Run(query, statement); !problem.isEmpty())
            return problem;
    }
    return UpgradeHistorySchema(db, 1);
}

QString UpgradeHistorySchema(QSqlDatabase &db, int version)
{
    QSqlQuery query(db);
    for (size_t step = size_t(std::max(version, 1) - 1); step < kSteps.size(); ++step)
        for (const char *statement : kSteps[step])
            if (const QString problem = Run(query, statement); !problem.isEmpty())
                return problem;
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kHistoryVersion)))
        return query.lastError().text();
    return MarkHistory(db);
}

QString MarkHistory(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA application_id = %1").arg(kHistoryMark)))
        return query.lastError().text();
    return {};
}

bool HasHistoryTables(const QStringList &tables)
{
    for (const char *name : {"scans", "rings", "module_rows", "module_periods", "scan_hours", "events", "settings"})
        if (!tables.contains(QLatin1String(name)))
            return false;
    return true;
}
