// A click on a module picture: the locate request, the wait with its spinner, the outcome,
// the highlight, the redrawn links and Module State, re-entrant clicks, scans and closing
// during the wait; then Module State's Apply. Ring: a MemorySerialPort; time: a ManualClock.
#include "RingFixture.h"
#include "TimedRing.h"
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "bus/SendCommand.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmModuleState.h"
#include "ringview/ModulePicture.h"
#include "ringview/frmBackground.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace ringtest;

namespace {

QByteArray LocateReply(int id, bool fault1, bool fault2, uint8_t version = 41, uint8_t mode = 0x4B,
                       int16_t counter1 = 5, int16_t counter2 = 9)
{
    return EncodeReply(Reply{'P', id, version, mode, fault1, fault2, counter1, counter2});
}

QByteArray Frame(char letter, int id, int mode)
{
    const char bytes[] = {letter, char(id % 256), char(id / 256), char(mode), 0x0A, 0x0D, 0x00};
    return QByteArray(bytes, sizeof bytes);
}

} // namespace

class TestModuleClick : public QObject
{
    Q_OBJECT

private:
    ManualClock clock;
    QStringList boxes;  // "icon title: text"
    QStringList captions;
    std::unique_ptr<MemorySerialPort> port;
    std::unique_ptr<BusLink> link;
    std::unique_ptr<frmModuleState> state;
    QPointer<frmBackground> window;
    std::unique_ptr<TimedRing> ring;

    int ImageOf(int k) const { return window->picModule(k)->Image(); }
    // Module State: ID, version, mode, the two error counters and the rule.
    QStringList Fields() const
    {
        return {state->txtModulID->text(), state->txtVersion->text(), state->txtMode->text(),
                state->txtErrorCounterCH1->text(), state->txtErrorCounterCH2->text(),
                state->cmbErrorRelais->currentText()};
    }
    Seen Link(int k) const { return RingColourAt(window->Drawing(), LinkMiddle(k, gModuleCount)); }

    void ShowRing(const std::vector<RingModule> &modules)
    {
        SetRing(modules);
        window->Form_Activate();
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock = ManualClock();
        clock.SetAutoAdvance(1);
        SetClock(&clock);
        boxes.clear();
        captions.clear();
        SetMessageHook([this](QMessageBox::Icon icon, const QString &title, const QString &text) {
            boxes << QStringLiteral("%1 %2: %3").arg(int(icon)).arg(title, text);
        });
        port = std::make_unique<MemorySerialPort>();
        port->Open();
        SetCommPort(port.get());
        link = std::make_unique<BusLink>(port.get());
        state = std::make_unique<frmModuleState>();
        window = new frmBackground;
        window->resize(400, 300);
        window->SetModuleStateProvider([this] { return state.get(); });
        connect(window, &QWidget::windowTitleChanged, this, [this](const QString &t) { captions << t; });
        ring = std::make_unique<TimedRing>(clock, *port, *link);
    }
    void cleanup()
    {
        ring.reset();
        delete window;
        state.reset();
        link.reset();
        SetCommPort(nullptr);
        port.reset();
        SetMessageHook(nullptr);
        SetClock(nullptr);
    }

    void answerAfter300ms()
    {
        ShowRing({{1}, {300}, {3}});
        gModules[300].SetVersion(40);
        ring->AnswerAt(300, LocateReply(300, true, false, 123, 0x35, 17, 4));
        const int64_t t0 = clock.NowMs();
        window->picModule_Click(1);
        const int64_t waited = clock.NowMs() - t0;

        QCOMPARE(port->written, QList<QByteArray>{QByteArray::fromHex("502c0100" "0a0d00")});
        // 300 passes: the spinner has not moved yet.
        QCOMPARE(captions, (QStringList{"Bus Info - Searching module... |", "Bus Info - module found!"}));
        QVERIFY2(waited >= 300 && waited < 320, qPrintable(QString::number(waited)));
        QVERIFY(boxes.isEmpty());
        QCOMPARE(ImageOf(1), 6);
        QCOMPARE(Fields(), (QStringList{"300", "12.3", "00110101", "17", "4", "NOT CH1_Error OR NOT CH2_Error"}));
    }

    // The time limit is elapsed time, not time of day: a wait that spans midnight still ends.
    void noAnswer()
    {
        clock.SetTimeOfDay(86399.5f);
        ShowRing({{1}, {2}, {300}, {4}});
        ModuleData &record = gModules[300];
        record.SetVersion(255);
        record.SetMode(0x35);
        record.SetErrorCounterChannel1(3);
        record.SetErrorCounterChannel2(12);
        const int64_t t0 = clock.NowMs();
        window->picModule_Click(2);
        const int64_t waited = clock.NowMs() - t0;

        QCOMPARE(boxes, QStringList{"3 Error!: Modul with ID 300 not answer!"});
        // One millisecond per pass: 2 s of passes, a spinner step every 400 from the second on.
        QVERIFY2(waited >= 2000 && waited < 2020, qPrintable(QString::number(waited)));
        const QString searching = QStringLiteral("Bus Info - Searching module... ");
        QCOMPARE(captions, (QStringList{searching + "|", searching + "/", searching + "-", searching + "\\",
                                        searching + "|", "Bus Info - Selected module not found!"}));
        // Marked faulty on both channels, yet its links stay blue: the neighbours are sound.
        QVERIFY(record.GetStatusChannel1() && record.GetStatusChannel2());
        QCOMPARE(ImageOf(2), 8);
        QCOMPARE(Link(1), Seen::Blue);
        QCOMPARE(Link(2), Seen::Blue);
        QCOMPARE(Fields(), (QStringList{"300", "25.5", "00110101", "3", "12", "NOT CH1_Error OR NOT CH2_Error"}));
    }

    // A click redraws the clicked module's two links from its reply: in a ring of two by the
    // clicked channel alone, from three modules on by any channel on both sides.
    void clickRedrawsItsLinks_data()
    {
        using R = std::vector<RingModule>;
        using L = QList<Seen>;
        using I = QList<int>;
        QTest::addColumn<R>("modules");
        QTest::addColumn<R>("clicks");  // id: the position clicked; the channels: its reply
        QTest::addColumn<L>("links");
        QTest::addColumn<I>("images");
        const auto B = Seen::Blue;
        const auto X = Seen::Red;
        QTest::newRow("two, channel 1") << R{{10, true}, {20, false, true}} << R{{0, true}} << L{X, B} << I{6, 3};
        QTest::newRow("two, channel 2") << R{{10, false, true}, {20, false, true}} << R{{0, false, true}} << L{B, X}
                                        << I{7, 3};
        QTest::newRow("three, now sound: its links turn blue, the third stays")
            << R{{1, true}, {2, false, true}, {3, true}} << R{{1}} << L{B, B, X} << I{2, 5, 2};
        QTest::newRow("last position redraws the wrapping link") << R{{1, true}, {2}, {3}, {4, true}} << R{{3}}
                                                                 << L{B, B, B, B} << I{2, 1, 1, 5};
        QTest::newRow("first position redraws the wrapping link") << R{{1}, {2}, {3}, {4, false, true}}
                                                                  << R{{0, true}} << L{B, B, B, X} << I{6, 1, 1, 3};
        QTest::newRow("highlight moves") << R{{1}, {2, true}, {3}} << R{{1, true}, {2, false, true}} << L{B, X, B}
                                         << I{1, 2, 7};
    }
    void clickRedrawsItsLinks()
    {
        QFETCH(std::vector<RingModule>, modules);
        QFETCH(std::vector<RingModule>, clicks);
        QFETCH(QList<int>, images);
        ShowRing(modules);
        for (const RingModule &click : clicks) {
            ring->AnswerAt(clock.NowMs() + 10, LocateReply(modules[size_t(click.id)].id, click.fault1, click.fault2));
            window->picModule_Click(click.id);
        }
        QList<Seen> links;
        QList<int> shown;
        for (int k = 0; k < gModuleCount; ++k) {
            links << Link(k);
            shown << ImageOf(k);
        }
        QTEST(links, "links");
        QCOMPARE(shown, images);
        // A drawing pass removes the highlight but keeps the selected position.
        window->DrawModules();
        const int selected = clicks.back().id;
        QCOMPARE(window->SelectedIndex(), selected);
        QCOMPARE(ImageOf(selected), images[selected] - 4);
    }

    void secondClickDuringTheWait()
    {
        ShowRing({{1}, {2}, {3}});
        // During the wait for position 0 the user clicks position 1, which answers first.
        ring->At(100, [this] { QTest::mouseClick(window->picModule(1), Qt::LeftButton); });
        ring->AnswerAt(300, LocateReply(2, false, true));
        ring->AnswerAt(600, LocateReply(1, false, false));
        window->picModule_Click(0);
        QCOMPARE(port->written, (QList<QByteArray>{Frame('P', 1, 0), Frame('P', 2, 0)}));
        QVERIFY(boxes.isEmpty());
        QCOMPARE(window->SelectedIndex(), 0);
        QCOMPARE((QList<int>{ImageOf(0), ImageOf(1)}), (QList<int>{5, 3}));
    }

    // A double-click is press, release, double-click, release; a held key repeats its press.
    // Either is one locate of the picture's module.
    void oneGestureIsOneLocate_data()
    {
        QTest::addColumn<int>("key");  // 0: the mouse
        QTest::newRow("double-click") << 0;
        QTest::newRow("held Space") << int(Qt::Key_Space);
        QTest::newRow("held Enter") << int(Qt::Key_Return);
    }
    void oneGestureIsOneLocate()
    {
        QFETCH(int, key);
        ShowRing({{1}, {2}, {3}});
        ModulePicture *picture = window->picModule(1);
        QSignalSpy clicks(picture, &ModulePicture::clicked);
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(2, false, false));
        if (key == 0) {
            QTest::mouseClick(picture, Qt::LeftButton);
            QTest::mouseDClick(picture, Qt::LeftButton);
            QTest::mouseRelease(picture, Qt::LeftButton);
        } else {
            for (bool repeat : {false, true, true, true}) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
                QCoreApplication::sendEvent(picture, &press);
            }
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
            QCoreApplication::sendEvent(picture, &release);
        }
        QCOMPARE(clicks.size(), 1);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(port->written, QList<QByteArray>{Frame('P', 2, 0)});
        QVERIFY(boxes.isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("Bus Info - module found!"));
    }

    void ringRebuiltDuringTheWait()
    {
        ShowRing({{1}, {2}, {3}});
        QPointer<ModulePicture> clicked = window->picModule(2);
        // A scan's redraw destroys and recreates the pictures while the click waits.
        ring->At(100, [this] { window->Form_Activate(); });
        ring->AnswerAt(300, LocateReply(3, true, true));
        window->picModule_Click(2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!clicked);
        QCOMPARE(ImageOf(2), 8);
        QCOMPARE(window->SelectedIndex(), 2);
    }

    // A scan inside the wait of a silent module's locate: the end of the click goes to that
    // module where it stands now, or to no picture when it left; the message names it.
    void scanDuringTheWait_data()
    {
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<int>("selected");
        QTest::newRow("moved to the front") << QList<int>{3, 1, 4, 2} << 0;
        QTest::newRow("moved to the end") << QList<int>{1, 2, 4, 3} << 3;
        QTest::newRow("left the ring") << QList<int>{1, 2, 4} << -1;
        QTest::newRow("ring shrank below the selection") << QList<int>{1} << -1;
    }
    void scanDuringTheWait()
    {
        QFETCH(QList<int>, after);
        QFETCH(int, selected);
        ShowRing({{1}, {2}, {3}, {4}});
        ring->At(100, [this, after] {
            std::vector<RingModule> modules;
            for (int id : after)
                modules.push_back({id});
            ShowRing(modules);
        });
        window->picModule_Click(2);
        QCOMPARE(boxes, QStringList{"3 Error!: Modul with ID 3 not answer!"});
        QVERIFY(gModules[3].GetStatusChannel1() && gModules[3].GetStatusChannel2());
        QCOMPARE(Fields().first(), QStringLiteral("3"));
        for (int k = 0; k < int(after.size()); ++k)
            QCOMPARE(ImageOf(k), k == selected ? 8 : 1);
        QCOMPARE(window->SelectedIndex(), selected < 0 ? 2 : selected);
        for (int k = 0; k < int(after.size()); ++k)
            QCOMPARE(Link(k), Seen::Blue);
        // The next click skips a selection that vanished.
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(after.first(), false, false));
        window->picModule_Click(0);
        QCOMPARE(ImageOf(0), 5);
    }

    void windowClosedDuringTheWait()
    {
        ShowRing({{1}, {2}});
        ring->At(100, [this] { delete window; });
        frmBackground *raw = window;
        raw->picModule_Click(1);
        QVERIFY(!window);
        QCOMPARE(boxes, QStringList{"3 Error!: Modul with ID 2 not answer!"});
        QVERIFY(gModules[2].GetStatusChannel1());
    }

    // Module State's Apply: a new mode byte from the rule for the module with S or W, and
    // the input check of the ID: nothing sent, nothing changed (id -1). A rejected ID marks
    // its field with the reason until the text changes; an empty one, which is no ID at all,
    // and an accepted one leave it unmarked.
    void apply_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<bool>("eeprom");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("reason");
        const QString Or = QStringLiteral("CH1_Error OR CH2_Error");
        QTest::newRow("0x3B to OR") << "7" << 0x3B << Or << false << 7 << 0x2B << "";
        QTest::newRow("rule 3 to AND keeps the rest") << "32000" << 0xFF << "CH1_Error AND CH2_Error" << true << 32000
                                                      << 0xCF << "";
        QTest::newRow("unknown text is rule 0") << "1" << 0x7A << "NOT CH1_Error  OR NOT CH2_Error" << false << 1
                                                << 0x4A << "";
        QTest::newRow("NOT OR NOT, ID 0") << "0" << 0x00 << "NOT CH1_Error OR NOT CH2_Error" << false << 0 << 0x30
                                          << "";
        QTest::newRow("leading zeros") << "007" << 0x03 << Or << false << 7 << 0x23 << "";
        QTest::newRow("rejected ''") << "" << 0x03 << Or << false << -1 << 0x03 << "";
        for (const char *text : {"abc", "-1", "1e3", " 5", "5 ", "+5", "5.0"})
            QTest::addRow("rejected '%s'", text) << text << 0x03 << Or << false << -1 << 0x03 << "digits 0 to 9 only";
        for (const char *text : {"32001", "99999999999", "65536"})
            QTest::addRow("rejected '%s'", text) << text << 0x03 << Or << false << -1 << 0x03 << "between 0 and 32000";
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0665") << 0x03 << Or << false << -1 << 0x03
                                             << "digits 0 to 9 only";
    }
    void apply()
    {
        QFETCH(QString, text);
        QFETCH(int, stored);
        QFETCH(QString, rule);
        QFETCH(bool, eeprom);
        QFETCH(int, id);
        QFETCH(int, mode);
        QFETCH(QString, reason);
        for (int slot : {0, 1, 5, 7, 32000})
            gModules[size_t(slot)].SetMode(uint8_t(stored));
        state->txtModulID->setText(text);
        const QColor plain = state->txtModulID->palette().color(QPalette::Base);
        state->txtMode->setText(QStringLiteral("unchanged"));
        state->cmbErrorRelais->setCurrentText(rule);
        state->chkWriteToEEPROM->setChecked(eeprom);
        state->cmdApply->click();
        for (int slot : {0, 1, 5, 7, 32000})
            QCOMPARE(int(gModules[size_t(slot)].GetMode()), slot == id ? mode : stored);
        QCOMPARE(port->written, id < 0 ? QList<QByteArray>() : QList<QByteArray>{Frame(eeprom ? 'W' : 'S', id, mode)});
        QCOMPARE(state->txtMode->text(), id < 0 ? QStringLiteral("unchanged") : ByteToBin(uint8_t(mode)));

        QCOMPARE(state->ModulIDProblem().contains(reason), true);
        QCOMPARE(state->ModulIDProblem().isEmpty(), reason.isEmpty());
        QCOMPARE(state->txtModulID->toolTip(), state->ModulIDProblem());
        QCOMPARE(state->txtModulID->palette().color(QPalette::Base) != plain, !reason.isEmpty());
        if (id < 0) {
            state->cmdApply->click();
            QCOMPARE(state->txtModulID->toolTip(), state->ModulIDProblem());
        }
        state->txtModulID->setText(text + QStringLiteral("1"));
        QVERIFY(state->txtModulID->toolTip().isEmpty());
        QCOMPARE(state->txtModulID->palette().color(QPalette::Base), plain);
    }

    void closedPortStillUpdatesTheRecord()
    {
        port->Close();
        state->txtModulID->setText(QStringLiteral("9"));
        state->cmdApply_Click();
        QVERIFY(port->written.isEmpty());
        QCOMPARE(int(gModules[9].GetMode()), 0x10);
    }

    // One click on a window that is not active does what it does in an active one: on a picture
    // of "Bus Info", whose activation rebuilds the pictures between the press and the release,
    // and on a button of Module State. Pressed and released through the main window, as the
    // window system delivers them, with the event loop running in between.
    void clickOnInactiveWindow_data()
    {
        QTest::addColumn<bool>("onPicture");
        QTest::newRow("picture of Bus Info") << true;
        QTest::newRow("Apply of Module State") << false;
    }
    void clickOnInactiveWindow()
    {
        QFETCH(bool, onPicture);
        ring.reset();
        link.reset();
        port->Close();
        QTemporaryDir dir;
        QFile ini(dir.filePath(QStringLiteral("zephlink9-setup.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\n") > 0);
        ini.close();
        frmMain main(frmMain::Options{port.get(), ini.fileName(), [] {}});
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTRY_VERIFY(port->IsOpen());
        SetRing({{1}, {2}, {3}});
        main.RedrawRing();
        frmBackground *busInfo = main.BusInfo();
        main.MdiArea()->setActiveSubWindow(ChildFrame(onPicture ? main.ModuleState() : static_cast<QWidget *>(busInfo)));
        TimedRing answers(clock, *port, main.Link());
        answers.AnswerAt(clock.NowMs() + 50, LocateReply(3, false, true));
        QWidget *target = onPicture ? static_cast<QWidget *>(busInfo->picModule(2)) : main.ModuleState()->cmdApply;
        main.ModuleState()->cmdApply->setEnabled(true);
        QSignalSpy applied(main.ModuleState()->cmdApply, &QPushButton::clicked);
        const QPoint at = target->mapTo(&main, target->rect().center());
        QTest::mousePress(main.windowHandle(), Qt::LeftButton, {}, at);

        QTest::qWait(20);
        QTest::mouseRelease(main.windowHandle(), Qt::LeftButton, {}, at);
        if (onPicture) {
            QTRY_COMPARE(busInfo->windowTitle(), QStringLiteral("Bus Info - module found!"));
            QCOMPARE(port->written, QList<QByteArray>{Frame('P', 3, 0)});
            QCOMPARE(busInfo->picModule(2)->Image(), 7);
        } else {
            QCOMPARE(applied.size(), 1);
        }
        QVERIFY(boxes.isEmpty());
    }
};

QTEST_MAIN(TestModuleClick)
#include "tst_moduleclick.moc"
