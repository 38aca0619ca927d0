// The main window around the scan: messages, the Apply buttons, automatic refresh, and
// what counts as activation.
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "model/Clock.h"
#include "model/Global.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray ReplyBytes(char letter, int id, uint8_t version = 41)
{
    return EncodeReply(Reply{uint8_t(letter), id, version});
}
const QList<bool> kOn{true, true};
const QList<bool> kOff{false, false};
const QString kForeign = QStringLiteral("LWL-System contains a none-ZEPHLINK9 module!\r\n"
                                        "Please remove those modules and try again!");
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    MemorySerialPort *port = nullptr;
    frmMain *window = nullptr;
    ManualClock clock;
    QStringList boxes;  // "icon title: text"

    // Module State's and Global Settings' Apply buttons.
    QList<bool> Apply() const
    {
        return {window->ModuleState()->cmdApply->isEnabled(), window->GlobalSettings()->cmdApply->isEnabled()};
    }
    BusLink &Link() { return window->Link(); }

private slots:
    void init()
    {
        ResetGlobals();
        clock = ManualClock();
        clock.SetAutoAdvance(5);
        SetClock(&clock);
        boxes.clear();
        SetMessageHook([this](QMessageBox::Icon icon, const QString &title, const QString &text) {
            boxes << QStringLiteral("%1 %2: %3").arg(int(icon)).arg(title, text);
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

    void scanOutcome_data()
    {
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<QStringList>("expectedBoxes");
        QTest::addColumn<QList<bool>>("apply");
        QTest::newRow("nothing") << QByteArray() << QStringList{"3 Error: No Modules found!"} << kOff;
        QTest::newRow("ring of three") << ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('R', 12)
                                       << QStringList{} << kOn;
        QTest::newRow("foreign module") << ReplyBytes('G', 5) + ReplyBytes('L', 7, 39)
                                        << QStringList{"3 Warning!: " + kForeign} << kOff;
    }
    void scanOutcome()
    {
        QFETCH(QByteArray, replies);
        port->Feed(replies);
        window->mnuRefresh_Click();
        QTEST(boxes, "expectedBoxes");
        QTEST(Apply(), "apply");
        QCOMPARE(port->written, QList<QByteArray>{BuildCommandFrame('G', 0, 0, 0)});
        // Reception goes on after the message.
        QVERIFY(Link().Timer1.isActive());
    }

    void foreignModuleWarnsUntilActivation()
    {
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7, 39));
        window->mnuRefresh_Click();
        // The old module is gone, but the lowest version is only reset by activation.
        port->Feed(ReplyBytes('G', 5));
        window->mnuRefresh_Click();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(Apply(), kOff);
        window->Form_Activate();
        port->Feed(ReplyBytes('G', 5));
        window->mnuRefresh_Click();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(Apply(), kOn);
    }

    void autorefreshCycle()
    {
        window->mnuAutorefresh->trigger();
        QVERIFY(!window->mnuRefresh->isEnabled());
        QCOMPARE(Apply(), kOff);
        QVERIFY(port->written.isEmpty());  // the first scan comes with the first tick
        QCOMPARE(Link().Timer3.interval(), 10000);

        // A tick scans; success enables the buttons and starts the next 10 seconds.
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7));
        Link().Timer3_Timer();
        QCOMPARE(Apply(), kOn);
        QVERIFY(Link().Timer3.isActive());
        QCOMPARE(port->written.size(), 1);

        // Off with modules known: Refresh and both Apply buttons enabled.
        window->mnuAutorefresh->trigger();
        QVERIFY(window->mnuRefresh->isEnabled());
        QCOMPARE(Apply(), kOn);

        // A tick with automatic refresh off does nothing.
        Link().Timer3_Timer();
        QCOMPARE(port->written.size(), 1);
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
        QVERIFY(Link().Timer1.isActive());
    }

    // A main window smaller than its children scrolls its client area; a large one does not.
    void areaScrollsWhenChildrenReachPast_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("small") << QSize(160, 160) << true;
        QTest::newRow("large") << QSize(1024, 720) << false;
    }
    void areaScrollsWhenChildrenReachPast()
    {
        QFETCH(QSize, size);
        QFETCH(bool, scrolls);
        window->resize(size);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QMdiArea *area = window->MdiArea();
        QTRY_COMPARE(area->verticalScrollBar()->isVisible(), scrolls);
        QCOMPARE(area->horizontalScrollBar()->isVisible(), scrolls);
        if (scrolls) {
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
            QMdiSubWindow *settings = ChildFrame(window->GlobalSettings());
            QVERIFY(settings->geometry().bottom() <= area->viewport()->height());
        }
    }

    void unloadStopsTimersAndClosesPort()
    {
        window->show();
        window->close();
        QVERIFY(!port->IsOpen());
        QVERIFY(!Link().Timer1.isActive() && !Link().Timer2.isActive());
        QVERIFY(boxes.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
