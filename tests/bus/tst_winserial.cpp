// The program's port on Windows, on a COM port with the simulated ring behind it: a scan
// through the program's own timers, and the open of a port that does not exist.
// scripts/windows --test names the port in ZEPH_RING_COM and the ring's size in ZEPH_RING_MODULES.
#include "bus/BusLink.h"
#include "bus/SendCommand.h"
#include "bus/DevicePort.h"
#include "bus/WinSerialPort.h"
#include "model/RingTable.h"

#include <QtTest>

using OpenError = SerialPort::OpenError;

class TestWinSerial : public QObject
{
    Q_OBJECT

private:
    int com = 0;
    std::unique_ptr<SerialPort> port = MakeDevicePort();

private slots:
    void initTestCase() { com = qEnvironmentVariableIntValue("ZEPH_RING_COM"); }
    void init()
    {
        if (com == 0 && QByteArray(QTest::currentTestFunction()) != "deviceGone")
            QSKIP("no simulated ring on a COM port (ZEPH_RING_COM, set by scripts/windows --test)");
        if (com == 0)
            return;
        QVERIFY(port->SetPortNumber(com));
        QCOMPARE(port->Open(), OpenError::None);
    }
    void cleanup() { port->Close(); }

    // Only errors that say the device went away close the port; a code of 0 is no error.
    void deviceGone_data()
    {
        QTest::addColumn<quint32>("error");
        QTest::addColumn<bool>("gone");
        QTest::newRow("no error") << quint32(ERROR_SUCCESS) << false;
        QTest::newRow("device removed") << quint32(ERROR_DEVICE_REMOVED) << true;
        QTest::newRow("not connected") << quint32(ERROR_DEVICE_NOT_CONNECTED) << true;
        QTest::newRow("access denied") << quint32(ERROR_ACCESS_DENIED) << false;
        QTest::newRow("timeout") << quint32(ERROR_TIMEOUT) << false;
    }
    void deviceGone()
    {
        QFETCH(quint32, error);
        QTEST(WinSerialPort::DeviceGone(DWORD(error)), "gone");
    }

    // Every frame the port takes is reported taken: Global Settings stops at the first one
    // that is not.
    void scanReadsEveryReply()
    {
        const int modules = qEnvironmentVariableIntValue("ZEPH_RING_MODULES");
        QVERIFY(modules > 1);
        QVERIFY(SendCommand(port.get(), 'S', 99));
        RingTable table;
        BusLink link(port.get(), table);
        link.EnableReception();
        link.Scan();
        QVERIFY2(table.Count() > 0, "the scan's wait ended with no reply");
        QTRY_COMPARE(table.Count(), modules);
        QCOMPARE(table.LocalModuleID(), 1);
        QList<int> ids;
        for (int i = 0; i < modules; ++i)
            ids << table.IDAt(i);
        std::sort(ids.begin(), ids.end());
        for (int id = 1; id <= modules; ++id)
            QCOMPARE(ids[id - 1], id);
    }

    // A port another program holds is not checked here: Wine opens a COM port a second time.
    void missingPortIsNotFound()
    {
        const auto other = MakeDevicePort();
        const int number = com % SerialPort::kLastPort + 1;
        other->SetDeviceOverride(number, QStringLiteral("ZEPHLINK9-NO-SUCH-PORT"));
        QVERIFY(other->SetPortNumber(number));
        QCOMPARE(other->Open(), OpenError::NotFound);
        QVERIFY(!other->IsOpen());
    }
};

QTEST_GUILESS_MAIN(TestWinSerial)
#include "tst_winserial.moc"
