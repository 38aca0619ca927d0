// "Program settings": the probe of COM1 to COM4 and OK, first on a MemorySerialPort, then
// on QSerialPort with pseudo-terminals standing in for the devices.
#include "BoxCatcher.h"
#include "TestFiles.h"
#include "core/Ini.h"
#include "bus/BusLink.h"
#include "bus/MemorySerialPort.h"
#include "bus/QtSerialPort.h"
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
    QMainWindow *main = nullptr;
    QMdiArea *area = nullptr;
    SerialPort *port = nullptr;
    MemorySerialPort *memory = nullptr;
    BusLink *link = nullptr;
    QPointer<frmProgramSettings> form;
    BoxCatcher catcher;

    void Load()
    {
        form = new frmProgramSettings(link);
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
        ResetGlobals();
        gIniPath = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile::remove(gIniPath);
        main = new QMainWindow;
        area = new QMdiArea(main);
        main->setCentralWidget(area);
        port = memory = new MemorySerialPort;
        link = new BusLink(port);
        catcher.boxes.clear();
    }
    void cleanup()
    {
        delete main;
        delete link;
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
        gAutoRefresh = autoRefresh;
        Load();
        if (reopened) {
            memory->SetPortNumber(1);
            memory->Open();
        }
        if (selected)
            form->optCom[selected]->setChecked(true);
        form->cmdOK->click();

        QCOMPARE(int(gComPort), selected);
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, selected);
        QCOMPARE(catcher.boxes, selected ? QStringList() : QStringList{"3 ZEPHLINK9 Setup Tool: No com port available!"});
        QCOMPARE(ReadTestFile(gIniPath), "[ZEPHLINK9 Setup Tool]" + kLineEnd + "comport= " + QByteArray::number(selected) + kLineEnd);
        QVERIFY(link->Polling() && link->Parsing());
        QCOMPARE(link->Refreshing(), autoRefresh);
        QVERIFY(Unloaded());
    }

    void closedWithoutOkLeavesThePortClosed()
    {
        gComPort = 1;
        memory->SetPortNumber(1);
        memory->Open();
        Load();
        form->optCom[2]->setChecked(true);
        ChildFrame(form)->close();
        QVERIFY(Unloaded() && !memory->IsOpen() && !QFile::exists(gIniPath));
        QCOMPARE(int(gComPort), 1);
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
        WriteTestFile(gIniPath, "[ZEPHLINK9 Setup Tool]\nCOM1=" + slaves[0].toLocal8Bit() + "\nCOM2=" + slaves[1].toLocal8Bit()
                                    + "\nCOM3=" + dir.filePath("no-such-tty").toLocal8Bit() + "\nCOM4=" + gIniPath.toLocal8Bit() + "\n");

        delete link;
        port = new QtSerialPort;
        link = new BusLink(port);
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
