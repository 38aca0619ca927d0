// A click on a module picture: the locate request, the wait with its spinner, the outcome,
// the highlight, the redrawn links and Module State, re-entrant clicks, scans and closing
// during the wait; then Module State's Apply. Ring: a MemorySerialPort; time: a ManualClock.
#include "BoxCatcher.h"
#include "ManualClock.h"
#include "RingFixture.h"
#include "TestFiles.h"
#include "TimedRing.h"
#include "app/frmMain.h"
#include "bus/Frames.h"
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
    BoxCatcher catcher;  // the boxes, "icon title: text"
    QStringList titles;
    std::unique_ptr<MemorySerialPort> port;
    std::unique_ptr<RingCore> core;
    TwipsSize busInfoSize;
    std::unique_ptr<frmModuleState> state;
    QPointer<frmBackground> window;
    std::unique_ptr<TimedRing> ring;

    int ImageOf(int k) const { return window->picModule(k)->Image(); }
    // Each position's image and the colour of the link to the next one: "6r 3b".
    QString Shown() const
    {
        QStringList shown;
        const int count = core->Table().Count();
        for (int k = 0; k < count; ++k)
            shown << QString::number(ImageOf(k)) + RingColourAt(window->Drawing(), LinkMiddle(k, count));
        return shown.join(' ');
    }
    // Module State: ID, version, mode, the two error counters and the rule.
    QStringList Fields() const
    {
        return {state->txtModulID->text(), state->txtVersion->text(), state->txtMode->text(),
                state->txtErrorCounterCH1->text(), state->txtErrorCounterCH2->text(),
                state->cmbErrorRelais->currentText()};
    }
    // A scan brings the ring, the ring goes quiet and the window draws it; the scan's frame is
    // not the click's.
    void ShowRing(const std::vector<RingModule> &modules)
    {
        SetRing(*core, *port, modules);
        clock.Advance(BusLink::kScanQuietMs);
        core->Link().PollPort();
        window->Form_Activate();
        port->written.clear();
    }
    // Module id reports mode, unasked.
    void Report(int id, uint8_t mode)
    {
        port->Feed(EncodeReply(Reply{'P', id, 41, mode, false, false, 0, 0}));
        core->Link().PollPort();
        core->Link().ParseReceived();
    }

private slots:
    void init()
    {
        clock = ManualClock();
        clock.SetAutoAdvance(1);
        SetClock(&clock);
        catcher.boxes.clear();
        titles.clear();
        port = std::make_unique<MemorySerialPort>();
        port->Open();
        core = std::make_unique<RingCore>(port.get());
        state = std::make_unique<frmModuleState>(*core);
        window = new frmBackground(*core, busInfoSize);
        window->resize(400, 300);
        window->SetModuleStateProvider([this] { return state.get(); });
        connect(window, &QWidget::windowTitleChanged, this, [this](const QString &t) { titles << t; });
        ring = std::make_unique<TimedRing>(clock, *port, core->Link());
    }
    void cleanup()
    {
        ring.reset();
        delete window;
        state.reset();
        core.reset();
        port.reset();
        SetClock(nullptr);
    }

    // The wait spans midnight: its limit is elapsed time, not time of day. One millisecond per
    // pass; the spinner steps every 400 passes from the second step on. Unanswered, the module
    // is marked faulty on both channels, yet its links stay blue: the neighbours are sound;
    // Module State shows what the module last reported, from the scan.
    void locate_data()
    {
        QTest::addColumn<bool>("answers");  // after 300 ms, faulty on channel 1
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("fields");
        const QString s = QStringLiteral("Bus Info - Searching module... ");
        QTest::newRow("answer") << true << QStringList{s + "|", "Bus Info - module found!"} << QStringList()
                                << "1b 6b 1b 1b"
                                << QStringList{"300", "12.3", "00110101", "17", "4", "NOT CH1_Error OR NOT CH2_Error"};
        QTest::newRow("no answer") << false
            << QStringList{s + "|", s + "/", s + "-", s + "\\", s + "|", "Bus Info - Selected module not found!"}
            << QStringList{"3 Error!: Modul with ID 300 not answer!"} << "1b 8b 1b 1b"
            << QStringList{"300", "4.1", "00010011", "0", "0", "NOT CH1_Error AND NOT CH2_Error"};
    }
    void locate()
    {
        QFETCH(bool, answers);
        clock.SetTimeOfDay(86399.5f);
        ShowRing({{1}, {300}, {3}, {4}});
        const int64_t t0 = clock.NowMs();
        if (answers)
            ring->AnswerAt(t0 + 300, LocateReply(300, true, false, 123, 0x35, 17, 4));
        window->picModule_Click(1);
        const int64_t waited = clock.NowMs() - t0 - (answers ? 300 : 2000);
        QVERIFY2(waited >= 0 && waited < 20, qPrintable(QString::number(waited)));
        QCOMPARE(port->written, QList<QByteArray>{Frame('P', 300, 0)});
        QTEST(titles, "captions");
        QTEST(catcher.boxes, "boxes");
        QTEST(Shown(), "shown");
        QTEST(Fields(), "fields");
    }

    // A click redraws the clicked module's two links from its reply: in a ring of two by the
    // clicked channel alone, from three modules on by any channel on both sides.
    void clickRedrawsItsLinks_data()
    {
        using R = std::vector<RingModule>;
        QTest::addColumn<R>("modules");
        QTest::addColumn<R>("clicks");  // id: the position clicked; the channels: its reply
        QTest::addColumn<QString>("shown");
        QTest::newRow("two, channel 1") << R{{10, true}, {20, false, true}} << R{{0, true}} << "6r 3b";
        QTest::newRow("two, channel 2") << R{{10, false, true}, {20, false, true}} << R{{0, false, true}} << "7b 3r";
        QTest::newRow("three, now sound: its links turn blue, the third stays")
            << R{{1, true}, {2, false, true}, {3, true}} << R{{1}} << "2b 5b 2r";
        QTest::newRow("last position, wrapping link") << R{{1, true}, {2}, {3}, {4, true}} << R{{3}} << "2b 1b 1b 5b";
        QTest::newRow("first position, wrapping link") << R{{1}, {2}, {3}, {4, false, true}} << R{{0, true}}
                                                       << "6b 1b 1b 3r";
        QTest::newRow("highlight moves") << R{{1}, {2, true}, {3}} << R{{1, true}, {2, false, true}} << "1b 2r 7b";
    }
    void clickRedrawsItsLinks()
    {
        QFETCH(std::vector<RingModule>, modules);
        QFETCH(std::vector<RingModule>, clicks);
        ShowRing(modules);
        for (const RingModule &click : clicks) {
            ring->AnswerAt(clock.NowMs() + 10, LocateReply(modules[size_t(click.id)].id, click.fault1, click.fault2));
            window->picModule_Click(click.id);
        }
        QTEST(Shown(), "shown");
        // A drawing pass removes the highlight but keeps the selected position.
        const int selected = clicks.back().id;
        const int highlighted = ImageOf(selected);
        window->DrawModules();
        QCOMPARE(window->SelectedIndex(), selected);
        QCOMPARE(ImageOf(selected), highlighted - 4);
    }

    // A double-click is press, release, double-click, release; a held key repeats its press.
    // Either is one locate of the picture's module. Done during the wait of another click, it
    // locates inside that wait, and the outer click's end comes last.
    void oneGestureIsOneLocate_data()
    {
        QTest::addColumn<int>("key");  // 0: the mouse
        QTest::addColumn<bool>("inWait");
        QTest::addColumn<QList<QByteArray>>("written");
        QTest::addColumn<QString>("shown");
        const QList<QByteArray> two{Frame('P', 2, 0)};
        QTest::newRow("double-click") << 0 << false << two << "1b 7b 1b";
        QTest::newRow("held Space") << int(Qt::Key_Space) << false << two << "1b 7b 1b";
        QTest::newRow("held Enter") << int(Qt::Key_Return) << false << two << "1b 7b 1b";
        QTest::newRow("double-click during the wait for position 0")
            << 0 << true << QList<QByteArray>{Frame('P', 1, 0), Frame('P', 2, 0)} << "5b 3b 1b";
    }
    void oneGestureIsOneLocate()
    {
        QFETCH(int, key);
        QFETCH(bool, inWait);
        ShowRing({{1}, {2}, {3}});
        ModulePicture *picture = window->picModule(1);
        QSignalSpy clicks(picture, &ModulePicture::clicked);
        const auto gesture = [picture, key] {
            if (key == 0) {
                QTest::mouseClick(picture, Qt::LeftButton);
                QTest::mouseDClick(picture, Qt::LeftButton);
                QTest::mouseRelease(picture, Qt::LeftButton);
                return;
            }
            for (bool repeat : {false, true, true, true})
                QTest::simulateEvent(picture, true, key, {}, QString(), repeat);
            QTest::simulateEvent(picture, false, key, {}, QString(), false);
        };
        const int64_t t0 = clock.NowMs();
        ring->AnswerAt(t0 + 300, LocateReply(2, false, true));
        if (inWait) {
            ring->At(t0 + 100, gesture);
            ring->AnswerAt(t0 + 600, LocateReply(1, false, false));
            window->picModule_Click(0);
        } else {
            gesture();
        }
        QCOMPARE(clicks.size(), 1);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QTEST(port->written, "written");
        QVERIFY(catcher.boxes.isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("Bus Info - module found!"));
        QTEST(Shown(), "shown");
    }

    // A scan inside the wait of a locate recreates the pictures: the end of the click goes to
    // the module where it stands now (its reply to the scan is an answer), or to no picture when
    // it left, unanswered; the message and Module State name it.
    void scanDuringTheWait_data()
    {
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("selected");
        QTest::newRow("ring unchanged") << QList<int>{1, 2, 3, 4} << "1b 1b 5b 1b" << 2;
        QTest::newRow("moved to the front") << QList<int>{3, 1, 4, 2} << "5b 1b 1b 1b" << 0;
        QTest::newRow("moved to the end") << QList<int>{1, 2, 4, 3} << "1b 1b 1b 5b" << 3;
        QTest::newRow("left the ring") << QList<int>{1, 2, 4} << "1b 1b 1b" << 2;
        QTest::newRow("ring shrank below the selection") << QList<int>{1} << "1b" << 2;
    }
    void scanDuringTheWait()
    {
        QFETCH(QList<int>, after);
        const bool stays = after.contains(3);
        ShowRing({{1}, {2}, {3}, {4}});
        QPointer<ModulePicture> clicked = window->picModule(2);
        ring->At(clock.NowMs() + 100, [this, after] {
            std::vector<RingModule> modules;
            for (int id : after)
                modules.push_back({id});
            ShowRing(modules);
        });
        window->picModule_Click(2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!clicked);
        QCOMPARE(catcher.boxes, stays ? QStringList() : QStringList{"3 Error!: Modul with ID 3 not answer!"});
        QCOMPARE(core->Table().LocateFailed(3), !stays);
        QCOMPARE(core->Table().Module(3).GetStatusChannel1() && core->Table().Module(3).GetStatusChannel2(), !stays);
        QCOMPARE(Fields().first(), QStringLiteral("3"));
        QTEST(Shown(), "shown");
        QTEST(int(window->SelectedIndex()), "selected");
        // The next click skips a selection that vanished.
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(after.first(), false, false));
        window->picModule_Click(0);
        QCOMPARE(ImageOf(0), 5);
    }

    void windowClosedDuringTheWait()
    {
        ShowRing({{1}, {2}});
        ring->At(clock.NowMs() + 100, [this] { delete window; });
        frmBackground *raw = window;
        raw->picModule_Click(1);
        QVERIFY(!window);
        QCOMPARE(catcher.boxes, QStringList{"3 Error!: Modul with ID 2 not answer!"});
        QVERIFY(core->Table().LocateFailed(2) && core->Table().Module(2).GetStatusChannel1());
    }

    // Module State's Apply: a new mode byte from the rule for the module with S or W, its rule
    // bits replaced and the rest of its reported mode kept. The table keeps the reported mode;
    // the mode sent is recorded as applied, awaiting its read-back, only when the port took the
    // frame. The input check of the ID: nothing sent, nothing recorded (id -1). A rejected ID marks its
    // field with the reason until the text changes; an empty one, which is no ID at all, and an
    // accepted one leave it unmarked.
    void apply_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<char>("command");  // 0: the port is closed
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("mode");  // from 0xDA
        QTest::addColumn<QString>("reason");
        const QString Or = QStringLiteral("CH1_Error OR CH2_Error");
        QTest::newRow("to OR") << "7" << Or << 'S' << 7 << 0xEA << "";
        QTest::newRow("to AND, kept in EEPROM") << "32000" << "CH1_Error AND CH2_Error" << 'W' << 32000 << 0xCA << "";
        QTest::newRow("to NOT OR NOT, ID 0") << "0" << "NOT CH1_Error OR NOT CH2_Error" << 'S' << 0 << 0xFA << "";
        QTest::newRow("leading zeros") << "007" << Or << 'S' << 7 << 0xEA << "";
        QTest::newRow("closed port") << "5" << Or << char(0) << 5 << 0xEA << "";
        const QString digits = QStringLiteral("digits 0 to 9 only"), range = QStringLiteral("between 0 and 32000");
        QTest::newRow("empty") << "" << Or << 'S' << -1 << 0 << "";
        QTest::newRow("sign") << "-1" << Or << 'S' << -1 << 0 << digits;
        QTest::newRow("32001") << "32001" << Or << 'S' << -1 << 0 << range;
    }
    void apply()
    {
        QFETCH(QString, text);
        QFETCH(QString, rule);
        QFETCH(char, command);
        QFETCH(int, id);
        QFETCH(int, mode);
        QFETCH(QString, reason);
        const QList<int> ids{0, 5, 7, 32000};
        for (int slot : ids)
            Report(slot, 0xDA);
        if (command == 0)
            port->Close();
        state->txtModulID->setText(text);
        const QColor plain = state->txtModulID->palette().color(QPalette::Base);
        state->txtMode->setText(QStringLiteral("unchanged"));
        state->cmbErrorRelais->setCurrentText(rule);
        state->chkWriteToEEPROM->setChecked(command == 'W');
        state->cmdApply->click();
        const bool sent = id >= 0 && command != 0;
        for (int slot : ids) {
            QCOMPARE(int(core->Table().Module(slot).GetMode()), 0xDA);
            const auto applied = core->Table().Applied().Applied(slot);
            QCOMPARE(applied.has_value(), sent && slot == id);
            if (applied)
                QCOMPARE(int(applied->mode), mode);
            QVERIFY(!applied || !applied->readBack);
        }
        QCOMPARE(port->written, sent ? QList<QByteArray>{Frame(command, id, mode)} : QList<QByteArray>());
        QCOMPARE(state->txtMode->text(), id < 0 ? QStringLiteral("unchanged") : ByteToBin(uint8_t(mode)));

        const QString tip = state->txtModulID->toolTip();
        QVERIFY2(tip.contains(reason) && tip.isEmpty() == reason.isEmpty(), qPrintable(tip));
        QCOMPARE(state->txtModulID->palette().color(QPalette::Base) != plain, !reason.isEmpty());
        state->txtModulID->setText(text + QStringLiteral("1"));
        QVERIFY(state->txtModulID->toolTip().isEmpty());
        QCOMPARE(state->txtModulID->palette().color(QPalette::Base), plain);
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
        delete window;
        state.reset();
        core.reset();
        port->Close();
        QTemporaryDir dir;
        const QString ini = WriteTestFile(dir.filePath(QStringLiteral("zephlink9-setup.ini")),
                                          "[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\n");
        frmMain main(frmMain::Options{port.get(), ini, [] {}});
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTRY_VERIFY(port->IsOpen());
        SetRing(main.Core(), *port, {{1}, {2}, {3}});
        clock.Advance(BusLink::kScanQuietMs);
        main.Link().PollPort();
        port->written.clear();
        main.RedrawRing();
        frmBackground *busInfo = main.BusInfo();
        qobject_cast<QMdiArea *>(main.centralWidget())->setActiveSubWindow(ChildFrame(onPicture ? main.ModuleState() : static_cast<QWidget *>(busInfo)));
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
        QVERIFY(catcher.boxes.isEmpty());
    }
};

QTEST_MAIN(TestModuleClick)
#include "tst_moduleclick.moc"
