// Which modules "Global Settings" programs, and in which order.
#include "model/ApplyTargets.h"
#include "model/Global.h"

#include <QtTest>

using IdList = QList<int>;

class TestApplyTargets : public QObject
{
    Q_OBJECT

private slots:
    void targets_data()
    {
        QTest::addColumn<IdList>("order");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("local");
        QTest::addColumn<IdList>("expected");

        QTest::newRow("three modules, local in the middle of the order")
            << IdList{7, 12, 5} << 3 << 7 << IdList{5, 12, 7};
        QTest::newRow("only the local module") << IdList{7} << 1 << 7 << IdList{7};
        QTest::newRow("nothing counted: the local module alone") << IdList{7, 12} << 0 << 7 << IdList{7};
        QTest::newRow("positions beyond the count are an older scan")
            << IdList{7, 12, 5, 9, 3} << 3 << 7 << IdList{5, 12, 7};
        QTest::newRow("an ID counted twice is programmed once")
            << IdList{7, 12, 12, 5} << 4 << 7 << IdList{5, 12, 7};
        QTest::newRow("ID 0 is no module") << IdList{7, 0, 5} << 3 << 7 << IdList{5, 7};
        QTest::newRow("local module never seen: the last frame goes to 0")
            << IdList{12, 5} << 2 << 0 << IdList{5, 12, 0};
        QTest::newRow("local module missing from the order is still last")
            << IdList{12, 5} << 2 << 9 << IdList{5, 12, 9};
        QTest::newRow("top of the table") << IdList{1, 32000, 300} << 3 << 1 << IdList{300, 32000, 1};
        QTest::newRow("negative count") << IdList{7} << -1 << 7 << IdList{7};
    }

    void targets()
    {
        QFETCH(IdList, order);
        QFETCH(int, count);
        QFETCH(int, local);
        QFETCH(IdList, expected);

        std::vector<int16_t> table(size_t(kTableSize), 0);
        for (int i = 0; i < order.size(); ++i)
            table[size_t(i)] = int16_t(order[i]);
        const std::vector<int> targets = ApplyTargets(table.data(), count, local);
        QCOMPARE(IdList(targets.begin(), targets.end()), expected);
    }

    void fromTheLastScan()
    {
        ResetGlobals();
        gModuleOrder[0] = 4;
        gModuleOrder[1] = 2;
        gModuleOrder[2] = 3;
        gModuleCount = 3;
        gLocalModuleID = 4;
        const std::vector<int> targets = ApplyTargets();
        QCOMPARE(IdList(targets.begin(), targets.end()), (IdList{2, 3, 4}));
    }
};

QTEST_APPLESS_MAIN(TestApplyTargets)
#include "tst_applytargets.moc"
