#pragma once
// What is wrong with a history file, in the words of the one message that tells it: read off
// the file's own header before SQLite touches it, or from an error SQLite reported.
#include <QString>

class QSqlError;

// Why the file at path cannot be the history, as far as its header and its rights tell; empty
// when it is missing or looks usable. Reads the file's first bytes and nothing else.
QString HistoryFileProblem(const QString &path);

// The reason an SQLite error gives, as the message says it.
QString HistoryErrorReason(const QSqlError &error);

// A database whose schema version is above what this program reads.
QString NewerVersionReason(int version);

// "The ring history cannot be kept in ... / reason / The program runs without it."
QString HistoryProblemText(const QString &path, const QString &reason);

// "The ring history in ... / holds a value that no scan can have; the program leaves it out
// and keeps the history: / what."
QString HistoryDamageText(const QString &path, const QString &what);
