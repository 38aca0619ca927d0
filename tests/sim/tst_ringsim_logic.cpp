// Tests of the ring simulator's logic without a terminal: reply encoding, the
// command scanner, the ring file, the ring's answers, control lines, pacing.
#include "CommandScanner.h"
#include "ControlInterpreter.h"
#include "EepromStore.h"
#include "Options.h"
#include "PacedWriter.h"
#include "ReplyFrame.h"
#include "Ring.h"
#include "RingFile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zephsim;

namespace {

QByteArray toBytes(const std::vector<std::uint8_t> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QByteArray commandBytes(const std::vector<Command> &commands)
{
    QByteArray out;
    for (const Command &c : commands)
        out += QByteArray::fromRawData(reinterpret_cast<const char *>(&c.letter), 1) + char(c.arg1) + char(c.arg2) +
               char(c.arg3);
    return out;
}

Ring ringFrom(const QByteArray &text)
{
    std::vector<std::string> errors;
    auto modules = RingFile::parseRing(text.toStdString(), errors);
    if (!modules)
        qFatal("bad ring in test: %s", errors.front().c_str());
    return Ring(std::move(*modules));
}

Command commandFrom(const QByteArray &hex)
{
    const QByteArray b = QByteArray::fromHex(hex);
    return {std::uint8_t(b[0]), std::uint8_t(b[1]), std::uint8_t(b[2]), std::uint8_t(b[3])};
}

} // namespace

class TestRingSimLogic : public QObject
{
    Q_OBJECT

private slots:
    void replyEncoding_data();
    void replyEncoding();
    void scanner_data();
    void scanner();
    void ringFile_data();
    void ringFile();
    void ringFileRoundTrip();
    void defaultRing();
    void ringAnswers_data();
    void ringAnswers();
    void modesAndEeprom();
    void eepromStore();
    void control_data();
    void control();
    void pacing_data();
    void pacing();
    void pacingWithoutDrift();
    void pacingBlockedStartsAfresh();
    void options_data();
    void options();
};

void TestRingSimLogic::replyEncoding_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("ch1Fault");
    QTest::addColumn<int>("ch1Counter");
    QTest::addColumn<bool>("ch2Fault");
    QTest::addColumn<int>("ch2Counter");
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("attached module 7") << 7 << 41 << 0x4B << false << 5 << false << 16 << QByteArray("G")
                                       << QByteArray::fromHex("47 07 00 29 4B 10 00 05 00 0A 0D");
    QTest::newRow("channel 1 fault, counter 1296") << 7 << 41 << 0x4B << true << 1296 << false << 0 << QByteArray("L")
                                                   << QByteArray::fromHex("4C 07 00 29 4B 00 00 10 85 0A 0D");
    QTest::newRow("channel 2 fault only") << 9 << 40 << 0x13 << false << 0 << true << 3 << QByteArray("R")
                                          << QByteArray::fromHex("52 09 00 28 13 03 80 00 00 0A 0D");
    QTest::newRow("id 300") << 300 << 41 << 0 << false << 0 << false << 0 << QByteArray("P")
                            << QByteArray::fromHex("50 2C 01 29 00 00 00 00 00 0A 0D");
    QTest::newRow("id 32000") << 32000 << 41 << 0 << false << 0 << false << 0 << QByteArray("P")
                              << QByteArray::fromHex("50 00 7D 29 00 00 00 00 00 0A 0D");
    QTest::newRow("id 65535") << 65535 << 41 << 0 << false << 0 << false << 0 << QByteArray("R")
                              << QByteArray::fromHex("52 FF FF 29 00 00 00 00 00 0A 0D");
    QTest::newRow("largest counters, no fault") << 1 << 41 << 0xFF << false << 32767 << false << 32767
                                                << QByteArray("G")
                                                << QByteArray::fromHex("47 01 00 29 FF FF 7F FF 7F 0A 0D");
    QTest::newRow("largest counters, both faults") << 1 << 255 << 0x80 << true << 32767 << true << 32767
                                                   << QByteArray("G")
                                                   << QByteArray::fromHex("47 01 00 FF 80 FF FF FF FF 0A 0D");
    QTest::newRow("counter 256 keeps the flag apart") << 2 << 41 << 0x13 << false << 256 << true << 256
                                                      << QByteArray("L")
                                                      << QByteArray::fromHex("4C 02 00 29 13 00 81 00 01 0A 0D");
}

void TestRingSimLogic::replyEncoding()
{
    QFETCH(int, id);
    QFETCH(int, version);
    QFETCH(int, mode);
    QFETCH(bool, ch1Fault);
    QFETCH(int, ch1Counter);
    QFETCH(bool, ch2Fault);
    QFETCH(int, ch2Counter);
    QFETCH(QByteArray, letter);
    QFETCH(QByteArray, expected);

    Module module;
    module.id = std::uint16_t(id);
    module.version = std::uint8_t(version);
    module.mode = std::uint8_t(mode);
    module.ch1 = {ch1Fault, std::uint16_t(ch1Counter)};
    module.ch2 = {ch2Fault, std::uint16_t(ch2Counter)};
    const auto frame = ReplyFrame::encode(module, letter[0]);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(frame.data()), int(frame.size())).toHex(' '),
             expected.toHex(' '));
}

void TestRingSimLogic::scanner_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QByteArray>("commands"); // 4 bytes per command found
    QTest::addColumn<int>("pending");

    const QByteArray g = QByteArray::fromHex("47 00 00 00 0A 0D 00");
    const QByteArray p7 = QByteArray::fromHex("50 07 00 00 0A 0D 00");

    QTest::newRow("G") << QList<QByteArray>{g} << QByteArray::fromHex("47 00 00 00") << 0;
    QTest::newRow("P 300") << QList<QByteArray>{QByteArray::fromHex("50 2C 01 00 0A 0D 00")}
                           << QByteArray::fromHex("50 2C 01 00") << 0;
    QTest::newRow("W 5 mode 75") << QList<QByteArray>{QByteArray::fromHex("57 05 00 4B 0A 0D 00")}
                                 << QByteArray::fromHex("57 05 00 4B") << 0;
    QTest::newRow("two frames in one read") << QList<QByteArray>{g + p7} << QByteArray::fromHex("47 00 00 00 50 07 00 00")
                                            << 0;
    QTest::newRow("garbage before") << QList<QByteArray>{QByteArray::fromHex("FF 13 00") + g}
                                    << QByteArray::fromHex("47 00 00 00") << 0;
    QTest::newRow("terminator alone before") << QList<QByteArray>{QByteArray::fromHex("0A 0D 00") + g}
                                             << QByteArray::fromHex("47 00 00 00") << 0;
    QTest::newRow("split in three reads") << QList<QByteArray>{g.left(2), g.mid(2, 3), g.mid(5)}
                                          << QByteArray::fromHex("47 00 00 00") << 0;
    QTest::newRow("split inside the terminator") << QList<QByteArray>{p7.left(5), p7.mid(5)}
                                                 << QByteArray::fromHex("50 07 00 00") << 0;
    QTest::newRow("one byte per read") << [&] {
        QList<QByteArray> reads;
        for (char c : p7)
            reads << QByteArray(1, c);
        return reads;
    }() << QByteArray::fromHex("50 07 00 00") << 0;
    QTest::newRow("cut off frame waits") << QList<QByteArray>{g.left(5)} << QByteArray() << 5;
    QTest::newRow("cut off frame, then a whole one") << QList<QByteArray>{g.left(3), p7}
                                                     << QByteArray::fromHex("50 07 00 00") << 0;
    QTest::newRow("arguments that look like a terminator")
        << QList<QByteArray>{QByteArray::fromHex("53 0A 0D 00 0A 0D 00")} << QByteArray::fromHex("53 0A 0D 00") << 0;
    QTest::newRow("frame, then half of the next")
        << QList<QByteArray>{g + p7.left(4)} << QByteArray::fromHex("47 00 00 00") << 4;
    QTest::newRow("long garbage without terminator") << QList<QByteArray>{QByteArray(300, '\x55'), g}
                                                     << QByteArray::fromHex("47 00 00 00") << 0;
    QTest::newRow("too short before terminator") << QList<QByteArray>{QByteArray::fromHex("47 00 0A 0D 00")}
                                                 << QByteArray() << 5;
}

void TestRingSimLogic::scanner()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QByteArray, commands);
    QFETCH(int, pending);

    CommandScanner scanner;
    std::vector<Command> found;
    for (const QByteArray &read : reads) {
        const auto more = scanner.feed(reinterpret_cast<const std::uint8_t *>(read.constData()), std::size_t(read.size()));
        found.insert(found.end(), more.begin(), more.end());
    }
    QCOMPARE(commandBytes(found).toHex(' '), commands.toHex(' '));
    QVERIFY(scanner.pending() <= std::size_t(pending));
    if (pending < 6)
        QCOMPARE(int(scanner.pending()), pending);
}

void TestRingSimLogic::ringFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("firstModule"); // canonical line of the first module, or the error text
    QTest::addColumn<int>("count");

    QTest::newRow("full line") << QByteArray("id=7 side=G version=41 mode=0x4B ch1=fault:12 ch2=ok:0 silent=no\n")
                               << true << "id=7 side=G version=41 mode=0x4B ch1=fault:12 ch2=ok:0 silent=no" << 1;
    QTest::newRow("defaults") << QByteArray("id=1 side=G") << true
                              << "id=1 side=G version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no" << 1;
    QTest::newRow("comments and blank lines")
        << QByteArray("# demo ring\n\n  id=3 side=L   # left neighbour\n\t\nid=4 side=R\n") << true
        << "id=3 side=L version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no" << 2;
    QTest::newRow("fields in any order, hex and decimal")
        << QByteArray("silent=yes mode=75 ch2=fault ch1=ok:0x10 side=R id=0x12C version=39") << true
        << "id=300 side=R version=39 mode=0x4B ch1=ok:16 ch2=fault:0 silent=yes" << 1;
    QTest::newRow("largest values") << QByteArray("id=65535 side=L version=255 mode=0xFF ch1=fault:32767 ch2=ok:32767")
                                    << true
                                    << "id=65535 side=L version=255 mode=0xFF ch1=fault:32767 ch2=ok:32767 silent=no"
                                    << 1;
    QTest::newRow("empty file") << QByteArray("\n# nothing\n") << true << "" << 0;

    QTest::newRow("missing side") << QByteArray("id=1") << false << "line 1: missing side=" << 0;
    QTest::newRow("missing id") << QByteArray("side=G") << false << "line 1: missing id=" << 0;
    QTest::newRow("bad side") << QByteArray("id=1 side=X") << false << "line 1: side=X: expected G, L or R" << 0;
    QTest::newRow("version too big") << QByteArray("id=1 side=G version=256") << false
                                     << "line 1: version=256: expected a number 0..255 (tenths, 41 = 4.1)" << 0;
    QTest::newRow("counter too big") << QByteArray("id=1 side=G ch1=fault:32768") << false
                                     << "line 1: ch1=fault:32768: expected ok or fault, optionally :counter (0..32767)"
                                     << 0;
    QTest::newRow("mode too big") << QByteArray("id=1 side=G mode=0x100") << false
                                  << "line 1: mode=0x100: expected a byte, e.g. 0x4B or 75" << 0;
    QTest::newRow("id too big") << QByteArray("id=65536 side=G") << false
                                << "line 1: id=65536: expected a number 0..65535" << 0;
    QTest::newRow("unknown field") << QByteArray("id=1 side=G colour=red") << false
                                   << "line 1: unknown field 'colour'" << 0;
    QTest::newRow("no equals sign") << QByteArray("id=1 side=G silent") << false
                                    << "line 1: expected key=value, got 'silent'" << 0;
    QTest::newRow("field twice") << QByteArray("id=1 side=G side=L") << false << "line 1: field 'side' given twice"
                                 << 0;
    QTest::newRow("duplicate id, line numbers count comments")
        << QByteArray("id=1 side=G\n# c\nid=1 side=L\n") << false << "line 3: duplicate id 1" << 0;
    QTest::newRow("bad channel state") << QByteArray("id=1 side=G ch2=broken") << false
                                       << "line 1: ch2=broken: expected ok or fault, optionally :counter (0..32767)"
                                       << 0;
}

void TestRingSimLogic::ringFile()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(QString, firstModule);
    QFETCH(int, count);

    std::vector<std::string> errors;
    const auto modules = RingFile::parseRing(text.toStdString(), errors);
    QCOMPARE(modules.has_value(), ok);
    if (!ok) {
        QVERIFY(!errors.empty());
        QCOMPARE(QString::fromStdString(errors.front()), firstModule);
        return;
    }
    QCOMPARE(int(modules->size()), count);
    if (count > 0)
        QCOMPARE(QString::fromStdString(RingFile::format(modules->front())), firstModule);
}

void TestRingSimLogic::ringFileRoundTrip()
{
    const QByteArray text = "id=7 side=G version=41 mode=0x4B ch1=fault:12 ch2=ok:0 silent=no\n"
                            "id=8 side=L version=39 mode=0x13 ch1=ok:0 ch2=fault:32767 silent=yes\n";
    std::vector<std::string> errors;
    const auto modules = RingFile::parseRing(text.toStdString(), errors);
    QVERIFY(modules);
    QByteArray written;
    for (const Module &m : *modules)
        written += QByteArray::fromStdString(RingFile::format(m)) + '\n';
    QCOMPARE(written, text);
}

void TestRingSimLogic::defaultRing()
{
    const auto modules = RingFile::defaultRing(5);
    QCOMPARE(int(modules.size()), 5);
    QString sides;
    for (const Module &m : modules) {
        QCOMPARE(int(m.id), int(&m - modules.data()) + 1);
        QCOMPARE(int(m.version), 41);
        QCOMPARE(int(m.mode), 0x13);
        QVERIFY(!m.ch1.fault && !m.ch2.fault && !m.silent);
        sides += QChar(m.side);
    }
    QCOMPARE(sides, QStringLiteral("GLRLR"));
    QVERIFY(RingFile::defaultRing(0).empty());
}

void TestRingSimLogic::ringAnswers_data()
{
    QTest::addColumn<QByteArray>("ring");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");

    const QByteArray ring = "id=3 side=L\n"
                            "id=7 side=G mode=0x4B ch1=fault:5\n"
                            "id=12 side=R silent=yes\n"
                            "id=20 side=R ch2=fault:300\n";
    QTest::newRow("G: attached first, then ring order, silent left out")
        << ring << QByteArray("47 00 00 00")
        << QByteArray::fromHex("47 07 00 29 4B 00 00 05 80 0A 0D"
                               "4C 03 00 29 13 00 00 00 00 0A 0D"
                               "52 14 00 29 13 2C 81 00 00 0A 0D");
    QTest::newRow("G arguments are not looked at") << ring << QByteArray("47 07 00 4B")
                                                   << QByteArray::fromHex("47 07 00 29 4B 00 00 05 80 0A 0D"
                                                                          "4C 03 00 29 13 00 00 00 00 0A 0D"
                                                                          "52 14 00 29 13 2C 81 00 00 0A 0D");
    QTest::newRow("P to a module") << ring << QByteArray("50 14 00 00")
                                   << QByteArray::fromHex("50 14 00 29 13 2C 81 00 00 0A 0D");
    QTest::newRow("P to the attached module") << ring << QByteArray("50 07 00 00")
                                              << QByteArray::fromHex("50 07 00 29 4B 00 00 05 80 0A 0D");
    QTest::newRow("P to a silent module") << ring << QByteArray("50 0C 00 00") << QByteArray();
    QTest::newRow("P to an absent module") << ring << QByteArray("50 63 00 00") << QByteArray();
    QTest::newRow("P to the high byte of an ID") << ring << QByteArray("50 00 07 00") << QByteArray();
    QTest::newRow("S is not answered") << ring << QByteArray("53 07 00 13") << QByteArray();
    QTest::newRow("W is not answered") << ring << QByteArray("57 07 00 13") << QByteArray();
    QTest::newRow("unknown letter") << ring << QByteArray("58 07 00 00") << QByteArray();
    QTest::newRow("G without attached module") << QByteArray("id=3 side=L\nid=4 side=R\n") << QByteArray("47 00 00 00")
                                               << QByteArray::fromHex("4C 03 00 29 13 00 00 00 00 0A 0D"
                                                                      "52 04 00 29 13 00 00 00 00 0A 0D");
    QTest::newRow("G with silent attached module") << QByteArray("id=1 side=G silent=yes\nid=2 side=L\n")
                                                   << QByteArray("47 00 00 00")
                                                   << QByteArray::fromHex("4C 02 00 29 13 00 00 00 00 0A 0D");
    QTest::newRow("G to an empty ring") << QByteArray() << QByteArray("47 00 00 00") << QByteArray();
}

void TestRingSimLogic::ringAnswers()
{
    QFETCH(QByteArray, ring);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);

    Ring r = ringFrom(ring);
    QCOMPARE(toBytes(r.handle(commandFrom(command))).toHex(' '), reply.toHex(' '));
}

void TestRingSimLogic::modesAndEeprom()
{
    Ring ring = ringFrom("id=1 side=G\nid=2 side=L\nid=3 side=R silent=yes\n");
    ring.handle(commandFrom("53 02 00 4B")); // S: running mode only
    QCOMPARE(int(ring.find(2)->mode), 0x4B);
    QCOMPARE(int(ring.find(2)->storedMode), 0x13);
    QVERIFY(!ring.eepromChanged());

    ring.handle(commandFrom("57 01 00 23")); // W: running and stored
    QCOMPARE(int(ring.find(1)->mode), 0x23);
    QCOMPARE(int(ring.find(1)->storedMode), 0x23);
    QVERIFY(ring.eepromChanged());
    ring.clearEepromChanged();

    ring.handle(commandFrom("57 03 00 44")); // a silent module still listens
    QCOMPARE(int(ring.find(3)->storedMode), 0x44);

    ring.restart();
    QCOMPARE(int(ring.find(1)->mode), 0x23);
    QCOMPARE(int(ring.find(2)->mode), 0x13);

    ring.clearEepromChanged();
    ring.handle(commandFrom("57 63 00 44")); // nobody there
    QVERIFY(!ring.eepromChanged());
}

void TestRingSimLogic::eepromStore()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("eeprom.txt")).toStdString();
    std::string error;

    EepromStore missing(path);
    QVERIFY(missing.load(error));
    QVERIFY(missing.entries().empty());

    auto modules = RingFile::defaultRing(3);
    modules[1].storedMode = 0x4B;
    QVERIFY2(missing.save(modules, error), error.c_str());

    EepromStore again(path);
    QVERIFY(again.load(error));
    auto fresh = RingFile::defaultRing(4);
    again.applyTo(fresh);
    QCOMPARE(int(fresh[1].mode), 0x4B);
    QCOMPARE(int(fresh[1].storedMode), 0x4B);
    QCOMPARE(int(fresh[0].mode), 0x13);
    QCOMPARE(int(fresh[3].mode), 0x13);

    QFile bad(QString::fromStdString(path));
    QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("1 0x13\nnot a line\n");
    bad.close();
    EepromStore broken(path);
    QVERIFY(!broken.load(error));
    QVERIFY(QString::fromStdString(error).contains(QStringLiteral("line 2")));
}

void TestRingSimLogic::control_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("listAfter"); // the ring afterwards, module lines joined by |
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("output");

    const QString m1 = "id=1 side=G version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no";
    const QString m2 = "id=2 side=L version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no";
    const QString m3 = "id=3 side=R version=41 mode=0x13 ch1=ok:0 ch2=ok:0 silent=no";
    const QString unchanged = m1 + "|" + m2 + "|" + m3;

    QTest::newRow("empty line") << "" << true << unchanged << QByteArray() << "";
    QTest::newRow("comment") << "# just a note" << true << unchanged << QByteArray() << "";
    QTest::newRow("fault on") << "fault 2 1 on" << true
                              << m1 + "|" + QString(m2).replace("ch1=ok:0", "ch1=fault:0") + "|" + m3 << QByteArray()
                              << "";
    QTest::newRow("fault on channel 2") << "fault 3 2 yes" << true
                                        << m1 + "|" + m2 + "|" + QString(m3).replace("ch2=ok:0", "ch2=fault:0")
                                        << QByteArray() << "";
    QTest::newRow("counter") << "counter 1 2 1234" << true
                             << QString(m1).replace("ch2=ok:0", "ch2=ok:1234") + "|" + m2 + "|" + m3 << QByteArray()
                             << "";
    QTest::newRow("silent") << "silent 3 on" << true
                            << m1 + "|" + m2 + "|" + QString(m3).replace("silent=no", "silent=yes") << QByteArray()
                            << "";
    QTest::newRow("set several fields") << "set 2 version=39 ch2=fault:7 side=R" << true
                                        << m1 + "|" +
                                               "id=2 side=R version=39 mode=0x13 ch1=ok:0 ch2=fault:7 silent=no|" + m3
                                        << QByteArray() << "";
    QTest::newRow("set mode changes the running mode only")
        << "set 2 mode=0x4B" << true
        << m1 + "|" + "id=2 side=L version=41 mode=0x4B ch1=ok:0 ch2=ok:0 silent=no # stored mode 0x13|" + m3
        << QByteArray() << "";
    QTest::newRow("add") << "add id=40000 side=L ch1=fault:3" << true
                         << unchanged + "|id=40000 side=L version=41 mode=0x13 ch1=fault:3 ch2=ok:0 silent=no"
                         << QByteArray() << "";
    QTest::newRow("remove") << "remove 2" << true << m1 + "|" + m3 << QByteArray() << "";
    QTest::newRow("raw") << "raw 47 07 00 29" << true << unchanged << QByteArray::fromHex("47070029") << "";
    QTest::newRow("raw without blanks") << "raw 4C0700" << true << unchanged << QByteArray::fromHex("4C0700") << "";
    QTest::newRow("echo") << "echo hello ring" << true << unchanged << QByteArray() << "hello ring\n";
    QTest::newRow("list") << "list" << true << unchanged << QByteArray()
                          << m1 + "\n" + m2 + "\n" + m3 + "\n";

    QTest::newRow("unknown command") << "explode 1" << false << unchanged << QByteArray() << "";
    QTest::newRow("fault: no such module") << "fault 9 1 on" << false << unchanged << QByteArray() << "";
    QTest::newRow("fault: bad channel") << "fault 2 3 on" << false << unchanged << QByteArray() << "";
    QTest::newRow("fault: bad switch") << "fault 2 1 maybe" << false << unchanged << QByteArray() << "";
    QTest::newRow("fault: too few words") << "fault 2 1" << false << unchanged << QByteArray() << "";
    QTest::newRow("counter too big") << "counter 2 1 32768" << false << unchanged << QByteArray() << "";
    QTest::newRow("silent: bad id") << "silent x on" << false << unchanged << QByteArray() << "";
    QTest::newRow("set: id cannot change") << "set 2 id=5" << false << unchanged << QByteArray() << "";
    QTest::newRow("set: bad value changes nothing") << "set 2 version=41 mode=0x999" << false << unchanged
                                                    << QByteArray() << "";
    QTest::newRow("add: duplicate id") << "add id=2 side=R" << false << unchanged << QByteArray() << "";
    QTest::newRow("add: missing id") << "add side=L" << false << unchanged << QByteArray() << "";
    QTest::newRow("remove: absent") << "remove 99" << false << unchanged << QByteArray() << "";
    QTest::newRow("raw: odd digits") << "raw 4" << false << unchanged << QByteArray() << "";
    QTest::newRow("raw: not hex") << "raw zz" << false << unchanged << QByteArray() << "";
    QTest::newRow("raw: nothing") << "raw" << false << unchanged << QByteArray() << "";
    QTest::newRow("list with argument") << "list all" << false << unchanged << QByteArray() << "";
}

void TestRingSimLogic::control()
{
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QFETCH(QString, listAfter);
    QFETCH(QByteArray, raw);
    QFETCH(QString, output);

    Ring ring(RingFile::defaultRing(3));
    ControlInterpreter interpreter(ring);
    const ControlResult result = interpreter.execute(line.toStdString());
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.error.empty(), ok);
    QVERIFY(!result.quit);
    QCOMPARE(toBytes(result.raw).toHex(' '), raw.toHex(' '));
    QCOMPARE(QString::fromStdString(result.output), output);

    const ControlResult listed = interpreter.execute("list");
    QCOMPARE(QString::fromStdString(listed.output).trimmed().replace('\n', '|'), listAfter);

    QVERIFY(interpreter.execute("quit").quit);
}

void TestRingSimLogic::pacing_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("elapsedUs");
    QTest::addColumn<int>("due");

    // 9600 baud, 8N1: 1041.67 us per byte; a byte is due once all its bits are out.
    QTest::newRow("at once") << 9600 << 0 << 0;
    QTest::newRow("just before the first byte") << 9600 << 1041 << 0;
    QTest::newRow("first byte") << 9600 << 1042 << 1;
    QTest::newRow("four bytes") << 9600 << 4200 << 4;
    QTest::newRow("all eleven") << 9600 << 11459 << 11;
    QTest::newRow("never more than queued") << 9600 << 50000 << 11;
    QTest::newRow("faster line") << 115200 << 500 << 5;
    QTest::newRow("no pacing") << 0 << 0 << 11;
}

void TestRingSimLogic::pacing()
{
    QFETCH(int, baud);
    QFETCH(int, elapsedUs);
    QFETCH(int, due);

    PacedWriter writer(baud ? PacedWriter::byteTime(unsigned(baud)) : std::chrono::nanoseconds(0));
    const auto t0 = PacedWriter::Clock::time_point(std::chrono::seconds(1000));
    const std::vector<std::uint8_t> reply(11, 0x55);
    QVERIFY(writer.enqueue(reply.data(), reply.size(), t0));
    QCOMPARE(int(writer.due(t0 + std::chrono::microseconds(elapsedUs)).size()), due);
}

void TestRingSimLogic::pacingWithoutDrift()
{
    // Late wake-ups must not add up: after 200 bytes the last one is due at
    // 200 byte times however the chunks fell.
    const auto byteTime = PacedWriter::byteTime(9600);
    PacedWriter writer(byteTime);
    const auto t0 = PacedWriter::Clock::time_point(std::chrono::seconds(1000));
    const std::vector<std::uint8_t> data(200, 0xAA);
    QVERIFY(writer.enqueue(data.data(), data.size(), t0));

    auto now = t0;
    int writes = 0;
    std::size_t largest = 0;
    while (!writer.empty()) {
        const auto next = writer.nextDue();
        QVERIFY(next);
        now = std::max(now, *next) + std::chrono::microseconds(300); // always woken late
        const auto bytes = writer.due(now);
        QVERIFY(!bytes.empty());
        largest = std::max(largest, bytes.size());
        writer.consumed(bytes.size(), now, false);
        ++writes;
    }
    const auto total = std::chrono::duration_cast<std::chrono::microseconds>(now - t0).count();
    QVERIFY2(total >= 208333 && total <= 208333 + 300 + 1, qPrintable(QString::number(total)));
    QVERIFY(writes >= 40);
    QVERIFY(largest <= 5);
}

void TestRingSimLogic::pacingBlockedStartsAfresh()
{
    const auto byteTime = PacedWriter::byteTime(9600);
    PacedWriter writer(byteTime);
    const auto t0 = PacedWriter::Clock::time_point(std::chrono::seconds(1000));
    const std::vector<std::uint8_t> data(20, 0xAA);
    writer.enqueue(data.data(), data.size(), t0);

    // The other side took only 2 of 10 due bytes; the rest must not burst out later.
    const auto t1 = t0 + byteTime * 10;
    QCOMPARE(int(writer.due(t1).size()), 10);
    writer.consumed(2, t1, true);
    QCOMPARE(int(writer.queued()), 18);
    QCOMPARE(int(writer.due(t1 + std::chrono::milliseconds(100)).size()), 18);
    QCOMPARE(int(writer.due(t1 + byteTime * 3).size()), 3);
}

void TestRingSimLogic::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("summary");

    QTest::newRow("nothing") << QStringList{} << true << "modules=4 pacing=1 baud=9600 eof=0";
    QTest::newRow("modules and no pacing") << QStringList{"--modules", "8", "--no-pacing"} << true
                                           << "modules=8 pacing=0 baud=9600 eof=0";
    QTest::newRow("inline values") << QStringList{"--modules=0", "--baud=19200", "--exit-on-eof"} << true
                                   << "modules=0 pacing=1 baud=19200 eof=1";
    QTest::newRow("paths") << QStringList{"--ring", "r.txt", "--state", "s.txt", "--link", "/tmp/l", "--control", "f"}
                           << true << "modules=4 pacing=1 baud=9600 eof=0 ring=r.txt state=s.txt link=/tmp/l control=f";
    QTest::newRow("help") << QStringList{"--help"} << true << "help";
    QTest::newRow("trace") << QStringList{"--trace"} << true << "modules=4 pacing=1 baud=9600 eof=0 trace";

    QTest::newRow("unknown") << QStringList{"--frobnicate"} << false << "unknown argument '--frobnicate'";
    QTest::newRow("missing value") << QStringList{"--modules"} << false << "--modules needs a value";
    QTest::newRow("bad number") << QStringList{"--modules", "many"} << false << "--modules needs a number 0..32000";
    QTest::newRow("too many modules") << QStringList{"--modules", "32001"} << false
                                      << "--modules needs a number 0..32000";
    QTest::newRow("both ring sources") << QStringList{"--modules", "3", "--ring", "r.txt"} << false
                                       << "--modules and --ring exclude each other";
    QTest::newRow("flag with value") << QStringList{"--no-pacing=yes"} << false << "--no-pacing takes no value";
    QTest::newRow("empty path") << QStringList{"--link="} << false << "--link needs a path";
}

void TestRingSimLogic::options()
{
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QFETCH(QString, summary);

    std::vector<std::string> argv;
    for (const QString &a : args)
        argv.push_back(a.toStdString());
    std::string error;
    const auto options = Options::parse(argv, error);
    QCOMPARE(options.has_value(), ok);
    if (!ok) {
        QCOMPARE(QString::fromStdString(error), summary);
        return;
    }
    if (options->help) {
        QCOMPARE(QStringLiteral("help"), summary);
        return;
    }
    QString text = QStringLiteral("modules=%1 pacing=%2 baud=%3 eof=%4")
                       .arg(options->modules)
                       .arg(int(options->pacing))
                       .arg(options->baud)
                       .arg(int(options->exitOnEof));
    if (options->trace)
        text += QStringLiteral(" trace");
    if (!options->ringFile.empty())
        text += " ring=" + QString::fromStdString(options->ringFile);
    if (!options->stateFile.empty())
        text += " state=" + QString::fromStdString(options->stateFile);
    if (!options->linkPath.empty())
        text += " link=" + QString::fromStdString(options->linkPath);
    if (!options->controlFifo.empty())
        text += " control=" + QString::fromStdString(options->controlFifo);
    QCOMPARE(text, summary);
}

QTEST_APPLESS_MAIN(TestRingSimLogic)
#include "tst_ringsim_logic.moc"
