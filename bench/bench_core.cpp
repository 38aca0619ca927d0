// Benchmarks of the protocol core: receiving and parsing a full buffer and a ring of 1000
// modules, and the side sort of the largest ring the table holds.
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "model/RingTable.h"
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
        MemorySerialPort port;
        port.Open();
        RingTable table;
        BusLink link(&port, table);
        const QByteArray answer = ScanAnswer(modules);
        QBENCHMARK {
            table.ClearOrder();
            port.Feed(answer);
            link.PollPort();
            link.ParseReceived();
        }
        QCOMPARE(table.Count(), modules);
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
        MemorySerialPort port;
        port.Open();
        RingTable table;
        BusLink link(&port, table);
        RingKeeper keeper;
        ModuleListModel rows(&keeper, &table);
        ModuleListFilter shown(&rows);
        port.Feed(ScanAnswer(1000));
        link.PollPort();
        link.ParseReceived();
        Reply locate;
        locate.letter = 'P';
        locate.id = 500;
        locate.version = 41;
        int16_t counter = 0;
        QBENCHMARK {
            if (oneReply) {
                locate.counter1 = ++counter;
                port.Feed(EncodeReply(locate));
                link.PollPort();
                link.ParseReceived();
            } else {
                table.ClearOrder();
                if (emptied)
                    rows.Follow();
                port.Feed(ScanAnswer(1000));
                link.PollPort();
                link.ParseReceived();
                rows.Follow();
                const RingScan scan{1, ScanOrigin::Menu, 0, 1, {}, link.Receiver().Readings()};
                keeper.Take(scan);
                rows.TakeScan(scan);
            }
            rows.Follow();
        }
        QCOMPARE(shown.rowCount(), 1000);
    }

    void sortModulesBySide32000()
    {
        RingTable table;
        for (int id = 0; id <= 32000; ++id)
            table.Store(id, uint8_t(id % 3 ? 'L' : 'R'), 41, 0x13, false, 0, false, 0, 0.0f);
        QBENCHMARK {
            table.ClearOrder();
            for (int i = 0; i < 32000; ++i)
                table.Append(i + 1);
            table.SortModulesBySide();
        }
        QCOMPARE(table.IDAt(0), 1);
    }
};

QTEST_GUILESS_MAIN(BenchCore)
#include "bench_core.moc"
