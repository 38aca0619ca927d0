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

ReferenceParse ParseReference(const QByteArray &data);
QByteArray FormatReference(const RingSnapshot &ring);

ReferenceFile ReadReferenceFile(const QString &path);
// Through a temporary file in the same folder, renamed over the old one, then read back; the
// reason when that failed (the old file then stays as it was) or a module has no side G, L or
// R, else empty.
QString WriteReferenceFile(const QString &path, const RingSnapshot &ring);
