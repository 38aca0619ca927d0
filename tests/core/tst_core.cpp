// The core as the only door to the ring: the order in which a finished scan is handed over, a
// scan cut by a vanished port, a break on the page and in the registers before its scan is over,
// and two cores on two simulated rings in one process.
#include "HttpAsk.h"
#include "ManualClock.h"
#include "RingSimProcess.h"
#include "TestFiles.h"
#include "TimedRing.h"
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "core/RingCore.h"
#include "history/RingHistory.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray ReplyOf(char letter, int id, bool faulty1 = false, int counter1 = 0)
{
    return EncodeReply({.letter = uint8_t(letter), .id = id, .version = 41, .mode = 0x13, .status1 = faulty1,
                        .counter1 = int16_t(counter1)});
}

QList<int> Ids(const RingTable &table) { return QList<int>(table.Order().begin(), table.Order().end()); }

} // namespace

class TestCore : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    ManualClock mClock;

    QString Ini(const QByteArray &more = {})
    {
        return WriteTestFile(mDir.filePath(QStringLiteral("zephlink9-setup.ini")),
                             "[ZEPHLINK9 Setup Tool]\r\ncomport=1\r\nlog=ring-log.csv\r\n" + more);
    }

    // A scan on the manual clock that the ring answers with replies 100 ms after its G, over once
    // the ring has been quiet for a second.
    static void ScanAnswered(RingCore &core, MemorySerialPort &port, ManualClock &clock, const QByteArray &replies,
                             const std::function<void()> &meanwhile = {})
    {
        QSignalSpy over(&core, &RingCore::scanHandedOver);
        TimedRing ring(clock, port, core.Link(), 5, clock.NowMs() + 3000);
        ring.AnswerAt(clock.NowMs() + 100, replies);
        if (meanwhile)
            ring.At(clock.NowMs() + 300, meanwhile);
        core.Scan();
        QTRY_COMPARE(over.count(), 1);
    }

private slots:
    void init()
    {
        for (const char *name : {"ring-log.csv", "ring-history.sqlite", "ring-history.sqlite-wal", "ring-history.sqlite-shm"})
            QFile::remove(mDir.filePath(QLatin1String(name)));
        SetClock(&(mClock = ManualClock()));
    }
    void cleanup() { SetClock(nullptr); }

    // Keeper, counts, verification, log, events, history, then the windows: each part finds the
    // parts before it done with the scan and the parts after it not yet.
    void handOverOrder()
    {
        MemorySerialPort port;
        port.Open();
        RingCore core(&port);
        core.Start(ProgramConfig::Read(Ini()));
        const QString log = mDir.filePath(QStringLiteral("ring-log.csv"));
        ScanAnswered(core, port, mClock, ReplyOf('G', 1) + ReplyOf('L', 2));
        core.ProgramModule(2, 0x4B, false);

        RingHistory reader;
        QStringList seen;
        connect(&core.Events(), &EventList::added, this, [&](const RingEvent &event) {
            if (event.id != 2 || !event.text.contains(QLatin1String("faulty")))
                return;
            const RingScan *found = core.Keeper().LastFound();
            seen << QStringLiteral("events: keeper %1, verified %2, logged %3, kept %4")
                        .arg(found && found->Find(2) && found->Find(2)->faulty1)
                        .arg(core.Keeper().LastVerification().has_value())
                        .arg(ReadTestFile(log).count("\n"))
                        .arg(reader.Open(mDir.filePath(QStringLiteral("ring-history.sqlite")), 90)
                                 && reader.LastFound(1) && reader.LastFound(1)->Find(2)->faulty1);
            reader.Close();
        });
        connect(&core, &RingCore::scanHandedOver, this, [&] {
            seen << QStringLiteral("windows: kept %1")
                        .arg(reader.Open(mDir.filePath(QStringLiteral("ring-history.sqlite")), 90)
                             && reader.LastFound(1) && reader.LastFound(1)->Find(2)->faulty1);
            reader.Close();
        });
        QSignalSpy over(&core, &RingCore::scanHandedOver);
        TimedRing ring(mClock, port, core.Link(), 5, mClock.NowMs() + 3000);
        ring.AnswerAt(mClock.NowMs() + 100, ReplyOf('G', 1) + ReplyOf('L', 2, true));
        core.Verify();
        QTRY_COMPARE(over.count(), 1);
        // The header, two rows of each scan and the event's own row are in the log.
        QCOMPARE(seen, QStringList({QStringLiteral("events: keeper 1, verified 1, logged 6, kept 0"),
                                    QStringLiteral("windows: kept 1")}));
    }

    // The adapter pulled while the ring answers: the scan is no ring. Nothing is missing, nothing
    // is kept, and the next whole scan compares with the last whole one.
    void scanCutByAVanishedPort()
    {
        MemorySerialPort port;
        port.Open();
        RingCore core(&port);
        core.Start(ProgramConfig::Read(Ini()));
        ScanAnswered(core, port, mClock, ReplyOf('G', 1) + ReplyOf('L', 2) + ReplyOf('L', 3, false, 5));
        const size_t eventsBefore = core.Events().Count();

        QSignalSpy over(&core, &RingCore::scanHandedOver);
        const qsizetype logged = ReadTestFile(mDir.filePath(QStringLiteral("ring-log.csv"))).count('\n');
        ScanAnswered(core, port, mClock, ReplyOf('G', 1), [&port] { port.Vanish(); });
        QVERIFY(over.at(0).at(0).value<RingScan>().cut);
        const QList<QByteArray> log = ReadTestFile(mDir.filePath(QStringLiteral("ring-log.csv"))).split('\n');
        QCOMPARE(log.size() - 1, logged + 1);
        QVERIFY(log.at(log.size() - 2).endsWith(",,,,,,,,,,scan cut: the port was lost\r"));
        QCOMPARE(core.Events().Count(), eventsBefore);
        QCOMPARE(core.Keeper().LastFound()->modules.size(), size_t(3));
        RingHistory reader;
        QVERIFY(reader.Open(mDir.filePath(QStringLiteral("ring-history.sqlite")), 90));
        QCOMPARE(reader.LastFound(1)->modules.size(), size_t(3));
        reader.Close();

        port.Open();
        ScanAnswered(core, port, mClock, ReplyOf('G', 1) + ReplyOf('L', 2) + ReplyOf('L', 3, false, 9));
        QCOMPARE(core.Events().Count(), eventsBefore + 1);
        QCOMPARE(core.Events().At(eventsBefore).text, QStringLiteral("Module 3 channel 1 error counter +4"));
    }

    // With the history on, the first scan of a run compares with the last ring kept: a channel
    // still faulty is not told again; one that became faulty while the program was off is, and
    // so is a module that was missing then and answers now.
    void restartComparesWithTheRingKept()
    {
        const QString ini = Ini();
        {
            MemorySerialPort port;
            port.Open();
            RingCore core(&port);
            core.Start(ProgramConfig::Read(ini));
            ScanAnswered(core, port, mClock, ReplyOf('G', 1) + ReplyOf('L', 2) + ReplyOf('L', 3, true) + ReplyOf('L', 4));
            ScanAnswered(core, port, mClock, ReplyOf('G', 1) + ReplyOf('L', 2) + ReplyOf('L', 3, true));
        }
        MemorySerialPort port;
        port.Open();
        RingCore core(&port);
        core.Start(ProgramConfig::Read(ini));
        QStringList told;
        connect(&core.Events(), &EventList::added, this, [&told](const RingEvent &event) { told << event.text; });
        ScanAnswered(core, port, mClock, ReplyOf('G', 1) + ReplyOf('L', 2, true) + ReplyOf('L', 3, true) + ReplyOf('L', 4));
        QCOMPARE(told, QStringList({QStringLiteral("Module 2 channel 1 faulty"), QStringLiteral("Module 4 answers again")}));
    }

    // The page and the registers show a break at the reply that reads it, while the scan still
    // waits for its second of quiet; the events and the history have it once the scan is over.
    void breakShowsAtItsModulesReply()
    {
        const quint16 page = FreePort(), registers = FreePort();
        MemorySerialPort port;
        port.Open();
        RingCore core(&port);
        core.Start(ProgramConfig::Read(Ini("metrics=" + QByteArray::number(page) + "\r\nmodbus="
                                           + QByteArray::number(registers) + "\r\n")));
        ScanAnswered(core, port, mClock, ReplyOf('G', 1) + ReplyOf('L', 2) + ReplyOf('L', 3));
        // count registers from first, as a PLC reads them (register 5, the age, left out below).
        const auto read = [registers](int first, int count) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, registers);
            QByteArray request = QByteArray::fromHex("0001000000060104");
            for (const int value : {first, count})
                request.append(char(value >> 8)).append(char(value));
            socket.write(request);
            QByteArray answer;
            (void)QTest::qWaitFor([&] { return (answer += socket.readAll()).size() >= 9 + 2 * count; }, 1000);
            QList<int> values;
            for (qsizetype at = 9; at + 1 < answer.size(); at += 2)
                values << (uint8_t(answer[at]) << 8 | uint8_t(answer[at + 1]));
            return values;
        };
        QCOMPARE(read(0, 5) + read(6, 2), QList<int>({1, 3, 0, 0, 0, 1, 1}));

        QSignalSpy over(&core, &RingCore::scanHandedOver);
        const int64_t beforeQuiet = mClock.NowMs() + 600;
        {
            TimedRing ring(mClock, port, core.Link(), 5, beforeQuiet);
            ring.AnswerAt(mClock.NowMs() + 100, ReplyOf('G', 1) + ReplyOf('L', 2, true, 4) + ReplyOf('L', 3));
            core.Scan();
            QTRY_VERIFY(mClock.NowMs() >= beforeQuiet);
        }
        QCOMPARE(over.count(), 0);
        QCOMPARE(read(0, 5) + read(6, 2), QList<int>({1, 3, 1, 0, 0, 1, 0}));
        QCOMPARE(read(110, 7), QList<int>({2, 'L', 41, 0x13, 1, 4, 0}));
        QVERIFY(GetHttp(page, "/metrics").contains("\nzephlink9_channel_faulty{module=\"2\",channel=\"1\"} 1\n"));
        QVERIFY(!core.Keeper().LastFound()->Find(2)->faulty1);
        QCOMPARE(core.Events().Count(), size_t(0));

        TimedRing rest(mClock, port, core.Link(), 5, mClock.NowMs() + 3000);
        QTRY_COMPARE(over.count(), 1);
        QCOMPARE(read(0, 5) + read(6, 2), QList<int>({1, 3, 1, 0, 2, 2, 0}));
        QCOMPARE(core.Events().At(0).text, QStringLiteral("Module 2 channel 1 faulty"));
    }

    // Two rings on two ports in one process, scanned at once, with one history file: each core's
    // table, keeper and events hold its own ring only, and a ring that goes silent leaves the other
    // one whole. Acknowledging in one leaves the other's events as they were, and a program
    // started later on a port brings back that port's events only.
    void twoCoresTwoRings()
    {
        SetClock(nullptr);
        RingSimProcess north, south;
        QVERIFY(north.start({QStringLiteral("--no-pacing")}, "id=1 side=G\nid=2 side=L ch2=fault:1\n"));
        QVERIFY(south.start({QStringLiteral("--no-pacing")}, "id=101 side=G\nid=102 side=L ch1=fault:3\nid=103 side=R\n"));
        QTemporaryDir northDir, southDir;
        const QByteArray history = "history=" + northDir.filePath(QStringLiteral("shared.sqlite")).toUtf8() + "\r\n";
        RingCore first, second;
        QStringList inis;
        for (auto [core, dir, sim, port] : {std::tuple{&first, &northDir, &north, "1"}, std::tuple{&second, &southDir, &south, "2"}}) {
            inis << WriteTestFile(dir->filePath(QStringLiteral("ring.ini")), "[ZEPHLINK9 Setup Tool]\r\ncomport=" + QByteArray(port)
                                      + "\r\nCOM" + port + "=" + sim->devicePath().toUtf8() + "\r\n" + history);
            core->Start(ProgramConfig::Read(inis.back()));
            QCOMPARE(core->OpenConfiguredPort(), SerialPort::OpenError::None);
            core->Link().EnableReception();
        }
        QSignalSpy firstOver(&first, &RingCore::scanHandedOver), secondOver(&second, &RingCore::scanHandedOver);
        // The second scan starts inside the first one's wait.
        QTimer::singleShot(0, &first, [&] { first.Scan(); });
        QTimer::singleShot(1, &second, [&] { second.Scan(); });
        QTRY_VERIFY_WITH_TIMEOUT(firstOver.count() == 1 && secondOver.count() == 1, 10000);
        QCOMPARE(Ids(first.Table()), QList<int>({1, 2}));
        QCOMPARE(Ids(second.Table()), QList<int>({101, 102, 103}));
        QCOMPARE(first.Table().Module(102).GetSide(), uint8_t(0));
        QCOMPARE(first.Events().Count(), size_t(1));
        QCOMPARE(second.Events().Count(), size_t(1));
        first.Events().AcknowledgeAll();
        RingCore later;
        later.Start(ProgramConfig::Read(inis[1]));
        QCOMPARE(later.Events().Count(), size_t(1));
        QCOMPARE(later.Events().At(0).text, QStringLiteral("Module 102 channel 1 faulty"));
        QCOMPARE(later.Events().UnacknowledgedCount(), 1);

        QVERIFY(north.control(QStringLiteral("silent 1 on")) && north.control(QStringLiteral("silent 2 on")));
        QTimer::singleShot(0, &first, [&] { first.Scan(); });
        QTimer::singleShot(1, &second, [&] { second.Scan(); });
        QTRY_VERIFY_WITH_TIMEOUT(firstOver.count() == 2 && secondOver.count() == 2, 10000);
        QVERIFY(!first.Keeper().LastScan().Found());
        QCOMPARE(second.Keeper().LastScan().modules.size(), size_t(3));
        QCOMPARE(Ids(second.Table()), QList<int>({101, 102, 103}));
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
