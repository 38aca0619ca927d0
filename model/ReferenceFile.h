#pragma once
// The saved reference ring on disk: CSV with CRLF line ends and the header
// position,id,side,version,mode; read strictly, written whole or not at all.
#include "model/RingScan.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

inline const QByteArray kReferenceHeader = "position,id,side,version,mode";
// A ring of 32001 modules takes less than this.
inline constexpr qint64 kReferenceMaxBytes = 1024 * 1024;

struct ReferenceParse
{
    RingSnapshot ring;  // side, version and mode of each module, in ring order
    int badLine = 0;    // 0: every line is good
    QString problem;
};

struct ReferenceFile
{
    enum class State { Missing, Loaded, Unreadable };
    State state = State::Missing;
    ReferenceParse content;
    QDateTime saved;  // the file's last change
};

// What a reference without a module row is told.
inline const QString kNoReferenceModules = QStringLiteral("no modules; a reference holds the attached module at position 0");

ReferenceParse ParseReference(const QByteArray &data);
QByteArray FormatReference(const RingSnapshot &ring);
// Why the ring cannot be a reference (the reader would refuse it), or empty.
QString ReferenceRingProblem(const RingSnapshot &ring);

// Only a regular file is opened: a folder, a FIFO or a device is unreadable by its kind.
ReferenceFile ReadReferenceFile(const QString &path);
// A ring the reader would refuse is refused first. Otherwise written to a temporary file in the
// same folder, read back, and only then renamed over the old one. The reason when that failed
// (the old file then stays as it was), else empty.
QString WriteReferenceFile(const QString &path, const RingSnapshot &ring);
