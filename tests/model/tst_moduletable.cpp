// The lowest version seen, the table's side sort, ByteToBin and the mode byte's fields.
#include "model/Global.h"
#include "model/ModeByte.h"

#include <QtTest>

using Ids = QList<int>;

class TestModuleTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetGlobals(); }

    void setVersionLowersMinimum_data()
    {
        QTest::addColumn<Ids>("versions");
        QTest::addColumn<int>("minimum");
        QTest::newRow("higher after lower keeps 41") << Ids{41, 50} << 41;
        QTest::newRow("0 lowers to 0") << Ids{0, 40} << 0;
        QTest::newRow("255 at 255 stays") << Ids{255} << 255;
    }
    void setVersionLowersMinimum()
    {
        QFETCH(Ids, versions);
        for (int v : versions)
            gModules[5].SetVersion(uint8_t(v));
        QTEST(int(gMinVersion), "minimum");
    }

    // The attached module (G) first, then the L side in order, then the R side reversed.
    void sortBySide_data()
    {
        QTest::addColumn<Ids>("ids");
        QTest::addColumn<QString>("sides");
        QTest::addColumn<Ids>("sorted");
        QTest::newRow("mixed") << Ids{10, 3, 7, 9, 4} << "GRLRL" << Ids{10, 7, 4, 9, 3};
        QTest::newRow("all R reverse") << Ids{1, 2, 3, 4} << "GRRR" << Ids{1, 4, 3, 2};
        QTest::newRow("other letters go right") << Ids{1, 2, 3, 4} << "GPLG" << Ids{1, 3, 4, 2};
        QTest::newRow("two stay") << Ids{10, 3} << "LG" << Ids{10, 3};
        QTest::newRow("none counted") << Ids{} << "" << Ids{};
    }
    void sortBySide()
    {
        QFETCH(Ids, ids);
        QFETCH(QString, sides);
        for (int i = 0; i < ids.size(); ++i) {
            gModuleOrder[i] = int16_t(ids[i]);
            gModules[ids[i]].SetSide(uint8_t(sides[i].toLatin1()));
        }
        gModuleOrder[ids.size()] = 999;  // stale entry behind the count
        gModuleCount = int16_t(ids.size());
        SortModulesBySide();
        const Ids order(gModuleOrder.begin(), gModuleOrder.begin() + ids.size() + 1);
        QTEST(order.mid(0, ids.size()), "sorted");
        QCOMPARE(order.last(), 999);
    }

    void modeByteFields_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("bits");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<bool>("twoStop");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("parity");
        QTest::newRow("75") << 75 << "01001011" << "9600" << true << "CH1_Error AND CH2_Error"
                            << int(ModeByte::Parity::Even);
        QTest::newRow("both parity bits read odd") << 0xC7 << "11000111" << "115200" << false
                                                   << "CH1_Error AND CH2_Error" << int(ModeByte::Parity::Odd);
        QTest::newRow("0x35") << 0x35 << "00110101" << "38400" << false << "NOT CH1_Error OR NOT CH2_Error"
                              << int(ModeByte::Parity::None);
        QTest::newRow("0x10") << 0x10 << "00010000" << "1200" << false << "NOT CH1_Error AND NOT CH2_Error"
                              << int(ModeByte::Parity::None);
    }
    void modeByteFields()
    {
        QFETCH(int, mode);
        QTEST(ByteToBin(uint8_t(mode)), "bits");
        QTEST(ModeByte::BaudText(uint8_t(mode)), "baud");
        QTEST(ModeByte::HasTwoStopBits(uint8_t(mode)), "twoStop");
        QTEST(ModeByte::RuleText(uint8_t(mode)), "rule");
        QTEST(int(ModeByte::ParityOf(uint8_t(mode))), "parity");
    }
};

QTEST_GUILESS_MAIN(TestModuleTable)
#include "tst_moduletable.moc"
