// Benchmark of the comparison of a 1000-module ring with its reference and the scan before,
// with a module gone, two swapped, a firmware changed and a fault.
#include "model/RingComparison.h"

#include <QtTest>

class BenchEvents : public QObject
{
    Q_OBJECT

private slots:
    void compare1000()
    {
        RingSnapshot reference;
        for (int id = 1; id <= 1000; ++id)
            reference.push_back({id, uint8_t(id == 1 ? 'G' : 'L'), 41, 0x13});
        RingSnapshot before = reference;
        RingSnapshot now = reference;
        now.erase(now.begin() + 500);
        std::swap(now[100], now[800]);
        now[300].version = 42;
        now[600].faulty1 = true;
        RingKeeper keeper;
        keeper.SetReference(reference);
        keeper.Take(RingScan{1, ScanOrigin::Menu, 0, 1, {}, before});
        keeper.Take(RingScan{2, ScanOrigin::Menu, 0, 1, {}, now});
        size_t events = 0;
        QBENCHMARK {
            events = ScanEvents(keeper).size();
        }
        QCOMPARE(events, size_t(5));
    }
};

QTEST_GUILESS_MAIN(BenchEvents)
#include "bench_events.moc"
