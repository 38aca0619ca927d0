#include "headless/HeadlessWatch.h"

#include "core/PortConfig.h"
#include "core/PortStateText.h"
#include "core/RingLog.h"
#include "model/Clock.h"
#include "model/Global.h"

HeadlessWatch::HeadlessWatch(QObject *parent)
    : QObject(parent)
{
    mScanTimer.setSingleShot(true);
    connect(&mScanTimer, &QTimer::timeout, this, &HeadlessWatch::ScanTimer_Timer);
    connect(&mCore, &RingCore::scanHandedOver, this, [this](const RingScan &scan) {
        if (scan.cut)
            emit line(Line(ClockNow(), -1, QStringLiteral("scan cut: the port was lost")));
        if (!mStopped)
            mScanTimer.start(kScanIntervalMs);
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

void HeadlessWatch::Start(int comport)
{
    mCore.LoadReference();
    mCore.OpenHistory();
    mCore.ServeMetrics();
    SerialPort &port = mCore.Port();
    LoadDeviceOverrides(port, gIniPath);
    gComPort = uint8_t(comport);
    port.SetPortNumber(comport);
    if (port.Open() != SerialPort::OpenError::None) {
        mCore.Watcher().Start();
        emit notice(QStringLiteral("COM%1 (%2) cannot be opened: looking for it once a second")
                        .arg(comport)
                        .arg(port.DeviceName(comport)));
    }
    mCore.Link().EnableReception();
    mScanTimer.start(0);
}

void HeadlessWatch::ScanTimer_Timer() { mCore.Link().Scan(ScanOrigin::AutoRefresh); }

void HeadlessWatch::Stop()
{
    mStopped = true;
    mScanTimer.stop();
    mCore.Watcher().Stop();
    mCore.Link().Abandon();
    mCore.Port().Close();
}

void HeadlessWatch::TellPortState()
{
    if (mStopped)
        return;
    const SerialPort &port = mCore.Port();
    const int number = port.PortNumber();
    const QString state = PortStateText(gComPort, number, port.DeviceName(number), port.CurrentState(),
                                        mCore.Watcher().IsWatching());
    if (state == mPortState)
        return;
    mPortState = state;
    emit line(Line(ClockNow(), -1, state));
}
