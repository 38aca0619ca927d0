#include "headless/HeadlessWatch.h"

#include "core/PortStateText.h"
#include "core/RingLog.h"
#include "model/Clock.h"

#include <algorithm>

HeadlessWatch::HeadlessWatch(QObject *parent)
    : QObject(parent), mScanTimer(new QTimer(this))
{
    mScanTimer->setObjectName(QStringLiteral("scanTimer"));
    mScanTimer->setSingleShot(true);
    connect(mScanTimer, &QTimer::timeout, this, &HeadlessWatch::ScanNext);
    connect(&mCore, &RingCore::scanHandedOver, this, [this](const RingScan &scan) {
        if (scan.cut)
            emit line(Line(ClockNow(), -1, QStringLiteral("scan cut: the port was lost")));
        if (!mStopped)
            ScheduleNext();
    });
    connect(&mCore.Events(), &EventList::added, this,
            [this](const RingEvent &event) { emit line(Line(event.time, event.id, event.text)); });
    connect(&mCore, &RingCore::portStateChanged, this, &HeadlessWatch::TellPortState);
    connect(&mCore, &RingCore::notice, this,
            [this](RingCore::Notice, const QString &, const QString &text) { emit notice(text); });
}

QString HeadlessWatch::Line(const QDateTime &time, int id, const QString &text)
{
    return QStringLiteral("%1 %2 %3")
        .arg(RingLog::TimeText(time), id < 0 ? QStringLiteral("-") : QString::number(id), text);
}

void HeadlessWatch::Start(const ProgramConfig &config)
{
    mCore.Start(config);
    mIntervalMs = int64_t(config.scanIntervalS) * 1000;
    OpenPort();
    mCore.Link().EnableReception();
    mScanTimer->start(0);
}

void HeadlessWatch::OpenPort()
{
    mCore.Watcher().Stop();
    if (mCore.OpenConfiguredPort() != SerialPort::OpenError::None) {
        mCore.Watcher().Start();
        emit notice(QStringLiteral("%1 cannot be opened: looking for it once a second").arg(PortLabel(mCore.Port())));
    }
}

void HeadlessWatch::Reread()
{
    const ProgramConfig config = ProgramConfig::Read(mCore.Config().iniPath);
    if (!config.WatchProblem().isEmpty()) {
        emit notice(QStringLiteral("The configuration file was not taken: %1").arg(config.WatchProblem()));
        return;
    }
    const ProgramConfig &before = mCore.Config();
    const bool portMoved = config.comport != before.comport || config.devices != before.devices;
    mCore.Follow(config);
    mIntervalMs = int64_t(config.scanIntervalS) * 1000;
    if (mScanTimer->isActive())
        ScheduleNext();
    emit notice(QStringLiteral("The configuration file %1 was read again").arg(config.iniPath));
    if (portMoved) {
        mCore.Port().Close();
        OpenPort();
    }
}

void HeadlessWatch::ScheduleNext()
{
    mScanTimer->start(int(std::max<int64_t>(0, mLastScanMs + mIntervalMs - TheClock().ElapsedMs())));
}

void HeadlessWatch::ScanNext()
{
    mLastScanMs = TheClock().ElapsedMs();
    mCore.Scan(ScanOrigin::AutoRefresh);
}

void HeadlessWatch::Stop()
{
    mStopped = true;
    mScanTimer->stop();
    mCore.Watcher().Stop();
    mCore.Link().Abandon();
    mCore.Port().Close();
}

void HeadlessWatch::TellPortState()
{
    if (mStopped)
        return;
    const QString state = mCore.PortStateText();
    if (state == mPortState)
        return;
    mPortState = state;
    emit line(Line(ClockNow(), -1, state));
}
