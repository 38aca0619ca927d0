#pragma once
// The tables of the history file, the version its schema carries (SQLite's user_version) and
// the mark that tells the file is this program's (SQLite's application_id).
#include <QString>
#include <QStringList>

class QSqlDatabase;

inline constexpr int kHistoryVersion = 2;
// "ZL9H" in ASCII.
inline constexpr qint32 kHistoryMark = 0x5A4C3948;

// Creates the tables in an empty database and stamps the version and the mark; empty on
// success, else the database's reason. Runs inside the caller's transaction.
QString CreateHistorySchema(QSqlDatabase &db);

// Stamps the mark on a history of an earlier version that has none; inside the caller's transaction.
QString MarkHistory(QSqlDatabase &db);

// Whether a database with these tables is a history (written before the mark was stamped).
bool HasHistoryTables(const QStringList &tables);

// The time of a port's scan that found modules written last (whatever the clock said then),
// bound to the port twice; files written before it was recorded give their latest such scan.
inline constexpr char kLastFoundMsSql[] =
    "SELECT coalesce((SELECT value FROM settings WHERE key = 'last_found_ms.' || ?),"
    " (SELECT time_ms FROM scans WHERE port = ? AND ring IS NOT NULL ORDER BY time_ms DESC LIMIT 1))";
inline constexpr char kSaveLastFoundMsSql[] = "INSERT OR REPLACE INTO settings(key, value) VALUES('last_found_ms.' || ?, ?)";

// Brings the tables of a file of an older version (1 or more) up to this one and stamps the
// version; empty on success, else the database's reason. Runs inside the caller's transaction.
QString UpgradeHistorySchema(QSqlDatabase &db, int version);
