#include "headless/RunWithoutWindow.h"

#include "core/PortStateText.h"
#include "core/ProgramPaths.h"
#include "headless/CommandLine.h"
#include "headless/Console.h"
#include "headless/HeadlessWatch.h"
#include "headless/RingCheck.h"
#include "headless/ScanJson.h"
#include "headless/StopSignals.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTimer>

namespace {

constexpr int kBadUsage = 2;

int Watch(const ProgramConfig &config)
{
    HeadlessWatch watch;
    StopSignals stop;
    QObject::connect(&watch, &HeadlessWatch::line, &PrintLine);
    QObject::connect(&watch, &HeadlessWatch::notice, &PrintProblem);
    QObject::connect(&stop, &StopSignals::stopRequested, &watch, [&watch] {
        watch.Stop();
        QCoreApplication::exit(0);
    });
    QObject::connect(&stop, &StopSignals::rereadRequested, &watch, &HeadlessWatch::Reread);
    watch.Start(config);
    return QCoreApplication::exec();
}

// One scan, as a Refresh makes it, through the whole core: the ring log and whatever else keeps
// the ring's past take it too.
RingCheck CheckOnce(RingCore &core, int64_t windowMs)
{
    SerialPort &port = core.Port();
    if (core.OpenConfiguredPort() != SerialPort::OpenError::None)
        return RingCheck::Unknown(core.PortStateText());
    StopSignals stop;
    bool stopped = false;
    QObject::connect(&stop, &StopSignals::stopRequested, &core, [&core, &stopped] {
        stopped = true;
        core.Link().Abandon();
        QCoreApplication::exit(0);
    });
    QObject::connect(&core, &RingCore::scanHandedOver, &core, [] { QCoreApplication::exit(0); });
    core.Link().EnableReception();
    QTimer::singleShot(0, &core, [&core] { core.Scan(ScanOrigin::Menu); });
    QCoreApplication::exec();
    port.Close();
    if (stopped)
        return RingCheck::Unknown(QStringLiteral("stopped before the scan was over"));
    const RingScan &scan = core.Keeper().LastScan();
    return RingCheck::Judge(core.Keeper(), RingCheck::WindowIncreases(core.History(), scan.portNumber, scan.sentMs, windowMs));
}

int Check(const ProgramConfig &config, const CommandLine &line)
{
    RingCore core;
    QObject::connect(&core, &RingCore::notice, &core,
                     [](RingCore::Notice, const QString &, const QString &text) { PrintProblem(text); });
    RingCheck check = RingCheck::Unknown(config.WatchProblem());
    if (config.WatchProblem().isEmpty()) {
        // The check serves no page: the watcher may be serving it.
        ProgramConfig withoutPage = config;
        withoutPage.metrics = {};
        core.Start(withoutPage);
        check = CheckOnce(core, line.windowMs);
    }
    QCoreApplication::sendPostedEvents();
    if (!line.json) {
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
    // A service manager's SIGTERM may come at once.
    StopSignals::CatchEarly();
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
    if (line.mode == CommandLine::Mode::Version) {
        PrintLine(QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()));
        return 0;
    }
    const ProgramConfig config = ProgramConfig::Read(line.configPath.isEmpty() ? ProgramIniPath()
                                                                               : QFileInfo(line.configPath).absoluteFilePath());
    if (line.mode == CommandLine::Mode::Check)
        return Check(config, line);
    if (!config.WatchProblem().isEmpty()) {
        PrintProblem(QStringLiteral("zephlink9-setup: %1").arg(config.WatchProblem()));
        return kBadUsage;
    }
    return Watch(config);
}
