#include "headless/RunWithoutWindow.h"

#include "core/PortConfig.h"
#include "core/PortStateText.h"
#include "core/ProgramPaths.h"
#include "headless/CommandLine.h"
#include "headless/Console.h"
#include "headless/HeadlessWatch.h"
#include "headless/RingCheck.h"
#include "headless/ScanJson.h"
#include "headless/StopSignals.h"
#include "headless/WatchConfig.h"
#include "model/Global.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTimer>

namespace {

constexpr int kBadUsage = 2;

int Watch(const WatchConfig &config)
{
    HeadlessWatch watch;
    StopSignals stop;
    QObject::connect(&watch, &HeadlessWatch::line, &PrintLine);
    QObject::connect(&watch, &HeadlessWatch::notice, &PrintProblem);
    QObject::connect(&stop, &StopSignals::stopRequested, &watch, [&watch] {
        watch.Stop();
        QCoreApplication::exit(0);
    });
    watch.Start(config.comport);
    return QCoreApplication::exec();
}

// One scan, as a Refresh makes it, through the whole core: the ring log and whatever else keeps
// the ring's past take it too.
RingCheck CheckOnce(RingCore &core, int comport)
{
    SerialPort &port = core.Port();
    LoadDeviceOverrides(port, gIniPath);
    gComPort = uint8_t(comport);
    port.SetPortNumber(comport);
    if (port.Open() != SerialPort::OpenError::None)
        return RingCheck::Unknown(PortStateText(comport, comport, port.DeviceName(comport), port.CurrentState(), false));
    StopSignals stop;
    bool stopped = false;
    QObject::connect(&stop, &StopSignals::stopRequested, &core, [&core, &stopped] {
        stopped = true;
        core.Link().Abandon();
        QCoreApplication::exit(0);
    });
    QObject::connect(&core, &RingCore::scanHandedOver, &core, [] { QCoreApplication::exit(0); });
    core.Link().EnableReception();
    QTimer::singleShot(0, &core, [&core] { core.Link().Scan(ScanOrigin::Menu); });
    QCoreApplication::exec();
    port.Close();
    return stopped ? RingCheck::Unknown(QStringLiteral("stopped before the scan was over")) : RingCheck::Judge(core.Keeper());
}

int Check(const WatchConfig &config, bool json)
{
    RingCore core;
    QObject::connect(&core, &RingCore::notice, &core,
                     [](RingCore::Notice, const QString &, const QString &text) { PrintProblem(text); });
    RingCheck check = RingCheck::Unknown(config.problem);
    if (config.problem.isEmpty()) {
        core.LoadReference();
        core.OpenHistory();
        check = CheckOnce(core, config.comport);
    }
    QCoreApplication::sendPostedEvents();
    if (!json) {
        PrintLine(check.line);
    } else {
        QJsonObject record = core.Keeper().LastScan().serial != 0 ? ScanJson(core.Keeper().LastScan()) : QJsonObject();
        record.insert(QStringLiteral("status"), RingCheck::Word(check.status));
        record.insert(QStringLiteral("summary"), check.line);
        PrintLine(QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Indented)).trimmed());
    }
    return int(check.status);
}

} // namespace

int RunWithoutWindow(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    UseStartingConsole();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const CommandLine line = CommandLine::Parse(arguments);
    // A script's check reads standard output and takes anything but 0 to 2 as "could not tell".
    const bool check = arguments.contains(QLatin1String("--check"));
    if (!line.problem.isEmpty()) {
        if (check) {
            PrintLine(RingCheck::Unknown(line.problem).line);
            return int(RingCheck::Status::Unknown);
        }
        PrintProblem(QStringLiteral("zephlink9-setup: %1").arg(line.problem));
        return kBadUsage;
    }
    if (line.mode == CommandLine::Mode::Help) {
        PrintLine(CommandLine::kUsage.trimmed());
        return 0;
    }
    gIniPath = line.configPath.isEmpty() ? ProgramIniPath() : QFileInfo(line.configPath).absoluteFilePath();
    const WatchConfig config = WatchConfig::Read(gIniPath);
    if (line.mode == CommandLine::Mode::Check)
        return Check(config, line.json);
    if (!config.problem.isEmpty()) {
        PrintProblem(QStringLiteral("zephlink9-setup: %1").arg(config.problem));
        return kBadUsage;
    }
    return Watch(config);
}
