#pragma once
// What is wrong with a history file, in the words of the one message that tells it: read off
// the file's own header before SQLite touches it, or from an error SQLite reported.
#include <QString>
#include <cstdint>

// How long a clock far ahead must run on before the history keeps its scans, in minutes.
inline constexpr int kTrustAheadAfterMinutes = 10;

class QSqlError;

// Why the file at path cannot be the history, as far as its header, its rights and (without
// the mark) its tables tell; empty when it is missing or looks usable. Never writes to it.
// passingWhile: for a reason that may pass (a lock), how the notice of missed scans names it.
QString HistoryFileProblem(const QString &path, QString &passingWhile);

// A database that is not a history of this program.
QString ForeignReason();

// For an error that passes (a lock, a full disk, a file out of reach) how the notice of the
// scans missed meanwhile names it ("while locked by another program"); empty for one that lasts.
QString HistoryFaultWhile(const QSqlError &error);

// The reason an SQLite error gives, as the message says it.
QString HistoryErrorReason(const QSqlError &error);

// A database whose schema version is above what this program reads.
QString NewerVersionReason(int version);

// "The ring history cannot be kept in ... / reason / The program runs without it." (passing:
// "... tries again every minute ...").
QString HistoryProblemText(const QString &path, const QString &reason, bool passing);

// "The ring history is kept again in ... / The ring history missed 37 scans while locked by
// another program."
QString HistoryKeptAgainText(const QString &path, uint64_t missed, const QString &passingWhile);

// The clock more than a day ahead of the newest scan kept, told once.
QString HistoryAheadText(const QString &path, int64_t timeMs, int64_t newestMs);

// "The ring history in ... / holds a value that no scan can have; the program leaves it out
// and keeps the history: / what."
QString HistoryDamageText(const QString &path, const QString &what);
