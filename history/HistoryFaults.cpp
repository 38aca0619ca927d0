#include "history/HistoryFaults.h"

#include "history/HistorySchema.h"

#include <QDateTime>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The words of the history's messages, in the language of the windows.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(HistoryFaults)
};

// SQLite's primary result codes (the low byte of an extended code).
enum SqliteCode { kBusy = 5, kLocked = 6, kReadOnly = 8, kIoError = 10, kFull = 13, kCantOpen = 14, kNotADatabase = 26 };

constexpr qint64 kHeaderSize = 100;
constexpr int kUserVersionOffset = 60;
constexpr int kApplicationIdOffset = 68;

int PrimaryCode(const QSqlError &error) { return error.nativeErrorCode().toInt() & 0xFF; }

qint32 HeaderInt(const QByteArray &header, int offset)
{
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData() + offset);
    return qint32((uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3]);
}

// The tables of a database without the mark, read on a connection that cannot write.
QString ReadTables(const QString &path, QStringList &tables, QString &passingWhile)
{
    const QString name = QStringLiteral("ring-history-look-%1").arg(quintptr(&tables));
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
            while (query.next())
                tables << query.value(0).toString();
        } else {
            const QSqlError error = db.isOpenError() ? db.lastError() : query.lastError();
            passingWhile = HistoryFaultWhile(error);
            problem = HistoryErrorReason(error);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

} // namespace

QString NewerVersionReason(int version)
{
    return Words::tr("It was written by a newer version of the program (history version %1; this "
                     "version reads %2).")
        .arg(version)
        .arg(kHistoryVersion);
}

QString HistoryFileProblem(const QString &path, QString &passingWhile)
{
    passingWhile.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.isDir())
        return Words::tr("It is a folder.");
    // Marked read-only, even where the user may write it anyway (root, an administrator).
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
        return Words::tr("The file is read-only.");
    if (info.size() == 0)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return Words::tr("The file is not an SQLite database.");
    file.close();
    const int version = HeaderInt(header, kUserVersionOffset);
    const qint32 mark = HeaderInt(header, kApplicationIdOffset);
    if (mark != kHistoryMark && mark != 0)
        return ForeignReason();
    if (mark == 0) {
        // Without the mark: a history of an earlier version (its tables tell it), an empty
        // database, or another program's.
        QStringList tables;
        const QString problem = ReadTables(path, tables, passingWhile);
        if (!problem.isEmpty())
            return problem;
        if (!HasHistoryTables(tables) && !(tables.isEmpty() && version == 0))
            return ForeignReason();
    }
    if (version > kHistoryVersion)
        return NewerVersionReason(version);
    return {};
}

QString ForeignReason() { return Words::tr("The file is an SQLite database of another program."); }

QString HistoryFaultWhile(const QSqlError &error)
{
    switch (PrimaryCode(error)) {
    case kBusy:
    case kLocked:
        return QStringLiteral("while locked by another program");
    case kFull:
        return QStringLiteral("while the disk was full");
    case kIoError:
    case kCantOpen:
        return QStringLiteral("while the file could not be reached");
    default:
        return {};
    }
}

QString HistoryErrorReason(const QSqlError &error)
{
    switch (PrimaryCode(error)) {
    case kBusy:
    case kLocked:
        return Words::tr("The file is locked by another program.");
    case kReadOnly:
        return Words::tr("The file is read-only.");
    case kFull:
        return Words::tr("The disk is full.");
    case kNotADatabase:
        return Words::tr("The file is not an SQLite database.");
    case kCantOpen:
        return Words::tr("The file cannot be opened (%1).").arg(error.databaseText());
    default:
        return error.databaseText().isEmpty() ? error.text() : error.databaseText();
    }
}

QString HistoryProblemText(const QString &path, const QString &reason, bool passing)
{
    return Words::tr("The ring history cannot be kept in\r\n%1\r\n%2\r\n%3")
        .arg(QDir::toNativeSeparators(path), reason,
             passing ? Words::tr("The program tries again every minute and keeps the scans again once it can.")
                     : Words::tr("The program runs without it."));
}

QString HistoryKeptAgainText(const QString &path, uint64_t missed, const QString &passingWhile)
{
    return Words::tr("The ring history is kept again in\r\n%1\r\nThe ring history missed %2 %3 %4.")
        .arg(QDir::toNativeSeparators(path))
        .arg(missed)
        .arg(missed == 1 ? Words::tr("scan") : Words::tr("scans"), passingWhile);
}

QString HistoryAheadText(const QString &path, int64_t timeMs, int64_t newestMs)
{
    const auto time = [](int64_t ms) { return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); };
    return Words::tr("The clock reads %1, more than a day after the newest scan kept in the ring history in\r\n%2\r\n(%3)."
                          "\r\nThe history keeps no scan until the clock has run on so for %4 minutes, and is never thinned by a"
                          " time it did not keep.")
        .arg(time(timeMs), QDir::toNativeSeparators(path), time(newestMs))
        .arg(kTrustAheadAfterMinutes);
}

QString HistoryDamageText(const QString &path, const QString &what)
{
    return Words::tr("The ring history in\r\n%1\r\nholds a value that no scan can have; the program leaves it out and keeps the"
                     " history:\r\n%2.")
        .arg(QDir::toNativeSeparators(path), what);
}
