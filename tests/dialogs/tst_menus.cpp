// The main window: what it makes of the configuration file at start-up, the debug echo,
// and what "Select COM port", "About" and "E&xit" do to the three timers.
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "model/Global.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray ReplyBytes(char letter, int id)
{
    return EncodeReply(Reply{uint8_t(letter), id, 41, 0x4B});
}
using Timers = QList<bool>;  // Timer1, Timer2, Timer3
} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    MemorySerialPort *port = nullptr;
    frmMain *window = nullptr;
    QString iniPath;
    QStringList boxes;       // "title: text"
    QList<Timers> boxTimers;  // the timers while each box was open
    QList<Timers> exits;      // the timers at each call of the exit

    Timers Running() const
    {
        BusLink &link = window->Link();
        return {link.Timer1.isActive(), link.Timer2.isActive(), link.Timer3.isActive()};
    }

    void Create(const QByteArray &ini = QByteArray())  // null: no file at all
    {
        if (!ini.isNull()) {
            QFile file(iniPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        window = new frmMain(frmMain::Options{port, iniPath, [this] { exits.append(Running()); }});
        window->Form_Activate();
    }

    void Deliver(const QByteArray &bytes)
    {
        port->Feed(bytes);
        window->Link().Timer1_Timer();
        window->Link().Timer2_Timer();
    }

private slots:
    void init()
    {
        ResetGlobals();
        iniPath = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile::remove(iniPath);
        port = new MemorySerialPort;
        boxes.clear();
        boxTimers.clear();
        exits.clear();
        SetMessageHook([this](QMessageBox::Icon, const QString &title, const QString &text) {
            boxes << title + ": " + text;
            boxTimers << Running();
        });
    }
    void cleanup()
    {
        SetMessageHook(nullptr);
        delete window;
        window = nullptr;
        delete port;
    }

    void activation_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("debug");
        QTest::addColumn<int>("openedPort");  // 0: none, the port dialog is loaded instead
        QTest::newRow("no file") << QByteArray() << false << 0;
        QTest::newRow("comport 0") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=0\n") << false << 0;
        QTest::newRow("comport 5") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=5\n") << false << 0;
        QTest::newRow("comport -1") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=-1\n") << false << 0;
        QTest::newRow("comport 258 is no 2") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=258\n") << false << 0;
        QTest::newRow("comport 4") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=4\n") << false << 4;
        QTest::newRow("written by the dialog") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport= 1\n") << false << 1;
        QTest::newRow("debug 73 without comport") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\n") << true << 0;
        QTest::newRow("debug 73, comport 3") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport=3\n") << true << 3;
        QTest::newRow("debug 72") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=72\ncomport=2\n") << false << 2;
        QTest::newRow("debug 73 + 256") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=329\ncomport=2\n") << false << 2;
        QTest::newRow("binary junk") << QByteArray("\x01\xff\x13\n\x7f", 5) << false << 0;
    }
    void activation()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, debug);
        QFETCH(int, openedPort);
        gDebugMode = !debug;
        Create(ini);
        QCOMPARE(gIniPath, iniPath);
        QCOMPARE(gDebugMode, debug);
        QCOMPARE(window->mnuDebug->isVisible(), debug);
        QCOMPARE(window->mnuDebug->isChecked(), debug);
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, openedPort);
        QCOMPARE(int(gComPort), openedPort);
        frmProgramSettings *dialog = window->ProgramSettingsIfLoaded();
        QCOMPARE(dialog && !ChildFrame(dialog)->isHidden(), openedPort == 0);
        QVERIFY(window->Link().Timer1.isActive() && window->Link().Timer2.isActive());
        QVERIFY(!window->Link().Timer3.isActive());
        QVERIFY(boxes.isEmpty());
        // Nothing is written at start-up.
        QCOMPARE(QFile::exists(iniPath), !ini.isNull());
    }

    void secondActivationLeavesTheOpenPort()
    {
        Create("[ZEPHLINK9 Setup Tool]\ncomport=2\n");
        gMinVersion = 39;
        window->Form_Deactivate();
        QVERIFY(!window->Link().Timer1.isActive());
        window->Form_Activate();
        QCOMPARE(port->PortNumber(), 2);
        QCOMPARE(port->openCount, 1);
        QCOMPARE(port->closeCount, 0);
        QCOMPARE(gMinVersion, uint8_t(255));
        QVERIFY(window->Link().Timer1.isActive() && window->Link().Timer2.isActive());
    }

    void unloadWithThePortClosed()
    {
        Create(QByteArray());
        window->Form_Unload();
        QVERIFY(!window->Link().Timer1.isActive());
        QVERIFY(boxes.isEmpty());
        QVERIFY(exits.isEmpty());
    }

    // The first reply with debug on opens the debug window and echoes there; switched off,
    // the window takes no more.
    void debugEcho()
    {
        Create("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport=1\n");
        Deliver(ReplyBytes('L', 300));
        QVERIFY(window->DebugIfLoaded());
        QListWidget *list = window->DebugIfLoaded()->lstDebugOutput;
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral(" 4C 2C 01 ")));
        window->mnuDebug->trigger();
        Deliver(ReplyBytes('R', 9));
        QCOMPARE(list->count(), 1);
    }

    void selectComPort()
    {
        Create("[ZEPHLINK9 Setup Tool]\ncomport=2\n");
        gAutoRefresh = true;
        window->Link().Timer3.start();

        window->mnuSelectComPort->trigger();
        QCOMPARE(Running(), (Timers{false, false, false}));
        frmProgramSettings *dialog = window->ProgramSettingsIfLoaded();
        QCOMPARE(ChildArea(dialog), window->MdiArea());
        QVERIFY(!port->IsOpen());
        QVERIFY(dialog->optCom[2]->isEnabled());  // closed for the probe, so free

        dialog->optCom[3]->setChecked(true);
        dialog->cmdOK->click();
        QCOMPARE(Running(), (Timers{true, true, true}));
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, 3);
    }

    // Every timer rests while the box is open and comes back as it was.
    void about()
    {
        Create();
        window->mnuAutorefresh->trigger();
        window->mnuAbout->trigger();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith(QStringLiteral("About: ")) && boxes[0].contains(QStringLiteral("1.31")));
        QCOMPARE(boxTimers[0], (Timers{false, false, false}));
        QCOMPARE(Running(), (Timers{true, true, true}));
    }

    void exitStopsTheTimersAndEnds()
    {
        Create();
        window->mnuAutorefresh->trigger();
        window->mnuExit->trigger();
        QCOMPARE(exits, (QList<Timers>{{false, false, false}}));
    }

};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
