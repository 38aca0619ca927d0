// "Module State": Apply, which sends the module a new mode byte with S or W.
#include "bus/MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "dialogs/frmModuleState.h"
#include "model/Global.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestModuleState : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MemorySerialPort> port;

    static QByteArray Frame(char letter, int low, int high, int mode)
    {
        const char bytes[] = {letter, char(low), char(high), char(mode), 0x0A, 0x0D, 0x00};
        return QByteArray(bytes, sizeof bytes);
    }

private slots:
    void init()
    {
        ResetGlobals();
        port = std::make_unique<MemorySerialPort>();
        port->Open();
        SetCommPort(port.get());
    }
    void cleanup() { SetCommPort(nullptr); }

    void applyFrames_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<bool>("eeprom");
        QTest::addColumn<int>("mode");
        QTest::newRow("0x3B to OR") << 7 << 0x3B << "CH1_Error OR CH2_Error" << false << 0x2B;
        QTest::newRow("rule 3 to AND keeps the rest") << 32000 << 0xFF << "CH1_Error AND CH2_Error" << true << 0xCF;
        QTest::newRow("unknown text is rule 0") << 1 << 0x7A << "NOT CH1_Error  OR NOT CH2_Error" << false << 0x4A;
        QTest::newRow("case matters") << 1 << 0x00 << "ch1_error or ch2_error" << false << 0x00;
        QTest::newRow("NOT OR NOT") << 0 << 0x00 << "NOT CH1_Error OR NOT CH2_Error" << false << 0x30;
    }
    void applyFrames()
    {
        QFETCH(int, id);
        QFETCH(int, stored);
        QFETCH(QString, rule);
        QFETCH(bool, eeprom);
        QFETCH(int, mode);
        gModules[size_t(id)].SetMode(uint8_t(stored));
        frmModuleState form;
        form.txtModulID->setText(QString::number(id));
        form.cmbErrorRelais->setCurrentText(rule);
        form.chkWriteToEEPROM->setChecked(eeprom);
        form.cmdApply->click();
        QCOMPARE(port->written, QList<QByteArray>{Frame(eeprom ? 'W' : 'S', id % 256, id / 256, mode)});
        QCOMPARE(int(gModules[size_t(id)].GetMode()), mode);
        QCOMPARE(form.txtMode->text(), ByteToBin(uint8_t(mode)));
        // The fields stay, so Apply can be repeated.
        form.cmdApply_Click();
        QCOMPARE(port->written.size(), 2);
    }

    void idInput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("id");  // -1: nothing sent, nothing changed
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("letters") << "abc" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("beyond the table") << "32001" << -1;
        QTest::newRow("exponent") << "1e3" << -1;
        QTest::newRow("leading blank") << " 5" << -1;
        QTest::newRow("trailing blank") << "5 " << -1;
        QTest::newRow("plus sign") << "+5" << -1;
        QTest::newRow("fraction") << "5.0" << -1;
        QTest::newRow("too long for an int") << "99999999999" << -1;
        QTest::newRow("65536 would wrap to 0") << "65536" << -1;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0665") << -1;
        QTest::newRow("leading zeros") << "007" << 7;
        QTest::newRow("last slot") << "32000" << 32000;
        QTest::newRow("zero") << "0" << 0;
    }
    void idInput()
    {
        QFETCH(QString, text);
        QFETCH(int, id);
        for (int slot : {0, 5, 7, 32000})
            gModules[size_t(slot)].SetMode(0x03);
        frmModuleState form;
        form.txtModulID->setText(text);
        form.txtMode->setText(QStringLiteral("unchanged"));
        form.cmbErrorRelais->setCurrentText(QStringLiteral("CH1_Error OR CH2_Error"));
        form.cmdApply_Click();
        if (id < 0) {
            QVERIFY(port->written.isEmpty());
            QCOMPARE(form.txtMode->text(), QStringLiteral("unchanged"));
            for (int slot : {0, 5, 7, 32000})
                QCOMPARE(int(gModules[size_t(slot)].GetMode()), 0x03);
        } else {
            QCOMPARE(port->written, QList<QByteArray>{Frame('S', id % 256, id / 256, 0x23)});
            QCOMPARE(int(gModules[size_t(id)].GetMode()), 0x23);
        }
    }

    void closedPortStillUpdatesTheRecord()
    {
        port->Close();
        frmModuleState form;
        form.txtModulID->setText(QStringLiteral("9"));
        form.cmdApply_Click();
        QVERIFY(port->written.isEmpty());
        QCOMPARE(int(gModules[9].GetMode()), 0x10);
        QCOMPARE(form.txtMode->text(), QStringLiteral("00010000"));
    }
};

QTEST_MAIN(TestModuleState)
#include "tst_modulestate.moc"
