// Command frames, reception and parsing as the link's timers drive them, and the scan's
// outcomes, with the serial line played by a MemorySerialPort and time by a ManualClock.
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "model/Clock.h"
#include "model/RingTable.h"

#include "TimedRing.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QByteArray ReplyBytes(char letter, int id, int mode = 0x4B, int version = 41)
{
    return EncodeReply({.letter = uint8_t(letter), .id = id, .version = uint8_t(version), .mode = uint8_t(mode),
                        .counter1 = int16_t(id % 100)});
}

// Module 1 attached, then L for even and R for odd IDs.
QByteArray Ring(int modules)
{
    QByteArray bytes = ReplyBytes('G', 1);
    for (int id = 2; id <= modules; ++id)
        bytes += ReplyBytes(id % 2 ? 'R' : 'L', id);
    return bytes;
}

// What a scan's wait ends in, as the windows hear it.
QStringList Outcomes(BusLink &link, const RingTable &table, const std::function<void()> &scan)
{
    QStringList calls;
    QObject context;
    QObject::connect(&link, &BusLink::noModulesFound, &context, [&] { calls << "none"; });
    QObject::connect(&link, &BusLink::ringFound, &context, [&] { calls << QStringLiteral("redraw %1").arg(table.Count()); });
    QObject::connect(&link, &BusLink::foreignModuleFound, &context, [&] { calls << "warning"; });
    QObject::connect(&link, &BusLink::programmingAllowed, &context, [&] { calls << "apply"; });
    scan();
    return calls;
}

// Whether the automatic refresh sends G once ten seconds have passed on the clock.
bool RefreshesAfterTenSeconds(ManualClock &clock, MemorySerialPort &port, BusLink &link)
{
    port.written.clear();
    clock.SetAutoAdvance(0);
    clock.Advance(BusLink::kRefreshIntervalMs);
    link.PollPort();
    QTimer::singleShot(1, &link, [&link] { link.Abandon(); });
    QCoreApplication::processEvents();
    return port.written.value(0).startsWith('G');
}

} // namespace

class TestReplyReceiver : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MemorySerialPort> port;
    std::unique_ptr<RingTable> table;
    std::unique_ptr<BusLink> link;
    ManualClock clock;

    // One batch: the poll that reads it, then the pass that parses it. An empty batch is a
    // poll that finds the line quiet.
    void Deliver(const QByteArray &bytes)
    {
        port->Feed(bytes);
        link->PollPort();
        if (!bytes.isEmpty())
            link->ParseReceived();
    }

private slots:
    void init()
    {
        port = std::make_unique<MemorySerialPort>();
        port->Open();
        table = std::make_unique<RingTable>();
        link = std::make_unique<BusLink>(port.get(), *table);
        SetClock(&(clock = ManualClock()));
    }
    void cleanup()
    {
        SetClock(nullptr);
        link.reset();
    }

    void commandFrame_data()
    {
        QTest::addColumn<QByteArray>("command"); // the letter and the three argument bytes
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("G ignores arguments") << QByteArray::fromHex("47341277")
                                             << QByteArray::fromHex("470000000a0d00");
        QTest::newRow("P id 300, never argument 3") << QByteArray::fromHex("502c014b")
                                                    << QByteArray::fromHex("502c01000a0d00");
        QTest::newRow("S id 5 mode 75") << QByteArray::fromHex("5305004b") << QByteArray::fromHex("5305004b0a0d00");
        QTest::newRow("other letter carries zeros") << QByteArray::fromHex("582c0109")
                                                    << QByteArray::fromHex("580000000a0d00");
    }
    void commandFrame()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, frame);
        // Lost on a closed port.
        const auto *c = reinterpret_cast<const uint8_t *>(command.constData());
        QVERIFY(SendCommand(port.get(), c[0], c[1], c[2], c[3]));
        QVERIFY(!SendCommand(nullptr, c[0], c[1], c[2], c[3]));
        port->Close();
        QVERIFY(!SendCommand(port.get(), c[0], c[1], c[2], c[3]));
        QCOMPARE(port->written, QList<QByteArray>{frame});
    }

    // Channel 2 comes first on the wire; the fault flag is the top bit of each counter.
    void gReplyFillsRecord()
    {
        QSignalSpy modes(&link->Receiver(), &ReplyReceiver::localModeReceived);
        clock.SetTimeOfDay(100.0f);
        Deliver(QByteArray::fromHex("470700294b108010850a0d"));
        const ModuleData &m = table->Module(7);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                     .arg(m.GetModuleID()).arg(QChar::fromLatin1(char(m.GetSide())))
                     .arg(m.GetVersion()).arg(m.GetMode())
                     .arg(m.GetErrorCounterChannel1()).arg(m.GetErrorCounterChannel2())
                     .arg(int(m.GetStatusChannel1())).arg(int(m.GetStatusChannel2())).arg(m.GetTimeStamp()),
                 QStringLiteral("7 G 41 75 1296 16 1 1 100"));
        QCOMPARE(modes.count(), 1);
        QCOMPARE(modes[0][0].toInt(), 75);
    }

    void batches_data()
    {
        QTest::addColumn<QList<QByteArray>>("batches");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<int>("local");
        QTest::addColumn<int>("mode7"); // the mode in module 7's record afterwards, or -1

        const QByteArray g = ReplyBytes('G', 10), l7 = ReplyBytes('L', 7, 0x10), r3 = ReplyBytes('R', 3);
        const QByteArray r9 = ReplyBytes('R', 9), l4 = ReplyBytes('L', 4), r7 = ReplyBytes('R', 7, 0x10);
        const QByteArray letterD = QByteArray::fromHex("4407002900000000000a0d");
        QTest::newRow("G, L and R sorted once") << QList<QByteArray>{g + r3 + l7 + r9 + l4}
                                                << QList<int>{10, 7, 4, 9, 3} << 10 << 0x10;
        QTest::newRow("duplicate keeps the first record")
            << QList<QByteArray>{g + l7, ReplyBytes('L', 7, 0x20)} << QList<int>{10, 7} << 10 << 0x10;
        QTest::newRow("P reply rewrites a counted record, not counted")
            << QList<QByteArray>{g + l7, ReplyBytes('P', 7, 0x30)} << QList<int>{10, 7} << 10 << 0x30;
        QTest::newRow("second G sets the local module and sorts again")
            << QList<QByteArray>{g + r3 + r7, ReplyBytes('G', 7, 0x77)} << QList<int>{10, 3, 7} << 7 << 0x10;
        QTest::newRow("E and 0xFF are valid letters, not counted")
            << QList<QByteArray>{g + ReplyBytes('E', 5) + ReplyBytes('\xFF', 6) + l7} << QList<int>{10, 7} << 10
            << 0x10;
        QTest::newRow("invalid letter drops the batch") << QList<QByteArray>{g + letterD + l7} << QList<int>{10}
                                                        << 10 << -1;
        QTest::newRow("D drops even what came before") << QList<QByteArray>{letterD + g} << QList<int>{} << 0 << -1;
        QTest::newRow("bad terminator drops what follows")
            << QList<QByteArray>{g + l7.chopped(1) + '\n' + l7, l4} << QList<int>{10, 4} << 10 << -1;
        QByteArray badLineFeed = l7;
        badLineFeed[9] = 0x0B;
        QTest::newRow("byte 9 not 10 drops what follows") << QList<QByteArray>{g + badLineFeed + l7, l4}
                                                          << QList<int>{10, 4} << 10 << -1;
        QTest::newRow("reply cut between two reads") << QList<QByteArray>{g + l7.left(4), l7.mid(4) + r3}
                                                     << QList<int>{10, 7, 3} << 10 << 0x10;
        QTest::newRow("cut reply dropped when the line goes quiet")
            << QList<QByteArray>{g + l7.left(3), QByteArray(), l4} << QList<int>{10, 4} << 10 << -1;
        QTest::newRow("id above 32000 skipped, rest parsed")
            << QList<QByteArray>{g + ReplyBytes('L', 32001) + ReplyBytes('R', 65535) + l7} << QList<int>{10, 7}
            << 10 << 0x10;
        QTest::newRow("id 32000 is counted") << QList<QByteArray>{g + ReplyBytes('L', 32000)}
                                             << QList<int>{10, 32000} << 10 << -1;
    }
    void batches()
    {
        QFETCH(QList<QByteArray>, batches);
        QFETCH(QList<int>, order);
        QFETCH(int, local);
        QFETCH(int, mode7);
        for (const QByteArray &batch : batches)
            Deliver(batch);
        QCOMPARE(QList<int>(table->Order().begin(), table->Order().end()), order);
        QCOMPARE(table->LocalModuleID(), local);
        if (mode7 >= 0)
            QCOMPARE(int(table->Module(7).GetMode()), mode7);
        // An ID above 32000 must not land in the last slot of the table.
        QVERIFY(order.contains(32000) || !table->Module(32000).GetSide());
    }

    // More than the buffer holds, back to back: the early parse keeps every reply, and what
    // waits for the pass can be read before it.
    void longRingIsNotLost_data()
    {
        QTest::addColumn<int>("modules");
        QTest::addColumn<int>("chunk");
        QTest::newRow("93 fill exactly") << 93 << 0;
        QTest::newRow("200 in reads of 97") << 200 << 97;
        QTest::newRow("1000 in one read") << 1000 << 0;
    }
    void longRingIsNotLost()
    {
        QFETCH(int, modules);
        QFETCH(int, chunk);
        const QByteArray bytes = Ring(modules);
        for (int at = 0; at < bytes.size(); at += chunk ? chunk : bytes.size()) {
            port->Feed(bytes.mid(at, chunk ? chunk : -1));
            link->PollPort();
        }
        // Before the line pauses, every reply is either counted already or waiting whole.
        QCOMPARE(int(link->Receiver().Readings().size() + link->Receiver().Waiting().size()), modules);
        link->ParseReceived();
        const QList<int> order(table->Order().begin(), table->Order().end());
        QCOMPARE(QSet<int>(order.begin(), order.end()).size(), modules);
        // Attached, the first L, ..., the first R last.
        QCOMPARE(QList<int>({order.first(), order[1], order.last()}), QList<int>({1, 2, 3}));
    }

    void debugEcho_data()
    {
        QTest::addColumn<bool>("debug");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // the one line shown, if any
        QTest::newRow("14 bytes show one line") << true << QByteArray::fromHex("0fc800000000000000000000010203")
                                                << " 0F C8 00 00 00 00 00 00 00 00 00";
        QTest::newRow("short shows nothing") << true << QByteArray::fromHex("0102") << QString();
        QTest::newRow("debug off") << false << ReplyBytes('G', 1) << QString();
    }
    void debugEcho()
    {
        QFETCH(bool, debug);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QSignalSpy lines(&link->Receiver(), &ReplyReceiver::debugLine);
        link->Receiver().SetEcho(debug);
        Deliver(bytes);
        QCOMPARE(lines.size(), int(!expected.isEmpty()));
        QCOMPARE(lines.value(0).value(0).toString(), expected);
    }

    // The scan, with the timers running for real and the clock moving with every look.
    void scanOutcomes_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("autoRefresh");
        QTest::addColumn<float>("startTime");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("found") << Ring(3) << false << 0.0f << QStringList{"redraw 3", "apply"};
        QTest::newRow("found, autorefresh") << Ring(3) << true << 0.0f << QStringList{"redraw 3", "apply"};
        QTest::newRow("nothing") << QByteArray() << true << 0.0f << QStringList{"none"};
        QTest::newRow("across midnight") << QByteArray() << false << 86399.8f << QStringList{"none"};
        QTest::newRow("old firmware") << ReplyBytes('G', 1) + ReplyBytes('L', 2, 0x4B, 39) << true << 0.0f
                                      << QStringList{"redraw 2", "warning"};
        QTest::newRow("firmware 4.0 is no foreign module") << ReplyBytes('G', 1) + ReplyBytes('L', 2, 0x4B, 40) << false
                                                           << 0.0f << QStringList{"redraw 2", "apply"};
        QTest::newRow("garbage only") << QByteArray("noise from the line") << false << 0.0f << QStringList{"none"};
    }
    void scanOutcomes()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, autoRefresh);
        QFETCH(float, startTime);
        QFETCH(QStringList, calls);
        link->SetAutoRefresh(autoRefresh);
        link->EnableReception();
        clock.SetTimeOfDay(startTime);
        clock.SetAutoAdvance(5);
        port->Feed(answer);
        QCOMPARE(Outcomes(*link, *table, [this] { link->Scan(); }), calls);
        // With nothing counted the wait is a second of the monotonic clock, even across midnight.
        if (calls == QStringList{"none"})
            QVERIFY2(clock.NowMs() >= 1000 && clock.NowMs() < 1100, qPrintable(QString::number(clock.NowMs())));
        QCOMPARE(RefreshesAfterTenSeconds(clock, *port, *link), autoRefresh && calls.contains("apply"));
    }

    // When a scan is over: replies in groups on a clock that moves 5 ms a turn of the event
    // loop; "scan" starts another scan at that moment, as "&Refresh" would. Each scan over
    // hands its ring on once, whole and in place, each module as its scan reply said it
    // ("2L13": ID, letter, mode), whatever came for it since.
    void scanEnd_data()
    {
        using Events = QList<QPair<int, QByteArray>>;  // at ms: reply bytes, or "scan"
        QTest::addColumn<Events>("events");
        QTest::addColumn<bool>("autoRefresh");
        QTest::addColumn<QList<QStringList>>("rings");  // the rings handed on, in turn
        const QByteArray g1 = ReplyBytes('G', 1, 0x13), l2 = ReplyBytes('L', 2, 0x13), r3 = ReplyBytes('R', 3, 0x13);
        const QByteArray l4 = ReplyBytes('L', 4, 0x13), r5 = ReplyBytes('R', 5, 0x13);
        QTest::newRow("a reply in a later pass") << Events{{200, g1}, {550, l2}} << false
                                                 << QList<QStringList>{{"1G13", "2L13"}};
        QTest::newRow("groups far apart") << Events{{100, g1 + l2}, {450, r3}, {900, l4}} << false
                                          << QList<QStringList>{{"1G13", "2L13", "3R13", "4L13"}};
        QTest::newRow("late replies, automatic refresh goes on") << Events{{100, g1}, {400, l2 + r3}} << true
                                                                 << QList<QStringList>{{"1G13", "2L13", "3R13"}};
        // A locate's answer after the scan's reply changes the table, not what the scan found.
        QTest::newRow("locate answer before the scan is over")
            << Events{{100, g1 + l2}, {300, ReplyBytes('P', 2, 0x30)}} << false
            << QList<QStringList>{{"1G13", "2L13"}};
        // The ring finishes its first answer before it answers the second G.
        QTest::newRow("refresh before the ring is all in")
            << Events{{100, g1 + l2}, {300, "scan"}, {400, r3}, {500, g1 + l2 + ReplyBytes('R', 3, 0x30)}} << false
            << QList<QStringList>{{"1G13", "2L13", "3R13"}, {"1G13", "2L13", "3R30"}};
        // The ring is busy with its first answer for longer than a scan waits.
        QTest::newRow("refresh long before the ring is all in")
            << Events{{100, g1 + l2}, {300, "scan"}, {500, r3}, {1000, l4}, {1250, r5}, {1600, g1 + l2 + r3 + l4 + r5}}
            << false
            << QList<QStringList>{{"1G13", "2L13", "3R13", "4L13", "5R13"}, {"1G13", "2L13", "4L13", "5R13", "3R13"}};
        QTest::newRow("refresh inside the wait") << Events{{100, "scan"}, {200, g1 + l2}} << false
                                                 << QList<QStringList>{{"1G13", "2L13"}};
    }
    void scanEnd()
    {
        using Events = QList<QPair<int, QByteArray>>;
        QFETCH(Events, events);
        QFETCH(bool, autoRefresh);
        QFETCH(QList<QStringList>, rings);
        link->SetAutoRefresh(autoRefresh);
        QSignalSpy over(link.get(), &BusLink::scanSettled);
        TimedRing ring(clock, *port, *link, 5, 4000);
        bool outerWaiting = false;  // a scan inside a wait still leaves the outer one waiting
        for (const auto &[ms, bytes] : events) {
            if (bytes == "scan")
                ring.At(ms, [this, &outerWaiting] {
                    QTimer::singleShot(0, this, [this, &outerWaiting] {
                        link->Scan();
                        outerWaiting = outerWaiting || link->ScanWaiting();
                    });
                });
            else
                ring.AnswerAt(ms, bytes);
        }
        link->Scan(autoRefresh ? ScanOrigin::AutoRefresh : ScanOrigin::Menu);
        QTRY_VERIFY(clock.NowMs() >= 4000);
        QList<QStringList> handed;
        for (const QList<QVariant> &signal : over) {
            QStringList ring;
            for (const ModuleSnapshot &module : signal[0].value<RingScan>().modules)
                ring << QStringLiteral("%1%2%3").arg(module.id).arg(QChar(module.side)).arg(module.mode, 2, 16, QLatin1Char('0'));
            handed << ring;
        }
        QCOMPARE(handed, rings);
        QCOMPARE(RefreshesAfterTenSeconds(clock, *port, *link), autoRefresh);
        QCOMPARE(outerWaiting, events.contains({100, "scan"}));
    }
};

QTEST_GUILESS_MAIN(TestReplyReceiver)
#include "tst_replyreceiver.moc"
