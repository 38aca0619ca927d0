// The main window: what it makes of the configuration file at start-up (how the file itself
// is read is tests/app/tst_ini's matter); its menus, "Debug" with the debug window,
// "Select COM port", "About" and "E&xit" and what each does to the three timers; and
// "Global Settings" programming a scanned ring from inside the main window.
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmProgress.h"
#include "model/Global.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray ReplyBytes(char letter, int id, int mode = 0x4B)
{
    Reply reply;
    reply.letter = uint8_t(letter);
    reply.id = id;
    reply.version = 41;
    reply.mode = uint8_t(mode);
    return EncodeReply(reply);
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

    // Captions, order, and which items check: Autorefresh and the hidden Debug.
    void menuTree()
    {
        Create();
        QStringList tree;
        for (QAction *top : window->menuBar()->actions()) {
            tree << top->text();
            if (top->menu())
                for (QAction *item : top->menu()->actions())
                    tree << "  " + item->text() + (item->isCheckable() ? " [ ]" : "") + (item->isVisible() ? "" : " hidden");
        }
        QCOMPARE(tree, (QStringList{"E&xit", "&Refresh", "&Settings", "  Autorefresh [ ]", "  Debug [ ] hidden",
                                    "  Select COM port", "About"}));
    }

    void debugWindow()
    {
        Create("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport=1\n");
        QVERIFY(window->mnuDebug->isVisible() && window->mnuDebug->isChecked());
        QVERIFY(!window->DebugIfLoaded());

        // The first reply with debug on opens the window and echoes there, the newest selected.
        Deliver(ReplyBytes('G', 7));
        Deliver(ReplyBytes('L', 300));
        frmDebug *debug = window->DebugIfLoaded();
        QVERIFY(debug);
        QListWidget *list = debug->lstDebugOutput;
        QCOMPARE(list->count(), 2);
        QVERIFY(list->item(1)->text().startsWith(QStringLiteral(" 4C 2C 01 ")));
        QVERIFY(list->item(1)->isSelected());

        // Switched off: the window stays with its lines and takes no more; the scan goes on.
        window->mnuDebug->trigger();
        QVERIFY(!gDebugMode);
        Deliver(ReplyBytes('R', 9));
        QCOMPARE(list->count(), 2);
        QCOMPARE(gModuleCount, int16_t(3));
        QVERIFY(!ChildFrame(debug)->isHidden());

        debug->cmdClearDebugOutput->click();
        QCOMPARE(list->count(), 0);
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
        QVERIFY(dialog->optCom2->isEnabled());  // closed for the probe, so free

        dialog->optCom3->setChecked(true);
        dialog->cmdOK->click();
        QCOMPARE(Running(), (Timers{true, true, true}));
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, 3);
    }

    void about_data()
    {
        QTest::addColumn<bool>("autoRefresh");
        QTest::newRow("automatic refresh off") << false;
        QTest::newRow("automatic refresh on") << true;
    }
    void about()
    {
        QFETCH(bool, autoRefresh);
        Create();
        if (autoRefresh)
            window->mnuAutorefresh->trigger();
        window->mnuAbout->trigger();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith(QStringLiteral("About: ")));
        QVERIFY(boxes[0].contains(QStringLiteral("1.31")) && !boxes[0].contains(QStringLiteral("1.3.1")));
        // Every timer rests while the box is open and comes back as it was.
        QCOMPARE(boxTimers[0], (Timers{false, false, false}));
        QCOMPARE(Running(), (Timers{true, true, autoRefresh}));
        QVERIFY(port->written.isEmpty());
    }

    void exitStopsTheTimersAndEnds()
    {
        Create();
        window->mnuAutorefresh->trigger();
        window->mnuExit->trigger();
        QCOMPARE(exits, (QList<Timers>{{false, false, false}}));
    }

    void applyToTheScannedRing()
    {
        Create("[ZEPHLINK9 Setup Tool]\ncomport=1\n");
        window->resize(960, 720);
        // The attached module's mode fills the form: 9600 baud, two stop bits, even parity,
        // "CH1_Error AND CH2_Error".
        Deliver(ReplyBytes('G', 7, 0x4B) + ReplyBytes('L', 12, 0x13) + ReplyBytes('R', 5, 0x00));
        frmGlobalSettings *settings = window->GlobalSettings();
        QCOMPARE(settings->cmbBaudrate->currentText(), QStringLiteral("9600"));
        QVERIFY(settings->optStopBits2->isChecked());
        port->written.clear();
        const Timers before = Running();

        settings->cmdApply_Click();
        const char frames[] = {'S', 5, 0, 0x4B, 10, 13, 0, 'S', 12, 0, 0x4B, 10, 13, 0, 'S', 7, 0, 0x4B, 10, 13, 0};
        QCOMPARE(port->written.join(), QByteArray(frames, sizeof frames));
        frmProgress *progress = settings->Progress();
        QCOMPARE(ChildArea(progress), window->MdiArea());
        QCOMPARE(ChildFrame(progress)->pos(), QPoint(window->width() / 3, window->height() / 4));
        QCOMPARE(progress->ProgressBar->value(), 3);
        QCOMPARE(Running(), before);
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
