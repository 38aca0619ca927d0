// The ring simulator's logic without a terminal: command frames and the ring's answers,
// control lines, EEPROM file and pacing.
#include "CommandScanner.h"
#include "ControlInterpreter.h"
#include "EepromStore.h"
#include "PacedWriter.h"
#include "Ring.h"
#include "RingFile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zephsim;
using std::chrono::microseconds;

namespace {

QString hex(const std::vector<std::uint8_t> &b)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(b.data()), qsizetype(b.size())).toHex(' '));
}

// Command frames: four bytes each, given in hex and separated by blanks, with the terminator.
QByteArray frames(const char *commands)
{
    QByteArray bytes;
    for (const QByteArray &c : QByteArray(commands).split(' '))
        bytes += QByteArray::fromHex(c) + QByteArray::fromHex("0a0d00");
    return bytes;
}

} // namespace

class TestRingSimLogic : public QObject
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

        const QByteArray ring = "id=3 side=L\nid=7 side=G mode=0x4B ch1=fault:5\nid=12 side=R silent=yes\n"
                                "id=20 side=R ch2=fault:300\nid=65535 side=L version=255 mode=0x80 ch1=fault:32767 "
                                "ch2=fault:32767\nid=300 side=R ch1=ok:256 ch2=fault:256\n";
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
};

QTEST_APPLESS_MAIN(TestRingSimLogic)
#include "tst_ringsim_logic.moc"
