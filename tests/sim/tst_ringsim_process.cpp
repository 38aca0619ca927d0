// The real simulator binary on its pseudo-terminal, opened with plain POSIX calls as the
// serial port would be: raw, 9600 8N1, not blocking.
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

struct Port
{
    explicit Port(const QString &path) : fd(::open(qPrintable(path), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B9600);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    ~Port() { ::close(fd); }
    bool send(const QByteArray &b) const { return ::write(fd, b.constData(), size_t(b.size())) == b.size(); }

    // Reads until `count` bytes came or `timeoutMs` passed, as hex; counts the reads it took.
    QString receive(int count, int timeoutMs = 2000)
    {
        QByteArray got;
        for (QDeadlineTimer deadline(timeoutMs); got.size() < count && !deadline.hasExpired();) {
            pollfd pfd{fd, POLLIN, 0};
            char buf[512];
            const ssize_t n = ::poll(&pfd, 1, int(deadline.remainingTime())) > 0 ? ::read(fd, buf, sizeof buf) : 0;
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            if (n > 0) {
                got.append(buf, n);
                ++reads;
            }
        }
        return QString::fromLatin1(got.toHex(' '));
    }

    int fd;
    int reads = 0;
};

} // namespace

class TestRingSimProcess : public QObject
{
    Q_OBJECT

private slots:
    void ringOnItsTerminal() // the answers' bytes are pinned by tst_ringsim_logic
    {
        RingSimProcess sim;
        QVERIFY2(sim.start({}, "id=3 side=L\nid=7 side=G mode=0x4B ch1=fault:5\nid=12 side=R silent=yes\n"
                               "id=20 side=R ch2=fault:300\n"),
                 qPrintable(sim.devicePath()));
        const QString reply20 = "52 14 00 29 13 2c 81 00 00 0a 0d";
        {
            Port port(sim.devicePath());
            QVERIFY(port.send(frame('G', 0)));
            QCOMPARE(port.receive(33), "47 07 00 29 4b 00 00 05 80 0a 0d 4c 03 00 29 13 00 00 00 00 0a 0d " + reply20);

            // A command while replies are still going out is answered after them; a silent
            // module does not answer.
            QVERIFY(port.send(frame('G', 0) + frame('P', 12) + frame('P', 20)));
            QCOMPARE(port.receive(44).mid(33 * 3), "50" + reply20.mid(2));

            // 200 bytes at 9600 baud take 208 ms and come in small pieces.
            QElapsedTimer timer;
            timer.start();
            port.reads = 0;
            QVERIFY(sim.control(QStringLiteral("raw ") + QString::fromLatin1(QByteArray(200, '\x5A').toHex())));
            QCOMPARE(port.receive(200, 3000).size(), 200 * 3 - 1);
            QVERIFY2(timer.elapsed() >= 180 && timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
            QVERIFY2(port.reads >= 10, qPrintable(QString::number(port.reads)));
        }
        // Nobody has the port open: what is sent now is lost, as on a real line.
        QVERIFY(sim.control(QStringLiteral("raw 01 02 03")));
        Port port(sim.devicePath());
        QVERIFY(port.send(frame('P', 20)));
        QCOMPARE(port.receive(12, 500), "50" + reply20.mid(2));
    }
};

QTEST_GUILESS_MAIN(TestRingSimProcess)
#include "tst_ringsim_process.moc"
