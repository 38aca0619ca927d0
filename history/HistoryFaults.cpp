#include "history/HistoryFaults.h"

#include "history/HistorySchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

namespace {

// The words of the history's messages, in the language of the windows.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(HistoryFaults)
};

// SQLite's primary result codes (the low byte of an extended code).
enum SqliteCode { kBusy = 5, kLocked = 6, kReadOnly = 8, kFull = 13, kCantOpen = 14, kNotADatabase = 26 };

constexpr qint64 kHeaderSize = 100;
constexpr int kUserVersionOffset = 60;

int PrimaryCode(const QSqlError &error) { return error.nativeErrorCode().toInt() & 0xFF; }

} // namespace

QString NewerVersionReason(int version)
{
    return Words::tr("It was written by a newer version of the program (history version %1; this "
                     "version reads %2).")
        .arg(version)
        .arg(kHistoryVersion);
}

QString HistoryFileProblem(const QString &path)
{
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
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData() + kUserVersionOffset);
    const int version = int((uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3]);
    if (version > kHistoryVersion)
        return NewerVersionReason(version);
    return {};
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

QString HistoryProblemText(const QString &path, const QString &reason)
{
    return Words::tr("The ring history cannot be kept in\r\n%1\r\n%2\r\nThe program runs without it.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString HistoryDamageText(const QString &path, const QString &what)
{
    return Words::tr("The ring history in\r\n%1\r\nholds a value that no scan can have; the program leaves it out and keeps the"
                     " history:\r\n%2.")
        .arg(QDir::toNativeSeparators(path), what);
}
