// The main window: the configuration file at start-up, the scan's messages, the Apply
// buttons, automatic refresh, the menus, the port's state, the ring log and what counts as
// activation.
#include "BoxCatcher.h"
#include "ManualClock.h"
#include "TestFiles.h"
#include "TimedRing.h"
#include "core/RingLog.h"
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "model/Clock.h"
#include "model/ModuleListModel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

namespace {
QByteArray ReplyBytes(char letter, int id, uint8_t version = 41)
{
    return EncodeReply(Reply{uint8_t(letter), id, version, 0x03});
}
const QList<bool> kOn{true, true};
const QList<bool> kOff{false, false};
using Running = QList<bool>;  // receives, refreshes
const QByteArray kSection = "[ZEPHLINK9 Setup Tool]\n";
const QByteArray kIni = "[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\n";
// A log row's time, once LogLines has put it in the place of the time written.
const QString kTime = QStringLiteral("TIME");
const QString kG5 = kTime + ",0,5,G,4.1,0x03,0,0,0,0,";
const QString kEarlier = QStringLiteral("earlier,0,5,G,4.1,0x03,0,0,0,0,");
const QString kForeign = QStringLiteral("LWL-System contains a none-ZEPHLINK9 module!\r\n"
                                        "Please remove those modules and try again!");
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString iniPath;
    MemorySerialPort *port = nullptr;
    frmMain *window = nullptr;
    ManualClock clock;
    std::unique_ptr<BoxCatcher> catcher;  // "icon title: text" of each box
    int exits = 0;  // calls of the exit
    int probes = 0;  // replies sent by Receives()

    // Module State's and Global Settings' Apply buttons.
    QList<bool> Apply() const
    {
        return {window->ModuleState()->cmdApply->isEnabled(), window->GlobalSettings()->cmdApply->isEnabled()};
    }
    BusLink &Link() { return window->Link(); }
    const RingTable &Table() { return window->Core().Table(); }
    // Whether a reply that comes now is read and parsed by the link's own timers; one that is
    // not is taken off the line again.
    bool Receives()
    {
        if (!port->IsOpen())
            return false;
        const int id = 200 + ++probes;
        port->Feed(EncodeReply(Reply{'P', id, 41, 0x5C}));
        if (QTest::qWaitFor([&] { return Table().Module(id).GetMode() == 0x5C; }, 500))
            return true;
        port->ReadAll();
        return false;
    }
    // Whether the automatic refresh scans once its interval is over on the program's clock,
    // looked at by the link's own poll; the ring answers the scan with answer.
    bool Refreshes(const QByteArray &answer = ReplyBytes('G', 5))
    {
        // A scan still taking late replies is over first: the interval counts from its end.
        clock.Advance(BusLink::kScanQuietMs);
        Link().PollPort();
        const qsizetype sent = port->written.size();
        bool answered = false;
        QTimer ring;
        connect(&ring, &QTimer::timeout, this, [&] {
            if (port->written.size() > sent && !std::exchange(answered, true))
                port->Feed(answer);
        });
        ring.start(0);
        clock.Advance(BusLink::kRefreshIntervalMs);
        return QTest::qWaitFor([&] { return port->written.size() > sent; }, 500);
    }
    // Refresh first: bytes that come outside a scan stop the automatic refresh.
    Running Runs()
    {
        const bool refreshes = Refreshes();
        return {Receives(), refreshes};
    }
    // The Module List's "Verified" of module id.
    QString Verified(int id)
    {
        const QAbstractItemModel *rows = window->ModuleList()->tblModuleList->model();
        for (int row = 0; row < rows->rowCount(); ++row)
            if (rows->index(row, ModuleListModel::ID).data().toInt() == id)
                return rows->index(row, ModuleListModel::Verified).data().toString();
        return QStringLiteral("not listed");
    }
    QStringList &Boxes() { return catcher->boxes; }
    void Create(const QByteArray &ini)  // null: no file at all
    {
        delete window;
        delete port;
        QFile::remove(iniPath);
        if (!ini.isNull())
            WriteTestFile(iniPath, ini);
        port = new MemorySerialPort;
        window = new frmMain(frmMain::Options{port, iniPath, [this] { ++exits; }});
        window->Form_Activate();
    }
    QString LogPath() const { return dir->filePath(QStringLiteral("logs/ring.csv")); }
    // The log's lines, without their CR LF, each time written as kTime.
    QStringList LogLines() const
    {
        QStringList lines = QString::fromUtf8(ReadTestFile(LogPath())).split(QStringLiteral("\r\n"));
        if (lines.last().isEmpty())
            lines.removeLast();
        static const QRegularExpression time(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d,"));
        for (QString &line : lines)
            line.replace(time, kTime + QLatin1Char(','));
        return lines;
    }
    // The scan's replies are all in: the line has been quiet long enough.
    void Refresh()
    {
        window->mnuRefresh_Click();
        clock.Advance(BusLink::kScanQuietMs);
        Link().PollPort();
    }
    void ShowFocused()
    {
        window->show();
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("logs")));
        iniPath = dir->filePath(QStringLiteral("zephlink9-setup.ini"));
        clock = ManualClock();
        clock.SetAutoAdvance(5);
        SetClock(&clock);
        catcher = std::make_unique<BoxCatcher>();
        exits = 0;
        Create(kIni);
    }
    void cleanup()
    {
        delete window;
        delete port;
        window = nullptr;
        port = nullptr;
        catcher.reset();
        SetClock(nullptr);
    }

    void activation_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("debug");
        QTest::addColumn<int>("openedPort");  // 0: none, the port dialog is loaded instead
        QTest::newRow("no file") << QByteArray() << false << 0;
        QTest::newRow("comport 5") << kSection + "comport=5\n" << false << 0;
        QTest::newRow("comport -1") << kSection + "comport=-1\n" << false << 0;
        QTest::newRow("comport 258 is no 2") << kSection + "comport=258\n" << false << 0;
        QTest::newRow("comport 4") << kSection + "comport=4\n" << false << 4;
        QTest::newRow("written by the dialog") << kSection + "comport= 1\n" << false << 1;
        QTest::newRow("debug 73 without comport") << kSection + "debug=73\n" << true << 0;
        QTest::newRow("debug 73, comport 3") << kSection + "debug=73\ncomport=3\n" << true << 3;
        QTest::newRow("debug 73 + 256") << kSection + "debug=329\ncomport=2\n" << false << 2;
        QTest::newRow("binary junk") << QByteArray("\x01\xff\x13\n\x7f", 5) << false << 0;
    }
    void activation()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, debug);
        QFETCH(int, openedPort);
        Create(ini);
        QCOMPARE(window->Core().Config().iniPath, iniPath);
        QCOMPARE(window->Core().Debug(), debug);
        QCOMPARE(window->mnuDebug->isVisible(), debug);
        QCOMPARE(window->mnuDebug->isChecked(), debug);
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, openedPort);
        frmProgramSettings *dialog = window->findChild<frmProgramSettings *>();
        QCOMPARE(dialog && !ChildFrame(dialog)->isHidden(), openedPort == 0);
        QCOMPARE(Receives(), openedPort != 0);
        QVERIFY(port->written.isEmpty());
        QVERIFY(Boxes().isEmpty());
        // Nothing is written at start-up.
        QCOMPARE(QFile::exists(iniPath), !ini.isNull());
    }

    // With a step of 600 ms the clock runs out of the second before a 100 ms timer can fall
    // due: replies waiting at the port, or read and not parsed yet, still count.
    void scanOutcome_data()
    {
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("readFirst");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expectedBoxes");
        QTest::addColumn<QList<bool>>("apply");
        const QByteArray two = ReplyBytes('G', 5) + ReplyBytes('L', 7);
        QTest::newRow("nothing") << QByteArray() << 5 << false << 0 << QStringList{"3 Error: No Modules found!"}
                                 << kOff;
        QTest::newRow("ring of three") << two + ReplyBytes('R', 12) << 5 << false << 3 << QStringList{} << kOn;
        QTest::newRow("at the limit, waiting at the port") << two << 600 << false << 2 << QStringList{} << kOn;
        QTest::newRow("at the limit, read, not parsed yet") << two << 600 << true << 2 << QStringList{} << kOn;
    }
    void scanOutcome()
    {
        QFETCH(QByteArray, replies);
        QFETCH(int, step);
        QFETCH(bool, readFirst);
        clock.SetAutoAdvance(step);
        port->Feed(replies);
        if (readFirst)
            Link().PollPort();
        window->mnuRefresh_Click();
        QTEST(Boxes(), "expectedBoxes");
        QTEST(Table().Count(), "count");
        QTEST(Apply(), "apply");
        QCOMPARE(port->written, QList<QByteArray>{BuildCommandFrame('G', 0, 0, 0)});
        // Reception goes on after the message.
        QVERIFY(Receives());
    }

    // A module with old firmware warns at every scan until the window is activated again,
    // which resets the lowest version and leaves the open port as it is.
    void foreignModuleWarnsUntilActivation()
    {
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7, 39));
        Refresh();
        port->Feed(ReplyBytes('G', 5));
        Refresh();
        QCOMPARE(Boxes(), QStringList(2, "3 Warning!: " + kForeign));
        QCOMPARE(Table().Count(), 1);
        QCOMPARE(Apply(), kOff);
        window->Form_Deactivate();
        QVERIFY(!Receives());
        window->Form_Activate();
        QCOMPARE(port->openCount, 1);
        QCOMPARE(port->closeCount, 0);
        QVERIFY(Receives());
        port->Feed(ReplyBytes('G', 5));
        Refresh();
        QCOMPARE(Boxes().size(), 2);
        QCOMPARE(Apply(), kOn);
    }

    void autorefreshCycle()
    {
        window->mnuAutorefresh->trigger();
        QVERIFY(!window->mnuRefresh->isEnabled());
        QCOMPARE(Apply(), kOff);
        QVERIFY(port->written.isEmpty());  // the first scan comes once the interval is over

        // Its scan finds modules: the buttons are enabled, and the next interval runs.
        QVERIFY(Refreshes(ReplyBytes('G', 5) + ReplyBytes('L', 7)));
        QCOMPARE(Apply(), kOn);
        QCOMPARE(Table().Count(), 2);
        QVERIFY(Refreshes());
        QCOMPARE(port->written.size(), 2);

        window->mnuAutorefresh->trigger();
        QVERIFY(window->mnuRefresh->isEnabled());
        QCOMPARE(Apply(), kOn);
        QVERIFY(!Refreshes());

        window->mnuAutorefresh->trigger();
        window->mnuExit->trigger();
        QCOMPARE(exits, 1);
        QCOMPARE(Runs(), kOff);
        QVERIFY(Boxes().isEmpty());
    }

    // The first reply with debug on opens the debug window and echoes there; switched off,
    // the window takes no more.
    void debugEcho()
    {
        Create(kSection + "debug=73\ncomport=1\n");
        const auto deliver = [this](const QByteArray &bytes) {
            port->Feed(bytes);
            Link().PollPort();
            Link().ParseReceived();
        };
        QVERIFY(!window->findChild<frmDebug *>());
        deliver(ReplyBytes('L', 300));
        QVERIFY(window->findChild<frmDebug *>());
        QListWidget *list = window->findChild<frmDebug *>()->lstDebugOutput;
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral(" 4C 2C 01 ")));
        window->mnuDebug->trigger();
        deliver(ReplyBytes('R', 9));
        QCOMPARE(list->count(), 1);
    }

    // A box that comes up while the window holds the mouse with its grab (a module picture
    // taking over a press) takes its first click; neither its opening nor its closing counts
    // as a switch of windows, so the next scan still warns.
    void messageBoxTakesTheFirstClickAndIsNoDeactivation()
    {
        catcher.reset();
        ShowFocused();
        window->grabMouse();
        int clicks = 0;  // a second one means the first went elsewhere
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
                return;
            QAbstractButton *ok = box->button(QMessageBox::Ok);
            if (clicks++ > 0)
                box->close();
            else
                QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, ok->mapTo(box, ok->rect().center()));
        });
        clicker.start(50);
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7, 39));
        window->mnuRefresh_Click();
        clicker.stop();
        QCOMPARE(clicks, 1);
        QTest::qWait(50);
        QVERIFY(Table().MinVersion() < 40);
        QVERIFY(Receives());
    }

    // A main window smaller than its children scrolls its client area; a large one does not.
    void areaScrollsWhenChildrenReachPast()
    {
        window->resize(160, 160);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *area = qobject_cast<QMdiArea *>(window->centralWidget());
        QTRY_VERIFY(area->verticalScrollBar()->isVisible() && area->horizontalScrollBar()->isVisible());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        QVERIFY(ChildFrame(window->GlobalSettings())->geometry().bottom() <= area->viewport()->height());
        window->resize(1024, 720);
        QTRY_VERIFY(!area->verticalScrollBar()->isVisible() && !area->horizontalScrollBar()->isVisible());
    }

    // The history is no part of the first paint: it is opened once the window has been painted.
    void historyOpensAfterTheFirstPaint()
    {
        QVERIFY(!window->Core().History().IsOpen());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY(window->Core().History().IsOpen());
        QVERIFY(QFile::exists(dir->filePath(QStringLiteral("ring-history.sqlite"))));
    }

    // Opening and closing a popup of the window the user works in is no switch of windows:
    // automatic refresh keeps running, and a port that the COM port dialog closed stays closed.
    void popupsAreNoActivation_data()
    {
        QTest::addColumn<QString>("popup");
        QTest::newRow("baud rate list") << QStringLiteral("combo");
        QTest::newRow("settings menu") << QStringLiteral("menu");
        QTest::newRow("Select COM port by mouse") << QStringLiteral("select");
    }
    void popupsAreNoActivation()
    {
        QFETCH(QString, popup);
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a real window system for popups and focus (install xvfb)");
        ShowFocused();
        QTest::qWait(20);
        window->mnuAutorefresh->trigger();
        const int opened = port->openCount;

        if (popup == QLatin1String("combo"))
            window->GlobalSettings()->cmbBaudrate->showPopup();
        else
            window->mnuSettings->popup(window->mapToGlobal(QPoint(40, 40)));
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTRY_VERIFY(QGuiApplication::focusWindow() != window->windowHandle());
        if (popup == QLatin1String("select")) {
            const QRect item = window->mnuSettings->actionGeometry(window->mnuSelectComPort);
            QTest::mouseClick(window->mnuSettings, Qt::LeftButton, {}, item.center());
        } else {
            QApplication::activePopupWidget()->close();
        }
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
        QTest::qWait(20);

        // The COM port dialog probed the ports and left them closed until its OK.
        const bool select = popup == QLatin1String("select");
        QCOMPARE(Runs(), select ? kOff : kOn);
        QCOMPARE(port->IsOpen() ? port->openCount : 0, select ? 0 : opened);
        QVERIFY(!window->mnuRefresh->isEnabled());
    }

    // Each fixed window's client area and its frame's inside are the size given in twips;
    // the windows kept open have no close button and refuse to close.
    void fixedWindows_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<bool>("keptOpen");
        QTest::newRow("Module State") << QStringLiteral("frmModuleState") << QSize(215, 204) << true;
        QTest::newRow("Global Settings") << QStringLiteral("frmGlobalSettings") << QSize(212, 209) << true;
        QTest::newRow("Program settings") << QStringLiteral("frmProgramSettings") << QSize(177, 151) << false;
        QTest::newRow("Debug") << QStringLiteral("frmDebug") << QSize(217, 202) << false;
        QTest::newRow("Progress State") << QStringLiteral("frmProgress") << QSize(271, 74) << false;
    }
    void fixedWindows()
    {
        QFETCH(QString, form);
        QFETCH(QSize, pixels);
        QFETCH(bool, keptOpen);
        window->show();
        window->Debug();
        window->LoadProgramSettings();
        window->GlobalSettings()->cmdApply_Click();
        QWidget *child = window->findChild<QWidget *>(form);
        QVERIFY(child);
        QApplication::processEvents();
        QCOMPARE(child->size(), pixels);
        QMdiSubWindow *frame = ChildFrame(child);
        QVERIFY(frame);
        QCOMPARE(frame->contentsRect().size(), pixels);  // no empty band around the form
        if (!keptOpen)
            return;
        QVERIFY(!(frame->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
        QVERIFY(!frame->close());
        QApplication::processEvents();
        QCOMPARE(window->findChild<QWidget *>(form), child);
        QVERIFY(frame->isVisible());
    }

    // The COM port dialog rests every timer and probes the ports closed; chosen again it comes
    // to the front with no choice made; its OK opens the chosen port and restarts the timers.
    void selectComPort()
    {
        window->show();
        window->mnuAutorefresh->trigger();
        window->mnuSelectComPort->trigger();
        QCOMPARE(Runs(), kOff);
        auto *settings = window->findChild<frmProgramSettings *>();
        QVERIFY(settings);
        auto *area = qobject_cast<QMdiArea *>(window->centralWidget());
        QCOMPARE(ChildArea(settings), area);
        QVERIFY(!port->IsOpen());
        QVERIFY(settings->optCom[1]->isEnabled());  // closed for the probe, so free
        settings->optCom[2]->setChecked(true);
        area->setActiveSubWindow(ChildFrame(window->ModuleState()));
        window->mnuSelectComPort->trigger();
        QCOMPARE(window->findChildren<frmProgramSettings *>(), QList<frmProgramSettings *>{settings});
        QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).last(), ChildFrame(settings));
        for (int n = 1; n <= 4; ++n)
            QVERIFY(!settings->optCom[n]->isChecked());
        settings->optCom[3]->setChecked(true);
        settings->cmdOK->click();
        QCOMPARE(port->IsOpen() ? port->PortNumber() : 0, 3);
        QCOMPARE(Runs(), kOn);
    }

    // The status bar names the port, its device and its state, and follows every change.
    void portStateInStatusBar_data()
    {
        QTest::addColumn<int>("story");
        QTest::addColumn<QString>("state");
        QTest::newRow("opened") << 0 << "open";
        QTest::newRow("held by another program") << 1 << "in use by another program";
        QTest::newRow("no such device") << 2 << "not found";
        QTest::newRow("COM port dialog probes") << 3 << "closed by the COM port dialog";
        QTest::newRow("COM port dialog, no choice") << 4 << "";
        QTest::newRow("device vanished") << 5 << "closed, the device vanished; looking for it once a second";
        QTest::newRow("device still away") << 6 << "closed, the device vanished; looking for it once a second";
        QTest::newRow("device back") << 7 << "open";
    }
    void portStateInStatusBar()
    {
        QFETCH(int, story);
        QFETCH(QString, state);
        switch (story) {
        case 1:
        case 2:
            port->Close();
            port->SetOpenResult(1, story == 1 ? SerialPort::OpenError::InUse : SerialPort::OpenError::NotFound);
            window->Form_Activate();
            break;
        case 3:
        case 4:
            port->SetOpenResult(4, SerialPort::OpenError::NotFound);  // the last probe fails
            port->Vanish();  // choosing a port ends the looking for a vanished one
            window->mnuSelectComPort_Click();
            QVERIFY(!window->Watcher().IsWatching());
            if (story == 4)
                window->findChild<frmProgramSettings *>()->cmdOK_Click();
            QTRY_VERIFY(!window->findChild<frmProgramSettings *>() || story == 3);
            break;
        case 5:
        case 6:
        case 7:
            port->SetOpenResult(1, story == 6 ? SerialPort::OpenError::NotFound : SerialPort::OpenError::None);
            port->Vanish();
            if (story > 5)
                window->Watcher().Look();
            break;
        }
        const QString expected = state.isEmpty() ? QStringLiteral("No COM port chosen: closed")
                                                 : QStringLiteral("COM1 (%1): %2").arg(port->DeviceName(1), state);
        QCOMPARE(window->lblPortState->text(), expected);
        // A screen reader reads the state itself.
        QCOMPARE(QAccessible::queryAccessibleInterface(window->lblPortState)->text(QAccessible::Name), expected);
    }

    // The device comes back while the About box is open or the main window is deactivated:
    // the port opens, and the timers start only once the box is closed or the window is
    // activated again (activation starts reception only).
    void deviceBackWhileTimersHeld_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<Running>("atReturn");  // when the port is open again
        QTest::addColumn<Running>("afterwards");
        QTest::newRow("nothing") << "" << kOn << kOn;
        QTest::newRow("About box") << "about" << kOff << kOn;
        QTest::newRow("deactivated") << "deactivated" << kOff << Running{true, false};
    }
    void deviceBackWhileTimersHeld()
    {
        QFETCH(QString, holder);
        QFETCH(Running, atReturn);
        window->mnuAutorefresh->trigger();
        port->Vanish();
        Running seen;
        const auto deviceBack = [this, &seen] {
            window->Watcher().Look();
            QVERIFY(port->IsOpen());
            seen = Runs();
        };
        if (holder == "about") {
            catcher->whileOpen = deviceBack;
            window->mnuAbout->trigger();
            QCOMPARE(Boxes().size(), 1);
            QVERIFY(Boxes()[0].startsWith(QStringLiteral("1 About: ")) && Boxes()[0].contains(QStringLiteral("1.31")));
        } else if (holder == "deactivated") {
            window->Form_Deactivate();
            deviceBack();
            window->Form_Activate();
        } else {
            deviceBack();
        }
        QCOMPARE(seen, atReturn);
        QTEST(Runs(), "afterwards");
    }

    // Verify Settings sends the scan alone and compares what the modules' replies to it said
    // with what Module State's Apply had sent: module 7 ignores its S, or takes it and loses it
    // when switched off and on, which the next scan reads. Until a reply reports an applied mode
    // the Module List says so. Verify answers when another scan runs inside its wait, sharing
    // its ring; an Apply after its scan went out leaves that module no longer verified. The ring
    // answers at "answerMs" after Verify.
    void verifySettings_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<int>("answerMs");
        QTest::addColumn<int>("mode7");  // what module 7 reports to the verification
        QTest::addColumn<QString>("verified7");  // the Module List's "Verified" of module 7
        const QString differs = QStringLiteral("differs: mode 0x13, applied 0x03");
        QTest::newRow("alone") << "" << 100 << 0x13 << differs;
        QTest::newRow("a Refresh inside its wait") << "refresh" << 700 << 0x13 << differs;
        QTest::newRow("an automatic refresh inside its wait") << "autorefresh" << 700 << 0x13 << differs;
        QTest::newRow("an Apply in the second after its wait") << "apply" << 100 << 0x13 << "applied, not yet read back";
        QTest::newRow("as applied, switched off and on, verified again") << "power cycle" << 100 << 0x03 << differs;
    }
    void verifySettings()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, answerMs);
        QFETCH(int, mode7);
        const auto ring = [](uint8_t mode7) {
            return EncodeReply(Reply{'G', 5, 41, 0x13}) + EncodeReply(Reply{'L', 7, 41, mode7});
        };
        port->Feed(ring(0x13));
        Refresh();
        frmModuleState *state = window->ModuleState();
        state->txtModulID->setText(QStringLiteral("7"));
        state->cmbErrorRelais->setCurrentIndex(0);
        state->cmdApply_Click();
        QCOMPARE(Table().Module(7).GetMode(), 0x13);
        QCOMPARE(Verified(7), QStringLiteral("applied, not yet read back"));
        port->written.clear();

        // Played until the answer is in: the automatic refresh would scan again 10 s later.
        const int64_t start = clock.NowMs();
        TimedRing timed(clock, *port, Link(), 5, start + 3000);
        timed.AnswerAt(start + answerMs, ring(uint8_t(mode7)));
        timed.At(start + 300, [&] {
            QTimer::singleShot(0, window, [&] {
                if (meanwhile == "refresh") {
                    window->mnuRefresh_Click();
                } else if (meanwhile == "autorefresh") {
                    window->Core().SetAutoRefresh(true);
                    window->Core().Scan(ScanOrigin::AutoRefresh);
                } else if (meanwhile == "apply") {
                    state->cmbErrorRelais->setCurrentIndex(2);
                    state->cmdApply_Click();
                }
            });
        });
        const QString differsBox = QStringLiteral("1 Verify Settings: Verify Settings: 0 of 2 modules as applied, 1 differs, "
                                                  "0 no answer, 1 nothing applied.");
        window->mnuVerifySettings->trigger();
        QTRY_COMPARE(Boxes(), QStringList{mode7 == 0x13 ? differsBox
                                                        : QStringLiteral("1 Verify Settings: Verify Settings: 1 of 2 modules "
                                                                         "as applied, 0 differs, 0 no answer, 1 nothing applied.")});
        QCOMPARE(port->written.first(), BuildCommandFrame('G', 0, 0, 0));
        if (meanwhile == "power cycle") {
            QCOMPARE(Verified(7), QStringLiteral("as applied"));
            const QString since = QStringLiteral("differs since ") + ClockNow().toString(QStringLiteral("HH:mm"));
            port->Feed(ring(0x13));
            Refresh();
            QCOMPARE(Verified(7), since);
            const QString report = dir->filePath(QStringLiteral("report.csv"));
            window->SaveReport(report);
            QVERIFY(ReadTestFile(report).contains("," + since.toUtf8() + "\r\n"));
            Boxes().clear();
            port->Feed(ring(0x13));
            window->mnuVerifySettings->trigger();
            clock.Advance(BusLink::kScanQuietMs);
            Link().PollPort();
            QTRY_COMPARE(Boxes(), QStringList{differsBox});
        }
        QTEST(Verified(7), "verified7");
    }

    // Save as Reference saves the ring shown when its question was asked, not one that an
    // automatic scan brings while the question is open.
    void saveReferenceKeepsTheRingAsked()
    {
        port->Feed(ReplyBytes('G', 5));
        Refresh();
        window->mnuSaveReference->trigger();
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7));
        Refresh();
        QCOMPARE(window->lblReference->text(), QStringLiteral("Reference: 1 of 1 present"));
        window->mnuAutorefresh->trigger();
        catcher->whileOpen = [this] {
            QVERIFY(Refreshes(ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('R', 12)));
            clock.Advance(BusLink::kScanQuietMs);
            QTRY_COMPARE(window->Core().Keeper().LastFound()->modules.size(), size_t(3));
        };
        window->mnuSaveReference->trigger();
        QCOMPARE(Boxes().size(), 1);
        QVERIFY(Boxes()[0].startsWith(QStringLiteral("4 ZEPHLINK9 Setup Tool: Replace the saved reference ring (1 modules, saved ")));
        QCOMPARE(Table().Count(), 3);
        QCOMPARE(window->lblReference->text(), QStringLiteral("Reference: 2 of 2 present"));
    }

    // Without modules Save Report says so; the save dialog is a window of its own, but no
    // switch away from the program.
    void saveReport()
    {
        ShowFocused();
        window->mnuSaveReport->trigger();
        QCOMPARE(Boxes(), QStringList{"3 Save Report: No modules: Refresh scans the ring first."});
        QVERIFY(!window->findChild<QFileDialog *>());
        Boxes().clear();
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7));
        Refresh();
        window->mnuAutorefresh->trigger();
        window->mnuSaveReport->trigger();
        QPointer<QFileDialog> dialog = window->findChild<QFileDialog *>();
        QVERIFY(dialog);
        QTRY_VERIFY(QGuiApplication::focusWindow() == dialog->windowHandle());
        QVERIFY(!dialog->isModal() || dialog->windowModality() != Qt::ApplicationModal);
        QCOMPARE(dialog->nameFilters(), (QStringList{"PDF report (*.pdf)", "Module table (*.csv)"}));
        QVERIFY(QRegularExpression(QStringLiteral("^ring-report-\\d{4}-\\d\\d-\\d\\d-\\d{4}\\.pdf$"))
                    .match(QFileInfo(dialog->selectedFiles().value(0)).fileName()).hasMatch());
        QVERIFY(Receives());
        const QString path = dir->filePath(QStringLiteral("ring.csv"));
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
        QTRY_VERIFY(!dialog);
        QVERIFY(QFile::exists(path));
        QVERIFY(Receives());
        QVERIFY(Boxes().isEmpty());
    }

    // Closing the window stops the timers and the looking for a vanished device, and closes
    // the port, with no box and no exit.
    void unloadStopsTimersAndClosesPort_data()
    {
        QTest::addColumn<bool>("portChosen");
        QTest::newRow("device vanished") << true;
        QTest::newRow("no port chosen") << false;
    }
    void unloadStopsTimersAndClosesPort()
    {
        QFETCH(bool, portChosen);
        if (portChosen)
            port->Vanish();
        else
            Create(QByteArray());
        window->show();
        window->close();
        QVERIFY(!window->Watcher().IsWatching());
        QVERIFY(!port->IsOpen());
        QVERIFY(Boxes().isEmpty());
        QCOMPARE(exits, 0);
    }

    // The ring log: rows in ring order once the scan's replies are all in, and a failed scan's
    // row; a file already there is appended, the header not repeated, a last line left without
    // its end getting one first; without the key nothing is written.
    void ringLog_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("earlier");
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expectedBoxes");
        const QByteArray key = "log=logs/ring.csv\r\n";
        const QByteArray earlier = (RingLog::kHeader + "\r\n" + kEarlier).toUtf8();
        const QStringList appended{RingLog::kHeader, kEarlier, kG5};
        QTest::newRow("few modules in ring order")
            << key << QByteArray()
            << ReplyBytes('G', 5) + EncodeReply(Reply{'R', 12, 41, 0x5C, true, false, 9, 0}) + EncodeReply(Reply{'L', 7, 41, 0xE7})
            << QStringList{RingLog::kHeader, kG5, kTime + ",1,7,L,4.1,0xE7,0,0,0,0,", kTime + ",2,12,R,4.1,0x5C,1,9,0,0,",
                           kTime + ",2,12,R,4.1,0x5C,1,9,0,0,Module 12 channel 1 faulty"}
            << QStringList();
        QTest::newRow("failed scan") << key << QByteArray() << QByteArray()
                                     << QStringList{RingLog::kHeader, kTime + ",,,,,,,,,,no modules found"}
                                     << QStringList{"3 Error: No Modules found!"};
        QTest::newRow("after an ended last line") << key << earlier + "\r\n" << ReplyBytes('G', 5) << appended << QStringList();
        QTest::newRow("after a last line without end") << key << earlier << ReplyBytes('G', 5) << appended << QStringList();
        QTest::newRow("no key") << QByteArray() << QByteArray() << ReplyBytes('G', 5) << QStringList() << QStringList();
    }
    void ringLog()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, earlier);
        QFETCH(QByteArray, replies);
        QFETCH(QStringList, lines);
        Create(kIni + key);
        if (!earlier.isEmpty())
            WriteTestFile(LogPath(), earlier);
        port->Feed(replies);
        Refresh();
        QCOMPARE(LogLines(), lines);
        QTEST(Boxes(), "expectedBoxes");
        QCOMPARE(QDir(dir->filePath(QStringLiteral("logs"))).entryList(QDir::Files),
                 lines.isEmpty() ? QStringList() : QStringList{"ring.csv"});
    }

    // The locate's row, the mark beside the table, and the mark gone with the next reply.
    void ringLogOfAnUnansweredLocate()
    {
        Create(kIni + "log=logs/ring.csv\r\n");
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('R', 12));
        Refresh();
        window->BusInfo()->picModule_Click(2);
        QCOMPARE(LogLines().mid(4), QStringList{kTime + ",2,12,,,,,,,,no answer to locate"});
        QVERIFY(Table().LocateFailed(12));
        port->Feed(ReplyBytes('P', 12));
        Link().PollPort();
        Link().ParseReceived();
        QVERIFY(!Table().LocateFailed(12));
    }

    // Reported once, with the path and the system's reason; the scans go on.
    void ringLogThatCannotBeWritten()
    {
        Create(kIni + "log=missing/ring.csv\r\n");
        for (int scan = 0; scan < 2; ++scan) {
            port->Feed(ReplyBytes('G', 5));
            Refresh();
            QCOMPARE(Table().Count(), 1);
        }
        const QString path = QDir::toNativeSeparators(dir->filePath(QStringLiteral("missing/ring.csv")));
        // The reason in the system's own words: "No such file or directory" here, another
        // text on Windows.
        QFile missing(path);
        QVERIFY(!missing.open(QIODevice::Append));
        QTRY_COMPARE(Boxes(), QStringList{"3 ZEPHLINK9 Setup Tool: The ring log cannot be written:\r\n" + path + "\r\n"
                                          + missing.errorString()});
    }

    // A module gone from the ring is in no position of the scan: its row leaves the position
    // empty and tells in the note where the module stood.
    void ringLogOfAModuleGone_data()
    {
        QTest::addColumn<bool>("reference");
        QTest::addColumn<QString>("row");
        QTest::newRow("of the reference") << true << kTime + ",,7,,,,,,,,Module 7 missing (reference position 1)";
        QTest::newRow("of the ring before") << false << kTime + ",,7,,,,,,,,Module 7 missing (position 1 in the ring found before)";
    }
    void ringLogOfAModuleGone()
    {
        QFETCH(bool, reference);
        QFETCH(QString, row);
        Create(kIni + "log=logs/ring.csv\r\n");
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('R', 12));
        Refresh();
        if (reference)
            window->mnuSaveReference_Click();
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('R', 12));
        Refresh();
        QCOMPARE(LogLines().mid(6), QStringList{row});
    }

    // A ring that cannot be the reference is told why in one box, with no question first; the
    // saved reference stays, on disk byte for byte and in force.
    void saveAsReferenceRefused_data()
    {
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<QString>("reason");
        QTest::newRow("G reply lost") << ReplyBytes('L', 7) + ReplyBytes('R', 12) << "the attached module did not answer this scan";
        QTest::newRow("a second G") << ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('G', 12)
                                    << "a second module answered G: module 12 at position 2";
    }
    void saveAsReferenceRefused()
    {
        QFETCH(QByteArray, replies);
        QFETCH(QString, reason);
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7));
        Refresh();
        window->mnuSaveReference_Click();
        const QString path = dir->filePath(QStringLiteral("ring-reference.csv"));
        const QByteArray saved = ReadTestFile(path);
        QCOMPARE(saved, QByteArray("position,id,side,version,mode\r\n0,5,G,4.1,0x03\r\n1,7,L,4.1,0x03\r\n"));
        port->Feed(replies);
        Refresh();
        window->mnuSaveReference_Click();
        QTRY_COMPARE(Boxes(), QStringList{"3 ZEPHLINK9 Setup Tool: This ring cannot be the reference: " + reason
                                          + ".\r\nThe reference is left as it was."});
        QCOMPARE(ReadTestFile(path), saved);
        QCOMPARE(window->Core().Keeper().Reference()->size(), size_t(2));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
