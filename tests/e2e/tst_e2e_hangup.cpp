// The serial port when its device goes away: a pseudo-terminal whose other side closes
// hangs up, and the port must close instead of reporting the hang-up on every turn of
// the event loop.
#include "bus/QtSerialPort.h"

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

} // namespace

class TestE2eHangup : public QObject
{
    Q_OBJECT

private slots:
    void hungUpTerminalClosesThePort();
};

void TestE2eHangup::hungUpTerminalClosesThePort()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    QtSerialPort port;
    port.SetDeviceOverride(1, QString::fromLocal8Bit(ptsname(master)));
    QCOMPARE(port.Open(), SerialPort::OpenError::None);
    QVERIFY(::write(master, "G", 1) == 1);
    QTRY_COMPARE(port.BytesWaiting(), qint64(1));

    // From the hang-up on the terminal reads as end of file.
    ::close(master);
    QTRY_VERIFY(!port.IsOpen());
    const qint64 cpu0 = CpuTimeMs();
    QTest::qWait(200);
    const qint64 cpuMs = CpuTimeMs() - cpu0;
    QVERIFY2(cpuMs < 50, qPrintable(QString::number(cpuMs)));
    QCOMPARE(port.BytesWaiting(), qint64(0));
    QVERIFY(!port.Write(QByteArray("G\n\r", 3)));
}

QTEST_GUILESS_MAIN(TestE2eHangup)
#include "tst_e2e_hangup.moc"
