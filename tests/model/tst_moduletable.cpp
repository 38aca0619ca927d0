// The module record, the table's side sort, ByteToBin and the mode byte's texts.
#include "model/Global.h"
#include "model/ModeByte.h"

#include <QtTest>

class TestModuleTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetGlobals(); }

    void freshRecordReadsZero()
    {
        const ModuleData &record = gModules[kMaxModuleID];
        QCOMPARE(record.GetVersion(), uint8_t(0));
        QCOMPARE(record.GetModuleID(), int16_t(0));
        QCOMPARE(record.GetStatusChannel1(), false);
        QCOMPARE(record.GetStatusChannel2(), false);
        QCOMPARE(record.GetTimeStamp(), 0.0f);
        QCOMPARE(record.GetSide(), uint8_t(0));
    }

    void setVersionLowersMinimum_data()
    {
        QTest::addColumn<QList<int>>("versions");
        QTest::addColumn<int>("minimum");
        QTest::newRow("higher after lower keeps 41") << QList<int>{41, 50} << 41;
        QTest::newRow("30 lowers") << QList<int>{41, 30} << 30;
        QTest::newRow("255 at 255 stays") << QList<int>{255} << 255;
        QTest::newRow("0 lowers to 0") << QList<int>{0, 40} << 0;
    }
    void setVersionLowersMinimum()
    {
        QFETCH(QList<int>, versions);
        QFETCH(int, minimum);
        for (int v : versions)
            gModules[5].SetVersion(uint8_t(v));
        QCOMPARE(int(gMinVersion), minimum);
        QCOMPARE(int(gModules[5].GetVersion()), versions.last());
    }

    void sortBySide_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("sides");
        QTest::addColumn<QList<int>>("sorted");
        QTest::newRow("mixed") << QList<int>{10, 3, 7, 9, 4} << "GRLRL" << QList<int>{10, 7, 4, 9, 3};
        QTest::newRow("two stay") << QList<int>{10, 3} << "LG" << QList<int>{10, 3};
        QTest::newRow("one") << QList<int>{10} << "G" << QList<int>{10};
        QTest::newRow("all L keep order") << QList<int>{1, 2, 3, 4} << "GLLL" << QList<int>{1, 2, 3, 4};
        QTest::newRow("all R reverse") << QList<int>{1, 2, 3, 4} << "GRRR" << QList<int>{1, 4, 3, 2};
        QTest::newRow("other letters go right") << QList<int>{1, 2, 3, 4} << "GPLG" << QList<int>{1, 3, 4, 2};
    }
    void sortBySide()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, sides);
        QFETCH(QList<int>, sorted);
        for (int i = 0; i < ids.size(); ++i) {
            gModuleOrder[i] = int16_t(ids[i]);
            gModules[ids[i]].SetSide(uint8_t(sides[i].toLatin1()));
        }
        gModuleOrder[ids.size()] = 999;  // stale entry behind the count
        gModuleCount = int16_t(ids.size());
        SortModulesBySide();
        for (int i = 0; i < sorted.size(); ++i)
            QCOMPARE(int(gModuleOrder[i]), sorted[i]);
        QCOMPARE(int(gModuleOrder[ids.size()]), 999);
    }

    void sortWithZeroCountChangesNothing()
    {
        gModuleOrder[0] = 4;
        gModuleOrder[1] = 5;
        gModuleCount = 0;
        SortModulesBySide();
        QCOMPARE(int(gModuleOrder[0]), 4);
        QCOMPARE(int(gModuleOrder[1]), 5);
    }

    void byteToBin_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "00000000";
        QTest::newRow("5") << 5 << "00000101";
        QTest::newRow("176") << 176 << "10110000";
        QTest::newRow("255") << 255 << "11111111";
        QTest::newRow("0x35") << 0x35 << "00110101";
    }
    void byteToBin()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(ByteToBin(uint8_t(value)), text);
    }

    void modeByteFields_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<bool>("twoStop");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("parity");
        QTest::newRow("75") << 75 << "9600" << true << "CH1_Error AND CH2_Error" << int(ModeByte::Parity::Even);
        QTest::newRow("both parity bits read odd") << 0xC7 << "115200" << false << "CH1_Error AND CH2_Error"
                                                   << int(ModeByte::Parity::Odd);
        QTest::newRow("0x35") << 0x35 << "38400" << false << "NOT CH1_Error OR NOT CH2_Error"
                              << int(ModeByte::Parity::None);
        QTest::newRow("0x10") << 0x10 << "1200" << false << "NOT CH1_Error AND NOT CH2_Error"
                              << int(ModeByte::Parity::None);
    }
    void modeByteFields()
    {
        QFETCH(int, mode);
        QFETCH(QString, baud);
        QFETCH(bool, twoStop);
        QFETCH(QString, rule);
        QFETCH(int, parity);
        QCOMPARE(ModeByte::BaudText(uint8_t(mode)), baud);
        QCOMPARE(ModeByte::HasTwoStopBits(uint8_t(mode)), twoStop);
        QCOMPARE(ModeByte::RuleText(uint8_t(mode)), rule);
        QCOMPARE(int(ModeByte::ParityOf(uint8_t(mode))), parity);
    }

    void textsToCodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("baud");
        QTest::newRow("exact rule") << "CH1_Error OR CH2_Error" << 0x20 << 0;
        QTest::newRow("rule spacing differs") << "NOT CH1_Error  OR NOT CH2_Error" << 0 << 0;
        QTest::newRow("rule case differs") << "not CH1_Error OR NOT CH2_Error" << 0 << 0;
        QTest::newRow("baud") << "57600" << 0 << 6;
        QTest::newRow("baud unknown") << "300" << 0 << 0;
    }
    void textsToCodes()
    {
        QFETCH(QString, text);
        QFETCH(int, rule);
        QFETCH(int, baud);
        QCOMPARE(int(ModeByte::RuleBitsFromText(text)), rule);
        QCOMPARE(int(ModeByte::BaudCodeFromText(text)), baud);
    }
};

QTEST_GUILESS_MAIN(TestModuleTable)
#include "tst_moduletable.moc"
