// "Program settings": the probe of COM1 to COM4 and OK, first on a MemorySerialPort, then
// on QSerialPort with pseudo-terminals standing in for the devices.
#include "app/Ini.h"
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
#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

using OpenError = SerialPort::OpenError;
Q_DECLARE_METATYPE(SerialPort::OpenError)

namespace {

struct Box
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

#ifdef Q_OS_UNIX
// The master side of a pseudo-terminal; its slave is a serial device nobody holds yet.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        mMaster = posix_openpt(O_RDWR | O_NOCTTY);
        if (mMaster >= 0 && grantpt(mMaster) == 0 && unlockpt(mMaster) == 0)
            mSlave = QString::fromLocal8Bit(ptsname(mMaster));
    }
    ~PseudoTerminal()
    {
        if (mMaster >= 0)
            ::close(mMaster);
    }
    QString Slave() const { return mSlave; }

private:
    int mMaster = -1;
    QString mSlave;
};
#endif

} // namespace

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
    QList<Box> boxes;

    void UsePort(SerialPort *serial)
    {
        port = serial;
        link = new BusLink(port);
    }

    frmProgramSettings *Load()
    {
        form = new frmProgramSettings(link);
        AddChildWindow(area, form, frmProgramSettings::kClientWidthTwips,
                       frmProgramSettings::kClientHeightTwips)->show();
        return form;
    }

    void WriteIni(const QByteArray &text)
    {
        QFile file(gIniPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray IniText() const
    {
        QFile file(gIniPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList Captions() const
    {
        QStringList captions;
        for (int n = 1; n <= 4; ++n)
            captions << form->optCom[n]->text();
        return captions;
    }

    QList<bool> Enabled() const
    {
        QList<bool> enabled;
        for (int n = 1; n <= 4; ++n)
            enabled << form->optCom[n]->isEnabled();
        return enabled;
    }

    bool Unloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.isNull();
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init()
    {
        ResetGlobals();
        gIniPath = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile::remove(gIniPath);
        main = new QMainWindow;
        main->resize(800, 600);
        area = new QMdiArea(main);
        main->setCentralWidget(area);
        memory = new MemorySerialPort;
        UsePort(memory);
        boxes.clear();
        SetMessageHook([this](QMessageBox::Icon icon, const QString &title, const QString &text) {
            boxes.append({icon, title, text});
        });
    }

    void cleanup()
    {
        SetMessageHook(nullptr);
        delete main;
        delete link;
        if (port != memory)
            delete port;
        delete memory;
        port = memory = nullptr;
        link = nullptr;
    }

    void controls()
    {
        Load();
        QCOMPARE(form->windowTitle(), QStringLiteral("Program settings"));
        QCOMPARE(ChildFrame(form)->windowTitle(), QStringLiteral("Program settings"));
        QCOMPARE(Captions(), (QStringList{"COM1", "COM2", "COM3", "COM4"}));
        QCOMPARE(form->cmdOK->text(), QStringLiteral("OK"));
        for (int n = 1; n <= 4; ++n) {
            QCOMPARE(form->optCom[n]->objectName(), QStringLiteral("optCom%1").arg(n));
            QVERIFY(!form->optCom[n]->isChecked());
        }
        QCOMPARE(form->optCom1, form->optCom[1]);
        QCOMPARE(form->optCom4, form->optCom[4]);
    }

    void probe_data()
    {
        QTest::addColumn<QList<OpenError>>("results");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<bool>>("enabled");

        QTest::newRow("free, in use, free, missing")
            << QList<OpenError>{OpenError::None, OpenError::InUse, OpenError::None, OpenError::NotFound}
            << QStringList{"COM1", "COM2 (in use)", "COM3", "COM4 (not found)"}
            << QList<bool>{true, false, true, false};
        QTest::newRow("other error leaves the caption")
            << QList<OpenError>{OpenError::Other, OpenError::None, OpenError::Other, OpenError::InUse}
            << QStringList{"COM1", "COM2", "COM3", "COM4 (in use)"}
            << QList<bool>{false, true, false, false};
        QTest::newRow("all free") << QList<OpenError>{OpenError::None, OpenError::None, OpenError::None, OpenError::None}
                                  << QStringList{"COM1", "COM2", "COM3", "COM4"}
                                  << QList<bool>{true, true, true, true};
        QTest::newRow("none present")
            << QList<OpenError>{OpenError::NotFound, OpenError::NotFound, OpenError::NotFound, OpenError::NotFound}
            << QStringList{"COM1 (not found)", "COM2 (not found)", "COM3 (not found)", "COM4 (not found)"}
            << QList<bool>{false, false, false, false};
    }

    void probe()
    {
        QFETCH(QList<OpenError>, results);
        QFETCH(QStringList, captions);
        QFETCH(QList<bool>, enabled);

        for (int n = 1; n <= 4; ++n)
            memory->SetOpenResult(n, results[n - 1]);
        Load();
        QCOMPARE(Captions(), captions);
        QCOMPARE(Enabled(), enabled);
        // Each port that opened was closed again at once.
        QVERIFY(!port->IsOpen());
        QCOMPARE(memory->closeCount, memory->openCount);
        QCOMPARE(memory->openCount, int(enabled.count(true)));
        QVERIFY(boxes.isEmpty());
    }

    void portTheProgramHadOpenIsAvailable()
    {
        gComPort = 2;
        memory->SetPortNumber(2);
        memory->Open();
        Load();
        QCOMPARE(Enabled(), (QList<bool>{true, true, true, true}));
        QCOMPARE(Captions(), (QStringList{"COM1", "COM2", "COM3", "COM4"}));
        QVERIFY(!memory->IsOpen());
    }

    void probingAgainRenewsTheMarks()
    {
        memory->SetOpenResult(2, OpenError::InUse);
        memory->SetOpenResult(3, OpenError::NotFound);
        Load();
        QCOMPARE(Captions(), (QStringList{"COM1", "COM2 (in use)", "COM3 (not found)", "COM4"}));
        memory->SetOpenResult(2, OpenError::None);
        memory->SetOpenResult(4, OpenError::InUse);
        form->Form_Load();
        QCOMPARE(Captions(), (QStringList{"COM1", "COM2", "COM3 (not found)", "COM4 (in use)"}));
        QCOMPARE(Enabled(), (QList<bool>{true, true, false, false}));
    }

    void tooltipsNameTheDevices()
    {
        WriteIni("[ZEPHLINK9 Setup Tool]\nCOM2=/dev/ttyUSB0\ncom4 = COM12\n");
        Load();
        QCOMPARE(form->optCom1->toolTip(), SerialPort::DefaultDeviceName(1));
        QCOMPARE(form->optCom2->toolTip(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(form->optCom3->toolTip(), SerialPort::DefaultDeviceName(3));
        QCOMPARE(form->optCom4->toolTip(), QStringLiteral("COM12"));
    }

    void ok_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("autoRefresh");

        QTest::newRow("COM3") << 3 << false;
        QTest::newRow("COM3 with automatic refresh") << 3 << true;
        QTest::newRow("COM1") << 1 << false;
        QTest::newRow("nothing chosen") << 0 << false;
        QTest::newRow("nothing chosen with automatic refresh") << 0 << true;
    }

    void ok()
    {
        QFETCH(int, selected);
        QFETCH(bool, autoRefresh);

        gAutoRefresh = autoRefresh;
        Load();
        if (selected)
            form->optCom[selected]->setChecked(true);
        form->cmdOK->click();

        QCOMPARE(int(gComPort), selected);
        QCOMPARE(port->IsOpen(), selected != 0);
        if (selected) {
            QCOMPARE(port->PortNumber(), selected);
            QVERIFY(boxes.isEmpty());
        } else {
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].icon, QMessageBox::Critical);
            QCOMPARE(boxes[0].title, QStringLiteral("ZEPHLINK9 Setup Tool"));
            QCOMPARE(boxes[0].text, QStringLiteral("No com port available!"));
        }
        QCOMPARE(IniText(), QByteArray("[ZEPHLINK9 Setup Tool]\ncomport= ") + QByteArray::number(selected) + "\n");
        QCOMPARE(ReadIniInt(kAppTitle, QStringLiteral("comport"), gIniPath), selected);
        QVERIFY(link->Timer1.isActive());
        QVERIFY(link->Timer2.isActive());
        QCOMPARE(link->Timer3.isActive(), autoRefresh);
        QVERIFY(Unloaded());
    }

    void okKeepsTheRestOfTheFile()
    {
        const QByteArray before = "; set up by the installer\n"
                                  "[Other]\ncomport=2\n\n"
                                  "[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport=1\nCOM3=/dev/ttyUSB1\n";
        WriteIni(before);
        Load();
        form->optCom3->setChecked(true);
        form->cmdOK_Click();
        QByteArray expected = before;
        expected.replace("comport=1\n", "comport= 3\n");
        QCOMPARE(IniText(), expected);
    }

    // The main window's activation may reopen the configured port while the dialog is open.
    void okOpensTheChosenPortWhenAnotherWasReopened()
    {
        Load();
        memory->SetPortNumber(1);
        memory->Open();
        form->optCom4->setChecked(true);
        form->cmdOK_Click();
        QVERIFY(memory->IsOpen());
        QCOMPARE(memory->PortNumber(), 4);
    }

    void closedWithoutOkLeavesThePortClosed()
    {
        gComPort = 1;
        memory->SetPortNumber(1);
        memory->Open();
        Load();
        form->optCom2->setChecked(true);
        ChildFrame(form)->close();
        QVERIFY(Unloaded());
        QVERIFY(!memory->IsOpen());
        QVERIFY(!QFile::exists(gIniPath));
        QCOMPARE(int(gComPort), 1);
    }

    void openErrorMapping_data()
    {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<OpenError>("expected");
        QTest::newRow("no error") << QSerialPort::NoError << OpenError::None;
        QTest::newRow("device not found") << QSerialPort::DeviceNotFoundError << OpenError::NotFound;
        QTest::newRow("locked or access denied") << QSerialPort::PermissionError << OpenError::InUse;
        QTest::newRow("already open here") << QSerialPort::OpenError << OpenError::Other;
        QTest::newRow("not a terminal") << QSerialPort::UnsupportedOperationError << OpenError::Other;
        QTest::newRow("resource") << QSerialPort::ResourceError << OpenError::Other;
    }

    void openErrorMapping()
    {
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(OpenError, expected);
        QCOMPARE(QtSerialPort::MapOpenError(error), expected);
    }

#ifdef Q_OS_UNIX
    // COM1 a free terminal, COM2 one that another port holds, COM3 a device that does not
    // exist, COM4 a file that is no terminal.
    void probeOnPseudoTerminals()
    {
        PseudoTerminal free;
        PseudoTerminal held;
        QVERIFY(!free.Slave().isEmpty() && !held.Slave().isEmpty());
        QSerialPort holder(held.Slave());
        QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));
        // Nothing else can lock the held terminal now, whatever the user's rights.
        QSerialPort second(held.Slave());
        QVERIFY(!second.open(QIODevice::ReadWrite));
        QCOMPARE(second.error(), QSerialPort::PermissionError);

        const QString notATerminal = dir.filePath(QStringLiteral("plain-file"));
        QFile plain(notATerminal);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        WriteIni("[ZEPHLINK9 Setup Tool]\nCOM1=" + free.Slave().toLocal8Bit() + "\nCOM2="
                 + held.Slave().toLocal8Bit() + "\nCOM3=" + dir.filePath("no-such-tty").toLocal8Bit()
                 + "\nCOM4=" + notATerminal.toLocal8Bit() + "\n");

        auto *serial = new QtSerialPort;
        delete link;
        UsePort(serial);
        Load();
        QCOMPARE(Captions(), (QStringList{"COM1", "COM2 (in use)", "COM3 (not found)", "COM4"}));
        QCOMPARE(Enabled(), (QList<bool>{true, false, false, false}));
        QCOMPARE(form->optCom1->toolTip(), free.Slave());
        QVERIFY(!serial->IsOpen());

        form->optCom1->setChecked(true);
        form->cmdOK_Click();
        QVERIFY(serial->IsOpen());
        QCOMPARE(serial->PortNumber(), 1);
        // The program now holds COM1 itself: a second program is kept out.
        QSerialPort other(free.Slave());
        QVERIFY(!other.open(QIODevice::ReadWrite));
        QCOMPARE(QtSerialPort::MapOpenError(other.error()), OpenError::InUse);
    }
#endif
};

QTEST_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
