#include "app/RingLog.h"

#include "app/Ini.h"
#include "dialogs/MessageBox.h"
#include "model/Global.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

const QString RingLog::kHeader = QStringLiteral(
    "time,position,id,side,version,mode,ch1_faulty,ch1_counter,ch2_faulty,ch2_counter,note");

namespace {

// Rows end as RFC 4180 has it, so every spreadsheet reads the file as it is.
const QString kRowEnd = QStringLiteral("\r\n");

QString ModuleRow(const QString &time, int position, const ModuleData &record)
{
    const uint8_t version = record.GetVersion();
    const uint8_t side = record.GetSide();
    return QStringLiteral("%1,%2,%3,%4,%5.%6,0x%7,%8,%9,%10,%11,")
        .arg(time)
        .arg(position)
        .arg(record.GetModuleID())
        .arg(side >= 0x20 && side < 0x7f && side != ',' ? QString(QLatin1Char(char(side))) : QString())
        .arg(version / 10)
        .arg(version % 10)
        .arg(record.GetMode(), 2, 16, QLatin1Char('0'))
        .arg(int(record.GetStatusChannel1()))
        .arg(record.GetErrorCounterChannel1())
        .arg(int(record.GetStatusChannel2()))
        .arg(record.GetErrorCounterChannel2());
}

} // namespace

RingLog::RingLog(QWidget *messageParent)
    : mMessageParent(messageParent)
{
}

QString RingLog::ConfiguredPath(const QString &iniPath)
{
    const QString name = ReadIniString(kAppTitle, QStringLiteral("log"), iniPath);
    if (name.isEmpty())
        return {};
    return QFileInfo(iniPath).absoluteDir().absoluteFilePath(name);
}

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

QString RingLog::Now() const { return TimeText(mNow ? mNow() : QDateTime::currentDateTime()); }

void RingLog::WriteScan(const RingScan &scan)
{
    const QString time = Now();
    if (scan.order.empty()) {
        Append({time + QStringLiteral(",,,,,,,,,,no modules found")});
        return;
    }
    QStringList rows;
    for (size_t position = 0; position < scan.order.size(); ++position) {
        const int id = scan.order[position];
        if (IsTableID(id))
            rows << ModuleRow(time, int(position), gModules[size_t(id)]);
    }
    if (!rows.isEmpty())
        Append(rows);
}

void RingLog::WriteLocateUnanswered(int position, int id)
{
    Append({QStringLiteral("%1,%2,%3,,,,,,,,no answer to locate").arg(Now()).arg(position).arg(id)});
}

void RingLog::Append(const QStringList &rows)
{
    const QString path = ConfiguredPath(gIniPath);
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
    ShowMessage(mMessageParent, QMessageBox::Critical, kAppTitle,
                QStringLiteral("The ring log cannot be written:\r\n%1\r\n%2")
                    .arg(QDir::toNativeSeparators(path), file.errorString()));
}
