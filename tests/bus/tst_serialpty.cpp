// The real path: QSerialPort on a pseudo-terminal, with a peer in the test that plays the
// ring and answers G at 9600 baud.
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "bus/QtSerialPort.h"
#include "bus/ScanView.h"
#include "bus/SendCommand.h"
#include "model/Global.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The ring's end of the line: answers every G with one reply per module, paced as 9600
// baud 8N1 sends them (about 0.96 bytes a millisecond).
class RingPeer : public QObject
{
public:
    explicit RingPeer(int modules) : mModules(modules)
    {
        mMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (mMaster < 0 || grantpt(mMaster) != 0 || unlockpt(mMaster) != 0)
            return;
        termios raw{};
        tcgetattr(mMaster, &raw);
        cfmakeraw(&raw);
        tcsetattr(mMaster, TCSANOW, &raw);
        mSlavePath = QString::fromLocal8Bit(ptsname(mMaster));
        mNotifier = new QSocketNotifier(mMaster, QSocketNotifier::Read, this);
        connect(mNotifier, &QSocketNotifier::activated, this, [this] { OnReadable(); });
        connect(&mPacer, &QTimer::timeout, this, [this] { SendSome(); });
        mPacer.setInterval(5);
        mClock.start();
    }
    ~RingPeer() override
    {
        if (mMaster >= 0)
            ::close(mMaster);
    }

    QString SlavePath() const { return mSlavePath; }
    QByteArray received;

private:
    void OnReadable()
    {
        char buffer[256];
        const ssize_t n = ::read(mMaster, buffer, sizeof buffer);
        if (n <= 0) {
            mNotifier->setEnabled(false);  // no slave open: wait until the program opens it
            QTimer::singleShot(20, this, [this] { mNotifier->setEnabled(true); });
            return;
        }
        received.append(buffer, n);
        if (received.endsWith(BuildCommandFrame('G', 0, 0, 0))) {
            Reply reply;
            reply.version = 41;
            for (int id = 1; id <= mModules; ++id) {
                reply.letter = uint8_t(id == 1 ? 'G' : (id % 2 ? 'R' : 'L'));
                reply.id = id;
                mPending += EncodeReply(reply);
            }
            mSentMs = 0;
            mClock.restart();
            mPacer.start();
        }
    }
    void SendSome()
    {
        const qint64 due = mClock.elapsed() * 96 / 100 - mSentMs;
        const qint64 n = std::min<qint64>(due, mPending.size());
        if (n > 0 && ::write(mMaster, mPending.constData(), size_t(n)) == n) {
            mPending.remove(0, n);
            mSentMs += n;
        }
        if (mPending.isEmpty())
            mPacer.stop();
    }

    int mModules;
    int mMaster = -1;
    QString mSlavePath;
    QSocketNotifier *mNotifier = nullptr;
    QTimer mPacer;
    QElapsedTimer mClock;
    QByteArray mPending;
    qint64 mSentMs = 0;
};

struct CountingView : ScanView
{
    int found = -1;
    bool none = false;
    void ShowNoModulesFound() override { none = true; }
    void RedrawRing() override { found = gModuleCount; }
    void ShowForeignModuleWarning() override {}
    void EnableApplyButtons() override {}
};

} // namespace

class TestSerialPty : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetGlobals(); }

    void scanOverRealPort_data()
    {
        QTest::addColumn<int>("modules");
        QTest::addColumn<bool>("wholeWhenWaitEnds");
        QTest::newRow("3 modules") << 3 << true;
        QTest::newRow("8 modules, drawn whole") << 8 << true;
        QTest::newRow("20 modules, drawn whole") << 20 << true;
        QTest::newRow("200 modules back to back") << 200 << false;
    }
    void scanOverRealPort()
    {
        QFETCH(int, modules);
        QFETCH(bool, wholeWhenWaitEnds);
        RingPeer peer(modules);
        QVERIFY(!peer.SlavePath().isEmpty());
        QtSerialPort port;
        port.SetDeviceOverride(1, peer.SlavePath());
        QVERIFY(port.SetPortNumber(1));
        QCOMPARE(port.Open(), SerialPort::OpenError::None);
        SetCommPort(&port);
        BusLink link(&port);
        CountingView view;
        link.SetScanView(&view);
        link.EnableReception();

        QElapsedTimer waited;
        waited.start();
        link.Scan();
        QVERIFY(waited.elapsed() < 1200);
        QVERIFY(!view.none);
        QVERIFY(view.found >= 1);
        if (wholeWhenWaitEnds)
            QCOMPARE(view.found, modules);
        qInfo("wait ended after %lld ms with %d of %d modules counted", waited.elapsed(), view.found, modules);
        // The rest of the ring keeps coming after the wait and is counted all the same.
        QTRY_COMPARE_WITH_TIMEOUT(int(gModuleCount), modules, 5000);
        QSet<int> ids;
        for (int i = 0; i < gModuleCount; ++i)
            ids.insert(gModuleOrder[i]);
        QCOMPARE(ids.size(), modules);
        QCOMPARE(int(gLocalModuleID), 1);
        QCOMPARE(peer.received, BuildCommandFrame('G', 0, 0, 0));
        SetCommPort(nullptr);
    }

    void missingDeviceIsNotFound()
    {
        QtSerialPort port;
        port.SetDeviceOverride(2, QStringLiteral("/dev/zephlink9-no-such-device"));
        port.SetPortNumber(2);
        QCOMPARE(port.Open(), SerialPort::OpenError::NotFound);
        QVERIFY(!port.IsOpen());
    }

    void closeAndReopen()
    {
        RingPeer peer(1);
        QtSerialPort port;
        port.SetDeviceOverride(1, peer.SlavePath());
        QCOMPARE(port.Open(), SerialPort::OpenError::None);
        QCOMPARE(port.Open(), SerialPort::OpenError::Other);  // already open: stays open
        QVERIFY(port.IsOpen());
        QVERIFY(!port.SetPortNumber(2));
        port.Close();
        QVERIFY(!port.IsOpen());
        QCOMPARE(port.Open(), SerialPort::OpenError::None);
    }
};

QTEST_GUILESS_MAIN(TestSerialPty)
#include "tst_serialpty.moc"
