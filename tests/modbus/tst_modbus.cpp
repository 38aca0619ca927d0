// The Modbus registers for a ring's states, and the server that serves them as a PLC asks:
// which functions it answers, for any unit ID, what it refuses and what it closes.
#include "ManualClock.h"
#include "RingText.h"
#include "modbus/ModbusMap.h"
#include "modbus/ModbusServer.h"
#include "model/Clock.h"

#include <QTcpSocket>
#include <QtTest>

namespace {

constexpr int64_t kEndedMs = 1000;

// A Modbus TCP frame: transaction 7, protocol 0, the length, unit and PDU.
QByteArray Frame(int unit, const QByteArray &pdu)
{
    const int length = int(pdu.size()) + 1;
    return QByteArray::fromHex("0007 0000") + char(length >> 8) + char(length & 0xFF) + char(unit) + pdu;
}

QByteArray Read(int function, int first, int count)
{
    return QByteArray(1, char(function)) + char(first >> 8) + char(first & 0xFF) + char(count >> 8) + char(count & 0xFF);
}

} // namespace

class TestModbus : public QObject
{
    Q_OBJECT

    ManualClock mClock;
    ModbusMap mMap;
    std::unique_ptr<ModbusServer> mServer;

private slots:
    void initTestCase()
    {
        SetClock(&mClock);
        RingKeeper keeper;
        TakeRings(keeper, QStringLiteral("1G 2L 3L"), QStringLiteral("1G 2L:f1:c1=300 3L"), [&](const RingScan &scan) {
            mMap = ModbusMap(scan, keeper.Reference(), 1, kEndedMs);
        });
        mServer = std::make_unique<ModbusServer>([this](int first, int count) {
            return mMap.Read(first, count, {true, 0, kEndedMs});
        });
        QCOMPARE(mServer->Listen(QHostAddress::LocalHost, 0), QString());
    }
    void cleanupTestCase()
    {
        mServer.reset();
        SetClock(nullptr);
    }

    void map_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("scans");
        QTest::addColumn<int64_t>("ageMs");  // since the last whole scan was handed over
        QTest::addColumn<int>("first");
        QTest::addColumn<QList<int>>("registers");
        QTest::newRow("before any scan") << "1G 2L" << "" << int64_t(0) << 0
                                         << QList<int>{1, 0, 0, 0, 3, 65535, 0, 0, 0};
        QTest::newRow("a faulty channel, no reference") << "none" << "1G 2L:c1=3 3L:f2:c2=17:v42:m4b" << int64_t(2500) << 0
                                                        << QList<int>{1, 3, 1, 0, 3, 2, 1, 0, 0};
        QTest::newRow("its module at position 2") << "none" << "1G 2L:c1=3 3L:f2:c2=17:v42:m4b" << int64_t(0) << 120
                                                  << QList<int>{3, 'L', 42, 0x4B, 2, 0, 17, 0, 0, 0, 0};
        QTest::newRow("the attached module") << "1G 2L" << "1G:f1:f2:c1=32767 2L" << int64_t(0) << 100
                                             << QList<int>{1, 'G', 41, 0x13, 3, 32767, 0, 0, 0, 0, 2};
        QTest::newRow("a module of the reference missing") << "1G 2L 3L" << "1G 3L" << int64_t(0) << 1
                                                           << QList<int>{2, 0, 1, 3, 0, 1, 0};
        QTest::newRow("sound as the reference") << "1G 2L" << "1G 2L" << int64_t(0) << 7 << QList<int>{1};
        QTest::newRow("another order than the reference") << "1G 2L 3L" << "1G 3L 2L" << int64_t(0) << 7 << QList<int>{0};
        QTest::newRow("sound without a reference") << "none" << "1G 2L" << int64_t(0) << 7 << QList<int>{1};
        QTest::newRow("a cut scan leaves the map") << "none" << "1G 2L|!1G" << int64_t(0) << 1
                                                   << QList<int>{2, 0, 0, 3, 0, 1, 1};
        QTest::newRow("none found") << "none" << "1G 2L|-" << int64_t(0) << 1
                                    << QList<int>{0, 0, 0, 3, 0, 2, 0};
        QTest::newRow("past the last module") << "none" << "1G 2L" << int64_t(0) << 118 << QList<int>{0, 0, 0, 0};
        QTest::newRow("the scan's age at most 65535 s") << "none" << "1G" << int64_t(70000000) << 5 << QList<int>{65535, 1};
        QTest::newRow("the end of the registers") << "none" << "1G" << int64_t(0) << 65533 << QList<int>{0, 0, 0};
    }
    void map()
    {
        QFETCH(QString, reference);
        QFETCH(QString, scans);
        QFETCH(int64_t, ageMs);
        QFETCH(int, first);
        QFETCH(QList<int>, registers);
        RingKeeper keeper;
        ModbusMap map;
        uint64_t whole = 0;
        TakeRings(keeper, reference, scans, [&](const RingScan &scan) {
            if (!scan.cut)
                map = ModbusMap(scan, keeper.Reference(), ++whole, kEndedMs);
        });
        const std::vector<uint16_t> read = map.Read(first, int(registers.size()), {true, 3, kEndedMs + ageMs});
        QCOMPARE(QList<int>(read.begin(), read.end()), registers);
    }

    void requests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");  // empty: the connection is closed unanswered
        const QByteArray head = QByteArray::fromHex("00070000");
        QTest::newRow("03 holding registers") << Frame(1, Read(3, 0, 3))
            << Frame(1, QByteArray::fromHex("0306 0001 0003 0001"));
        QTest::newRow("04 input registers, unit 77") << Frame(77, Read(4, 1, 2))
            << Frame(77, QByteArray::fromHex("0404 0003 0001"));
        QTest::newRow("the faulty module's channel 1") << Frame(0, Read(3, 114, 2))
            << Frame(0, QByteArray::fromHex("0304 0001 012C"));
        QTest::newRow("06 write a register") << Frame(1, QByteArray::fromHex("06 0002 0000")) << Frame(1, QByteArray::fromHex("8601"));
        QTest::newRow("16 write registers") << Frame(1, QByteArray::fromHex("10 0000 0001 02 0005")) << Frame(1, QByteArray::fromHex("9001"));
        QTest::newRow("01 coils") << Frame(1, Read(1, 0, 1)) << Frame(1, QByteArray::fromHex("8101"));
        QTest::newRow("past 65535") << Frame(1, Read(3, 65535, 2)) << Frame(1, QByteArray::fromHex("8302"));
        QTest::newRow("126 registers") << Frame(1, Read(4, 0, 126)) << Frame(1, QByteArray::fromHex("8403"));
        QTest::newRow("two units in one write") << Frame(5, Read(3, 1, 1)) + Frame(6, Read(4, 2, 1))
            << Frame(5, QByteArray::fromHex("0302 0003")) + Frame(6, QByteArray::fromHex("0402 0001"));
        QTest::newRow("not Modbus") << QByteArray("GET / HTTP/1.1\r\n\r\n") << QByteArray();
        QTest::newRow("a length longer than a frame") << head + QByteArray::fromHex("0200 01 03") << QByteArray();
    }
    void requests()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, mServer->Port());
        // Half a frame first: the rest completes it.
        client.write(request.left(5));
        QVERIFY(client.waitForBytesWritten(1000));
        QTest::qWait(20);
        client.write(request.mid(5));
        QByteArray got;
        (void)QTest::qWaitFor([&] {
            got += client.readAll();
            return client.state() == QAbstractSocket::UnconnectedState || (!answer.isEmpty() && got.size() >= answer.size());
        }, 1000);
        QCOMPARE(got.toHex(' '), answer.toHex(' '));
        QCOMPARE(client.state() == QAbstractSocket::UnconnectedState, answer.isEmpty());
    }

    // Idle connections beyond the limit make room for a PLC's read; those that never read go at
    // their deadline.
    void manyClients()
    {
        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int k = 0; k < ConnectionGuard::kMaxConnections + 10; ++k) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, mServer->Port());
        }
        QTRY_COMPARE(mServer->Guard().Connections(), ConnectionGuard::kMaxConnections);
        QTcpSocket plc;
        plc.connectToHost(QHostAddress::LocalHost, mServer->Port());
        plc.write(Frame(1, Read(3, 1, 1)));
        QByteArray answer;
        QTRY_COMPARE((answer += plc.readAll()).toHex(), Frame(1, QByteArray::fromHex("0302 0003")).toHex());
        mClock.Advance(ConnectionGuard::kIdleMs);
        mServer->Guard().CloseIdle();
        QTRY_COMPARE(mServer->Guard().Connections(), 0);
    }
};

QTEST_GUILESS_MAIN(TestModbus)
#include "tst_modbus.moc"
