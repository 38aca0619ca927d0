// The real simulator binary, opened on its pseudo-terminal with plain POSIX calls as a
// serial port would be.
#include "RingSimProcess.h"

#include <QElapsedTimer>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

QByteArray frame(char letter, int id)
{
    return QByteArray(1, letter) + char(id & 0xFF) + char(id >> 8) + QByteArray::fromHex("00 0a 0d 00");
}

// The serial port as the program would have it: raw, 9600 8N1, not blocking.
class Port
{
public:
    explicit Port(const QString &path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B9600);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~Port() { ::close(m_fd); }

    bool send(const QByteArray &bytes) const
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads until `count` bytes came or `timeoutMs` passed, as hex; counts the reads it took.
    QString receive(int count, int timeoutMs = 2000, int *reads = nullptr) const
    {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        for (int left = timeoutMs; got.size() < count && left > 0; left = timeoutMs - int(timer.elapsed())) {
            pollfd pfd{m_fd, POLLIN, 0};
            char buffer[512];
            const ssize_t n = ::poll(&pfd, 1, left) > 0 ? ::read(m_fd, buffer, sizeof buffer) : 0;
            if (n > 0 && reads)
                ++*reads;
            if (n > 0)
                got.append(buffer, n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
        }
        return QString::fromLatin1(got.toHex(' '));
    }

private:
    int m_fd;
};

} // namespace

class TestRingSimProcess : public QObject
{
    Q_OBJECT

private slots:
    void ringOnItsTerminal();
};

void TestRingSimProcess::ringOnItsTerminal()
{
    RingSimProcess sim;
    QVERIFY2(sim.start({}, "id=3 side=L\nid=7 side=G mode=0x4B ch1=fault:5\nid=12 side=R silent=yes\n"
                           "id=20 side=R ch2=fault:300\n"),
             qPrintable(sim.devicePath()));
    const QString reply7 = "47 07 00 29 4b 00 00 05 80 0a 0d", reply3 = "4c 03 00 29 13 00 00 00 00 0a 0d";
    const QString reply20 = "52 14 00 29 13 2c 81 00 00 0a 0d";
    {
        Port port(sim.devicePath());
        QVERIFY(port.send(frame('G', 0)));
        QCOMPARE(port.receive(33), reply7 + ' ' + reply3 + ' ' + reply20);

        // A command while replies are still going out is answered after them; garbage in
        // front of a command is skipped; a silent module does not answer.
        QVERIFY(port.send(frame('G', 0) + QByteArray::fromHex("ff 00 13") + frame('P', 12) + frame('P', 20)));
        QCOMPARE(port.receive(44).mid(33 * 3), "50" + reply20.mid(2));

        // Control lines change what the ring reports.
        QVERIFY(sim.control(QStringLiteral("fault 3 2 on")) && sim.control(QStringLiteral("counter 3 1 1296")));
        QVERIFY(port.send(frame('P', 3)));
        QCOMPARE(port.receive(11), QStringLiteral("50 03 00 29 13 00 80 10 05 0a 0d"));
        QVERIFY(sim.control(QStringLiteral("no such command"))->join(' ').contains(QStringLiteral("unknown command")));

        // 200 bytes at 9600 baud take 208 ms and come in small pieces.
        QElapsedTimer timer;
        timer.start();
        QVERIFY(sim.control(QStringLiteral("raw ") + QString::fromLatin1(QByteArray(200, '\x5A').toHex())));
        int reads = 0;
        QCOMPARE(port.receive(200, 3000, &reads).size(), 200 * 3 - 1);
        QVERIFY2(timer.elapsed() >= 180 && timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(reads >= 10, qPrintable(QString::number(reads)));
    }
    // Nobody has the port open: what is sent now is lost, as on a real line.
    QVERIFY(sim.control(QStringLiteral("raw 01 02 03")));
    Port port(sim.devicePath());
    QVERIFY(port.send(frame('P', 3)));
    QCOMPARE(port.receive(12, 500), QStringLiteral("50 03 00 29 13 00 80 10 05 0a 0d"));
}

QTEST_GUILESS_MAIN(TestRingSimProcess)
#include "tst_ringsim_process.moc"
