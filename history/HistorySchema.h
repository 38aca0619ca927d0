#pragma once
// The tables of the history file and the version its schema carries (SQLite's user_version).
#include <QString>

class QSqlDatabase;

inline constexpr int kHistoryVersion = 2;

// Creates the tables in an empty database and stamps the version; empty on success, else
// the database's reason. Runs inside the caller's transaction.
QString CreateHistorySchema(QSqlDatabase &db);
// Brings the tables of a file of an older version (1 or more) up to this one and stamps the
// version; empty on success, else the database's reason. Runs inside the caller's transaction.
QString UpgradeHistorySchema(QSqlDatabase &db, int version);
