// Command frames and reply decoding, byte for byte.
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "model/Global.h"

#include <QtTest>

class TestFrames : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetGlobals(); }

    void commandFrame_data()
    {
        QTest::addColumn<int>("letter");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("arg3");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("G ignores arguments") << int('G') << 0x1234 << 0x77 << QByteArray::fromHex("47000000" "0a0d00");
        QTest::newRow("P id 0") << int('P') << 0 << 0 << QByteArray::fromHex("50000000" "0a0d00");
        QTest::newRow("P id 255") << int('P') << 255 << 0 << QByteArray::fromHex("50ff0000" "0a0d00");
        QTest::newRow("P id 256") << int('P') << 256 << 0 << QByteArray::fromHex("50000100" "0a0d00");
        QTest::newRow("P id 300") << int('P') << 300 << 0 << QByteArray::fromHex("502c0100" "0a0d00");
        QTest::newRow("P id 32000") << int('P') << 32000 << 0 << QByteArray::fromHex("50007d00" "0a0d00");
        QTest::newRow("P never carries argument 3") << int('P') << 7 << 0x4b << QByteArray::fromHex("50070000" "0a0d00");
        QTest::newRow("S id 5 mode 75") << int('S') << 5 << 75 << QByteArray::fromHex("5305004b" "0a0d00");
        QTest::newRow("W id 5 mode 75") << int('W') << 5 << 75 << QByteArray::fromHex("5705004b" "0a0d00");
        QTest::newRow("W id 300") << int('W') << 300 << 0x2b << QByteArray::fromHex("572c012b" "0a0d00");
        QTest::newRow("other letter carries zeros") << int('X') << 300 << 9 << QByteArray::fromHex("58000000" "0a0d00");
    }
    void commandFrame()
    {
        QFETCH(int, letter);
        QFETCH(int, id);
        QFETCH(int, arg3);
        QFETCH(QByteArray, frame);
        QCOMPARE(BuildCommandFrame(uint8_t(letter), uint8_t(id % 256), uint8_t(id / 256), uint8_t(arg3)), frame);

        // The same through SendCommand and the shared argument bytes.
        MemorySerialPort port;
        port.Open();
        SetCommPort(&port);
        gCmdArg1 = uint8_t(id % 256);
        gCmdArg2 = uint8_t(id / 256);
        gCmdArg3 = uint8_t(arg3);
        const uint8_t cmd = uint8_t(letter);
        SendCommand(cmd);
        SetCommPort(nullptr);
        QCOMPARE(port.written.size(), 1);
        QCOMPARE(port.written.first(), frame);
    }

    void sendOnClosedPortIsLost()
    {
        MemorySerialPort port;
        SetCommPort(&port);
        const uint8_t cmd = 'G';
        SendCommand(cmd);
        SetCommPort(nullptr);
        SendCommand(cmd);
        QVERIFY(port.written.isEmpty());
    }

    void replyValidity_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("valid");
        QTest::newRow("G") << QByteArray::fromHex("4707" "00294b1000050" "00a0d") << true;
        QTest::newRow("E lowest letter") << QByteArray::fromHex("4507002900000000000a0d") << true;
        QTest::newRow("D below E") << QByteArray::fromHex("4407002900000000000a0d") << false;
        QTest::newRow("terminator swapped") << QByteArray::fromHex("4707002900000000000d0a") << false;
        QTest::newRow("byte 10 not 13") << QByteArray::fromHex("4707002900000000000a0a") << false;
        QTest::newRow("0xFF letter") << QByteArray::fromHex("ff07002900000000000a0d") << true;
    }
    void replyValidity()
    {
        QFETCH(QByteArray, frame);
        QCOMPARE(frame.size(), kReplySize);
        QFETCH(bool, valid);
        QCOMPARE(IsValidReply(reinterpret_cast<const uint8_t *>(frame.constData())), valid);
    }

    void replyDecode_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("counter1");
        QTest::addColumn<bool>("status1");
        QTest::addColumn<int>("counter2");
        QTest::addColumn<bool>("status2");
        QTest::newRow("plain") << QByteArray::fromHex("4707" "00294b1000050" "00a0d") << 7 << 5 << false << 16 << false;
        QTest::newRow("ch1 fault 1296") << QByteArray::fromHex("4c2c01290000001085" "0a0d") << 300 << 1296 << true << 0 << false;
        QTest::newRow("ch2 max counter") << QByteArray::fromHex("52ffff2900ffff0000" "0a0d") << 65535 << 0 << false << 32767 << true;
    }
    void replyDecode()
    {
        QFETCH(QByteArray, frame);
        const Reply reply = DecodeReply(reinterpret_cast<const uint8_t *>(frame.constData()));
        QFETCH(int, id);
        QCOMPARE(reply.id, id);
        QFETCH(int, counter1);
        QCOMPARE(int(reply.counter1), counter1);
        QFETCH(bool, status1);
        QCOMPARE(reply.status1, status1);
        QFETCH(int, counter2);
        QCOMPARE(int(reply.counter2), counter2);
        QFETCH(bool, status2);
        QCOMPARE(reply.status2, status2);
        QCOMPARE(EncodeReply(reply), frame);
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
