#include "app/RingMonitor.h"

#include "app/Ini.h"
#include "app/RingLog.h"
#include "dialogs/MessageBox.h"
#include "model/Global.h"
#include "model/RingComparison.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

RingMonitor::RingMonitor(QWidget *window, RingLog *log)
    : mWindow(window),
      mLog(log)
{
}

QString RingMonitor::ConfiguredPath(const QString &iniPath)
{
    const QString name = ReadIniString(kAppTitle, QStringLiteral("reference"), iniPath,
                                       QStringLiteral("ring-reference.csv"));
    return QFileInfo(iniPath).absoluteDir().absoluteFilePath(name);
}

void RingMonitor::LoadReference()
{
    const QString path = ConfiguredPath(gIniPath);
    mFile = ReadReferenceFile(path);
    if (mFile.state == ReferenceFile::State::Loaded)
        mWatch.SetReference(mFile.content.ring);
    else
        mWatch.SetReference(std::nullopt);
    emit referenceChanged();
    if (mFile.state != ReferenceFile::State::Unreadable)
        return;
    const QString where = mFile.content.badLine > 0 ? QStringLiteral("Line %1: ").arg(mFile.content.badLine) : QString();
    ShowMessage(mWindow, QMessageBox::Critical, kAppTitle,
                QStringLiteral("The reference ring cannot be read:\r\n%1\r\n%2%3\r\nScans are not compared with a reference.")
                    .arg(QDir::toNativeSeparators(path), where, mFile.content.problem));
}

void RingMonitor::SaveReference()
{
    const std::optional<RingSnapshot> &ring = mWatch.LastRing();
    if (!ring) {
        ShowMessage(mWindow, QMessageBox::Critical, kAppTitle,
                    QStringLiteral("No scan has found modules yet: there is no ring to save as the reference."));
        return;
    }
    const QString path = ConfiguredPath(gIniPath);
    const QFileInfo existing(path);
    if (existing.exists()) {
        const QString what = mFile.state == ReferenceFile::State::Loaded
            ? QStringLiteral("%1 modules").arg(mFile.content.ring.size())
            : QStringLiteral("unreadable");
        const QString question = QStringLiteral("Replace the saved reference ring (%1, saved %2)?")
                                     .arg(what, existing.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        if (!AskYesNo(mWindow, kAppTitle, question))
            return;
    }
    const QString reason = WriteReferenceFile(path, *ring);
    if (!reason.isEmpty()) {
        ShowMessage(mWindow, QMessageBox::Critical, kAppTitle,
                    QStringLiteral("The reference ring cannot be written:\r\n%1\r\n%2")
                        .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    mFile = ReferenceFile{ReferenceFile::State::Loaded, {*ring, 0, {}}, QFileInfo(path).lastModified()};
    mWatch.SetReference(*ring);
    emit referenceChanged();
}

void RingMonitor::OnScanSettled(const RingScan &scan)
{
    std::vector<RingEvent> events = mWatch.Take(TakeSnapshot(scan));
    const QDateTime time = Now();
    bool alarm = false;
    for (RingEvent &event : events) {
        event.time = time;
        alarm = alarm || event.IsAlarm();
        // The log has a row of its own for every scan that found none.
        if (event.kind != RingEventKind::NoModulesFound)
            mLog->WriteEvent(event);
        mEvents.Add(std::move(event));
    }
    emit referenceChanged();
    if (!alarm || scan.origin != ScanOrigin::AutoRefresh)
        return;
    QApplication::alert(mWindow);
    if (ReadIniInt(kAppTitle, QStringLiteral("alarm"), gIniPath) == 1)
        QApplication::beep();
}

void RingMonitor::OnVerified(const std::vector<VerifyResult> &results)
{
    const QDateTime time = Now();
    for (const VerifyResult &result : results) {
        if (!result.IsProblem())
            continue;
        RingEvent event{time, result.id, -1, QStringLiteral("Module %1 %2").arg(result.id).arg(result.Text())};
        if (const auto &ring = mWatch.LastRing()) {
            for (size_t k = 0; k < ring->size(); ++k)
                if ((*ring)[k].id == result.id)
                    event.position = int(k);
        }
        mLog->WriteEvent(event);
        mEvents.Add(std::move(event));
    }
}

QStringList RingMonitor::ReferenceDifferences() const
{
    QStringList texts;
    if (mWatch.Reference() && mWatch.LastRing())
        for (const RingEvent &event : CompareRings(*mWatch.LastRing(), &*mWatch.Reference(), nullptr))
            texts << event.text;
    return texts;
}

QString RingMonitor::ReferenceText() const
{
    switch (mFile.state) {
    case ReferenceFile::State::Missing:
        return QStringLiteral("No reference ring");
    case ReferenceFile::State::Unreadable:
        return mFile.content.badLine > 0 ? QStringLiteral("Reference unreadable: line %1").arg(mFile.content.badLine)
                                         : QStringLiteral("Reference unreadable");
    case ReferenceFile::State::Loaded:
        break;
    }
    const int present = mWatch.ReferencePresent();
    const size_t size = mFile.content.ring.size();
    if (present < 0)
        return QStringLiteral("Reference: %1 modules").arg(size);
    return QStringLiteral("Reference: %1 of %2 present").arg(present).arg(size);
}

QString RingMonitor::NewEventsText() const
{
    const int count = mEvents.UnacknowledgedCount();
    if (count == 0)
        return {};
    return count == 1 ? QStringLiteral("1 new event") : QStringLiteral("%1 new events").arg(count);
}
