// What the main window makes of the configuration file when it is loaded and activated.
#include "app/frmMain.h"
#include "bus/MemorySerialPort.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "model/Global.h"

#include <QAction>
#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestMainStartup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString iniPath;
    MemorySerialPort *port = nullptr;
    frmMain *window = nullptr;
    int boxes = 0;
    int exits = 0;

    void Create()
    {
        frmMain::Options options;
        options.port = port;
        options.iniPath = iniPath;
        options.exitProgram = [this] { ++exits; };
        window = new frmMain(options);
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init()
    {
        ResetGlobals();
        iniPath = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile::remove(iniPath);
        port = new MemorySerialPort;
        boxes = exits = 0;
        SetMessageHook([this](QMessageBox::Icon, const QString &, const QString &) { ++boxes; });
    }

    void cleanup()
    {
        SetMessageHook(nullptr);
        delete window;
        window = nullptr;
        delete port;
        port = nullptr;
    }

    void load()
    {
        Create();
        QCOMPARE(gIniPath, iniPath);
        QVERIFY(!window->GlobalSettings()->cmdApply->isEnabled());
        QVERIFY(!window->ModuleState()->cmdApply->isEnabled());
        QVERIFY(window->Link().Timer1.isActive());
        QVERIFY(window->Link().Timer2.isActive());
        QVERIFY(!window->Link().Timer3.isActive());
        QVERIFY(!window->ProgramSettingsIfLoaded());
    }

    void activation_data()
    {
        QTest::addColumn<QByteArray>("ini");  // null: no file at all
        QTest::addColumn<bool>("debug");
        QTest::addColumn<int>("openedPort");  // 0: none, the dialog is loaded instead

        QTest::newRow("no file") << QByteArray() << false << 0;
        QTest::newRow("empty file") << QByteArray("") << false << 0;
        QTest::newRow("comport 0") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=0\n") << false << 0;
        QTest::newRow("comport 5") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=5\n") << false << 0;
        QTest::newRow("comport abc") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=abc\n") << false << 0;
        QTest::newRow("comport 300") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=300\n") << false << 0;
        QTest::newRow("comport -1") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=-1\n") << false << 0;
        QTest::newRow("comport 4") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=4\n") << false << 4;
        QTest::newRow("comport written by the dialog")
            << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport= 1\n") << false << 1;
        QTest::newRow("comport in another section") << QByteArray("[Other]\ncomport=2\n") << false << 0;
        QTest::newRow("debug 73 without comport") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\n") << true << 0;
        QTest::newRow("debug 73 with comport 3")
            << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport=3\n") << true << 3;
        QTest::newRow("debug 72") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=72\ncomport=2\n") << false << 2;
        QTest::newRow("debug 73 + 256") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=329\ncomport=2\n") << false << 2;

        // Hand-edited and damaged files.
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 131 + 7) % 256);
        QTest::newRow("binary junk") << junk << false << 0;
        QTest::newRow("junk around the keys")
            << junk + "\n[ZEPHLINK9 Setup Tool]\ncomport=3\n" + junk << false << 3;
        QTest::newRow("1 MB line") << "[ZEPHLINK9 Setup Tool]\nnote=" + QByteArray(1 << 20, 'x') + "\ncomport=2\n"
                                   << false << 2;
        QTest::newRow("no section") << QByteArray("comport=2\ndebug=73\n") << false << 0;
        QTest::newRow("section twice") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=2\n"
                                                     "[ZEPHLINK9 Setup Tool]\ncomport=3\ndebug=73\n")
                                       << false << 2;
        QTest::newRow("duplicate keys") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=4\ncomport=1\n") << false << 4;
        QTest::newRow("huge number") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=99999999999999999999\n")
                                     << false << 0;
        QTest::newRow("empty value") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\ndebug=\n") << false << 0;
    }

    void activation()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, debug);
        QFETCH(int, openedPort);

        if (!ini.isNull()) {
            QFile file(iniPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        Create();
        gDebugMode = !debug;
        window->Form_Activate();

        QCOMPARE(gDebugMode, debug);
        QCOMPARE(window->mnuDebug->isVisible(), debug);
        QCOMPARE(window->mnuDebug->isChecked(), debug);
        QVERIFY(!window->DebugIfLoaded());
        QCOMPARE(gMinVersion, uint8_t(255));
        if (openedPort) {
            QVERIFY(port->IsOpen());
            QCOMPARE(port->PortNumber(), openedPort);
            QCOMPARE(int(gComPort), openedPort);
            QVERIFY(!window->ProgramSettingsIfLoaded());
        } else {
            QVERIFY(!port->IsOpen());
            QCOMPARE(int(gComPort), 0);
            frmProgramSettings *dialog = window->ProgramSettingsIfLoaded();
            QVERIFY(dialog);
            QVERIFY(!ChildFrame(dialog)->isHidden());
        }
        QVERIFY(window->Link().Timer1.isActive());
        QVERIFY(window->Link().Timer2.isActive());
        QVERIFY(!window->Link().Timer3.isActive());
        QCOMPARE(boxes, 0);
        // Nothing is written at start-up.
        QCOMPARE(QFile::exists(iniPath), !ini.isNull());
    }

    void secondActivationLeavesTheOpenPort()
    {
        QFile file(iniPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[ZEPHLINK9 Setup Tool]\ncomport=2\n");
        file.close();
        Create();
        window->Form_Activate();
        QVERIFY(port->IsOpen());
        QCOMPARE(port->openCount, 1);

        gMinVersion = 39;
        window->Form_Deactivate();
        QVERIFY(!window->Link().Timer1.isActive());
        QVERIFY(port->IsOpen());
        window->Form_Activate();
        QVERIFY(port->IsOpen());
        QCOMPARE(port->PortNumber(), 2);
        QCOMPARE(port->openCount, 1);
        QCOMPARE(port->closeCount, 0);
        QCOMPARE(gMinVersion, uint8_t(255));
        QVERIFY(window->Link().Timer1.isActive());
        QVERIFY(window->Link().Timer2.isActive());
    }

    void unloadWithThePortClosed()
    {
        Create();
        window->Form_Activate();
        window->Form_Unload();
        QVERIFY(!port->IsOpen());
        QVERIFY(!window->Link().Timer1.isActive());
        QCOMPARE(boxes, 0);
        QCOMPARE(exits, 0);
    }
};

QTEST_MAIN(TestMainStartup)
#include "tst_mainstartup.moc"
