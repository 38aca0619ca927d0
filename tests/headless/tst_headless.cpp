// The program without a window on the simulator: the watcher started with no display prints its
// events and the port's state, serves its page to a real Prometheus server and ends on SIGTERM
// with 0; in the test's own process it follows a device missing at start, scans at its own
// own rhythm and abandons a scan when stopped; the check's exit codes and summary lines, and
// its rules on the keeper.
#include "CheckLine.h"
#include "HttpAsk.h"
#include "RingSimProcess.h"
#include "RingText.h"
#include "TestFiles.h"
#include "bus/SerialPort.h"
#include "headless/CommandLine.h"
#include "headless/HeadlessWatch.h"
#include "headless/RingCheck.h"
#include "ManualClock.h"
#include "core/ProgramConfig.h"
#include "model/Clock.h"
#include "history/RingHistory.h"
#include "model/ReferenceFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QByteArray kRing = "id=1 side=G\nid=2 side=L\nid=3 side=L ch2=fault:17\nid=4 side=R\n";

// A process as a service manager or a script starts it: no display, nothing on standard input.
struct Started
{
    QProcess process;
    QString output;

    Started(const QString &program, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(program, arguments);
    }
    ~Started()
    {
        process.kill();
        process.waitForFinished();
    }
    // Reads standard output until a line ends with text.
    bool WaitForLine(const QString &text, int timeoutMs = 10000)
    {
        return QTest::qWaitFor([&] {
            output += QString::fromUtf8(process.readAllStandardOutput());
            return output.contains(text + QLatin1Char('\n'));
        }, timeoutMs);
    }
};

} // namespace

class TestHeadless : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;

    // The configuration file: port 1 names the device, and more keys after it.
    QString Ini(const QString &device, const QByteArray &more = {})
    {
        return WriteTestFile(mDir.filePath(QStringLiteral("zephlink9-setup.ini")),
                             "[ZEPHLINK9 Setup Tool]\r\ncomport=1\r\nCOM1=" + device.toUtf8() + "\r\n" + more);
    }

private slots:
    // Each case starts without a reference and without a history kept by the case before.
    void init()
    {
        for (const char *name : {"ring-reference.csv", "ring-history.sqlite", "ring-history.sqlite-wal", "ring-history.sqlite-shm"})
            QFile::remove(mDir.filePath(QLatin1String(name)));
    }

    void watchWithoutDisplayFeedsPrometheus()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing")}, kRing));
        const quint16 metrics = FreePort();
        Started watch(QStringLiteral(ZEPH_PROGRAM_PATH),
                      {QStringLiteral("--headless"), QStringLiteral("--config"),
                       Ini(sim.devicePath(), "metrics=" + QByteArray::number(metrics) + "\r\n")});
        QVERIFY(watch.WaitForLine(QStringLiteral(" - COM1 (%1): open").arg(sim.devicePath())));
        QVERIFY(watch.WaitForLine(QStringLiteral(" 3 Module 3 channel 2 faulty")));
        QVERIFY(GetHttp(metrics, "/metrics").contains("\nzephlink9_channel_errors_total{module=\"3\",channel=\"2\"} 17\n"));

        const QString prometheus = QStandardPaths::findExecutable(QStringLiteral("prometheus"));
        if (!prometheus.isEmpty()) {
            // Its own configuration, data folder and port; the repository's alert rules.
            const quint16 web = FreePort();
            const QString config = WriteTestFile(mDir.filePath(QStringLiteral("prometheus.yml")), QStringLiteral(
                "global: {scrape_interval: 1s, evaluation_interval: 1s}\n"
                "rule_files: ['%1/alerts.yml']\n"
                "scrape_configs: [{job_name: zephlink9, static_configs: [{targets: ['127.0.0.1:%2']}]}]\n")
                .arg(QStringLiteral(ZEPH_MONITORING_DIR)).arg(metrics).toUtf8());
            Started server(prometheus, {QStringLiteral("--config.file=") + config,
                                        QStringLiteral("--storage.tsdb.path=") + mDir.filePath(QStringLiteral("data")),
                                        QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(web)});
            const auto query = [web](const char *expression) {
                return GetHttp(web, "/api/v1/query?query=" + QUrl::toPercentEncoding(QLatin1String(expression)));
            };
            QTRY_VERIFY_WITH_TIMEOUT(query("zephlink9_channel_faulty{module=\"3\",channel=\"2\"} == 1").contains("\"module\":\"3\""), 30000);
            QTRY_VERIFY_WITH_TIMEOUT(query("ALERTS{alertname=\"ZephlinkChannelFaulty\"}").contains("\"alertstate\":\"firing\""), 10000);
            QVERIFY(!query("ALERTS{alertname=\"ZephlinkChannelFaulty\",module!=\"3\"}").contains("alertstate"));
        }

        ::kill(pid_t(watch.process.processId()), SIGTERM);
        QVERIFY(watch.process.waitForFinished(1000));
        QCOMPARE(watch.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.process.exitCode(), 0);
        if (prometheus.isEmpty())
            QSKIP("prometheus (Debian package prometheus) is not installed: the scrape and the alert rules were not tried");
    }

    // A PLC's client reads the watcher's registers: the ring, a channel that turns faulty at the
    // next scan, and a write refused without a frame to the ring.
    void watchServesModbus()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("mbpoll")).isEmpty())
            QSKIP("mbpoll (Debian package mbpoll) is not installed");
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--trace")}, kRing));
        const quint16 modbus = FreePort();
        Started watch(QStringLiteral(ZEPH_PROGRAM_PATH),
                      {QStringLiteral("--headless"), QStringLiteral("--config"),
                       Ini(sim.devicePath(), "modbus=" + QByteArray::number(modbus) + "\r\nscan_interval=1\r\n")});
        QVERIFY(watch.WaitForLine(QStringLiteral(" 3 Module 3 channel 2 faulty")));
        // mbpoll's answer: "[address]: \tvalue" lines, or its complaint.
        const auto poll = [modbus](const QStringList &options, const QStringList &values = {}) {
            QProcess mbpoll;
            mbpoll.setProcessChannelMode(QProcess::MergedChannels);
            mbpoll.start(QStringLiteral("mbpoll"), QStringList{QStringLiteral("-m"), QStringLiteral("tcp"), QStringLiteral("-a"),
                QStringLiteral("9"), QStringLiteral("-0"), QStringLiteral("-1"), QStringLiteral("-p"), QString::number(modbus)}
                + options + QStringList{QStringLiteral("127.0.0.1")} + values);
            mbpoll.waitForFinished(5000);
            return QString::fromUtf8(mbpoll.readAll());
        };
        const auto read = [&poll](int first, int count, const char *type) {
            QMap<int, int> registers;
            static const QRegularExpression line(QStringLiteral("\\[(\\d+)\\]:\\s+(-?\\d+)"));
            for (const QRegularExpressionMatch &m : line.globalMatch(poll({QStringLiteral("-t"), QLatin1String(type),
                     QStringLiteral("-r"), QString::number(first), QStringLiteral("-c"), QString::number(count)})))
                registers[m.captured(1).toInt()] = m.captured(2).toInt() & 0xFFFF;
            return registers;
        };
        QMap<int, int> registers = read(0, 8, "4");
        QCOMPARE(registers.value(0, -1), 1);
        QCOMPARE(registers.value(1, -1), 4);
        QCOMPARE(registers.value(2, -1), 1);
        registers = read(100, 40, "3");
        QCOMPARE(registers.value(100, -1), 1);
        QCOMPARE(registers.value(101, -1), int('G'));
        QCOMPARE(registers.value(124, -1), 2);
        QCOMPARE(registers.value(126, -1), 17);
        QCOMPARE(registers.value(130, -1), 4);

        QVERIFY(sim.control(QStringLiteral("fault 1 1 on")));
        QTRY_COMPARE_WITH_TIMEOUT(read(2, 1, "4").value(2, -1), 2, 10000);
        QCOMPARE(read(104, 1, "4").value(104, -1), 1);

        QVERIFY(sim.control(QStringLiteral("list")));
        QVERIFY(poll({QStringLiteral("-t"), QStringLiteral("4"), QStringLiteral("-r"), QStringLiteral("2")}, {QStringLiteral("5")})
                    .contains(QStringLiteral("Illegal function")));
        const QStringList traced = sim.list().filter(QStringLiteral("command "));
        QCOMPARE(traced.filter(QRegularExpression(QStringLiteral("command [^G]"))), QStringList());
    }

    // In this process, scanning at once after each hand-over: the watcher looks for a device
    // missing at start, goes on scanning after scans that found none, tells each event once, and
    // abandons a scan when stopped.
    void watchFollowsTheRing()
    {
        const QString link = mDir.filePath(QStringLiteral("ring"));
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost));
        const ProgramConfig config =
            ProgramConfig::Read(Ini(link, "metrics=" + QByteArray::number(taken.serverPort()) + "\r\nscan_interval=0\r\n"));
        HeadlessWatch watch;
        QStringList lines;
        QStringList notices;
        connect(&watch, &HeadlessWatch::line, this, [&lines](const QString &line) { lines << line.section(QLatin1Char(' '), 1); });
        connect(&watch, &HeadlessWatch::notice, this, [&notices](const QString &text) { notices << text; });
        QSignalSpy handed(&watch.Core(), &RingCore::scanHandedOver);

        watch.Start(config);
        QTRY_VERIFY_WITH_TIMEOUT(handed.count() >= 3, 10000);
        const QStringList first{QStringLiteral("- COM1 (%1): not found").arg(link), QStringLiteral("- No modules found")};
        QCOMPARE(lines, first);
        const QStringList told{QStringLiteral("COM1 (%1) cannot be opened: looking for it once a second").arg(link),
                               QStringLiteral("The metrics page cannot be served on 127.0.0.1:%1: The bound address is already in use;"
                                              " trying again every 10 s").arg(taken.serverPort())};
        QTRY_COMPARE(notices, told);
        QVERIFY(watch.Core().Watcher().IsWatching());
        // The address comes free: the try due 10 s after the last serves the page, and says so.
        auto *retry = watch.Core().findChild<QTimer *>(QStringLiteral("metricsRetry"));
        QVERIFY(retry && retry->isActive() && retry->interval() == 10000);
        const quint16 metrics = taken.serverPort();
        taken.close();
        QVERIFY(QMetaObject::invokeMethod(retry, "timeout"));
        QVERIFY(GetHttp(metrics, "/metrics").contains("\nzephlink9_port_open 0\n") && !retry->isActive());
        QTRY_COMPARE(notices.mid(2), QStringList{QStringLiteral("The metrics page is served on 127.0.0.1:%1 now").arg(metrics)});

        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--link"), link}, kRing));
        QTRY_VERIFY_WITH_TIMEOUT(lines.contains(QStringLiteral("3 Module 3 channel 2 faulty")), 10000);
        QVERIFY(lines.contains(QStringLiteral("- COM1 (%1): open").arg(link)));
        QVERIFY(sim.control(QStringLiteral("remove 2")));
        QTRY_VERIFY_WITH_TIMEOUT(lines.contains(QStringLiteral("2 Module 2 missing")), 10000);
        const qsizetype handedThen = handed.count();
        QTRY_VERIFY_WITH_TIMEOUT(handed.count() >= handedThen + 2, 10000);
        QCOMPARE(watch.Core().Keeper().LastScan().origin, ScanOrigin::AutoRefresh);
        QCOMPARE(lines.count(QStringLiteral("2 Module 2 missing")), 1);
        QCOMPARE(lines.count(QStringLiteral("3 Module 3 channel 2 faulty")), 1);

        // The adapter pulled while the watcher scans: the scan is cut, and no module is missing.
        const QStringList args{QStringLiteral("--no-pacing"), QStringLiteral("--link"), link};
        sim.stop();
        QTRY_VERIFY_WITH_TIMEOUT(lines.contains(QStringLiteral("- scan cut: the port was lost")), 10000);
        // Back without module 2 from its first reply: a remove sent after the start could come
        // after the watcher's first scan.
        QVERIFY(sim.start(args, QByteArray(kRing).replace("id=2 side=L\n", "")));
        // A scan whose G went out while the device was away may end after the port opened.
        const qsizetype cut = lines.indexOf(QStringLiteral("- scan cut: the port was lost"));
        QTRY_VERIFY_WITH_TIMEOUT(lines.indexOf(QStringLiteral("- COM1 (%1): open").arg(link), cut) > cut, 10000);
        const qsizetype handedBack = handed.count();
        QTRY_VERIFY_WITH_TIMEOUT(handed.count() >= handedBack + 2, 10000);
        QCOMPARE(watch.Core().Keeper().LastScan().modules.size(), size_t(3));
        QCOMPARE(lines.filter(QStringLiteral("missing")), QStringList{QStringLiteral("2 Module 2 missing")});

        // A stop inside a scan's wait for a ring that does not answer, on a clock that stands
        // still: the wait ends by the stop alone.
        for (const char *id : {"1", "3", "4"})
            QVERIFY(sim.control(QStringLiteral("silent %1 on").arg(QLatin1String(id))));
        QTRY_VERIFY_WITH_TIMEOUT(lines.last() == QStringLiteral("- No modules found"), 10000);
        ManualClock still;
        SetClock(&still);
        QTimer timeUp;
        connect(&timeUp, &QTimer::timeout, this, [&still] { still.Advance(BusLink::kScanLimitMs); });
        timeUp.start(3000);
        QTimer::singleShot(30, &watch, &HeadlessWatch::Stop);
        QTRY_VERIFY(!watch.Core().Port().IsOpen());
        SetClock(nullptr);
        QCOMPARE(still.NowMs(), 0);
        const qsizetype handedAtStop = handed.count();
        QTest::qWait(300);
        QCOMPARE(handed.count(), handedAtStop);
    }

    // On a hand clock: the next G is due scan_interval after the last G, not after the hand-over;
    // after a scan that took longer, at once.
    void scanRhythm()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing")}, kRing));
        ManualClock clock;
        SetClock(&clock);
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&clock] { clock.Advance(50); });
        tick.start(5);
        HeadlessWatch watch;
        auto *next = watch.findChild<QTimer *>(QStringLiteral("scanTimer"));
        int64_t scanMs = 0;  // how long the ring's answer takes beyond the quiet second
        connect(&watch.Core().Link(), &BusLink::ringFound, this, [&] { clock.Advance(scanMs); });
        QList<int64_t> lastG, intervals;  // at each hand-over: the ms left of scan_interval, the timer's
        connect(&watch.Core(), &RingCore::scanHandedOver, this, [&](const RingScan &scan) {
            lastG << scan.sentMs - (clock.EpochMs() - clock.NowMs()) + 10000 - clock.NowMs();
            intervals << next->interval();
            scanMs = 12000;
            QMetaObject::invokeMethod(next, "timeout", Qt::QueuedConnection);
        });
        watch.Start(ProgramConfig::Read(Ini(sim.devicePath(), "scan_interval=10\r\nhistory=off\r\n")));
        QTRY_VERIFY_WITH_TIMEOUT(intervals.size() >= 2, 10000);
        watch.Stop();
        SetClock(nullptr);
        QVERIFY(lastG[0] > 0 && lastG[0] < 10000 && lastG[1] < 0);
        QCOMPARE(intervals.mid(0, 2), QList<int64_t>({lastG[0], 0}));
    }

    // Options and configuration values that cannot be used, each named in one line, with no
    // display and before any window: 2 for the watcher, 3 (UNKNOWN) for the check.
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");  // --config INI follows where "more" is given
        QTest::addColumn<QByteArray>("more");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("line");  // the first line written; %2: the configuration file
        QTest::newRow("version") << QStringList{"--version"} << QByteArray() << 0 << "zephlink9-setup 1.3.1";
        QTest::newRow("help") << QStringList{"--help"} << QByteArray() << 0
                              << "usage: zephlink9-setup [--headless | --check [--json] [--window TIME]] [--config PATH]";
        QTest::newRow("other letters") << QStringList{"--Headless"} << QByteArray() << 2 << "zephlink9-setup: unknown option: --Headless";
        QTest::newRow("window, no check") << QStringList{"--headless", "--window", "5m"} << QByteArray() << 2
                                          << "zephlink9-setup: --json and --window need --check";
        QTest::newRow("check: unknown") << QStringList{"--check", "--bogus"} << QByteArray() << 3 << "UNKNOWN: unknown option: --bogus";
        QTest::newRow("check: window") << QStringList{"--check", "--window=0m"} << QByteArray() << 3
                                       << "UNKNOWN: --window 0m: not a time such as 900s, 15m or 1h";
        QTest::newRow("history_days") << QStringList{"--headless"} << QByteArray("history_days=abc") << 2
                                      << "zephlink9-setup: history_days=abc in %2: not a number of days (1 to 36500)";
        QTest::newRow("scan_interval") << QStringList{"--headless"} << QByteArray("scan_interval=10s") << 2
                                       << "zephlink9-setup: scan_interval=10s in %2: not a number of seconds (0 to 86400)";
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, more);
        const QString ini = Ini(mDir.filePath(QStringLiteral("absent")), more);
        Started run(QStringLiteral(ZEPH_PROGRAM_PATH), arguments + (more.isEmpty() ? QStringList() : QStringList{"--config", ini}));
        QVERIFY(run.process.waitForFinished(10000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QTEST(run.process.exitCode(), "exitCode");
        const QString written = QString::fromUtf8(run.process.readAllStandardOutput() + run.process.readAllStandardError());
        QFETCH(QString, line);
        QCOMPARE(written.section(QLatin1Char('\n'), 0, 0), QString(line).replace(QLatin1String("%2"), ini));
    }

    // A stop that comes before the program's first instruction (held back by whoever started it,
    // as the loading of the program holds one in the first milliseconds) ends it with 0.
    void stopAtStart()
    {
        for (const int signal : {SIGTERM, SIGINT}) {
            sigset_t held;
            sigemptyset(&held);
            sigaddset(&held, signal);
            pthread_sigmask(SIG_BLOCK, &held, nullptr);
            Started watch(QStringLiteral(ZEPH_PROGRAM_PATH), {QStringLiteral("--headless"), QStringLiteral("--config"), Ini(QStringLiteral("absent"))});
            pthread_sigmask(SIG_UNBLOCK, &held, nullptr);
            QVERIFY(watch.process.waitForStarted());
            ::kill(pid_t(watch.process.processId()), signal);
            QVERIFY(watch.process.waitForFinished(5000));
            QCOMPARE(watch.process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(watch.process.exitCode(), 0);
        }
    }

    // SIGHUP: the configuration file read again, and the page and the history follow it; a file
    // with a bad value is refused, and the watch goes on.
    void rereadOnSighup()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing")}, kRing));
        const quint16 first = FreePort();
        Started watch(QStringLiteral(ZEPH_PROGRAM_PATH), {QStringLiteral("--headless"), QStringLiteral("--config"),
                                                          Ini(sim.devicePath(), "metrics=" + QByteArray::number(first) + "\r\n")});
        QVERIFY(watch.WaitForLine(QStringLiteral(" 3 Module 3 channel 2 faulty")));
        const quint16 second = FreePort();
        const auto hangUp = [&](const QByteArray &more) {
            Ini(sim.devicePath(), "metrics=" + QByteArray::number(second) + "\r\n" + more);
            ::kill(pid_t(watch.process.processId()), SIGHUP);
        };
        hangUp("history=moved.sqlite\r\n");
        QTRY_VERIFY(GetHttp(second, "/metrics").contains("\nzephlink9_port_open 1\n"));
        QVERIFY(GetHttp(first, "/metrics").isEmpty() && QFileInfo(mDir.filePath(QStringLiteral("moved.sqlite"))).size() > 0);
        hangUp("history_days=many\r\n");
        QString told;
        QTRY_VERIFY(told.append(QString::fromUtf8(watch.process.readAllStandardError())).contains(QStringLiteral("history_days=many")));
        QVERIFY(GetHttp(second, "/metrics").contains("\nzephlink9_port_open 1\n"));
    }

    // A second watcher on a port in use, named by a link to the same device (as /dev/serial/by-id
    // names it): it says so, its page has the port closed, it never takes the port from the
    // first, and it takes it once the first has ended.
    void portInUse()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing")}, kRing));
        auto first = std::make_unique<Started>(QStringLiteral(ZEPH_PROGRAM_PATH), QStringList{QStringLiteral("--headless"), QStringLiteral("--config"), Ini(sim.devicePath())});
        QVERIFY(first->WaitForLine(QStringLiteral(" 3 Module 3 channel 2 faulty")));
        const QString link = mDir.filePath(QStringLiteral("by-id"));
        QVERIFY(QFile::link(sim.devicePath(), link));
        const quint16 metrics = FreePort();
        Started second(QStringLiteral(ZEPH_PROGRAM_PATH), {QStringLiteral("--headless"), QStringLiteral("--config"),
                       Ini(link, "metrics=" + QByteArray::number(metrics) + "\r\nhistory=off\r\n")});
        QVERIFY(second.WaitForLine(QStringLiteral(" - COM1 (%1): in use by another program").arg(link)));
        QTRY_VERIFY(GetHttp(metrics, "/metrics").contains("\nzephlink9_port_open 0\n"));
        QTest::qWait(2500);
        QVERIFY(second.process.state() == QProcess::Running && !second.output.contains(QStringLiteral(": open")));
        QVERIFY(first->WaitForLine(QStringLiteral(" 3 Module 3 channel 2 faulty")) && !first->output.contains(QStringLiteral("cut")));
        first.reset();
        QVERIFY(second.WaitForLine(QStringLiteral(" - COM1 (%1): open").arg(link), 5000));
    }

    void check_data()
    {
        QTest::addColumn<QByteArray>("ring");       // empty: no device behind port 1
        QTest::addColumn<QString>("reference");     // empty: none
        QTest::addColumn<QByteArray>("more");       // configuration lines
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("line");          // %1: the device
        QTest::newRow("sound ring") << QByteArray("id=1 side=G\nid=2 side=L\n") << "" << QByteArray() << 0
                                    << "OK: 2 modules sound | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=0c;;;0";
        QTest::newRow("as the reference") << QByteArray("id=1 side=G\nid=2 side=L\n") << "1G 2L" << QByteArray() << 0
                                          << "OK: 2 modules sound, as the reference | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=0c;;;0";
        QTest::newRow("faulty channel") << kRing << "" << QByteArray() << 2
                                        << "CRITICAL: Module 3 channel 2 faulty | modules=4;;;0 faulty=1;;0;0 missing=0;;0;0 errors=17c;;;0";
        QTest::newRow("module missing") << QByteArray("id=1 side=G\nid=2 side=L\n") << "1G 2L 5R" << QByteArray() << 2
                                        << "CRITICAL: Module 5 missing | modules=2;;;0 faulty=0;;0;0 missing=1;;0;0 errors=0c;;;0";
        QTest::newRow("missing port") << QByteArray() << "" << QByteArray() << 3 << "UNKNOWN: COM1 (%1): not found";
        QTest::newRow("bad metrics port") << kRing << "" << QByteArray("metrics=0\r\n") << 3
                                          << "UNKNOWN: metrics=0 in %2: not a TCP port (1 to 65535)";
    }
    void check()
    {
        QFETCH(QByteArray, ring);
        QFETCH(QString, reference);
        QFETCH(QByteArray, more);
        RingSimProcess sim;
        QVERIFY(ring.isEmpty() || sim.start({QStringLiteral("--no-pacing")}, ring));
        const QString device = ring.isEmpty() ? mDir.filePath(QStringLiteral("absent")) : sim.devicePath();
        const QString ini = Ini(device, more);
        if (!reference.isEmpty())
            QCOMPARE(WriteReferenceFile(mDir.filePath(QStringLiteral("ring-reference.csv")), Ring(reference)), QString());
        for (const bool json : {false, true}) {
            QStringList arguments{QStringLiteral("--check"), QStringLiteral("--config"), ini};
            if (json)
                arguments << QStringLiteral("--json");
            Started check(QStringLiteral(ZEPH_PROGRAM_PATH), arguments);
            QVERIFY(check.process.waitForFinished(10000));
            QTEST(check.process.exitCode(), "exitCode");
            QFETCH(QString, line);
            const QString summary = QString(line).replace(QLatin1String("%1"), device).replace(QLatin1String("%2"), ini);
            if (!json) {
                const QString output = QString::fromUtf8(check.process.readAllStandardOutput());
                QVERIFY(output.endsWith(QLatin1Char('\n')) && output.count(QLatin1Char('\n')) == 1);
                QCOMPARE(WithoutChannels(output.trimmed()), summary);
                continue;
            }
            const QJsonObject record = QJsonDocument::fromJson(check.process.readAllStandardOutput()).object();
            QCOMPARE(WithoutChannels(record.value(QStringLiteral("summary")).toString()), summary);
            QCOMPARE(record.value(QStringLiteral("cut")).toBool(true), check.process.exitCode() == 3);
            QCOMPARE(record.value(QStringLiteral("modules")).toArray().size(), check.process.exitCode() == 3 ? 0 : ring.count('\n'));
        }
    }

    // Each check keeps its scan in the history: a counter that rose within the window (15 minutes
    // by default) is a warning at every check until the window has passed it, so that a retry
    // sees it too.
    void checkAgainstTheHistory()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing")}, "id=1 side=G\nid=2 side=L ch1=ok:3\n"));
        const QStringList arguments{QStringLiteral("--check"), QStringLiteral("--config"), Ini(sim.devicePath())};
        const auto checkOnce = [&arguments] {
            Started check(QStringLiteral(ZEPH_PROGRAM_PATH), arguments);
            check.process.waitForFinished(10000);
            return QStringLiteral("%1 %2").arg(check.process.exitCode()).arg(WithoutChannels(QString::fromUtf8(check.process.readAllStandardOutput()).trimmed()));
        };
        const QString performance = QStringLiteral(" | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=%1c;;;0");
        QCOMPARE(checkOnce(), QStringLiteral("0 OK: 2 modules sound") + performance.arg(3));
        QVERIFY(sim.control(QStringLiteral("counter 2 1 43")));
        QCOMPARE(checkOnce(), QStringLiteral("1 WARNING: Module 2 channel 1 error counter +40") + performance.arg(43));
        QCOMPARE(checkOnce(), QStringLiteral("1 WARNING: Module 2 channel 1 error counter +40") + performance.arg(43));
    }

    // The rules on the keeper after the check's scan, with the increases the history kept within
    // the window; "kept": scans an earlier run kept, each "-SECONDS ring" before the first judged.
    void judge_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("scans");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("line");     // up to the channels' own data
        QTest::addColumn<QString>("channel");  // one channel's data among them; empty: none checked
        QTest::newRow("counter up since the kept ring") << "none" << "-60 1G 2L:c1=3" << "1G 2L:c1=43:c2=1" << "15m"
            << "WARNING: Module 2 channel 1 error counter +40; and 1 more | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=44c;;;0"
            << "m2_ch1=43c;;;0 m2_ch1_increase=40;0;;0 m2_ch2=1c;;;0 m2_ch2_increase=1;0;;0";
        QTest::newRow("counters as kept") << "1G 2L" << "-60 1G 2L:c1=3" << "1G 2L:c1=3" << "15m"
            << "OK: 2 modules sound, as the reference | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=3c;;;0"
            << "m1_ch1=0c;;;0 m1_ch1_increase=0;0;;0 m1_ch2=0c;;;0 m1_ch2_increase=0;0;;0 m2_ch1=3c;;;0";
        QTest::newRow("increase within the window, seen again by a retry") << "none"
            << "-1800 1G 2L:c1=3|-600 1G 2L:c1=43|-60 1G 2L:c1=43" << "1G 2L:c1=43|1G 2L:c1=43" << "15m"
            << "WARNING: Module 2 channel 1 error counter +40 | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=43c;;;0"
            << "m2_ch1=43c;;;0 m2_ch1_increase=40;0;;0";
        QTest::newRow("increase before the window") << "none" << "-1800 1G 2L:c1=3|-1200 1G 2L:c1=43" << "1G 2L:c1=43"
            << "900s" << "OK: 2 modules sound | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=43c;;;0"
            << "m2_ch1=43c;;;0 m2_ch1_increase=0;0;;0";
        QTest::newRow("a longer window") << "none" << "-5400 1G 2L:c1=3|-3000 1G 2L:c1=43" << "1G 2L:c1=43" << "1h"
            << "WARNING: Module 2 channel 1 error counter +40 | modules=2;;;0 faulty=0;;0;0 missing=0;;0;0 errors=43c;;;0" << "";
        QTest::newRow("differs from the reference") << "1G 2L" << "" << "1G 2L:v42 9R" << "15m"
            << "WARNING: Module 2 firmware 4.2, reference 4.1; Module 9 not in the reference | modules=3;;;0 faulty=0;;0;0 missing=0;;0;0 errors=0c;;;0"
            << "";
        QTest::newRow("critical before warning") << "1G 2L 3L" << "-60 1G 2L" << "1G 2L:f1:c1=5 9R" << "15m"
            << "CRITICAL: Module 2 channel 1 faulty; Module 3 missing; and 2 more"
               " | modules=3;;;0 faulty=1;;0;0 missing=1;;0;0 errors=5c;;;0" << "m2_ch1=5c;;;0 m2_ch1_increase=5;0;;0";
        QTest::newRow("no module answering") << "none" << "" << "1G|-" << "15m"
            << "CRITICAL: No modules found | modules=0;;;0 faulty=0;;0;0 missing=0;;0;0" << "";
        QTest::newRow("scan cut") << "1G 2L" << "" << "1G 2L|!1G:f1" << "15m"
            << "CRITICAL: Scan cut: the port was lost; Module 1 missing; Module 2 missing"
               " | modules=0;;;0 faulty=0;;0;0 missing=2;;0;0" << "";
        QString reference;
        QString big;
        for (int id = 1; id <= 1000; ++id) {
            reference += QStringLiteral("%1L ").arg(id);
            if (id % 3 != 0)
                big += QStringLiteral("%1L:f1:f2:c1=%2 ").arg(id).arg(id % 7);
        }
        QTest::newRow("a big ring, much faulty, much missing") << reference << "" << big << "15m"
            << "CRITICAL: Module 1 channel 1 faulty; Module 1 channel 2 faulty; and 1665 more"
               " | modules=667;;;0 faulty=1334;;0;0 missing=333;;0;0 errors=2000c;;;0" << "m1000_ch1=6c;;;0 m1000_ch1_increase=0;0;;0";
        QTest::newRow("many") << "none" << "" << "1G:f1:f2 2L:f1:f2 3L:f1:f2" << "15m"
            << "CRITICAL: Module 1 channel 1 faulty; Module 1 channel 2 faulty; and 4 more"
               " | modules=3;;;0 faulty=6;;0;0 missing=0;;0;0 errors=0c;;;0" << "";
    }
    void judge()
    {
        QFETCH(QString, reference);
        QFETCH(QString, kept);
        QFETCH(QString, scans);
        QFETCH(QString, window);
        QFETCH(QString, channel);
        constexpr int64_t kFirstMs = int64_t(1796630400) * 1000;
        RingHistory history;
        QVERIFY(history.Open(mDir.filePath(QStringLiteral("ring-history.sqlite"))));
        QSignalSpy problems(&history, &RingHistory::problem);
        // As the core keeps them: of port 1, cut scans left out.
        const auto keep = [&history](RingScan scan) {
            scan.portNumber = 1;
            scan.device = QStringLiteral("/dev/ttyUSB0");
            if (!scan.cut)
                history.Keep(scan);
        };
        for (const QString &scan : kept.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            RingScan earlier;
            earlier.sentMs = kFirstMs + scan.section(QLatin1Char(' '), 0, 0).toLongLong() * 1000;
            earlier.modules = Ring(scan.section(QLatin1Char(' '), 1));
            keep(earlier);
        }
        RingKeeper keeper;
        TakeRings(keeper, reference, scans, keep, kFirstMs);
        const RingScan &last = keeper.LastScan();
        const QString line = RingCheck::Judge(
            keeper, RingCheck::WindowIncreases(history, 1, last.sentMs, CommandLine::DurationMs(window))).line;
        QCOMPARE(problems.count(), 0);
        const qsizetype channels = line.indexOf(QRegularExpression(QStringLiteral(" m[0-9]+_ch1=")));
        QTEST(line.left(channels), "line");
        // Each channel of the scan: its counter and its increase.
        QCOMPARE(line.count(QLatin1String("_increase=")), last.cut ? 0 : qsizetype(last.modules.size() * 2));
        QVERIFY2(channel.isEmpty() || (line + QLatin1Char(' ')).contains(QLatin1Char(' ') + channel + QLatin1Char(' ')), qPrintable(line));
        // What a pager shows stays under 80 characters; the performance data that follows is
        // 'label'=value[UOM];warn;crit;min[;max] each.
        QVERIFY2(line.section(QLatin1String(" | "), 0, 0).size() < 80, qPrintable(line));
        const QString datum = QStringLiteral("('([^']|'')+'|[^' =]+)=-?[0-9.]+(s|us|ms|%|B|KB|MB|GB|TB|c)?(;@?[-~0-9.:]*){2};-?[0-9.]*(;-?[0-9.]*)?");
        const QRegularExpression performance(QStringLiteral("^%1( %1)*$").arg(datum));
        QVERIFY2(performance.match(line.section(QLatin1String(" | "), 1)).hasMatch(), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
