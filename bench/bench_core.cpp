// Benchmarks of the protocol core: receiving and parsing a full buffer and a ring of 1000
// modules, and the side sort of the largest ring the table holds.
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "model/Global.h"
#include "model/ModuleListFilter.h"
#include "model/ModuleListModel.h"
#include "model/RingKeeper.h"

#include <QtTest>

namespace {
QByteArray ScanAnswer(int modules)
{
    QByteArray bytes;
    Reply reply;
    reply.version = 41;
    for (int id = 1; id <= modules; ++id) {
        reply.letter = uint8_t(id == 1 ? 'G' : (id % 2 ? 'R' : 'L'));
        reply.id = id;
        bytes += EncodeReply(reply);
    }
    return bytes;
}
} // namespace

class BenchCore : public QObject
{
    Q_OBJECT

private slots:
    // 93 replies: as many whole replies as the 1024-byte buffer holds; 1000: a whole ring
    // arriving in one read, parsed in passes as the buffer fills.
    void receiveAndParse_data()
    {
        QTest::addColumn<int>("modules");
        QTest::newRow("full buffer") << 93;
        QTest::newRow("ring of 1000") << 1000;
    }
    void receiveAndParse()
    {
        QFETCH(int, modules);
        ResetGlobals();
        MemorySerialPort port;
        port.Open();
        BusLink link(&port);
        const QByteArray answer = ScanAnswer(modules);
        QBENCHMARK {
            gModuleCount = 0;
            port.Feed(answer);
            link.Timer1_Timer();
            link.Timer2_Timer();
        }
        QCOMPARE(int(gModuleCount), modules);
    }

    // The parse pass with the Module List kept up to date, on a ring of 1000 shown sorted by
    // "Pos" through its filter (compare receiveAndParse): a scan's whole ring arriving and
    // being handed over (into rows that hold it, or after a pass emptied them), and a later pass in which one module answers a locate.
    void moduleListFollows_data()
    {
        QTest::addColumn<bool>("oneReply");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("ring of 1000 arrives again") << false << false;
        QTest::newRow("ring of 1000 into an emptied table") << false << true;
        QTest::newRow("one locate reply on a ring of 1000") << true << false;
    }
    void moduleListFollows()
    {
        QFETCH(bool, oneReply);
        QFETCH(bool, emptied);
        ResetGlobals();
        MemorySerialPort port;
        port.Open();
        BusLink link(&port);
        RingKeeper keeper;
        ModuleListModel rows(&keeper);
        ModuleListFilter shown(&rows);
        port.Feed(ScanAnswer(1000));
        link.Timer1_Timer();
        link.Timer2_Timer();
        Reply locate;
        locate.letter = 'P';
        locate.id = 500;
        locate.version = 41;
        int16_t counter = 0;
        QBENCHMARK {
            if (oneReply) {
                locate.counter1 = ++counter;
                port.Feed(EncodeReply(locate));
                link.Timer1_Timer();
                link.Timer2_Timer();
            } else {
                gModuleCount = 0;
                if (emptied)
                    rows.Follow();
                port.Feed(ScanAnswer(1000));
                link.Timer1_Timer();
                link.Timer2_Timer();
                rows.Follow();
                const RingScan scan{1, ScanOrigin::Menu, 0, 1, {}, link.Receiver().Readings(gModuleOrder.data(), 1000)};
                keeper.Take(scan);
                rows.TakeScan(scan);
            }
            rows.Follow();
        }
        QCOMPARE(shown.rowCount(), 1000);
    }

    void sortModulesBySide32000()
    {
        ResetGlobals();
        for (int id = 0; id <= 32000; ++id)
            gModules[id].SetSide(uint8_t(id % 3 ? 'L' : 'R'));
        gModuleCount = 32000;
        QBENCHMARK {
            for (int i = 0; i < 32000; ++i)
                gModuleOrder[i] = int16_t(i + 1);
            SortModulesBySide();
        }
        QCOMPARE(int(gModuleOrder[0]), 1);
    }
};

QTEST_GUILESS_MAIN(BenchCore)
#include "bench_core.moc"
