// The main window around the scan: messages, the Apply buttons, automatic refresh, and
// what counts as activation.
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmProgramSettings.h"
#include "model/Clock.h"
#include "model/Global.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QAccessible>
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
    void ShowFocused()
    {
        window->show();
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
    }
    void ScanSettled(const QByteArray &ring)
    {
        QSignalSpy settled(&Link(), &BusLink::scanSettled);
        port->Feed(ring);
        window->mnuRefresh_Click();
        clock.Advance(BusLink::kScanQuietMs);  // the ring has been quiet for long enough
        QTRY_COMPARE(settled.size(), 1);
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
        QTest::newRow("ring of three") << ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('R', 12) << 5
                                       << false << 3 << QStringList{} << kOn;
        QTest::newRow("foreign module") << ReplyBytes('G', 5) + ReplyBytes('L', 7, 39) << 5 << false << 2
                                        << QStringList{"3 Warning!: " + kForeign} << kOff;
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
            Link().ReadComInput();
        window->mnuRefresh_Click();
        QTEST(boxes, "expectedBoxes");
        QTEST(int(gModuleCount), "count");
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
        ShowFocused();
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

        if (popup == QLatin1String("combo")) {
            window->GlobalSettings()->cmbBaudrate->showPopup();
        } else {
            window->mnuSettings->popup(window->mapToGlobal(QPoint(40, 40)));
        }
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTRY_VERIFY(QGuiApplication::focusWindow() != window->windowHandle());
        QWidget *open = QApplication::activePopupWidget();
        if (popup == QLatin1String("select")) {
            const QRect item = window->mnuSettings->actionGeometry(window->mnuSelectComPort);
            QTest::mouseClick(window->mnuSettings, Qt::LeftButton, {}, item.center());
        } else {
            open->close();
        }
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
        QTest::qWait(20);

        if (popup == QLatin1String("select")) {
            // The dialog probed the ports and left them closed until its OK.
            QVERIFY(!port->IsOpen());
            QVERIFY(!Link().Timer1.isActive() && !Link().Timer3.isActive());
        } else {
            QVERIFY(Link().Timer3.isActive() && Link().Timer1.isActive());
            QCOMPARE(port->openCount, opened);
        }
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
        gModuleCount = 0;
        window->GlobalSettings()->cmdApply_Click();
        QWidget *child = window->findChild<QWidget *>(form);
        QVERIFY(child);
        QApplication::processEvents();
        QCOMPARE(child->size(), pixels);
        QMdiSubWindow *frame = ChildFrame(child);
        QVERIFY(frame);
        // No empty band around the form inside its frame.
        QCOMPARE(frame->contentsRect().size(), pixels);
        if (!keptOpen)
            return;
        QVERIFY(!(frame->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
        QVERIFY(!frame->close());
        QApplication::processEvents();
        QCOMPARE(window->findChild<QWidget *>(form), child);
        QVERIFY(frame->isVisible());
    }

    void comPortDialogChosenAgainComesToTheFrontWithNoChoice()
    {
        window->show();
        window->mnuSelectComPort_Click();
        frmProgramSettings *settings = window->ProgramSettingsIfLoaded();
        QVERIFY(settings);
        settings->optCom[2]->setChecked(true);
        window->MdiArea()->setActiveSubWindow(ChildFrame(window->ModuleState()));
        window->mnuSelectComPort_Click();
        QCOMPARE(window->ProgramSettingsIfLoaded(), settings);
        QCOMPARE(window->MdiArea()->subWindowList(QMdiArea::StackingOrder).last(), ChildFrame(settings));
        for (int n = 1; n <= 4; ++n)
            QVERIFY(!settings->optCom[n]->isChecked());
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
                window->ProgramSettingsIfLoaded()->cmdOK_Click();
            QTRY_VERIFY(!window->ProgramSettingsIfLoaded() || story == 3);
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
        QTest::addColumn<QList<bool>>("atReturn");  // Timer1, Timer3 when the port is open again
        QTest::addColumn<QList<bool>>("afterwards");
        QTest::newRow("nothing") << "" << kOn << kOn;
        QTest::newRow("About box") << "about" << kOff << kOn;
        QTest::newRow("deactivated") << "deactivated" << kOff << QList<bool>{true, false};
    }
    void deviceBackWhileTimersHeld()
    {
        QFETCH(QString, holder);
        QFETCH(QList<bool>, atReturn);
        QFETCH(QList<bool>, afterwards);
        window->mnuAutorefresh->trigger();
        port->Vanish();
        QList<bool> seen;
        const auto deviceBack = [this, &seen] {
            window->Watcher().Look();
            QVERIFY(port->IsOpen());
            seen = {Link().Timer1.isActive(), Link().Timer3.isActive()};
        };
        if (holder == "about") {
            SetMessageHook([&](QMessageBox::Icon, const QString &, const QString &) { deviceBack(); });
            window->mnuAbout_Click();
        } else if (holder == "deactivated") {
            window->Form_Deactivate();
            deviceBack();
            window->Form_Activate();
        } else {
            deviceBack();
        }
        QCOMPARE(seen, atReturn);
        QCOMPARE((QList<bool>{Link().Timer1.isActive(), Link().Timer3.isActive()}), afterwards);
    }

    // Verify Settings sends the scan alone and sums up what Module State's Apply sent.
    void verifySettings()
    {
        const QByteArray ring = EncodeReply(Reply{'G', 5, 41, 0x13}) + EncodeReply(Reply{'L', 7, 41, 0x13});
        ScanSettled(ring);
        window->ModuleState()->txtModulID->setText(QStringLiteral("7"));
        window->ModuleState()->cmbErrorRelais->setCurrentIndex(0);
        window->ModuleState()->cmdApply_Click();
        port->written.clear();
        port->Feed(ring);  // module 7 kept its old rule
        window->mnuVerifySettings->trigger();
        clock.Advance(BusLink::kScanQuietMs);
        QTRY_COMPARE(boxes, QStringList{"1 Verify Settings: Verify Settings: 0 of 2 modules as applied, 1 differs, 0 no answer, "
                                        "1 nothing applied."});
        QCOMPARE(port->written, QList<QByteArray>{BuildCommandFrame('G', 0, 0, 0)});
        QCOMPARE(window->Verifier().Results().at(1).Text(), QStringLiteral("differs: mode 0x13, applied 0x03"));
    }

    void saveReportWithoutModules()
    {
        window->mnuSaveReport->trigger();
        QCOMPARE(boxes, QStringList{"3 Save Report: No modules: Refresh scans the ring first."});
        QVERIFY(!window->findChild<QFileDialog *>());
    }

    // The save dialog is a window of its own, but no switch away from the program.
    void saveDialogKeepsReceptionAndRefresh()
    {
        ShowFocused();
        ScanSettled(ReplyBytes('G', 5) + ReplyBytes('L', 7));
        window->mnuAutorefresh->trigger();
        window->mnuSaveReport->trigger();
        QPointer<QFileDialog> dialog = window->findChild<QFileDialog *>();
        QVERIFY(dialog);
        QTRY_VERIFY(QGuiApplication::focusWindow() == dialog->windowHandle());
        QVERIFY(!dialog->isModal() || dialog->windowModality() != Qt::ApplicationModal);
        QCOMPARE(dialog->nameFilters(), (QStringList{"PDF report (*.pdf)", "Module table (*.csv)"}));
        QVERIFY(QRegularExpression(QStringLiteral("^ring-report-\\d{4}-\\d\\d-\\d\\d-\\d{4}\\.pdf$"))
                    .match(QFileInfo(dialog->selectedFiles().value(0)).fileName()).hasMatch());
        QVERIFY(Link().Timer1.isActive() && Link().Timer3.isActive());
        const QString path = dir.filePath(QStringLiteral("ring.csv"));
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
        QTRY_VERIFY(!dialog);
        QVERIFY(QFile::exists(path));
        QVERIFY(Link().Timer1.isActive() && Link().Timer3.isActive());
        QVERIFY(boxes.isEmpty());
    }

    void unloadStopsTimersAndClosesPort()
    {
        window->show();
        port->Vanish();
        window->close();
        QVERIFY(!window->Watcher().IsWatching());
        QVERIFY(!port->IsOpen());
        QVERIFY(!Link().Timer1.isActive() && !Link().Timer2.isActive());
        QVERIFY(boxes.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
