// The watcher without a window over 1000 scans of a 150-module simulated ring, in this program:
// its resident memory and the heap in use after scan 100, 500 and 1000, its page fetched after
// every scan and the ring log written. Only time is cut short: the simulator answers at once
// (--no-pacing), the receive and parse handlers run on every turn of the event loop instead of
// every 100 ms, the program's clock runs 20 times as fast (so the second of quiet that ends a
// scan passes in 50 ms), and each scan starts at its hand-over instead of 10 s later. Prints a
// row of bench/RESULTS.md's table. Usage: bench_watch SIMULATOR
#include "headless/HeadlessWatch.h"
#include "model/Clock.h"
#include "core/ProgramConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <malloc.h>

namespace {

class FastClock : public Clock
{
public:
    float SecondsSinceMidnight() override { return mReal.SecondsSinceMidnight(); }
    int64_t ElapsedMs() override { return mReal.ElapsedMs() * 20; }
    int64_t EpochMs() override { return mReal.EpochMs(); }

private:
    SystemClock mReal;
};

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QTemporaryDir dir;
    QProcess sim;
    const QString link = dir.filePath(QStringLiteral("ring"));
    sim.start(QString::fromLocal8Bit(argv[1]), {QStringLiteral("--modules"), QStringLiteral("150"), QStringLiteral("--no-pacing"),
                                                QStringLiteral("--link"), link});
    sim.waitForReadyRead(5000);
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    const QString iniPath = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
    QFile ini(iniPath);
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[ZEPHLINK9 Setup Tool]\ncomport=1\nCOM1=%1\nmetrics=%2\nlog=ring-log.csv\nscan_interval=0\n").arg(link).arg(port).toUtf8());
    ini.close();

    FastClock clock;
    SetClock(&clock);
    HeadlessWatch watch;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &watch, [&watch] {
        watch.Core().Link().PollPort();
        watch.Core().Link().ParseReceived();
    });
    ticker.start(0);
    int scans = 0;
    long rss[3] = {};
    size_t heap[3] = {};
    QObject::connect(&watch.Core(), &RingCore::scanHandedOver, &watch, [&](const RingScan &scan) {
        if (scan.modules.size() != 150)
            std::fprintf(stderr, "scan %d found %zu modules\n", scans + 1, scan.modules.size());
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write("GET /metrics HTTP/1.1\r\nHost: ring-pc\r\n\r\n");
        while (socket.state() != QAbstractSocket::UnconnectedState && !socket.readAll().contains("zephlink9_events_unacknowledged"))
            QCoreApplication::processEvents();
        const int at = ++scans == 100 ? 0 : scans == 500 ? 1 : scans == 1000 ? 2 : -1;
        if (at >= 0) {
            rss[at] = ResidentKiB();
            heap[at] = mallinfo2().uordblks;
        }
        if (scans == 1000)
            QCoreApplication::quit();
    });
    watch.Start(ProgramConfig::Read(iniPath));
    app.exec();
    watch.Stop();
    std::printf("| watcher without a window, 150 modules, after scan 100 / 500 / 1000 (page fetched and log written at each) | "
                "resident %ld / %ld / %ld KiB, heap in use %zu / %zu / %zu KiB |\n",
                rss[0], rss[1], rss[2], heap[0] / 1024, heap[1] / 1024, heap[2] / 1024);
    sim.terminate();
    sim.waitForFinished();
    return 0;
}
