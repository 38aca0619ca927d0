// The main window around the scan: messages, the Apply buttons, automatic refresh, and
// what counts as activation.
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "dialogs/MessageBox.h"
#include "model/Clock.h"
#include "model/Global.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray ReplyBytes(char letter, int id, int version = 41)
{
    Reply reply;
    reply.letter = uint8_t(letter);
    reply.id = id;
    reply.version = uint8_t(version);
    return EncodeReply(reply);
}

struct Box
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    MemorySerialPort *port = nullptr;
    frmMain *window = nullptr;
    ManualClock clock;
    QList<Box> boxes;

    bool ApplyEnabled() const
    {
        return window->ModuleState()->cmdApply->isEnabled() && window->GlobalSettings()->cmdApply->isEnabled();
    }
    bool ApplyDisabled() const
    {
        return !window->ModuleState()->cmdApply->isEnabled() && !window->GlobalSettings()->cmdApply->isEnabled();
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock = ManualClock();
        clock.SetAutoAdvance(5);
        SetClock(&clock);
        boxes.clear();
        SetMessageHook([this](QMessageBox::Icon icon, const QString &title, const QString &text) {
            boxes.append({icon, title, text});
        });
        const QString ini = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\n");
        file.close();
        port = new MemorySerialPort;
        window = new frmMain(frmMain::Options{port, ini, [] {}});
        window->Form_Activate();
    }
    void cleanup()
    {
        delete window;
        delete port;
        SetMessageHook(nullptr);
        SetClock(nullptr);
    }

    void loadAndActivation()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("ZEPHLINK9 Setup Tool"));
        QVERIFY(port->IsOpen());
        QCOMPARE(port->PortNumber(), 1);
        QVERIFY(window->Link().Timer1.isActive());
        QVERIFY(window->Link().Timer2.isActive());
        QVERIFY(!window->Link().Timer3.isActive());
        QVERIFY(ApplyDisabled());
        QCOMPARE(int(gMinVersion), 255);
        QVERIFY(window->BusInfoIfLoaded());
        QCOMPARE(gIniPath, dir.filePath(QStringLiteral("zephlink9-setup.ini")));
        // Module State at the top left, Global Settings right below it, Bus Info top right.
        QMdiSubWindow *state = qobject_cast<QMdiSubWindow *>(window->ModuleState()->parentWidget());
        QMdiSubWindow *global = qobject_cast<QMdiSubWindow *>(window->GlobalSettings()->parentWidget());
        QMdiSubWindow *busInfo = qobject_cast<QMdiSubWindow *>(window->BusInfo()->parentWidget());
        QCOMPARE(state->pos(), QPoint(0, 0));
        QCOMPARE(global->pos(), QPoint(0, state->height()));
        QCOMPARE(busInfo->geometry().right() + 1, window->MdiArea()->viewport()->width());
        QCOMPARE(busInfo->y(), 0);
        QVERIFY(qAbs(gBusInfoHeight - 0.75 * 15 * window->MdiArea()->viewport()->height()) <= 1);
        QVERIFY(qAbs(gBusInfoWidth - 0.5 * 15 * window->MdiArea()->viewport()->width()) <= 1);
    }

    void scanFindsNothing()
    {
        window->mnuAutorefresh->trigger();
        window->mnuRefresh_Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(boxes[0].text, QStringLiteral("No Modules found!"));
        QVERIFY(!window->Link().Timer3.isActive());
        QVERIFY(gAutoRefresh);
        QVERIFY(window->mnuAutorefresh->isChecked());
        // Reception goes on after the message.
        QVERIFY(window->Link().Timer1.isActive());
    }

    void scanFindsRing()
    {
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('R', 12));
        window->mnuRefresh_Click();
        QVERIFY(boxes.isEmpty());
        QCOMPARE(int(gModuleCount), 3);
        QVERIFY(ApplyEnabled());
        QVERIFY(!window->Link().Timer3.isActive());
        QCOMPARE(port->written.last(), BuildCommandFrame('G', 0, 0, 0));
    }

    void foreignModuleWarning()
    {
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7, 39));
        window->mnuRefresh_Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].title, QStringLiteral("Warning!"));
        QCOMPARE(boxes[0].text, QStringLiteral("LWL-System contains a none-ZEPHLINK9 module!\r\n"
                                               "Please remove those modules and try again!"));
        QVERIFY(ApplyDisabled());

        // The old module is gone, but the lowest version is only reset by activation.
        port->Feed(ReplyBytes('G', 5));
        window->mnuRefresh_Click();
        QCOMPARE(boxes.size(), 2);
        QVERIFY(ApplyDisabled());

        window->Form_Activate();
        port->Feed(ReplyBytes('G', 5));
        window->mnuRefresh_Click();
        QCOMPARE(boxes.size(), 2);
        QVERIFY(ApplyEnabled());
    }

    void autorefreshCycle()
    {
        window->mnuAutorefresh->trigger();
        QVERIFY(gAutoRefresh);
        QVERIFY(!window->mnuRefresh->isEnabled());
        QVERIFY(window->Link().Timer3.isActive());
        QVERIFY(ApplyDisabled());

        // A tick scans; success enables the buttons and starts the next 10 seconds.
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7));
        window->Link().Timer3_Timer();
        QVERIFY(ApplyEnabled());
        QVERIFY(window->Link().Timer3.isActive());
        QCOMPARE(port->written.size(), 1);

        // Bytes outside a scan stop the cycle.
        port->Feed(ReplyBytes('P', 7));
        window->Link().Timer1_Timer();
        QVERIFY(!window->Link().Timer3.isActive());

        // Off with modules known: Refresh and both Apply buttons enabled.
        window->mnuAutorefresh->trigger();
        QVERIFY(!gAutoRefresh);
        QVERIFY(!window->mnuAutorefresh->isChecked());
        QVERIFY(window->mnuRefresh->isEnabled());
        QVERIFY(ApplyEnabled());

        // A tick with automatic refresh off does nothing.
        window->Link().Timer3_Timer();
        QCOMPARE(port->written.size(), 1);
    }

    void deactivationStopsTimersAndActivationRestartsReception()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QWidget other;
        other.setWindowTitle(QStringLiteral("another window of the program"));
        other.show();
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
        window->Link().Timer3.start();

        other.activateWindow();
        QTRY_VERIFY(!window->Link().Timer1.isActive());
        QVERIFY(!window->Link().Timer2.isActive());
        QVERIFY(!window->Link().Timer3.isActive());

        gMinVersion = 30;
        window->activateWindow();
        QTRY_VERIFY(window->Link().Timer1.isActive());
        QVERIFY(window->Link().Timer2.isActive());
        QVERIFY(!window->Link().Timer3.isActive());
        QCOMPARE(int(gMinVersion), 255);
    }

    void messageBoxIsNoDeactivation()
    {
        SetMessageHook(nullptr);
        window->show();
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
        // Close the real box as soon as it is up.
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        closer.start(20);
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7, 39));
        window->mnuRefresh_Click();
        closer.stop();
        QTest::qWait(50);
        // Neither the box's opening nor its closing counted: the next scan still warns.
        QVERIFY(int(gMinVersion) < 40);
        QVERIFY(window->Link().Timer1.isActive());
    }

    void unloadStopsTimersAndClosesPort()
    {
        window->show();
        window->close();
        QVERIFY(!port->IsOpen());
        QVERIFY(!window->Link().Timer1.isActive());
        QVERIFY(!window->Link().Timer2.isActive());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
