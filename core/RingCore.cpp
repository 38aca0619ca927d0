#include "core/RingCore.h"

#include "bus/DevicePort.h"
#include "bus/SendCommand.h"
#include "core/HistoryConfig.h"
#include "core/Ini.h"
#include "core/MetricsSetting.h"
#include "metrics/MetricsServer.h"
#include "model/Clock.h"
#include "model/Global.h"
#include "model/RingComparison.h"

RingCore::RingCore(SerialPort *port, QObject *parent)
    : QObject(parent),
      mOwnedPort(port ? nullptr : MakeDevicePort()),
      mPort(port ? port : mOwnedPort.get()),
      mLink(mPort)
{
    SetCommPort(mPort);
    mPort->SetStateHandler([this] { emit portStateChanged(); });
    connect(&mLink, &BusLink::scanSettled, this, &RingCore::TakeScan);
    connect(&mLog, &RingLog::problem, this, [this](const QString &text) { Tell(Notice::Error, kAppTitle, text); });
    connect(&mEvents, &EventList::changed, this, &RingCore::referenceChanged);
    connect(&mEvents, &EventList::acknowledged, &mHistory, &RingHistory::AcknowledgeEvents);
    connect(&mHistory, &RingHistory::problem, this, [this](const QString &text) { Tell(Notice::Error, kAppTitle, text); });
}

RingCore::~RingCore()
{
    mLink.StopAll();
    mPort->SetStateHandler(nullptr);
    if (CommPort() == mPort)
        SetCommPort(nullptr);
}

// The hand-over of a finished scan, in this order: the keeper first, so that every later part
// compares with the same past (at the run's first scan, the past is the last ring the history
// kept of its port); the verification that the scan completes; the ring log's rows; the events;
// the history, which keeps the scan with its events and verification in one transaction; then
// the windows.
void RingCore::TakeScan(const RingScan &scan)
{
    if (mKeeper.LastScan().serial == 0)
        if (std::optional<RingScan> kept = mHistory.LastFound(scan.portNumber))
            mKeeper.Seed(*kept);
    mKeeper.Take(scan);
    mScanCounts.Count(scan);
    std::optional<Verification> verification = mVerifier.Take(scan);
    if (verification)
        mKeeper.SetVerification(*verification);
    mLog.WriteScan(scan);

    bool alarm = false;
    std::vector<RingEvent> events = ScanEvents(mKeeper);
    if (verification) {
        for (const VerifyResult &result : verification->results)
            if (result.IsProblem())
                events.push_back(RingEvent{{}, result.id, scan.PositionOf(result.id),
                                           QStringLiteral("Module %1 %2").arg(result.id).arg(result.Text())});
    }
    for (RingEvent &event : events) {
        alarm = alarm || event.IsAlarm();
        AddEvent(event, scan);
    }
    mHistory.Keep(scan, events, verification);
    emit referenceChanged();
    emit scanHandedOver(scan);
    if (verification) {
        emit verified();
        Tell(Notice::Information, QStringLiteral("Verify Settings"), VerifySummary(verification->results));
    }
    if (alarm && scan.origin == ScanOrigin::AutoRefresh)
        emit this->alarm();
}

void RingCore::AddEvent(RingEvent &event, const RingScan &scan)
{
    event.time = ClockNow();
    // The log has a row of its own for every scan that found none.
    if (event.kind != RingEventKind::NoModulesFound)
        mLog.WriteEvent(event, scan, mKeeper.Reference());
    mEvents.Add(event);
}

void RingCore::Tell(Notice level, const QString &title, const QString &text)
{
    // Queued: whoever shows it does so after the hand-over in progress, never inside it.
    QMetaObject::invokeMethod(this, [this, level, title, text] { emit notice(level, title, text); }, Qt::QueuedConnection);
}

void RingCore::LoadReference()
{
    const QString problem = mReference.Load(gIniPath);
    mKeeper.SetReference(mReference.Loaded() ? std::optional<RingSnapshot>(mReference.File().content.ring) : std::nullopt);
    emit referenceChanged();
    if (!problem.isEmpty())
        Tell(Notice::Error, kAppTitle, problem);
}

void RingCore::OpenHistory()
{
    const QString path = HistoryPath(gIniPath);
    if (path.isEmpty() || !mHistory.Open(path, HistoryDays(gIniPath)))
        return;
    mEvents.AddEarlier(mHistory.Events(EventList::kLimit));
}

bool RingCore::ServeMetrics()
{
    mMetricsServer.reset();
    const MetricsSetting setting = ReadMetricsSetting(gIniPath);
    if (!setting.problem.isEmpty())
        Tell(Notice::Error, kAppTitle, setting.problem);
    if (setting.port == 0)
        return false;
    auto server = std::make_unique<MetricsServer>([this] {
        return MetricsPage({mPort->IsOpen(), &mKeeper, mScanCounts, mEvents.UnacknowledgedCount()});
    });
    const QString reason = server->Listen(setting.address, setting.port);
    if (!reason.isEmpty()) {
        Tell(Notice::Error, kAppTitle,
             QStringLiteral("The metrics page cannot be served on %1: %2").arg(setting.Where(), reason));
        return false;
    }
    mMetricsServer = std::move(server);
    return true;
}

QString RingCore::SaveReferenceQuestion() const
{
    const RingScan *found = mKeeper.LastFound();
    if (!found || !ReferenceRingProblem(found->modules).isEmpty())
        return {};
    return mReference.ReplaceQuestion(gIniPath);
}

void RingCore::SaveReference()
{
    const RingScan *found = mKeeper.LastFound();
    if (!found) {
        Tell(Notice::Error, kAppTitle,
             QStringLiteral("No scan has found modules yet: there is no ring to save as the reference."));
        return;
    }
    const QString problem = mReference.Save(gIniPath, found->modules);
    if (!problem.isEmpty()) {
        Tell(Notice::Error, kAppTitle, problem);
        return;
    }
    mKeeper.SetReference(mReference.Loaded() ? std::optional<RingSnapshot>(mReference.File().content.ring) : std::nullopt);
    emit referenceChanged();
}

QStringList RingCore::ReferenceDifferences() const
{
    QStringList texts;
    if (mKeeper.Reference() && mKeeper.LastFound())
        for (const RingEvent &event : ::ReferenceDifferences(mKeeper.LastFound()->modules, *mKeeper.Reference()))
            texts << event.text;
    return texts;
}

QString RingCore::ReferenceText() const { return mReference.StateText(mKeeper.ReferencePresent()); }

QString RingCore::NewEventsText() const
{
    const int count = mEvents.UnacknowledgedCount();
    if (count == 0)
        return {};
    return count == 1 ? QStringLiteral("1 new event") : QStringLiteral("%1 new events").arg(count);
}
