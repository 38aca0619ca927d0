#include "model/ReferenceFile.h"

#include "model/Global.h"
#include "model/ModuleTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// A number from its decimal digits alone, or -1.
int Decimal(const QByteArray &text, int limit)
{
    if (text.isEmpty() || text.size() > 5)
        return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value <= limit ? value : -1;
}

// A field as a message quotes it: at most kQuotedChars characters of it.
QString Quoted(const QByteArray &field)
{
    constexpr int kQuotedChars = 40;
    const QString text = QString::fromUtf8(field.left(4 * kQuotedChars));
    if (text.size() <= kQuotedChars && field.size() <= 4 * kQuotedChars)
        return QLatin1Char('"') + text + QLatin1Char('"');
    return QLatin1Char('"') + text.left(kQuotedChars) + QStringLiteral("...\" (%1 bytes)").arg(field.size());
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int ParseVersion(const QByteArray &text)
{
    const qsizetype point = text.indexOf('.');
    if (point < 1 || point != text.size() - 2)
        return -1;
    const int whole = Decimal(text.left(point), 25);
    const int tenth = Decimal(text.mid(point + 1), 9);
    const int version = whole < 0 || tenth < 0 ? -1 : whole * 10 + tenth;
    return version <= 255 ? version : -1;
}

// "0x" and two hex digits, nothing else.
int ParseMode(const QByteArray &text)
{
    if (text.size() != 4 || !text.startsWith("0x") || !IsHexDigit(text[2]) || !IsHexDigit(text[3]))
        return -1;
    return text.mid(2).toInt(nullptr, 16);
}

// What is wrong with one module line, or empty.
QString CheckLine(const QByteArray &line, int expectedPosition, const QSet<int> &seen, ModuleSnapshot &module)
{
    if (expectedPosition > kMaxModuleID)
        return QCoreApplication::translate("ReferenceFile", "a row past position %1, the last a ring can have").arg(kMaxModuleID);
    const QList<QByteArray> fields = line.split(',');
    if (fields.size() != 5)
        return QCoreApplication::translate("ReferenceFile", "%1 fields instead of 5 (position,id,side,version,mode)").arg(fields.size());
    const int position = Decimal(fields[0], kMaxModuleID);
    if (position != expectedPosition)
        return QCoreApplication::translate("ReferenceFile", "position %1 where %2 was due").arg(Quoted(fields[0])).arg(expectedPosition);
    module.id = Decimal(fields[1], kMaxModuleID);
    if (module.id < 0)
        return QCoreApplication::translate("ReferenceFile", "ID %1 is not a number from 0 to %2").arg(Quoted(fields[1])).arg(kMaxModuleID);
    if (seen.contains(module.id))
        return QCoreApplication::translate("ReferenceFile", "module %1 appears twice").arg(module.id);
    if (fields[2] != "G" && fields[2] != "L" && fields[2] != "R")
        return QCoreApplication::translate("ReferenceFile", "side %1 is not G, L or R").arg(Quoted(fields[2]));
    // The attached module answers with G and stands at position 0; every other module with L or R.
    if (position == 0 && fields[2] != "G")
        return QCoreApplication::translate("ReferenceFile", "side %1 at position 0, where the attached module (G) stands").arg(Quoted(fields[2]));
    if (position != 0 && fields[2] == "G")
        return QCoreApplication::translate("ReferenceFile", "side \"G\" at position %1: only position 0 is the attached module").arg(position);
    module.side = uint8_t(fields[2].at(0));
    const int version = ParseVersion(fields[3]);
    if (version < 0)
        return QCoreApplication::translate("ReferenceFile", "version %1 is not one such as 4.1").arg(Quoted(fields[3]));
    module.version = uint8_t(version);
    const int mode = ParseMode(fields[4]);
    if (mode < 0)
        return QCoreApplication::translate("ReferenceFile", "mode %1 is not a byte such as 0x13").arg(Quoted(fields[4]));
    module.mode = uint8_t(mode);
    return {};
}

// Why what is at the path is no file to read or replace; empty for a regular file or nothing.
QString KindProblem(const QFileInfo &info)
{
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? QCoreApplication::translate("ReferenceFile", "it is a folder, not a file")
                        : QCoreApplication::translate("ReferenceFile", "it is a FIFO, a device or a socket, not a regular file");
}

bool SyncToDisk(QFile &file)
{
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

std::filesystem::path FileSystemPath(const QString &path) { return std::filesystem::path(path.toStdU16String()); }

// Why the file just written is not the reference it should hold, or empty.
QString ReadBackProblem(const QString &path, const QByteArray &text)
{
    const ReferenceFile back = ReadReferenceFile(path);
    if (back.state != ReferenceFile::State::Loaded)
        return QCoreApplication::translate("ReferenceFile", "the written file reads back as unreadable: %1").arg(back.content.problem);
    if (FormatReference(back.content.ring) != text)
        return QCoreApplication::translate("ReferenceFile", "the written file reads back with other modules");
    return {};
}

} // namespace

ReferenceParse ParseReference(const QByteArray &data)
{
    QByteArray text = data;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    ReferenceParse result;
    QSet<int> seen;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QByteArray line = lines[index];
        if (line.endsWith('\r'))
            line.chop(1);
        const int number = int(index) + 1;
        QString problem;
        ModuleSnapshot module;
        if (index == 0)
            problem = line == kReferenceHeader ? QString()
                                                : QCoreApplication::translate("ReferenceFile", "the header is not %1").arg(QString::fromLatin1(kReferenceHeader));
        else
            problem = CheckLine(line, int(index) - 1, seen, module);
        if (!problem.isEmpty()) {
            result.ring.clear();
            result.badLine = number;
            result.problem = problem;
            return result;
        }
        if (index > 0) {
            seen.insert(module.id);
            result.ring.push_back(module);
        }
    }
    if (result.ring.empty())
        result.problem = kNoReferenceModules;
    return result;
}

QByteArray FormatReference(const RingSnapshot &ring)
{
    QByteArray text = kReferenceHeader + "\r\n";
    for (size_t position = 0; position < ring.size(); ++position) {
        const ModuleSnapshot &module = ring[position];
        text += QStringLiteral("%1,%2,%3,%4,%5\r\n")
                    .arg(position)
                    .arg(module.id)
                    .arg(SideText(module.side), VersionText(module.version), ModeHex(module.mode))
                    .toLatin1();
    }
    return text;
}

QString ReferenceRingProblem(const RingSnapshot &ring)
{
    if (ring.empty())
        return kNoReferenceModules;
    if (ring[0].side != 'G') {
        for (size_t position = 1; position < ring.size(); ++position)
            if (ring[position].side == 'G')
                return QCoreApplication::translate("ReferenceFile", "the attached module (G), module %1, stands at position %2, not at 0")
                    .arg(ring[position].id)
                    .arg(position);
        return QCoreApplication::translate("ReferenceFile", "the attached module did not answer this scan");
    }
    std::vector<int> seenAt(kTableSize, -1);
    for (size_t position = 0; position < ring.size(); ++position) {
        const ModuleSnapshot &module = ring[position];
        if (!IsTableID(module.id))
            return QCoreApplication::translate("ReferenceFile", "module %1 at position %2: an ID is a number from 0 to %3")
                .arg(module.id)
                .arg(position)
                .arg(kMaxModuleID);
        int &seen = seenAt[size_t(module.id)];
        if (seen >= 0)
            return QCoreApplication::translate("ReferenceFile", "module %1 answered twice, at positions %2 and %3").arg(module.id).arg(seen).arg(position);
        seen = int(position);
        if (module.side != 'G' && module.side != 'L' && module.side != 'R')
            return QCoreApplication::translate("ReferenceFile", "module %1 at position %2 has no side G, L or R").arg(module.id).arg(position);
        if (position > 0 && module.side == 'G')
            return QCoreApplication::translate("ReferenceFile", "a second module answered G: module %1 at position %2").arg(module.id).arg(position);
    }
    return {};
}

ReferenceFile ReadReferenceFile(const QString &path)
{
    ReferenceFile reference;
    const QFileInfo info(path);
    if (!info.exists())
        return reference;
    reference.saved = info.lastModified();
    reference.state = ReferenceFile::State::Unreadable;
    // A FIFO or a device would hold the open, or the read, for as long as nothing writes to it.
    reference.content.problem = KindProblem(info);
    if (!reference.content.problem.isEmpty())
        return reference;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reference.content.problem = file.errorString();
        return reference;
    }
    // A ring of the largest size fits with room to spare; anything larger is not a reference.
    const QByteArray data = file.read(kReferenceMaxBytes + 1);
    if (data.size() > kReferenceMaxBytes) {
        reference.content.problem = QCoreApplication::translate("ReferenceFile", "the file has %1 bytes; a reference has at most %2")
                                        .arg(file.size())
                                        .arg(kReferenceMaxBytes);
        return reference;
    }
    reference.content = ParseReference(data);
    if (reference.content.problem.isEmpty())
        reference.state = ReferenceFile::State::Loaded;
    return reference;
}

QString WriteReferenceFile(const QString &path, const RingSnapshot &ring)
{
    const QString refused = ReferenceRingProblem(ring);
    if (!refused.isEmpty())
        return refused;
    const QFileInfo existing(path);
    const QString kind = KindProblem(existing);
    if (!kind.isEmpty())
        return kind;
    // A link is followed, as the reader follows it: its target is replaced.
    const QString target = existing.exists() ? existing.canonicalFilePath() : path;
    const QByteArray text = FormatReference(ring);
    QFile temp(QStringLiteral("%1.%2.tmp").arg(target).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    if (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return temp.errorString();
    if (existing.exists())
        temp.setPermissions(existing.permissions());
    QString reason;
    if (temp.write(text) != text.size() || !temp.flush())
        reason = temp.errorString();
    else if (!SyncToDisk(temp))
        reason = QString::fromStdString(std::error_code(errno, std::generic_category()).message());
    temp.close();
    if (reason.isEmpty())
        reason = ReadBackProblem(temp.fileName(), text);
    if (reason.isEmpty()) {
        std::error_code error;
        std::filesystem::rename(FileSystemPath(temp.fileName()), FileSystemPath(target), error);
        if (!error)
            return {};
        reason = QString::fromStdString(error.message());
    }
    temp.remove();
    return reason;
}
