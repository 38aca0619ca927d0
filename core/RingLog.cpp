#include "core/RingLog.h"

#include "core/Ini.h"
#include "model/Clock.h"
#include "model/CsvField.h"
#include "model/ModuleTexts.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdlib>

const QString RingLog::kHeader = QStringLiteral(
    "time,position,id,side,version,mode,ch1_faulty,ch1_counter,ch2_faulty,ch2_counter,note");

namespace {

// Rows end as RFC 4180 has it, so every spreadsheet reads the file as it is.
const QString kRowEnd = QStringLiteral("\r\n");

QString ModuleRow(const QString &time, const QString &position, const ModuleSnapshot &module)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,")
        .arg(time, position, QString::number(module.id), SideText(module.side), VersionText(module.version),
             ModeHex(module.mode))
        .arg(int(module.faulty1))
        .arg(module.counter1)
        .arg(int(module.faulty2))
        .arg(module.counter2);
}

QString Cell(int value) { return value < 0 ? QString() : QString::number(value); }

} // namespace

QString RingLog::ConfiguredPath(const QString &iniPath) { return ConfiguredFilePath(iniPath, QStringLiteral("log")); }

QString RingLog::TimeText(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"))
        + QStringLiteral("%1%2:%3")
              .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
              .arg(minutes / 60, 2, 10, QLatin1Char('0'))
              .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

void RingLog::WriteScan(const RingScan &scan)
{
    const QString time = TimeText(ClockNow());
    if (scan.cut) {
        Append({time + QStringLiteral(",,,,,,,,,,scan cut: the port was lost")});
        return;
    }
    if (!scan.Found()) {
        Append({time + QStringLiteral(",,,,,,,,,,no modules found")});
        return;
    }
    QStringList rows;
    for (size_t position = 0; position < scan.modules.size(); ++position)
        rows << ModuleRow(time, QString::number(position), scan.modules[position]);
    Append(rows);
}

void RingLog::WriteLocateUnanswered(int position, int id)
{
    Append({QStringLiteral("%1,%2,%3,,,,,,,,no answer to locate").arg(TimeText(ClockNow())).arg(position).arg(id)});
}

void RingLog::WriteEvent(const RingEvent &event, const RingScan &scan, const std::optional<RingSnapshot> &reference)
{
    const QString time = TimeText(event.time.isValid() ? event.time : ClockNow());
    const ModuleSnapshot *module = event.id >= 0 ? scan.Find(event.id) : nullptr;
    QString note = event.text;
    QString position = Cell(event.position);
    if (event.kind == RingEventKind::Missing) {
        const bool inReference = reference && std::any_of(reference->begin(), reference->end(),
                                                          [&event](const ModuleSnapshot &m) { return m.id == event.id; });
        note += inReference ? QStringLiteral(" (reference position %1)").arg(event.position)
                            : QStringLiteral(" (position %1 in the ring found before)").arg(event.position);
        position.clear();
    }
    const QString row = module ? ModuleRow(time, position, *module)
                               : QStringLiteral("%1,%2,%3,,,,,,,,").arg(time, position, Cell(event.id));
    Append({row + CsvField(note)});
}

void RingLog::Append(const QStringList &rows)
{
    const QString path = mPath;
    if (path.isEmpty())
        return;
    QFile file(path);
    bool written = file.open(QIODevice::ReadWrite | QIODevice::Append);
    if (written) {
        QByteArray text;
        if (file.size() == 0) {
            text += (kHeader + kRowEnd).toUtf8();
        } else if (file.seek(file.size() - 1) && file.read(1) != "\n") {
            // A last line left without its end (edited by hand, or cut off) ends before the next row.
            text += kRowEnd.toUtf8();
        }
        for (const QString &row : rows)
            text += (row + kRowEnd).toUtf8();
        written = file.write(text) == text.size() && file.flush();
    }
    if (written || path == mReportedPath)
        return;
    // Once per file: a log that cannot be written must not stop every scan with a box.
    mReportedPath = path;
    emit problem(tr("The ring log cannot be written:\r\n%1\r\n%2")
                     .arg(QDir::toNativeSeparators(path), file.errorString()));
}
