#include "core/RingCore.h"

#include "bus/DevicePort.h"
#include "core/Ini.h"
#include "core/LoadedPart.h"
#include "core/NetworkServices.h"
#include "core/PortStateText.h"
#include "model/Clock.h"
#include "model/RingComparison.h"

#include <utility>

RingCore::RingCore(SerialPort *port, QObject *parent)
    : QObject(parent),
      mOwnedPort(port ? nullptr : MakeDevicePort()),
      mPort(port ? port : mOwnedPort.get()),
      mMetricsRetry(new QTimer(this))
{
    mMetricsRetry->setObjectName(QStringLiteral("metricsRetry"));
    mMetricsRetry->setInterval(kMetricsRetryMs);
    connect(mMetricsRetry, &QTimer::timeout, this, &RingCore::ServeMetrics);
    mPort->SetStateHandler([this] { emit portStateChanged(); });
    connect(&mLink, &BusLink::scanSettled, this, &RingCore::TakeScan);
    // The page and the registers show each module's newest reply, counted or still waiting for
    // the parse pass: a break shows at the read that brings it.
    connect(&mLink.Receiver(), &ReplyReceiver::received, this, [this] {
        // Nobody to show them to: the next hand-over starts the newest readings afresh.
        if (!mMetricsServer && !mModbusServer)
            return;
        RingScan told = mLink.Underway();
        const RingSnapshot waiting = mLink.Receiver().Waiting();
        told.modules.insert(told.modules.end(), waiting.begin(), waiting.end());
        if (mKeeper.TakeReadings(told))
            mModbusMap.Refresh(mKeeper.Newest());
    });
    connect(&mLog, &RingLog::problem, this, [this](const QString &text) { Tell(Notice::Error, kAppTitle, text); });
    connect(&mEvents, &EventList::changed, this, &RingCore::referenceChanged);
    connect(&mEvents, &EventList::acknowledged, this, [this] { mHistory.AcknowledgeEvents(OwnPort()); });
    connect(&mHistory, &RingHistory::problem, this, [this](const QString &text) { Tell(Notice::Error, kAppTitle, text); });
    connect(&mHistory, &RingHistory::keptAgain, this, [this](const QString &text) { Tell(Notice::Information, kAppTitle, text); });
}

RingCore::~RingCore()
{
    mLink.StopAll();
    mPort->SetStateHandler(nullptr);
}

void RingCore::Start(const ProgramConfig &config, HistoryOpening history)
{
    mConfig = config;
    ApplyConfig();
    LoadReference();
    if (history == HistoryOpening::Now)
        OpenHistory();
    ServeMetrics();
    ServeModbus();
}

void RingCore::ApplyConfig()
{
    for (int n = SerialPort::kFirstPort; n <= SerialPort::kLastPort; ++n)
        mPort->SetDeviceOverride(n, mConfig.devices[size_t(n)]);
    mLog.SetPath(mConfig.logPath);
}

bool RingCore::Reread()
{
    if (!mConfig.Stale())
        return false;
    Follow(ProgramConfig::Read(mConfig.iniPath));
    return true;
}

void RingCore::Follow(const ProgramConfig &config)
{
    const ProgramConfig before = std::exchange(mConfig, config);
    ApplyConfig();
    // The events shown stay as they are: those of a history opened now come at the next start.
    if (config.historyPath != before.historyPath || config.historyDays != before.historyDays) {
        mHistory.Close();
        if (!config.historyPath.isEmpty())
            mHistory.Open(config.historyPath, config.historyDays);
    }
    const MetricsSetting &page = config.metrics;
    if (page.port != before.metrics.port || page.address != before.metrics.address || page.problem != before.metrics.problem
        || (page.port != 0 && !mMetricsServer))
        ServeMetrics();
    const MetricsSetting &registers = config.modbus;
    if (registers.port != before.modbus.port || registers.address != before.modbus.address
        || registers.problem != before.modbus.problem || (registers.port != 0 && !mModbusServer))
        ServeModbus();
}

SerialPort::OpenError RingCore::OpenConfiguredPort()
{
    if (!mConfig.HasComPort())
        return SerialPort::OpenError::NotFound;
    if (mPort->IsOpen() && mPort->PortNumber() == mConfig.comport)
        return SerialPort::OpenError::None;
    mPort->SetPortNumber(mConfig.comport);
    return mPort->Open();
}

void RingCore::ChoosePort(int number)
{
    WriteIniString(kAppTitle, QStringLiteral("comport"), QStringLiteral(" %1").arg(number), mConfig.iniPath);
    Reread();
    mConfig.comport = number;
    if (mConfig.HasComPort()) {
        // Reopened meanwhile (the main window's activation opens the configured port): the
        // choice would be stored but another port kept.
        if (mPort->IsOpen())
            mPort->Close();
        OpenConfiguredPort();
    }
    emit portStateChanged();
}

QString RingCore::PortStateText() const
{
    const int number = mPort->PortNumber();
    return ::PortStateText(mConfig.HasComPort() ? mConfig.comport : 0, number, mPort->DeviceName(number),
                           mPort->CurrentState(), mWatcher.IsWatching());
}

int RingCore::OwnPort() const { return mConfig.HasComPort() ? mConfig.comport : mPort->PortNumber(); }

void RingCore::LocateUnanswered(int position, int id)
{
    mTable.MarkLocateFailed(id);
    mLog.WriteLocateUnanswered(position, id);
}

ProgrammingRecord RingCore::BegunHere(ProgrammingKind kind) const
{
    const int number = mPort->PortNumber();
    return ProgrammingLog::Begun(kind, number, mPort->DeviceName(number));
}

bool RingCore::ProgramModule(int id, uint8_t mode, bool keep)
{
    ProgrammingRecord record = BegunHere(ProgrammingKind::ModuleApply);
    record.mode = mode;
    record.keep = keep;
    const bool taken = mLink.ProgramModule(id, mode, keep);
    record.modules.push_back({id, mode, keep, taken ? FrameOutcome::Taken : FrameOutcome::Refused, std::nullopt});
    mProgramming.Add(record);
    return taken;
}

RingCore::RingProgramming RingCore::ProgramRing(uint8_t mode, const std::function<bool(int index, int total)> &keepNext)
{
    // Replies parsed while the run yields may rebuild the ring order; the run keeps the modules
    // it started with.
    const std::vector<int> targets = mTable.ApplyTargets();
    RingProgramming run;
    run.total = int(targets.size());
    ProgrammingRecord record = BegunHere(ProgrammingKind::RingApply);
    record.mode = mode;
    for (const int id : targets)
        record.modules.push_back({id, mode, false, FrameOutcome::NotSent, std::nullopt});
    for (int i = 0; i < run.total; ++i) {
        const int id = targets[size_t(i)];
        const bool keep = keepNext(i, run.total);
        ProgrammedModule &module = record.modules[size_t(i)];
        module.keep = keep;
        record.keep = i == 0 ? keep : record.keep;
        // A port that does not take a frame will not take the next: the run stops, and only
        // what went out counts as applied.
        if (!mLink.ProgramModule(id, mode, keep)) {
            module.frame = FrameOutcome::Refused;
            run.failedID = id;
            break;
        }
        module.frame = FrameOutcome::Taken;
        ++run.sent;
    }
    if (run.total > 0)
        mProgramming.Add(record);
    return run;
}

void RingCore::SetAutoRefresh(bool on)
{
    mLink.SetAutoRefresh(on);
    if (on)
        mLink.StartRefresh();
    else
        mLink.StopRefresh();
}

// The hand-over of a finished scan, in this order: the keeper first, so that every later part
// compares with the same past (at the run's first scan, the past is the last ring the history
// kept of its port); the verification that the scan completes; the ring log's rows; the events;
// the history, which keeps the scan with its events and verification in one transaction; then
// the windows.
void RingCore::TakeScan(const RingScan &scan)
{
    // A scan cut by a vanished port is no ring: it is counted and logged, and nothing compares
    // with it.
    if (scan.cut) {
        mKeeper.Take(scan);
        mScanCounts.Count(scan);
        mLog.WriteScan(scan);
        emit scanHandedOver(scan);
        return;
    }
    if (mKeeper.LastScan().serial == 0)
        if (std::optional<RingScan> kept = mHistory.LastFound(scan.portNumber))
            mKeeper.Seed(*kept, mHistory.ModulesSeen(scan.portNumber));
    mKeeper.Take(scan);
    mScanCounts.Count(scan);
    mModbusMap = ModbusMap(scan, mKeeper.Reference(), mScanCounts.found + mScanCounts.none, TheClock().ElapsedMs());
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
    std::optional<ProgrammingRecord> verifying;
    if (verification) {
        verifying = ProgrammingLog::Begun(ProgrammingKind::Verify, scan.portNumber, scan.device);
        verifying->timeMs = verification->timeMs;
        for (const VerifyResult &result : verification->results)
            verifying->modules.push_back({result.id, result.mode, false, FrameOutcome::NotSent, result});
    }
    mHistory.Keep(scan, events, verification, verifying ? &*verifying : nullptr);
    if (verifying)
        mProgramming.AddKept(*verifying);
    emit referenceChanged();
    emit scanHandedOver(scan);
    if (verification) {
        emit verified();
        Tell(Notice::Information, tr("Verify Settings"), VerifySummary(verification->results));
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
    const QString problem = mReference.Load(mConfig.iniPath);
    KeepReferenceLoaded();
    if (!problem.isEmpty())
        Tell(Notice::Error, kAppTitle, problem);
}

void RingCore::OpenHistory()
{
    if (mHistory.IsOpen() || mConfig.historyPath.isEmpty() || !mHistory.Open(mConfig.historyPath, mConfig.historyDays))
        return;
    mEvents.AddEarlier(mHistory.Events(OwnPort(), EventList::kLimit));
    mProgramming.Reread();
}

bool RingCore::ServeMetrics()
{
    const bool retry = mMetricsRetry->isActive();
    mMetricsRetry->stop();
    mMetricsServer.reset();
    const MetricsSetting &setting = mConfig.metrics;
    if (!setting.problem.isEmpty())
        Tell(Notice::Error, kAppTitle, setting.problem);
    if (setting.port == 0)
        return false;
    // The network part is loaded only here, when the configuration asks for the page.
    QString reason;
    std::unique_ptr<QObject> server;
    if (NetworkServices *services = LoadPartAs<NetworkServices>(QLatin1String(NetworkServices::kPartName), &reason))
        server = services->ServeMetrics(setting.address, setting.port, [this] {
            return MetricsPage({mPort->IsOpen(), &mKeeper, mScanCounts, mEvents.UnacknowledgedCount(), mHistory.IsOpen(),
                                mHistory.ScansMissed()});
        }, TheClock(), &reason);
    if (!server) {
        if (!retry)
            Tell(Notice::Error, kAppTitle,
                 tr("The metrics page cannot be served on %1: %2; trying again every %3 s")
                     .arg(setting.Where(), reason).arg(kMetricsRetryMs / 1000));
        mMetricsRetry->start();
        return false;
    }
    if (retry)
        Tell(Notice::Information, kAppTitle, tr("The metrics page is served on %1 now").arg(setting.Where()));
    mMetricsServer = std::move(server);
    return true;
}

bool RingCore::ServeModbus()
{
    mModbusServer.reset();
    const MetricsSetting &setting = mConfig.modbus;
    if (!setting.problem.isEmpty())
        Tell(Notice::Error, kAppTitle, setting.problem);
    if (setting.port == 0)
        return false;
    QString reason;
    std::unique_ptr<QObject> server;
    if (NetworkServices *services = LoadPartAs<NetworkServices>(QLatin1String(NetworkServices::kPartName), &reason))
        server = services->ServeModbus(setting.address, setting.port, [this](int first, int count) {
            return mModbusMap.Read(first, count, {mPort->IsOpen(), mEvents.UnacknowledgedCount(), TheClock().ElapsedMs()});
        }, TheClock(), &reason);
    if (!server) {
        Tell(Notice::Error, kAppTitle,
             tr("The Modbus registers cannot be served on %1: %2").arg(setting.Where(), reason));
        return false;
    }
    mModbusServer = std::move(server);
    return true;
}

QString RingCore::SaveReferenceQuestion(const RingScan &ring) const
{
    if (!ring.Found() || !ReferenceRingProblem(ring.modules).isEmpty())
        return {};
    return mReference.ReplaceQuestion(mConfig.iniPath);
}

void RingCore::SaveReference(const RingScan &ring)
{
    if (!ring.Found()) {
        Tell(Notice::Error, kAppTitle,
             tr("No scan has found modules yet: there is no ring to save as the reference."));
        return;
    }
    const QString problem = mReference.Save(mConfig.iniPath, ring.modules);
    if (!problem.isEmpty()) {
        Tell(Notice::Error, kAppTitle, problem);
        return;
    }
    KeepReferenceLoaded();
}

void RingCore::KeepReferenceLoaded()
{
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
    return count == 1 ? tr("1 new event") : tr("%1 new events").arg(count);
}
