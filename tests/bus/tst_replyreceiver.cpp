// Reception and parsing through the timer handlers, and the scan's outcomes, with the
// serial line played by a MemorySerialPort and time by a ManualClock.
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "bus/ScanView.h"
#include "bus/SendCommand.h"
#include "model/Clock.h"
#include "model/Global.h"

#include <QtTest>

namespace {

QByteArray ReplyBytes(char letter, int id, int version = 41, int mode = 0x4B, bool fault1 = false,
                      bool fault2 = false)
{
    Reply reply;
    reply.letter = uint8_t(letter);
    reply.id = id;
    reply.version = uint8_t(version);
    reply.mode = uint8_t(mode);
    reply.status1 = fault1;
    reply.status2 = fault2;
    reply.counter1 = int16_t(id % 100);
    reply.counter2 = int16_t(id % 7);
    return EncodeReply(reply);
}

QByteArray Ring(int modules)
{
    QByteArray bytes = ReplyBytes('G', 1);
    for (int id = 2; id <= modules; ++id)
        bytes += ReplyBytes(id % 2 ? 'R' : 'L', id);
    return bytes;
}

struct RecordingView : ScanView
{
    QStringList calls;
    void ShowNoModulesFound() override { calls << "none"; }
    void RedrawRing() override { calls << QStringLiteral("redraw %1").arg(gModuleCount); }
    void ShowForeignModuleWarning() override { calls << "warning"; }
    void EnableApplyButtons() override { calls << "apply"; }
};

} // namespace

class TestReplyReceiver : public QObject
{
    Q_OBJECT

private:
    MemorySerialPort *port = nullptr;
    BusLink *link = nullptr;
    ManualClock clock;
    QStringList modes;
    QStringList lines;

    // One batch: the poll that reads it, then the pass that parses it.
    void Deliver(const QByteArray &bytes)
    {
        port->Feed(bytes);
        link->Timer1_Timer();
        link->Timer2_Timer();
    }

private slots:
    void init()
    {
        ResetGlobals();
        port = new MemorySerialPort;
        port->Open();
        link = new BusLink(port);
        SetCommPort(port);
        clock = ManualClock();
        SetClock(&clock);
        modes.clear();
        lines.clear();
        connect(&link->Receiver(), &ReplyReceiver::localModeReceived, this,
                [this](quint8 mode) { modes << QString::number(mode); });
        connect(&link->Receiver(), &ReplyReceiver::debugLine, this, [this](const QString &l) { lines << l; });
    }
    void cleanup()
    {
        SetClock(nullptr);
        SetCommPort(nullptr);
        delete link;
        delete port;
    }

    void gReplyFillsRecord()
    {
        clock.SetTimeOfDay(100.0f);
        link->Timer3.start();
        Deliver(QByteArray::fromHex("470700294b10000500" "0a0d"));
        const ModuleData &record = gModules[7];
        QCOMPARE(record.GetModuleID(), int16_t(7));
        QCOMPARE(record.GetSide(), uint8_t('G'));
        QCOMPARE(record.GetVersion(), uint8_t(41));
        QCOMPARE(record.GetMode(), uint8_t(75));
        QCOMPARE(record.GetErrorCounterChannel2(), int16_t(16));
        QCOMPARE(record.GetErrorCounterChannel1(), int16_t(5));
        QCOMPARE(record.GetStatusChannel1(), false);
        QCOMPARE(record.GetStatusChannel2(), false);
        QCOMPARE(record.GetTimeStamp(), 100.0f);
        QCOMPARE(int(gModuleCount), 1);
        QCOMPARE(int(gLocalModuleID), 7);
        QCOMPARE(modes, QStringList{"75"});
        QCOMPARE(int(gCmdArg1), 7);
        QCOMPARE(int(gCmdArg2), 0);
        QCOMPARE(int(gCmdArg3), 75);
        // After the pass: polling again, parsing waits for the next read, no refresh.
        QVERIFY(link->Timer1.isActive());
        QVERIFY(!link->Timer2.isActive());
        QVERIFY(!link->Timer3.isActive());
        QVERIFY(!gDataReceived);
    }

    void batches_data()
    {
        QTest::addColumn<QList<QByteArray>>("batches");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<int>("local");

        const QByteArray g = ReplyBytes('G', 10), l7 = ReplyBytes('L', 7), r3 = ReplyBytes('R', 3);
        const QByteArray r9 = ReplyBytes('R', 9), l4 = ReplyBytes('L', 4);
        QTest::newRow("one batch sorted once") << QList<QByteArray>{g + r3 + l7 + r9 + l4}
                                               << QList<int>{10, 7, 4, 9, 3} << 10;
        QTest::newRow("duplicate L skipped") << QList<QByteArray>{g + l7 + l7} << QList<int>{10, 7} << 10;
        QTest::newRow("invalid letter drops the batch")
            << QList<QByteArray>{g + QByteArray::fromHex("4407002900000000000a0d") + l7} << QList<int>{10} << 10;
        QTest::newRow("bad terminator drops what follows")
            << QList<QByteArray>{g + QByteArray::fromHex("4c07002900000000000a0a") + l7, l4}
            << QList<int>{10, 4} << 10;
        QTest::newRow("D drops even what came before")
            << QList<QByteArray>{QByteArray::fromHex("4407002900000000000a0d") + g} << QList<int>{} << 0;
        QTest::newRow("reply cut between two reads") << QList<QByteArray>{g + l7.left(4), l7.mid(4) + r3}
                                                     << QList<int>{10, 7, 3} << 10;
        QTest::newRow("id above 32000 skipped, rest parsed")
            << QList<QByteArray>{g + ReplyBytes('L', 32001) + ReplyBytes('R', 65535) + l7}
            << QList<int>{10, 7} << 10;
        QTest::newRow("id 32000 is counted") << QList<QByteArray>{g + ReplyBytes('L', 32000)}
                                             << QList<int>{10, 32000} << 10;
        QTest::newRow("P reply not counted") << QList<QByteArray>{g + ReplyBytes('P', 7)} << QList<int>{10} << 10;
    }
    void batches()
    {
        QFETCH(QList<QByteArray>, batches);
        QFETCH(QList<int>, order);
        for (const QByteArray &batch : batches)
            Deliver(batch);
        QList<int> actual;
        for (int i = 0; i < gModuleCount; ++i)
            actual << gModuleOrder[i];
        QCOMPARE(actual, order);
        QFETCH(int, local);
        QCOMPARE(int(gLocalModuleID), local);
        QVERIFY(!gModules[32000].GetSide() || order.contains(32000));
    }

    void duplicateDoesNotRefreshRecord()
    {
        Deliver(ReplyBytes('G', 1) + ReplyBytes('L', 7, 41, 0x10));
        Deliver(ReplyBytes('L', 7, 50, 0x20));
        QCOMPARE(gModules[7].GetMode(), uint8_t(0x10));
        QCOMPARE(gModules[7].GetVersion(), uint8_t(41));
        QCOMPARE(int(gModuleCount), 2);
    }

    void locateReplyRewritesCountedRecord()
    {
        clock.SetTimeOfDay(10.0f);
        Deliver(ReplyBytes('G', 1) + ReplyBytes('L', 7, 41, 0x10));
        clock.Advance(500);
        Deliver(ReplyBytes('P', 7, 42, 0x30, true, false));
        QCOMPARE(gModules[7].GetSide(), uint8_t('P'));
        QCOMPARE(gModules[7].GetMode(), uint8_t(0x30));
        QCOMPARE(gModules[7].GetStatusChannel1(), true);
        QCOMPARE(gModules[7].GetTimeStamp(), 10.5f);
        QCOMPARE(int(gModuleCount), 2);
    }

    void duplicateGStillSetsLocalAndSorts()
    {
        Deliver(ReplyBytes('G', 1) + ReplyBytes('R', 2) + ReplyBytes('R', 3));
        QCOMPARE(QList<int>({gModuleOrder[0], gModuleOrder[1], gModuleOrder[2]}), QList<int>({1, 3, 2}));
        // A second G for a counted module: no record change, but local ID and a sort.
        Deliver(ReplyBytes('G', 3, 41, 0x77));
        QCOMPARE(int(gLocalModuleID), 3);
        QCOMPARE(QList<int>({gModuleOrder[0], gModuleOrder[1], gModuleOrder[2]}), QList<int>({1, 2, 3}));
        QCOMPARE(gModules[3].GetMode(), uint8_t(0x4B));
        QCOMPARE(modes.size(), 1);
    }

    void longBackToBackRingIsNotLost_data()
    {
        QTest::addColumn<int>("modules");
        QTest::addColumn<int>("chunk");
        QTest::newRow("200 in one read") << 200 << 0;
        QTest::newRow("200 in reads of 97") << 200 << 97;
        QTest::newRow("1000 in one read") << 1000 << 0;
        QTest::newRow("93 fill exactly") << 93 << 0;
    }
    void longBackToBackRingIsNotLost()
    {
        QFETCH(int, modules);
        QFETCH(int, chunk);
        const QByteArray bytes = Ring(modules);
        if (chunk == 0) {
            port->Feed(bytes);
            link->Timer1_Timer();
        } else {
            for (int at = 0; at < bytes.size(); at += chunk) {
                port->Feed(bytes.mid(at, chunk));
                link->Timer1_Timer();
            }
        }
        link->Timer2_Timer();
        QCOMPARE(int(gModuleCount), modules);
        QSet<int> seen;
        for (int i = 0; i < gModuleCount; ++i)
            seen.insert(gModuleOrder[i]);
        QCOMPARE(seen.size(), modules);
        QCOMPARE(int(gModuleOrder[0]), 1);
        QCOMPARE(int(gModuleOrder[1]), 2);  // the first L after the sort
        QCOMPARE(int(gModuleOrder[modules - 1]), 3);  // the first R, last
    }

    void remainderDroppedWhenLineGoesQuiet()
    {
        Deliver(ReplyBytes('G', 1) + QByteArray::fromHex("4c0500"));
        link->Timer1_Timer();  // quiet: nothing waiting
        Deliver(ReplyBytes('L', 6));
        QCOMPARE(int(gModuleCount), 2);
        QCOMPARE(int(gModuleOrder[1]), 6);
    }

    void debugEcho_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one reply") << QByteArray::fromHex("470700294b10000500" "0a0d")
                                   << QStringList{" 47 07 00 29 4B 10 00 05 00 0A 0D"};
        QTest::newRow("14 bytes show one line")
            << QByteArray::fromHex("0f c8 00 00 00 00 00 00 00 00 00 01 02 03")
            << QStringList{" 0F C8 00 00 00 00 00 00 00 00 00"};
        QTest::newRow("short shows nothing") << QByteArray::fromHex("0102") << QStringList{};
    }
    void debugEcho()
    {
        gDebugMode = true;
        QFETCH(QByteArray, bytes);
        Deliver(bytes);
        QFETCH(QStringList, expected);
        QCOMPARE(lines, expected);
    }

    void debugEchoOffShowsNothing()
    {
        Deliver(ReplyBytes('G', 1));
        QVERIFY(lines.isEmpty());
    }

    void idleTickLeavesTimers()
    {
        link->Timer3.start();
        link->Timer2.start();
        link->Timer2_Timer();
        QVERIFY(link->Timer2.isActive());
        QVERIFY(link->Timer3.isActive());
        QVERIFY(link->Timer1.isActive());
    }

    void readComingFirstPostponesThePass()
    {
        port->Feed(ReplyBytes('G', 1));
        link->Timer1_Timer();
        port->Feed(ReplyBytes('L', 2));  // more arrives before the pass falls due
        link->Timer2_Timer();
        QCOMPARE(int(gModuleCount), 0);
        QVERIFY(gDataReceived);
        QVERIFY(link->Timer2.isActive());
        link->Timer2_Timer();  // the line paused
        QCOMPARE(int(gModuleCount), 2);
    }

    void pollWithBytesStopsRefresh()
    {
        link->Timer3.start();
        port->Feed("x");
        link->Timer1_Timer();
        QVERIFY(!link->Timer3.isActive());
        QVERIFY(gDataReceived);
        QVERIFY(link->Timer1.isActive() && link->Timer2.isActive());
    }

    // The scan, with the timers running for real and the clock moving with every look.
    void scanOutcomes_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("autoRefresh");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("refreshRuns");
        QTest::newRow("found") << Ring(3) << false << QStringList{"redraw 3", "apply"} << false;
        QTest::newRow("found, autorefresh") << Ring(3) << true << QStringList{"redraw 3", "apply"} << true;
        QTest::newRow("nothing") << QByteArray() << true << QStringList{"none"} << false;
        QTest::newRow("old firmware") << ReplyBytes('G', 1) + ReplyBytes('L', 2, 39) << true
                                      << QStringList{"redraw 2", "warning"} << false;
        QTest::newRow("garbage only") << QByteArray("garbage bytes from a noisy line") << false
                                      << QStringList{"none"} << false;
    }
    void scanOutcomes()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, autoRefresh);
        RecordingView view;
        link->SetScanView(&view);
        gAutoRefresh = autoRefresh;
        gMinVersion = 255;
        link->EnableReception();
        clock.SetAutoAdvance(5);
        port->Feed(answer);
        QElapsedTimer real;
        real.start();
        link->Scan();
        QFETCH(QStringList, calls);
        QCOMPARE(view.calls, calls);
        QFETCH(bool, refreshRuns);
        QCOMPARE(link->Timer3.isActive(), refreshRuns);
        QCOMPARE(port->written.first(), QByteArray::fromHex("47000000" "0a0d00"));
        QVERIFY(real.elapsed() < 3000);
    }

    void scanAcrossMidnightStillEnds()
    {
        RecordingView view;
        link->SetScanView(&view);
        clock.SetTimeOfDay(86399.8f);
        clock.SetAutoAdvance(20);
        link->Scan();
        QCOMPARE(view.calls, QStringList{"none"});
        QVERIFY(clock.NowMs() >= 1000 && clock.NowMs() < 1100);
    }

    void scanWaitEndsAtFirstCountedModule()
    {
        RecordingView view;
        link->SetScanView(&view);
        link->EnableReception();
        clock.SetAutoAdvance(1);
        // The first pass sees the G module only; the rest comes later and is still counted.
        port->Feed(ReplyBytes('G', 1));
        link->Scan();
        QCOMPARE(view.calls, QStringList({"redraw 1", "apply"}));
        port->Feed(ReplyBytes('L', 2) + ReplyBytes('R', 3));
        QTRY_COMPARE(int(gModuleCount), 3);
    }
};

QTEST_GUILESS_MAIN(TestReplyReceiver)
#include "tst_replyreceiver.moc"
