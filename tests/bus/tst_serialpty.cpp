// The real path: BusLink and QSerialPort on the ring simulator's pseudo-terminal, which
// answers G at 9600 baud.
#include "RingSimProcess.h"
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "bus/PortWatcher.h"
#include "bus/QtSerialPort.h"
#include "model/RingTable.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

qint64 CpuTimeMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// COM1 on the device, the bus's port, reception running.
bool OpenOn(QtSerialPort &port, BusLink &link, const QString &device)
{
    port.SetDeviceOverride(1, device);
    link.EnableReception();
    return port.Open() == SerialPort::OpenError::None;
}

} // namespace

class TestSerialPty : public QObject
{
    Q_OBJECT

private slots:
    void scanThenHangUp_data()
    {
        QTest::addColumn<int>("modules");
        QTest::addColumn<bool>("wholeWhenWaitEnds");
        QTest::newRow("20 modules, drawn whole") << 20 << true;
        QTest::newRow("200 modules back to back") << 200 << false;
    }
    void scanThenHangUp()
    {
        QFETCH(int, modules);
        QFETCH(bool, wholeWhenWaitEnds);
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--modules"), QString::number(modules)}));
        QtSerialPort port;
        RingTable table;
        BusLink link(&port, table);
        QVERIFY(OpenOn(port, link, sim.devicePath()));

        link.Scan();
        QVERIFY(table.Count() >= 1);
        if (wholeWhenWaitEnds)
            QCOMPARE(table.Count(), modules);
        // The rest of the ring keeps coming after the wait and is counted all the same.
        QTRY_COMPARE_WITH_TIMEOUT(table.Count(), modules, 5000);

        // The device goes away: its terminal hangs up, and the port must close instead of
        // reporting the hang-up on every turn of the event loop.
        sim.stop();
        QTRY_VERIFY(!port.IsOpen());
        QCOMPARE(port.CurrentState(), SerialPort::State::Vanished);
        const qint64 cpu0 = CpuTimeMs();
        QTest::qWait(200);
        QVERIFY2(CpuTimeMs() - cpu0 < 50, qPrintable(QString::number(CpuTimeMs() - cpu0)));
        QVERIFY(!port.Write(BuildCommandFrame('G', 0, 0, 0)));
    }

    // A USB adapter pulled and plugged back in: the simulator's terminal goes away and a new
    // one comes back under the same link. While away a look fails and the port stays closed;
    // the look after its return opens it and reception runs again. The timer's own looks and
    // their cost in CPU are measured by scripts/bench.
    void adapterComesBack()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("adapter"));
        const QStringList args{QStringLiteral("--modules"), QStringLiteral("3"), QStringLiteral("--link"), device};
        RingSimProcess sim;
        QVERIFY(sim.start(args));
        QtSerialPort port;
        RingTable table;
        BusLink link(&port, table);
        PortWatcher watcher(&link);
        QVERIFY(OpenOn(port, link, device));
        link.Scan();
        QCOMPARE(table.Count(), 3);

        sim.stop();
        QTRY_VERIFY(watcher.IsWatching());
        QVERIFY(!port.IsOpen());
        QSignalSpy over(&link, &BusLink::scanSettled);
        link.Scan();
        // The scan before it is over now too, with its three modules, and cut: its port went
        // away before the ring had been quiet for a second.
        QCOMPARE(over.size(), 2);
        QCOMPARE(over.at(0).at(0).value<RingScan>().modules.size(), size_t(3));
        QVERIFY(over.at(0).at(0).value<RingScan>().cut);
        QVERIFY(over.at(1).at(0).value<RingScan>().modules.empty());
        QVERIFY(!over.at(1).at(0).value<RingScan>().cut);
        watcher.Look();
        QVERIFY(watcher.IsWatching() && !port.IsOpen());

        QVERIFY(sim.start(args));
        watcher.Look();
        QVERIFY(port.IsOpen());
        QVERIFY(!watcher.IsWatching());
        link.Scan();
        QCOMPARE(table.Count(), 3);
    }

    // A frame the device refuses is reported as not sent: here the terminal's other end is
    // gone, so every write to it fails.
    void writeTakenWhileTheOtherEndIsOpen_data()
    {
        QTest::addColumn<bool>("otherEndOpen");
        QTest::newRow("other end open") << true;
        QTest::newRow("other end closed") << false;
    }
    void writeTakenWhileTheOtherEndIsOpen()
    {
        QFETCH(bool, otherEndOpen);
        const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        QtSerialPort port;
        port.SetDeviceOverride(1, QString::fromLocal8Bit(ptsname(master)));
        QCOMPARE(port.Open(), SerialPort::OpenError::None);
        if (!otherEndOpen)
            ::close(master);
        QCOMPARE(port.Write(BuildCommandFrame('G', 0, 0, 0)), otherEndOpen);
        if (otherEndOpen) {
            char frame[16];
            QCOMPARE(::read(master, frame, sizeof frame), ssize_t(7));
            ::close(master);
        }
    }

    void openErrors()
    {
        QtSerialPort port;
        port.SetDeviceOverride(2, QStringLiteral("/dev/zephlink9-no-such-device"));
        QVERIFY(port.SetPortNumber(2));
        QCOMPARE(port.Open(), SerialPort::OpenError::NotFound);
        QCOMPARE(port.CurrentState(), SerialPort::State::NotFound);

        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--modules"), QStringLiteral("1")}));
        port.SetDeviceOverride(1, sim.devicePath());
        QVERIFY(port.SetPortNumber(1));
        QCOMPARE(port.Open(), SerialPort::OpenError::None);
        QCOMPARE(port.Open(), SerialPort::OpenError::Other); // already open: stays open
        QCOMPARE(port.CurrentState(), SerialPort::State::Open);
        QVERIFY(port.IsOpen() && !port.SetPortNumber(2));
    }
};

QTEST_GUILESS_MAIN(TestSerialPty)
#include "tst_serialpty.moc"
