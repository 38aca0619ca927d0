// Tests of the real simulator binary: opened on its pseudo-terminal with plain
// POSIX calls, as a serial port would be.
#include "RingSimProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QByteArray kScan = QByteArray::fromHex("47 00 00 00 0A 0D 00");

QByteArray frame(char letter, int id, int arg3 = 0)
{
    QByteArray f;
    f += letter;
    f += char(id & 0xFF);
    f += char(id >> 8);
    f += char(arg3);
    f += QByteArray::fromHex("0A 0D 00");
    return f;
}

// The serial port as the program would have it: raw, 9600 8N1, not blocking.
class Port
{
public:
    explicit Port(const QString &path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0)
            return;
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B9600);
        tio.c_cflag |= CLOCAL | CREAD;
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~Port() { close(); }

    bool isOpen() const { return m_fd >= 0; }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool send(const QByteArray &bytes) const
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads until `count` bytes came or `timeoutMs` passed; counts the reads it took.
    QByteArray receive(int count, int timeoutMs, int *reads = nullptr) const
    {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        int readCount = 0;
        while (got.size() < count) {
            const qint64 left = timeoutMs - timer.elapsed();
            if (left <= 0)
                break;
            pollfd pfd{m_fd, POLLIN, 0};
            if (::poll(&pfd, 1, int(left)) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n > 0) {
                got.append(buffer, n);
                ++readCount;
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                break;
            }
        }
        if (reads)
            *reads = readCount;
        return got;
    }

private:
    int m_fd = -1;
};

const QByteArray kRing = "# test ring\n"
                         "id=3 side=L\n"
                         "id=7 side=G version=41 mode=0x4B ch1=fault:5\n"
                         "id=12 side=R silent=yes\n"
                         "id=20 side=R ch2=fault:300\n";

const QByteArray kReply7 = QByteArray::fromHex("47 07 00 29 4B 00 00 05 80 0A 0D");
const QByteArray kReply3 = QByteArray::fromHex("4C 03 00 29 13 00 00 00 00 0A 0D");
const QByteArray kReply20 = QByteArray::fromHex("52 14 00 29 13 2C 81 00 00 0A 0D");

} // namespace

class TestRingSimProcess : public QObject
{
    Q_OBJECT

private slots:
    void scanAndModes();
    void pacing();
    void silentModuleGivesNoReply();
    void reopenAndStaleBytes();
    void eepromSurvivesRestart();
    void linkIsMadeAndRemoved();
    void endOfControlInput();
    void badArguments_data();
    void badArguments();
};

void TestRingSimProcess::scanAndModes()
{
    RingSimProcess sim;
    QVERIFY2(sim.startRing(kRing), qPrintable(sim.errors()));
    Port port(sim.devicePath());
    QVERIFY(port.isOpen());

    QVERIFY(port.send(kScan));
    QCOMPARE(port.receive(33, 2000).toHex(' '), (kReply7 + kReply3 + kReply20).toHex(' '));

    // W changes the mode for good, S until the next restart.
    QVERIFY(port.send(frame('W', 3, 0x4B)));
    QVERIFY(port.send(frame('S', 20, 0x23)));
    QVERIFY(port.send(kScan));
    QByteArray replies = port.receive(33, 2000);
    QCOMPARE(replies.size(), 33);
    QCOMPARE(int(quint8(replies[11 + 4])), 0x4B);
    QCOMPARE(int(quint8(replies[22 + 4])), 0x23);

    QVERIFY(sim.control(QStringLiteral("restart")));
    QVERIFY(port.send(kScan));
    replies = port.receive(33, 2000);
    QCOMPARE(replies.size(), 33);
    QCOMPARE(int(quint8(replies[11 + 4])), 0x4B);
    QCOMPARE(int(quint8(replies[22 + 4])), 0x13);

    // A command while replies are still going out is answered after them.
    QVERIFY(port.send(kScan));
    QVERIFY(port.send(frame('P', 7)));
    replies = port.receive(44, 2000);
    QCOMPARE(replies.size(), 44);
    QCOMPARE(replies.mid(33).toHex(' '), QByteArray("P" + kReply7.mid(1)).toHex(' '));

    // Garbage in front of a command is skipped over.
    QVERIFY(port.send(QByteArray::fromHex("FF 00 13") + frame('P', 20)));
    QCOMPARE(port.receive(11, 2000).toHex(' '), QByteArray("P" + kReply20.mid(1)).toHex(' '));

    // Control lines change what the ring reports.
    QVERIFY(sim.control(QStringLiteral("fault 3 2 on")));
    QVERIFY(sim.control(QStringLiteral("counter 3 1 1296")));
    QVERIFY(port.send(frame('P', 3)));
    QCOMPARE(port.receive(11, 2000).toHex(' '), QByteArray::fromHex("50 03 00 29 4B 00 80 10 05 0A 0D").toHex(' '));
    QVERIFY(sim.control(QStringLiteral("raw 4C 07")));
    QCOMPARE(port.receive(2, 2000).toHex(' '), QByteArray("4c 07"));

    QVERIFY(sim.control(QStringLiteral("no such command")));
    QVERIFY(sim.errors().contains(QStringLiteral("unknown command")));
    QCOMPARE(sim.list().size(), 4);
}

void TestRingSimProcess::pacing()
{
    RingSimProcess sim;
    QVERIFY(sim.startModules(1));
    Port port(sim.devicePath());
    QVERIFY(port.isOpen());

    const QString raw = QStringLiteral("raw ") + QString(QByteArray(200, '\x5A').toHex());
    QElapsedTimer timer;
    timer.start();
    QVERIFY(sim.control(raw));
    int reads = 0;
    const QByteArray got = port.receive(200, 3000, &reads);
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(got.size(), 200);
    qInfo("200 bytes at 9600 baud took %lld ms in %d reads (208 ms expected)", elapsed, reads);
    QVERIFY2(elapsed >= 180, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
    QVERIFY2(reads >= 10, "paced bytes come in small pieces");

    RingSimProcess fast;
    QVERIFY(fast.startModules(20, false));
    Port fastPort(fast.devicePath());
    timer.restart();
    QVERIFY(fastPort.send(kScan));
    QCOMPARE(fastPort.receive(220, 3000).size(), 220);
    qInfo("220 bytes without pacing took %lld ms", timer.elapsed());
    QVERIFY(timer.elapsed() < 225); // paced, they would take 229 ms at least
}

void TestRingSimProcess::silentModuleGivesNoReply()
{
    RingSimProcess sim;
    QVERIFY(sim.startRing(kRing, false));
    Port port(sim.devicePath());

    QVERIFY(port.send(frame('P', 12)));
    QVERIFY(port.receive(1, 300).isEmpty());
    QVERIFY(port.send(frame('P', 99)));
    QVERIFY(port.receive(1, 300).isEmpty());

    QVERIFY(sim.control(QStringLiteral("silent 12 off")));
    QVERIFY(port.send(frame('P', 12)));
    QCOMPARE(port.receive(11, 2000).toHex(' '), QByteArray::fromHex("50 0C 00 29 13 00 00 00 00 0A 0D").toHex(' '));

    QVERIFY(sim.control(QStringLiteral("silent 7 on")));
    QVERIFY(sim.control(QStringLiteral("remove 20")));
    QVERIFY(port.send(kScan));
    QCOMPARE(port.receive(22, 2000).toHex(' '),
             (kReply3 + QByteArray::fromHex("52 0C 00 29 13 00 00 00 00 0A 0D")).toHex(' '));
}

void TestRingSimProcess::reopenAndStaleBytes()
{
    RingSimProcess sim;
    QVERIFY(sim.startModules(2, false));
    {
        Port port(sim.devicePath());
        QVERIFY(port.send(kScan));
        QCOMPARE(port.receive(22, 2000).size(), 22);
    }
    // Nobody has the port open: what is sent now is lost, as on a real line.
    QVERIFY(sim.control(QStringLiteral("raw 01 02 03")));
    Port port(sim.devicePath());
    QVERIFY(port.isOpen());
    QVERIFY(port.send(frame('P', 2)));
    QCOMPARE(port.receive(11, 2000).toHex(' '), QByteArray::fromHex("50 02 00 29 13 00 00 00 00 0A 0D").toHex(' '));
    QVERIFY(port.receive(1, 100).isEmpty());
    QVERIFY(sim.isRunning());
}

void TestRingSimProcess::eepromSurvivesRestart()
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("eeprom.txt"));
    {
        RingSimProcess sim;
        QVERIFY(sim.startModules(2, false, {QStringLiteral("--state"), state}));
        Port port(sim.devicePath());
        QVERIFY(port.send(frame('W', 2, 0x4B)));
        QVERIFY(port.send(frame('S', 1, 0x23)));
        QVERIFY(port.send(kScan));
        QCOMPARE(port.receive(22, 2000).size(), 22);
    }
    RingSimProcess sim;
    QVERIFY(sim.startModules(2, false, {QStringLiteral("--state"), state}));
    Port port(sim.devicePath());
    QVERIFY(port.send(kScan));
    const QByteArray replies = port.receive(22, 2000);
    QCOMPARE(replies.size(), 22);
    QCOMPARE(int(quint8(replies[4])), 0x13);
    QCOMPARE(int(quint8(replies[11 + 4])), 0x4B);
}

void TestRingSimProcess::linkIsMadeAndRemoved()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ring"));
    QVERIFY(QFile::link(QStringLiteral("/nonexistent"), link)); // an old link is replaced
    {
        RingSimProcess sim;
        QVERIFY(sim.startModules(1, false, {QStringLiteral("--link"), link}));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.devicePath());
        Port port(link);
        QVERIFY(port.send(kScan));
        QCOMPARE(port.receive(11, 2000).left(1), QByteArray("G"));
    }
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestRingSimProcess::endOfControlInput()
{
    QProcess keeps;
    keeps.start(QStringLiteral(RINGSIM_BINARY), {QStringLiteral("--modules"), QStringLiteral("1")});
    QVERIFY(keeps.waitForReadyRead(3000));
    const QString path = QString::fromLocal8Bit(keeps.readLine()).trimmed();
    keeps.closeWriteChannel();
    QVERIFY(!keeps.waitForFinished(300));
    {
        Port port(path);
        QVERIFY(port.send(kScan));
        QCOMPARE(port.receive(11, 2000).size(), 11);
    }
    keeps.terminate();
    QVERIFY(keeps.waitForFinished(3000));
    QCOMPARE(keeps.exitStatus(), QProcess::NormalExit);
    QCOMPARE(keeps.exitCode(), 0);

    QProcess ends;
    ends.start(QStringLiteral(RINGSIM_BINARY),
               {QStringLiteral("--modules"), QStringLiteral("1"), QStringLiteral("--exit-on-eof")});
    QVERIFY(ends.waitForReadyRead(3000));
    ends.closeWriteChannel();
    QVERIFY(ends.waitForFinished(3000));
    QCOMPARE(ends.exitCode(), 0);
}

void TestRingSimProcess::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("ringText");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown option") << QStringList{"--bogus"} << QByteArray() << "unknown argument '--bogus'";
    QTest::newRow("bad module count") << QStringList{"--modules", "x"} << QByteArray() << "--modules needs a number";
    QTest::newRow("missing ring file") << QStringList{"--ring", "/nonexistent/ring.txt"} << QByteArray()
                                       << "cannot read /nonexistent/ring.txt";
    QTest::newRow("bad ring line") << QStringList{} << QByteArray("id=1 side=G\nid=2 side=Q\n")
                                   << "line 2: side=Q: expected G, L or R";
}

void TestRingSimProcess::badArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, ringText);
    QFETCH(QString, message);

    QTemporaryDir dir;
    if (!ringText.isEmpty()) {
        QFile ring(dir.filePath(QStringLiteral("ring.txt")));
        QVERIFY(ring.open(QIODevice::WriteOnly));
        ring.write(ringText);
        args << QStringLiteral("--ring") << ring.fileName();
    }
    QProcess process;
    process.start(QStringLiteral(RINGSIM_BINARY), args);
    QVERIFY(process.waitForFinished(3000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(errors.contains(message), qPrintable(errors));
}

QTEST_GUILESS_MAIN(TestRingSimProcess)
#include "tst_ringsim_process.moc"
