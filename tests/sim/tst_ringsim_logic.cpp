// Tests of the ring simulator's logic without a terminal: the command scanner, the ring
// file, the ring's answers, control lines, the EEPROM file and pacing.
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

QString hex(const std::vector<std::uint8_t> &bytes)
{
    const QByteArray raw(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    return QString::fromLatin1(raw.toHex(' '));
}

QString hex(const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex(' ')); }

// The ring file's lines, or the first error.
QString parsed(const QByteArray &text, std::optional<std::vector<Module>> *modules = nullptr)
{
    std::vector<std::string> errors;
    const auto ring = RingFile::parseRing(text.toStdString(), errors);
    if (modules)
        *modules = ring;
    if (!ring)
        return QString::fromStdString(errors.front());
    QStringList lines;
    for (const Module &m : *ring)
        lines << QString::fromStdString(RingFile::format(m));
    return lines.join('|');
}

QStringList listed(ControlInterpreter &interpreter)
{
    return QString::fromStdString(interpreter.execute("list").output).split('\n', Qt::SkipEmptyParts);
}

const auto t0 = PacedWriter::Clock::time_point(std::chrono::seconds(1000));

} // namespace

class TestRingSimLogic : public QObject
{
    Q_OBJECT

private slots:
    void scanner_data();
    void scanner();
    void ringFile_data();
    void ringFile();
    void ringAnswers_data();
    void ringAnswers();
    void control_data();
    void control();
    void eepromStore();
    void pacingWithoutDriftOrBurst();
};

void TestRingSimLogic::scanner_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QString>("commands"); // 4 bytes per command found
    QTest::addColumn<int>("pending");

    const QByteArray g = QByteArray::fromHex("47000000 0a0d00"), p7 = QByteArray::fromHex("50070000 0a0d00");
    QTest::newRow("W 300 mode 75") << QList<QByteArray>{QByteArray::fromHex("572c014b0a0d00")} << "57 2c 01 4b" << 0;
    QTest::newRow("two frames in one read") << QList<QByteArray>{g + p7} << "47 00 00 00 50 07 00 00" << 0;
    QTest::newRow("garbage before") << QList<QByteArray>{QByteArray::fromHex("ff1300") + g} << "47 00 00 00" << 0;
    QTest::newRow("split inside the terminator") << QList<QByteArray>{p7.left(5), p7.mid(5)} << "50 07 00 00" << 0;
    QTest::newRow("cut-off frame waits") << QList<QByteArray>{g.left(5)} << "" << 5;
    QTest::newRow("cut-off frame, then a whole one") << QList<QByteArray>{g.left(3), p7} << "50 07 00 00" << 0;
    QTest::newRow("arguments that look like a terminator")
        << QList<QByteArray>{QByteArray::fromHex("530a0d000a0d00")} << "53 0a 0d 00" << 0;
    QTest::newRow("frame, then half of the next") << QList<QByteArray>{g + p7.left(4)} << "47 00 00 00" << 4;
    QTest::newRow("long garbage without terminator") << QList<QByteArray>{QByteArray(300, '\x55'), g} << "47 00 00 00"
                                                     << 0;
    QTest::newRow("too short before terminator") << QList<QByteArray>{QByteArray::fromHex("47000a0d00")} << "" << 5;
}

void TestRingSimLogic::scanner()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QString, commands);
    QFETCH(int, pending);

    CommandScanner scanner;
    QByteArray found;
    for (const QByteArray &read : reads) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(read.constData());
        for (const Command &c : scanner.feed(bytes, size_t(read.size())))
            for (std::uint8_t b : {c.letter, c.arg1, c.arg2, c.arg3})
                found += char(b);
    }
    QCOMPARE(hex(found), commands);
    QCOMPARE(int(scanner.pending()), pending);
}

void TestRingSimLogic::ringFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected"); // the module lines written back, or the first error

    QTest::newRow("full lines written back as read")
        << QByteArray("id=7 side=G version=41 mode=0x4B ch1=fault:12 ch2=ok:0 silent=no\n"
                      "id=8 side=L version=39 mode=0x13 ch1=ok:0 ch2=fault:32767 silent=yes\n")
        << "id=7 side=G version=41 mode=0x4B ch1=fault:12 ch2=ok:0 silent=no|"
           "id=8 side=L version=39 mode=0x13 ch1=ok:0 ch2=fault:32767 silent=yes";
    QTest::newRow("defaults, comments, blank lines")
        << QByteArray("# demo ring\n\n  id=3 side=L   # left neighbour\n\t\n")
        << "id=3 side=L version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no";
    QTest::newRow("fields in any order, hex and decimal")
        << QByteArray("silent=yes mode=75 ch2=fault ch1=ok:0x10 side=R id=0x12C version=39")
        << "id=300 side=R version=39 mode=0x4B ch1=ok:16 ch2=fault:0 silent=yes";
    QTest::newRow("empty file") << QByteArray("\n# nothing\n") << "";
    QTest::newRow("missing side") << QByteArray("id=1") << "line 1: missing side=";
    QTest::newRow("bad side") << QByteArray("id=1 side=X") << "line 1: side=X: expected G, L or R";
    QTest::newRow("version too big") << QByteArray("id=1 side=G version=256")
                                     << "line 1: version=256: expected a number 0..255 (tenths, 41 = 4.1)";
    QTest::newRow("counter too big") << QByteArray("id=1 side=G ch1=fault:32768")
                                     << "line 1: ch1=fault:32768: expected ok or fault, optionally :counter (0..32767)";
    QTest::newRow("id too big") << QByteArray("id=65536 side=G") << "line 1: id=65536: expected a number 0..65535";
    QTest::newRow("unknown field") << QByteArray("id=1 side=G colour=red") << "line 1: unknown field 'colour'";
    QTest::newRow("field twice") << QByteArray("id=1 side=G side=L") << "line 1: field 'side' given twice";
    QTest::newRow("duplicate id, line numbers count comments") << QByteArray("id=1 side=G\n# c\nid=1 side=L\n")
                                                               << "line 3: duplicate id 1";
}

void TestRingSimLogic::ringFile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    QCOMPARE(parsed(text), expected);
}

void TestRingSimLogic::ringAnswers_data()
{
    QTest::addColumn<QByteArray>("ring");
    QTest::addColumn<QByteArray>("commands");
    QTest::addColumn<QString>("replies");

    const QByteArray ring = "id=3 side=L\nid=7 side=G mode=0x4B ch1=fault:5\nid=12 side=R silent=yes\n"
                            "id=20 side=R ch2=fault:300\nid=65535 side=L version=255 mode=0x80 ch1=fault:32767 "
                            "ch2=fault:32767\nid=300 side=R ch1=ok:256 ch2=fault:256\n";
    const QString g7 = "47 07 00 29 4b 00 00 05 80 0a 0d", l3 = "4c 03 00 29 13 00 00 00 00 0a 0d";
    const QString rest = "52 14 00 29 13 2c 81 00 00 0a 0d 4c ff ff ff 80 ff ff ff ff 0a 0d "
                         "52 2c 01 29 13 00 81 00 01 0a 0d";
    QTest::newRow("G: attached first, then ring order, silent left out")
        << ring << QByteArray("47000000") << g7 + " " + l3 + " " + rest;
    QTest::newRow("G arguments are not looked at") << ring << QByteArray("4707004b") << g7 + " " + l3 + " " + rest;
    QTest::newRow("P to a module") << ring << QByteArray("50140000") << "50 14 00 29 13 2c 81 00 00 0a 0d";
    QTest::newRow("P to the attached module") << ring << QByteArray("50070000") << "50" + g7.mid(2);
    QTest::newRow("P to a silent or absent module, or the high byte of an ID")
        << ring << QByteArray("500c0000 50630000 50000700") << "";
    QTest::newRow("S, W and unknown letters are not answered") << ring << QByteArray("53070013 57070013 58070000")
                                                               << "";
    QTest::newRow("S changes the running mode") << ring << QByteArray("5303004b 50030000")
                                                << "50 03 00 29 4b 00 00 00 00 0a 0d";
    QTest::newRow("G without attached module") << QByteArray("id=3 side=L\nid=4 side=R\n") << QByteArray("47000000")
                                               << l3 + " 52 04 00 29 13 00 00 00 00 0a 0d";
    QTest::newRow("G with silent attached module") << QByteArray("id=1 side=G silent=yes\nid=3 side=L\n")
                                                   << QByteArray("47000000") << l3;
    QTest::newRow("G to an empty ring") << QByteArray() << QByteArray("47000000") << "";
}

void TestRingSimLogic::ringAnswers()
{
    QFETCH(QByteArray, ring);
    QFETCH(QByteArray, commands);
    QFETCH(QString, replies);

    std::optional<std::vector<Module>> modules;
    QVERIFY(!parsed(ring, &modules).startsWith("line"));
    Ring r(std::move(*modules));
    std::vector<std::uint8_t> out;
    const QByteArray bytes = QByteArray::fromHex(commands);
    for (qsizetype at = 0; at < bytes.size(); at += 4) {
        const auto answer = r.handle({std::uint8_t(bytes[at]), std::uint8_t(bytes[at + 1]), std::uint8_t(bytes[at + 2]),
                                      std::uint8_t(bytes[at + 3])});
        out.insert(out.end(), answer.begin(), answer.end());
    }
    QCOMPARE(hex(out), replies);
}

void TestRingSimLogic::control_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected"); // "error", or raw bytes, output and the ring after module 1

    const QString m2 = "id=2 side=L version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no";
    QTest::newRow("empty line") << "" << m2;
    QTest::newRow("comment") << "# just a note" << m2;
    QTest::newRow("fault on") << "fault 2 1 on" << QString(m2).replace("ch1=ok", "ch1=fault");
    QTest::newRow("fault on channel 2") << "fault 2 2 yes" << QString(m2).replace("ch2=ok", "ch2=fault");
    QTest::newRow("counter") << "counter 2 2 1234" << QString(m2).replace("ch2=ok:0", "ch2=ok:1234");
    QTest::newRow("silent") << "silent 2 on" << QString(m2).replace("silent=no", "silent=yes");
    QTest::newRow("set several fields") << "set 2 version=39 ch2=fault:7 side=R"
                                        << "id=2 side=R version=39 mode=0x13 ch1=ok:0 ch2=fault:7 silent=no";
    QTest::newRow("set mode changes the running mode only")
        << "set 2 mode=0x4B" << "id=2 side=L version=41 mode=0x4B ch1=ok:0 ch2=ok:0 silent=no # stored mode 0x13";
    QTest::newRow("add") << "add id=40000 side=L ch1=fault:3"
                         << m2 + "|id=40000 side=L version=41 mode=0x13 ch1=fault:3 ch2=ok:0 silent=no";
    QTest::newRow("remove") << "remove 2" << "";
    QTest::newRow("raw") << "raw 47 07 00 29" << "47 07 00 29|" + m2;
    QTest::newRow("raw without blanks") << "raw 4C0700" << "4c 07 00|" + m2;
    QTest::newRow("echo") << "echo hello ring" << "hello ring|" + m2;
    for (const char *bad : {"explode 1", "fault 9 1 on", "fault 2 3 on", "fault 2 1 maybe", "fault 2 1",
                            "counter 2 1 32768", "silent x on", "set 2 id=5", "set 2 version=40 mode=0x999",
                            "add id=2 side=R", "add side=L", "remove 99", "raw 4", "raw zz", "raw", "list all"})
        QTest::newRow(bad) << QString::fromLatin1(bad) << "error";
}

void TestRingSimLogic::control()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);

    Ring ring(RingFile::defaultRing(2));
    ControlInterpreter interpreter(ring);
    const QStringList before = listed(interpreter);
    const ControlResult result = interpreter.execute(line.toStdString());
    QCOMPARE(result.error.empty(), result.ok);
    QVERIFY(!result.quit);
    const QStringList after = listed(interpreter);
    if (!result.ok) {
        QCOMPARE(after, before); // a bad line changes nothing, not even in part
        QCOMPARE(QStringLiteral("error"), expected);
        return;
    }
    QCOMPARE(after.first(), before.first());
    QStringList got = QStringList{hex(result.raw), QString::fromStdString(result.output).trimmed()} + after.mid(1);
    got.removeAll(QString());
    QCOMPARE(got.join('|'), expected);
}

void TestRingSimLogic::eepromStore()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("eeprom.txt")).toStdString();
    std::string error;
    EepromStore store(path);
    QVERIFY(store.load(error) && store.entries().empty()); // a missing file is an empty store
    auto modules = RingFile::defaultRing(3);
    modules[1].storedMode = 0x4B;
    QVERIFY2(store.save(modules, error), error.c_str());

    EepromStore again(path);
    QVERIFY(again.load(error));
    auto fresh = RingFile::defaultRing(4);
    again.applyTo(fresh);
    QCOMPARE(QList<int>({fresh[0].mode, fresh[1].mode, fresh[1].storedMode, fresh[3].mode}),
             QList<int>({0x13, 0x4B, 0x4B, 0x13}));

    QFile bad(QString::fromStdString(path));
    QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate) && bad.write("1 0x13\nnot a line\n") > 0);
    bad.close();
    QVERIFY(!EepromStore(path).load(error));
    QVERIFY(QString::fromStdString(error).contains(QStringLiteral("line 2")));
}

void TestRingSimLogic::pacingWithoutDriftOrBurst()
{
    // 9600 baud, 8N1: 1041.67 us per byte. Late wake-ups must not add up: after 200 bytes
    // the last one is due at 200 byte times however the chunks fell.
    PacedWriter writer(PacedWriter::byteTime(9600));
    const std::vector<std::uint8_t> data(200, 0xAA);
    QVERIFY(writer.enqueue(data.data(), data.size(), t0));
    auto now = t0;
    std::size_t largest = 0;
    while (const auto next = writer.nextDue()) {
        now = std::max(now, *next) + microseconds(300); // always woken late
        const auto bytes = writer.due(now);
        QVERIFY(!bytes.empty());
        largest = std::max(largest, bytes.size());
        writer.consumed(bytes.size(), now, false);
    }
    const auto total = std::chrono::duration_cast<microseconds>(now - t0).count();
    QVERIFY2(total >= 208333 && total <= 208333 + 301, qPrintable(QString::number(total)));
    QVERIFY(largest <= 5);

    // The other side took only 2 of 10 due bytes: the rest must not burst out later.
    QVERIFY(writer.enqueue(data.data(), 20, t0));
    const auto t1 = t0 + PacedWriter::byteTime(9600) * 10;
    QCOMPARE(int(writer.due(t1).size()), 10);
    writer.consumed(2, t1, true);
    QCOMPARE(int(writer.due(t1 + PacedWriter::byteTime(9600) * 3).size()), 3);
}

QTEST_APPLESS_MAIN(TestRingSimLogic)
#include "tst_ringsim_logic.moc"
