// The main window's menus: the tree, automatic refresh, "Debug" with the debug window,
// "Select COM port", "About" and "E&xit", and what each does to the three timers; and
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

QString HexLine(const QByteArray &bytes)
{
    QString line;
    for (const char byte : bytes)
        line += QStringLiteral(" %1").arg(uint8_t(byte), 2, 16, QLatin1Char('0')).toUpper();
    return line;
}

struct Box
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QList<bool> timers;  // Timer1, Timer2, Timer3 while the box was open
};

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString iniPath;
    MemorySerialPort *port = nullptr;
    frmMain *window = nullptr;
    QList<Box> boxes;
    QList<QList<bool>> exits;  // the timers at each call of the exit

    QList<bool> Timers() const
    {
        BusLink &link = window->Link();
        return {link.Timer1.isActive(), link.Timer2.isActive(), link.Timer3.isActive()};
    }

    void WriteIni(const QByteArray &text)
    {
        QFile file(iniPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void Create()
    {
        frmMain::Options options;
        options.port = port;
        options.iniPath = iniPath;
        options.exitProgram = [this] { exits.append(Timers()); };
        window = new frmMain(options);
    }

    bool ApplyButtons(bool enabled) const
    {
        return window->ModuleState()->cmdApply->isEnabled() == enabled
            && window->GlobalSettings()->cmdApply->isEnabled() == enabled;
    }

    void Deliver(const QByteArray &bytes)
    {
        port->Feed(bytes);
        window->Link().Timer1_Timer();
        window->Link().Timer2_Timer();
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init()
    {
        ResetGlobals();
        iniPath = dir.filePath(QStringLiteral("setup.ini"));
        QFile::remove(iniPath);
        port = new MemorySerialPort;
        boxes.clear();
        exits.clear();
        SetMessageHook([this](QMessageBox::Icon icon, const QString &title, const QString &text) {
            boxes.append({icon, title, text, Timers()});
        });
    }

    void cleanup()
    {
        SetMessageHook(nullptr);
        delete window;
        window = nullptr;
        delete port;
        port = nullptr;
    }

    void menuTree()
    {
        Create();
        const QList<QAction *> top = window->menuBar()->actions();
        QCOMPARE(top.size(), 4);
        QCOMPARE(top[0], window->mnuExit);
        QCOMPARE(top[1], window->mnuRefresh);
        QCOMPARE(top[2], window->mnuSettings->menuAction());
        QCOMPARE(top[3], window->mnuAbout);
        QCOMPARE(window->mnuSettings->actions(),
                 (QList<QAction *>{window->mnuAutorefresh, window->mnuDebug, window->mnuSelectComPort}));

        const QList<QPair<QAction *, QString>> captions{
            {window->mnuExit, "E&xit"},
            {window->mnuRefresh, "&Refresh"},
            {window->mnuSettings->menuAction(), "&Settings"},
            {window->mnuAutorefresh, "Autorefresh"},
            {window->mnuDebug, "Debug"},
            {window->mnuSelectComPort, "Select COM port"},
            {window->mnuAbout, "About"}};
        for (const auto &[action, caption] : captions) {
            QCOMPARE(action->text(), caption);
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(caption));
            QCOMPARE(action->isCheckable(), action == window->mnuAutorefresh || action == window->mnuDebug);
            QVERIFY(!action->isChecked());
        }
        QCOMPARE(window->mnuExit->objectName(), QStringLiteral("mnuExit"));
        QCOMPARE(window->mnuSettings->objectName(), QStringLiteral("mnuSettings"));
        QCOMPARE(window->mnuSelectComPort->objectName(), QStringLiteral("mnuSelectComPort"));
        QVERIFY(!window->mnuDebug->isVisible());
        QVERIFY(window->mnuAutorefresh->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("ZEPHLINK9 Setup Tool"));
    }

    void autorefresh_data()
    {
        QTest::addColumn<int>("modules");
        QTest::newRow("no module known") << 0;
        QTest::newRow("three modules known") << 3;
    }

    void autorefresh()
    {
        QFETCH(int, modules);
        Create();
        gModuleCount = int16_t(modules);
        window->EnableApplyButtons();

        window->mnuAutorefresh->trigger();
        QVERIFY(window->mnuAutorefresh->isChecked());
        QVERIFY(gAutoRefresh);
        QVERIFY(!window->mnuRefresh->isEnabled());
        QVERIFY(ApplyButtons(false));
        QCOMPARE(Timers(), (QList<bool>{true, true, true}));
        QCOMPARE(window->Link().Timer3.interval(), 10000);
        // No scan at once: the first comes with the first tick.
        QVERIFY(port->written.isEmpty());
        QVERIFY(boxes.isEmpty());

        window->mnuAutorefresh->trigger();
        QVERIFY(!window->mnuAutorefresh->isChecked());
        QVERIFY(!gAutoRefresh);
        QVERIFY(window->mnuRefresh->isEnabled());
        QVERIFY(ApplyButtons(modules > 0));
        QCOMPARE(Timers(), (QList<bool>{true, true, false}));
    }

    void debugToggle()
    {
        WriteIni("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport=1\n");
        Create();
        window->Form_Activate();
        QVERIFY(window->mnuDebug->isVisible());
        QVERIFY(window->mnuDebug->isChecked());
        QVERIFY(gDebugMode);
        QVERIFY(!window->DebugIfLoaded());

        window->mnuDebug->trigger();
        QVERIFY(!window->mnuDebug->isChecked());
        QVERIFY(!gDebugMode);
        QVERIFY(!window->DebugIfLoaded());

        window->mnuDebug->trigger();
        QVERIFY(window->mnuDebug->isChecked());
        QVERIFY(gDebugMode);
        QPointer<frmDebug> debug = window->DebugIfLoaded();
        QVERIFY(debug);
        QMdiSubWindow *frame = ChildFrame(debug);
        QVERIFY(frame && !frame->isHidden());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Debug"));
        QCOMPARE(debug->cmdClearDebugOutput->text(), QStringLiteral("&Clear debug output list"));

        window->mnuDebug->trigger();
        QVERIFY(!window->mnuDebug->isChecked());
        QVERIFY(!gDebugMode);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(debug);
        QVERIFY(!frame->isHidden());
    }

    void debugEcho()
    {
        WriteIni("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport=1\n");
        Create();
        window->Form_Activate();
        QVERIFY(port->IsOpen());

        const QByteArray first = ReplyBytes('G', 7);
        Deliver(first);
        frmDebug *debug = window->DebugIfLoaded();
        QVERIFY(debug);
        QListWidget *list = debug->lstDebugOutput;
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), HexLine(first));
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral(" 47 07 00 29 4B ")));
        QCOMPARE(list->currentRow(), 0);

        const QByteArray second = ReplyBytes('L', 300);
        Deliver(second);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), HexLine(second));
        QVERIFY(list->item(1)->text().startsWith(QStringLiteral(" 4C 2C 01 ")));
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(list->item(1)->isSelected());
        QCOMPARE(gModuleCount, int16_t(2));

        // Switched off: the window stays with its lines and takes no more.
        window->mnuDebug->trigger();
        Deliver(ReplyBytes('R', 9));
        QCOMPARE(list->count(), 2);
        QCOMPARE(gModuleCount, int16_t(3));
        QVERIFY(!ChildFrame(debug)->isHidden());

        debug->cmdClearDebugOutput->click();
        QCOMPARE(list->count(), 0);
        debug->cmdClearDebugOutput->click();
        QCOMPARE(list->count(), 0);

        window->mnuDebug->trigger();
        const QByteArray third = ReplyBytes('R', 12);
        Deliver(third);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), HexLine(third));
    }

    void selectComPort()
    {
        WriteIni("[ZEPHLINK9 Setup Tool]\ncomport=2\n");
        Create();
        window->Form_Activate();
        QVERIFY(!window->ProgramSettingsIfLoaded());
        gAutoRefresh = true;
        window->Link().Timer3.start();
        QCOMPARE(port->PortNumber(), 2);
        QVERIFY(port->IsOpen());

        window->mnuSelectComPort->trigger();
        QCOMPARE(Timers(), (QList<bool>{false, false, false}));
        frmProgramSettings *dialog = window->ProgramSettingsIfLoaded();
        QVERIFY(dialog);
        QVERIFY(!ChildFrame(dialog)->isHidden());
        QCOMPARE(ChildArea(dialog), window->MdiArea());
        QVERIFY(!port->IsOpen());
        QVERIFY(dialog->optCom2->isEnabled());

        dialog->optCom3->setChecked(true);
        dialog->cmdOK->click();
        QCOMPARE(Timers(), (QList<bool>{true, true, true}));
        QCOMPARE(port->PortNumber(), 3);
        QVERIFY(port->IsOpen());
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
        QCOMPARE(Timers(), (QList<bool>{true, true, autoRefresh}));

        window->mnuAbout->trigger();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].icon, QMessageBox::Information);
        QCOMPARE(boxes[0].title, QStringLiteral("About"));
        QVERIFY(boxes[0].text.contains(QStringLiteral("1.31")));
        QVERIFY(!boxes[0].text.contains(QStringLiteral("1.3.1")));
        QCOMPARE(boxes[0].timers, (QList<bool>{false, false, false}));
        QCOMPARE(Timers(), (QList<bool>{true, true, autoRefresh}));
        QCOMPARE(frmMain::VersionText(), QStringLiteral("1.31"));
    }

    void aboutWithoutPortOrRing()
    {
        Create();
        window->Link().StopAll();
        window->mnuAbout->trigger();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(port->written.isEmpty());
    }

    void exitStopsTheTimersAndEnds()
    {
        Create();
        window->mnuAutorefresh->trigger();
        QCOMPARE(Timers(), (QList<bool>{true, true, true}));
        window->mnuExit->trigger();
        QCOMPARE(exits, (QList<QList<bool>>{{false, false, false}}));
    }

    void applyToTheScannedRing()
    {
        WriteIni("[ZEPHLINK9 Setup Tool]\ncomport=1\n");
        Create();
        window->resize(960, 720);
        window->Form_Activate();
        // 9600 baud, two stop bits, "CH1_Error AND CH2_Error", even parity.
        Deliver(ReplyBytes('G', 7, 0x4B) + ReplyBytes('L', 12, 0x13) + ReplyBytes('R', 5, 0x00));
        QCOMPARE(gModuleCount, int16_t(3));
        frmGlobalSettings *settings = window->GlobalSettings();
        QCOMPARE(settings->cmbBaudrate->currentText(), QStringLiteral("9600"));
        QVERIFY(settings->optStopBits2->isChecked());
        port->written.clear();
        const QList<bool> timersBefore = Timers();

        settings->cmdApply_Click();
        const char frames[] = {'S', 5, 0, 0x4B, 10, 13, 0, 'S', 12, 0, 0x4B, 10, 13, 0, 'S', 7, 0, 0x4B, 10, 13, 0};
        QCOMPARE(port->written.join(), QByteArray(frames, sizeof frames));
        frmProgress *progress = settings->Progress();
        QVERIFY(progress);
        QCOMPARE(ChildArea(progress), window->MdiArea());
        QCOMPARE(ChildFrame(progress)->pos(), QPoint(window->width() / 3, window->height() / 4));
        QCOMPARE(progress->ProgressBar->maximum(), 3);
        QCOMPARE(progress->ProgressBar->value(), 3);
        QVERIFY(progress->cmdOK->isEnabled());
        QCOMPARE(Timers(), timersBefore);
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
