#include "history/HistorySchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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

} // namespace

QString CreateHistorySchema(QSqlDatabase &db)
{
    QSqlQuery query(db);
    for (const char *statement : kTables) {
        if (!query.exec(QString::fromLatin1(statement)))
            return query.lastError().text();
    }
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
