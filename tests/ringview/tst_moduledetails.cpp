// What a module picture tells on hover and to a screen reader, from the module's record.
#include "model/Global.h"
#include "model/LocateFailures.h"
#include "model/ModuleDescription.h"
#include "ringview/ModulePicture.h"

#include <QHelpEvent>
#include <QtTest>

namespace {
ModuleData MakeRecord(int id, char side, int version, int mode, bool fault1, int counter1, bool fault2,
                      int counter2)
{
    ModuleData record;
    record.SetModuleID(int16_t(id));
    record.SetSide(uint8_t(side));
    record.SetVersion(uint8_t(version));
    record.SetMode(uint8_t(mode));
    record.SetStatusChannel1(fault1);
    record.SetErrorCounterChannel1(int16_t(counter1));
    record.SetStatusChannel2(fault2);
    record.SetErrorCounterChannel2(int16_t(counter2));
    return record;
}
} // namespace

Q_DECLARE_METATYPE(ModuleData)

class TestModuleDetails : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetGlobals(); }

    void describe_data()
    {
        QTest::addColumn<ModuleData>("record");
        QTest::addColumn<bool>("locateFailed");
        QTest::addColumn<QString>("text");
        QTest::newRow("attached, sound, 9600 8N1")
            << MakeRecord(5, 'G', 41, 0x03, false, 0, false, 0) << false
            << "Module 5\nLast reply: G (attached module)\nVersion: 4.1\n"
               "Mode: 00000011 (9600 baud, no parity, 1 stop bit, CH1_Error AND CH2_Error)\n"
               "Channel 1: sound, error counter 0\nChannel 2: sound, error counter 0";
        QTest::newRow("side L, channel 1 faulty, even, two stop bits")
            << MakeRecord(7, 'L', 40, 0x5C, true, 12, false, 0) << false
            << "Module 7\nLast reply: L (side L)\nVersion: 4.0\n"
               "Mode: 01011100 (19200 baud, even parity, 2 stop bits, NOT CH1_Error AND NOT CH2_Error)\n"
               "Channel 1: faulty, error counter 12\nChannel 2: sound, error counter 0";
        QTest::newRow("side R, channel 2 faulty, odd wins over even")
            << MakeRecord(32000, 'R', 255, 0xE7, false, 0, true, -1) << false
            << "Module 32000\nLast reply: R (side R)\nVersion: 25.5\n"
               "Mode: 11100111 (115200 baud, odd parity, 1 stop bit, CH1_Error OR CH2_Error)\n"
               "Channel 1: sound, error counter 0\nChannel 2: faulty, error counter -1";
        QTest::newRow("locate answer, odd")
            << MakeRecord(12, 'P', 42, 0xB0, false, 3, false, 4) << false
            << "Module 12\nLast reply: P (locate answer)\nVersion: 4.2\n"
               "Mode: 10110000 (1200 baud, odd parity, 1 stop bit, NOT CH1_Error OR NOT CH2_Error)\n"
               "Channel 1: sound, error counter 3\nChannel 2: sound, error counter 4";
        QTest::newRow("locate without answer")
            << MakeRecord(12, 'R', 41, 0x03, true, 0, true, 0) << true
            << "Module 12\nLast reply: R (side R)\nVersion: 4.1\n"
               "Mode: 00000011 (9600 baud, no parity, 1 stop bit, CH1_Error AND CH2_Error)\n"
               "Channel 1: faulty, error counter 0\nChannel 2: faulty, error counter 0\n"
               "Marked faulty: no answer to the last locate";
        QTest::newRow("other letter") << MakeRecord(9, 'S', 41, 0, false, 0, false, 0) << false
                                      << "Module 9\nLast reply: S\nVersion: 4.1\n"
                                         "Mode: 00000000 (1200 baud, no parity, 1 stop bit, CH1_Error AND CH2_Error)\n"
                                         "Channel 1: sound, error counter 0\nChannel 2: sound, error counter 0";
        QTest::newRow("no reply yet") << MakeRecord(0, 0, 0, 0, false, 0, false, 0) << false
                                      << "No module has answered yet";
    }
    void describe()
    {
        QFETCH(ModuleData, record);
        QFETCH(bool, locateFailed);
        QTEST(DescribeModule(record, locateFailed), "text");
    }

    // The picture reads the record when the tooltip is asked for, so a reply parsed after
    // the ring was drawn shows; the description carries the same words.
    void pictureTellsRecord()
    {
        QWidget parent;
        ModulePicture picture(0, &parent);
        gModules[12] = MakeRecord(12, 'R', 41, 0x03, false, 0, false, 0);
        picture.SetImage(5, 12);
        QCOMPARE(picture.toolTip(), DescribeModule(gModules[12], false));
        QCOMPARE(picture.accessibleDescription(), picture.toolTip() + "\nSelected");

        gModules[12].SetErrorCounterChannel1(7);
        MarkLocateFailed(12);
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
        QApplication::sendEvent(&picture, &hover);
        QVERIFY(picture.toolTip().contains("Channel 1: sound, error counter 7"));
        QVERIFY(picture.toolTip().endsWith("Marked faulty: no answer to the last locate"));
        QCOMPARE(picture.accessibleDescription(), picture.toolTip() + "\nSelected");
    }
};

QTEST_MAIN(TestModuleDetails)
#include "tst_moduledetails.moc"
