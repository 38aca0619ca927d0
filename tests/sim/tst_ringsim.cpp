// The ring simulator: its logic without a terminal (command frames and the ring's answers,
// control lines, EEPROM file and pacing), then the real binary on its pseudo-terminal.
#include "CommandScanner.h"
#include "ControlInterpreter.h"
#include "EepromStore.h"
#include "PacedWriter.h"
#include "Ring.h"
#include "RingFile.h"
#include "RingSimProcess.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace zephsim;
using std::chrono::microseconds;

namespace {

QString hex(const std::vector<std::uint8_t> &b)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(b.data()), qsizetype(b.size())).toHex(' '));
}

const QByteArray kRing = "id=3 side=L\nid=7 side=G mode=0x4B ch1=fault:5\nid=12 side=R silent=yes\n"
                         "id=20 side=R ch2=fault:300\n";

// Command frames: four bytes each, given in hex and separated by blanks, with the terminator.
QByteArray frames(const char *commands)
{
    QByteArray bytes;
    for (const QByteArray &c : QByteArray(commands).split(' '))
        bytes += QByteArray::fromHex(c) + QByteArray::fromHex("0a0d00");
    return bytes;
}

// The terminal opened with plain POSIX calls as the serial port would be: raw, 9600 8N1,
// not blocking.
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

class TestRingSim : public QObject
{
    Q_OBJECT

private slots:
    // Command frames through the scanner, answered by the ring; read at once and byte by byte.
    void answers_data()
    {
        QTest::addColumn<QByteArray>("ring");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("replies");
        QTest::addColumn<int>("pending"); // bytes of an incomplete frame kept

        const QByteArray ring = kRing + "id=65535 side=L version=255 mode=0x80 ch1=fault:32767 ch2=fault:32767\n"
                                        "id=300 side=R ch1=ok:256 ch2=fault:256\n";
        const QString l3 = "4c 03 00 29 13 00 00 00 00 0a 0d";
        QTest::newRow("G: attached first, then ring order, silent left out; garbage before")
            << ring << QByteArray(300, '\x55') + frames("4707004b")
            << "47 07 00 29 4b 00 00 05 80 0a 0d " + l3 + " 52 14 00 29 13 2c 81 00 00 0a 0d "
                   "4c ff ff ff 80 ff ff ff ff 0a 0d 52 2c 01 29 13 00 81 00 01 0a 0d" << 0;
        QTest::newRow("P to a module, then half of the next")
            << ring << frames("50140000 50140000").chopped(3) << "50 14 00 29 13 2c 81 00 00 0a 0d" << 4;
        QTest::newRow("P to a silent or absent module, or the high byte of an ID")
            << ring << frames("500c0000 50630000 50000700") << "" << 0;
        QTest::newRow("S, W and unknown letters are not answered")
            << ring << frames("53070013 57070013 58070000") << "" << 0;
        QTest::newRow("S changes the running mode")
            << ring << frames("5303004b 50030000") << "50 03 00 29 4b 00 00 00 00 0a 0d" << 0;
        QTest::newRow("S and W leave a module that ignores writes as it was")
            << QByteArray("id=3 side=L writes=ignore") << frames("5303004b 5703004b 50030000")
            << "50 03 00 29 13 00 00 00 00 0a 0d" << 0;
        QTest::newRow("arguments that look like a terminator")
            << QByteArray("id=3338 side=L") << frames("500a0d00") << "50 0a 0d 29 13 00 00 00 00 0a 0d" << 0;
        QTest::newRow("G without attached module") << QByteArray("id=3 side=L\nid=4 side=R\n") << frames("47000000")
                                                   << l3 + " 52 04 00 29 13 00 00 00 00 0a 0d" << 0;
        QTest::newRow("G with silent attached module")
            << QByteArray("id=1 side=G silent=yes\nid=3 side=L\n") << frames("47000000") << l3 << 0;
    }

    void answers()
    {
        QFETCH(QByteArray, ring);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, replies);
        QFETCH(int, pending);
        std::vector<std::string> errors;
        const auto modules = RingFile::parseRing(ring.toStdString(), errors);
        QVERIFY(modules);
        for (const qsizetype step : {bytes.size(), qsizetype(1)}) {
            Ring r(*modules);
            CommandScanner scanner;
            std::vector<std::uint8_t> out;
            for (qsizetype at = 0; at < bytes.size(); at += step)
                for (const Command &c : scanner.feed(reinterpret_cast<const std::uint8_t *>(bytes.constData() + at),
                                                     size_t(std::min(step, bytes.size() - at)))) {
                    const auto answer = r.handle(c);
                    out.insert(out.end(), answer.begin(), answer.end());
                }
            QCOMPARE(hex(out), replies);
            QCOMPARE(int(scanner.pending()), pending);
        }
    }

    void control_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected"); // "error", or raw bytes, output and the ring after module 1

        const QString m2 = "id=2 side=L version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no";
        QTest::newRow("counter") << "counter 2 2 1234" << QString(m2).replace("ch2=ok:0", "ch2=ok:1234");
        QTest::newRow("set several fields") << "set 2 version=39 ch2=fault:7 side=R"
                                            << "id=2 side=R version=39 mode=0x13 ch1=ok:0 ch2=fault:7 silent=no";
        QTest::newRow("set mode changes the running mode only")
            << "set 2 mode=0x4B" << "id=2 side=L version=41 mode=0x4B ch1=ok:0 ch2=ok:0 silent=no # stored mode 0x13";
        QTest::newRow("add") << "add id=40000 side=L ch1=fault:3"
                             << m2 + "|id=40000 side=L version=41 mode=0x13 ch1=fault:3 ch2=ok:0 silent=no";
        QTest::newRow("set writes=ignore") << "set 2 writes=ignore" << m2 + " writes=ignore";
        QTest::newRow("set writes=apply") << "set 2 writes=apply" << m2;
        QTest::newRow("remove") << "remove 2" << "";
        QTest::newRow("raw without blanks") << "raw 4C0700" << "4c 07 00|" + m2;
        for (const char *bad : {"explode 1", "fault 9 1 on", "fault 2 3 on", "counter 2 1 32768", "set 2 id=5",
                                "set 2 version=40 mode=0x999", "set 2 writes=maybe", "add id=2 side=R", "raw zz"})
            QTest::newRow(bad) << QString::fromLatin1(bad) << "error";
    }

    void control()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        Ring ring(RingFile::defaultRing(2));
        ControlInterpreter interpreter(ring);
        const auto listed = [&] {
            return QString::fromStdString(interpreter.execute("list").output).split('\n', Qt::SkipEmptyParts);
        };
        const QStringList before = listed();
        const ControlResult result = interpreter.execute(line.toStdString());
        QCOMPARE(result.error.empty(), result.ok);
        const QStringList after = listed();
        if (!result.ok) {
            QCOMPARE(after, before); // a bad line changes nothing, not even in part
            QCOMPARE(QStringLiteral("error"), expected);
            return;
        }
        QStringList got = QStringList{hex(result.raw), QString::fromStdString(result.output).trimmed()} + after.mid(1);
        got.removeAll(QString());
        QCOMPARE(got.join('|'), expected);
    }

    void eepromStore()
    {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("eeprom.txt")).toStdString();
        std::string error;
        QVERIFY(EepromStore(path).load(error)); // a missing file is an empty store
        auto modules = RingFile::defaultRing(3);
        modules[1].storedMode = 0x4B;
        QVERIFY2(EepromStore(path).save(modules, error), error.c_str());
        EepromStore again(path);
        QVERIFY(again.load(error));
        auto fresh = RingFile::defaultRing(4);
        again.applyTo(fresh);
        QCOMPARE(QList<int>({fresh[0].mode, fresh[1].mode, fresh[1].storedMode, fresh[3].mode}),
                 QList<int>({0x13, 0x4B, 0x4B, 0x13}));
    }

    void pacingWithoutDriftOrBurst()
    {
        // 9600 baud, 8N1: 1041.67 us per byte. Late wake-ups must not add up: after 200 bytes
        // the last one is due at 200 byte times however the chunks fell.
        const auto t0 = PacedWriter::Clock::time_point(std::chrono::seconds(1000));
        PacedWriter writer(PacedWriter::byteTime(9600));
        const std::vector<std::uint8_t> data(200, 0xAA);
        QVERIFY(writer.enqueue(data.data(), data.size(), t0));
        auto now = t0;
        while (const auto next = writer.nextDue()) {
            now = std::max(now, *next) + microseconds(300); // always woken late
            const auto bytes = writer.due(now);
            QVERIFY(!bytes.empty());
            writer.consumed(bytes.size(), now, false);
        }
        const auto total = std::chrono::duration_cast<microseconds>(now - t0).count();
        QVERIFY2(total >= 208333 && total <= 208333 + 301, qPrintable(QString::number(total)));

        // The other side took only 2 of 10 due bytes: the rest must not burst out later.
        QVERIFY(writer.enqueue(data.data(), 20, t0));
        const auto t1 = t0 + PacedWriter::byteTime(9600) * 10;
        QCOMPARE(int(writer.due(t1).size()), 10);
        writer.consumed(2, t1, true);
        QCOMPARE(int(writer.due(t1 + PacedWriter::byteTime(9600) * 3).size()), 3);
    }

    // The answers' bytes are pinned above.
    void ringOnItsTerminal()
    {
        RingSimProcess sim;
        QVERIFY2(sim.start({}, kRing), qPrintable(sim.devicePath()));
        const QString reply20 = "52 14 00 29 13 2c 81 00 00 0a 0d";
        {
            Port port(sim.devicePath());
            QVERIFY(port.send(frames("47000000")));
            QCOMPARE(port.receive(33), "47 07 00 29 4b 00 00 05 80 0a 0d 4c 03 00 29 13 00 00 00 00 0a 0d " + reply20);

            // A command while replies are still going out is answered after them; a silent
            // module does not answer.
            QVERIFY(port.send(frames("47000000 500c0000 50140000")));
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
        QVERIFY(port.send(frames("50140000")));
        QCOMPARE(port.receive(12, 500), "50" + reply20.mid(2));
    }
};

QTEST_GUILESS_MAIN(TestRingSim)
#include "tst_ringsim.moc"
