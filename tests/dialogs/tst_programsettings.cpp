// "Program settings": the probe of COM1 to COM4 and OK, first on a MemorySerialPort, then
// on QSerialPort with pseudo-terminals standing in for the devices.
#include "BoxCatcher.h"
#include "ManualClock.h"
#include "TestFiles.h"
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "bus/QtSerialPort.h"
#include "core/RingCore.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmProgramSettings.h"
#include "model/Global.h"

#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

using OpenError = SerialPort::OpenError;

// The configuration file has the line ends of the system it is written on.
#ifdef Q_OS_WIN
static const QByteArray kLineEnd = "\r\n";
#else
static const QByteArray kLineEnd = "\n";
#endif
Q_DECLARE_METATYPE(SerialPort::OpenError)

class TestProgramSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString iniPath;
    ManualClock clock;
    QMainWindow *main = nullptr;
    QMdiArea *area = nullptr;
    SerialPort *port = nullptr;
    MemorySerialPort *memory = nullptr;
    RingCore *core = nullptr;
    QPointer<frmProgramSettings> form;
    BoxCatcher catcher;

    // A core on port that has read the configuration file as it stands.
    void StartCore(SerialPort *on)
    {
        delete core;
        port = on;
        core = new RingCore(port);
        core->Start(ProgramConfig::Read(iniPath));
    }
    void Load()
    {
        form = new frmProgramSettings(*core);
        AddChildWindow(area, form, frmProgramSettings::kClientWidthTwips,
                       frmProgramSettings::kClientHeightTwips)->show();
    }

    // The four captions, a disabled one marked with a leading "-".
    QStringList Marks() const
    {
        QStringList marks;
        for (int n = 1; n <= 4; ++n)
            marks << (form->optCom[n]->isEnabled() ? "" : "-") + form->optCom[n]->text();
        return marks;
    }

    bool Unloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.isNull();
    }

private slots:
    void init()
    {
        clock = ManualClock();
        clock.SetAutoAdvance(50);
        SetClock(&clock);
        iniPath = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile::remove(iniPath);
        main = new QMainWindow;
        area = new QMdiArea(main);
        main->setCentralWidget(area);
        memory = new MemorySerialPort;
        StartCore(memory);
        catcher.boxes.clear();
    }
    void cleanup()
    {
        delete main;
        delete core;
        core = nullptr;
        SetClock(nullptr);
        if (port != memory)
            delete port;
        delete memory;
    }

    void probe_data()
    {
        QTest::addColumn<QList<OpenError>>("results");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("free, in use, free, missing")
            << QList<OpenError>{OpenError::None, OpenError::InUse, OpenError::None, OpenError::NotFound}
            << QStringList{"COM1", "-COM2 (in use)", "COM3", "-COM4 (not found)"};
        QTest::newRow("other error leaves the caption")
            << QList<OpenError>{OpenError::Other, OpenError::None, OpenError::Other, OpenError::InUse}
            << QStringList{"-COM1", "COM2", "-COM3", "-COM4 (in use)"};
    }
    void probe()
    {
        QFETCH(QList<OpenError>, results);
        for (int n = 1; n <= 4; ++n)
            memory->SetOpenResult(n, results[n - 1]);
        Load();
        QTEST(Marks(), "marks");
        // Each port that opened was closed again at once.
        QVERIFY(!port->IsOpen());
        QCOMPARE(memory->closeCount, memory->openCount);
        QCOMPARE(memory->openCount, int(results.count(OpenError::None)));
        QVERIFY(catcher.boxes.isEmpty());
        // Every load probes afresh.
        for (int n = 1; n <= 4; ++n)
            memory->SetOpenResult(n, OpenError::None);
        form->Form_Load();
        QCOMPARE(Marks(), (QStringList{"COM1", "COM2", "COM3", "COM4"}));
    }

    // "reopened": the main window's activation reopened the configured COM1 while the dialog was open.
    // OK stores the choice, opens that port and restarts reception, and the automatic refresh
    // when it is on: ten seconds later a scan goes out.
    void ok_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("autoRefresh");
        QTest::addColumn<bool>("reopened");
        QTest::newRow("COM3") << 3 << false << false;
        QTest::newRow("COM1 with automatic refresh") << 1 << true << false;
        QTest::newRow("nothing chosen with automatic refresh") << 0 << true << false;
        QTest::newRow("COM4 after COM1 was reopened") << 4 << false << true;
    }
    void ok()
    {
        QFETCH(int, selected);
        QFETCH(bool, autoRefresh);
        QFETCH(bool, reopened);
        core->Link().SetAutoRefresh(autoRefresh);
        Load();
        if (reopened) {
            memory->SetPortNumber(1);
            memory->Open();
        }
        if (selected)
            form->optCom[selected]->setChecked(true);
        form->cmdOK->click();

        QCOMPARE(core->Config().comport, selected);
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, selected);
        QCOMPARE(catcher.boxes, selected ? QStringList() : QStringList{"3 ZEPHLINK9 Setup Tool: No com port available!"});
        QCOMPARE(ReadTestFile(iniPath), "[ZEPHLINK9 Setup Tool]" + kLineEnd + "comport= " + QByteArray::number(selected) + kLineEnd);
        QVERIFY(Unloaded());

        memory->written.clear();
        QSignalSpy scans(&core->Link(), &BusLink::noModulesFound);
        clock.Advance(BusLink::kRefreshIntervalMs);
        core->Link().PollPort();
        QTest::qWait(300);
        QCOMPARE(scans.size(), autoRefresh ? 1 : 0);
        QCOMPARE(memory->written.size(), autoRefresh && selected ? 1 : 0);
        if (selected) {
            // The link's own timers take in and parse what the ring sends.
            memory->Feed(EncodeReply(Reply{'P', 5, 41, 0x13, false, false, 0, 0}));
            QTRY_COMPARE(core->Table().Module(5).GetSide(), uint8_t('P'));
        }
    }

    void closedWithoutOkLeavesThePortClosed()
    {
        const QByteArray ini = "[ZEPHLINK9 Setup Tool]" + kLineEnd + "comport= 1" + kLineEnd;
        WriteTestFile(iniPath, ini);
        StartCore(memory);
        memory->SetPortNumber(1);
        memory->Open();
        Load();
        form->optCom[2]->setChecked(true);
        ChildFrame(form)->close();
        QVERIFY(Unloaded() && !memory->IsOpen());
        QCOMPARE(ReadTestFile(iniPath), ini);
        QCOMPARE(core->Config().comport, 1);
    }

#ifdef Q_OS_UNIX
    // COM1 a free terminal, COM2 one that another port holds, COM3 a device that does not
    // exist, COM4 a file that is no terminal; the devices named in the configuration file.
    void probeOnPseudoTerminals()
    {
        int masters[2];
        QString slaves[2];
        for (int i = 0; i < 2; ++i) {
            masters[i] = posix_openpt(O_RDWR | O_NOCTTY);
            QVERIFY(masters[i] >= 0 && grantpt(masters[i]) == 0 && unlockpt(masters[i]) == 0);
            slaves[i] = QString::fromLocal8Bit(ptsname(masters[i]));
        }
        auto closeMasters = qScopeGuard([&] { ::close(masters[0]); ::close(masters[1]); });
        QSerialPort holder(slaves[1]);
        QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));

        // The configuration file itself stands in for a file that is no terminal.
        WriteTestFile(iniPath, "[ZEPHLINK9 Setup Tool]\nCOM1=" + slaves[0].toLocal8Bit() + "\nCOM2=" + slaves[1].toLocal8Bit()
                                    + "\nCOM3=" + dir.filePath("no-such-tty").toLocal8Bit() + "\nCOM4=" + iniPath.toLocal8Bit() + "\n");

        StartCore(new QtSerialPort);
        Load();
        QCOMPARE(Marks(), (QStringList{"COM1", "-COM2 (in use)", "-COM3 (not found)", "-COM4"}));
        QCOMPARE(form->optCom[1]->toolTip(), slaves[0]);
        QVERIFY(!port->IsOpen());

        form->optCom[1]->setChecked(true);
        form->cmdOK_Click();
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, 1);
        // The program now holds COM1 itself: a second program is kept out.
        QSerialPort other(slaves[0]);
        QVERIFY(!other.open(QIODevice::ReadWrite));
        QCOMPARE(QtSerialPort::MapOpenError(other.error()), OpenError::InUse);
    }
#endif
};

QTEST_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
