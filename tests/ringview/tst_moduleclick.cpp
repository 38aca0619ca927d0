// A click on a module picture: the locate request, the wait with its spinner, the outcome
// in the caption and message, the highlight, the two redrawn links and the Module State
// fields, with the ring played by a MemorySerialPort and time by a ManualClock.
#include "RingFixture.h"
#include "app/frmMain.h"
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmModuleState.h"
#include "model/Clock.h"
#include "ringview/ModulePicture.h"
#include "ringview/frmBackground.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace ringtest;

namespace {

struct Box
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

QByteArray LocateReply(int id, bool fault1, bool fault2, int version = 41, int mode = 0x4B, int counter1 = 5,
                       int counter2 = 9)
{
    Reply reply;
    reply.letter = 'P';
    reply.id = id;
    reply.version = uint8_t(version);
    reply.mode = uint8_t(mode);
    reply.status1 = fault1;
    reply.status2 = fault2;
    reply.counter1 = int16_t(counter1);
    reply.counter2 = int16_t(counter2);
    return EncodeReply(reply);
}

QByteArray LocateFrame(int id) { return BuildCommandFrame('P', uint8_t(id % 256), uint8_t(id / 256), 0); }

// Plays the ring while a click waits: on every turn of the event loop it runs the actions
// that are due on the manual clock, then lets the receive and parse handlers run.
class Ring : public QObject
{
public:
    Ring(ManualClock &clock, MemorySerialPort &port, BusLink &link)
        : mClock(clock), mPort(port), mLink(link)
    {
        connect(&mTicker, &QTimer::timeout, this, &Ring::Tick);
        mTicker.start(0);
    }
    void At(int64_t ms, std::function<void()> action) { mActions.push_back({ms, std::move(action)}); }
    void AnswerAt(int64_t ms, const QByteArray &reply)
    {
        At(ms, [this, reply] { mPort.Feed(reply); });
    }

private:
    void Tick()
    {
        for (auto &[due, action] : mActions) {
            if (action && mClock.NowMs() >= due) {
                auto run = std::move(action);
                action = nullptr;
                run();
            }
        }
        mLink.Timer1_Timer();
        mLink.Timer2_Timer();
    }

    ManualClock &mClock;
    MemorySerialPort &mPort;
    BusLink &mLink;
    QTimer mTicker;
    std::vector<std::pair<int64_t, std::function<void()>>> mActions;
};

} // namespace

class TestModuleClick : public QObject
{
    Q_OBJECT

private:
    ManualClock clock;
    QList<Box> boxes;
    std::unique_ptr<MemorySerialPort> port;
    std::unique_ptr<BusLink> link;
    std::unique_ptr<frmModuleState> state;
    QPointer<frmBackground> window;
    std::unique_ptr<Ring> ring;

    QList<QByteArray> Locates() const
    {
        QList<QByteArray> frames;
        for (const QByteArray &frame : port->written)
            if (frame.startsWith('P'))
                frames << frame;
        return frames;
    }
    int ImageOf(int k) const { return window->picModule(k)->Image(); }
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
        SetMessageHook([this](QMessageBox::Icon icon, const QString &title, const QString &text) {
            boxes.append({icon, title, text});
        });
        port = std::make_unique<MemorySerialPort>();
        port->Open();
        SetCommPort(port.get());
        link = std::make_unique<BusLink>(port.get());
        state = std::make_unique<frmModuleState>();
        window = new frmBackground;
        window->resize(400, 300);
        window->SetModuleStateProvider([this] { return state.get(); });
        ring = std::make_unique<Ring>(clock, *port, *link);
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
        QStringList captions;
        connect(window, &QWidget::windowTitleChanged, this, [&](const QString &t) { captions << t; });

        window->picModule_Click(1);

        QCOMPARE(port->written, QList<QByteArray>{QByteArray::fromHex("502c0100" "0a0d00")});
        // 300 passes: the spinner has not moved yet.
        QCOMPARE(captions, (QStringList{"Bus Info - Searching module... |", "Bus Info - module found!"}));
        QVERIFY(window->LastWaitPasses() >= 300 && window->LastWaitPasses() < 310);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(ImageOf(1), 6);
        QCOMPARE(ImageOf(0), 1);
        QCOMPARE(window->SelectedIndex(), 1);
        QCOMPARE(state->txtModulID->text(), QStringLiteral("300"));
        QCOMPARE(state->txtVersion->text(), QStringLiteral("12.3"));
        QCOMPARE(state->txtMode->text(), QStringLiteral("00110101"));
        QCOMPARE(state->txtErrorCounterCH1->text(), QStringLiteral("17"));
        QCOMPARE(state->txtErrorCounterCH2->text(), QStringLiteral("4"));
        QCOMPARE(state->cmbErrorRelais->currentText(), QStringLiteral("NOT CH1_Error OR NOT CH2_Error"));
        QCOMPARE(window->picModule(1)->accessibleDescription(),
                 QStringLiteral("channel 1 faulty, channel 2 sound, selected"));
    }

    void noAnswer()
    {
        ShowRing({{1}, {2}, {300}, {4}});
        ModuleData &record = gModules[300];
        record.SetVersion(255);
        record.SetMode(0x35);
        record.SetErrorCounterChannel1(3);
        record.SetErrorCounterChannel2(12);
        QStringList captions;
        connect(window, &QWidget::windowTitleChanged, this, [&](const QString &t) { captions << t; });

        window->picModule_Click(2);

        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].title, QStringLiteral("Error!"));
        QCOMPARE(boxes[0].text, QStringLiteral("Modul with ID 300 not answer!"));
        // One millisecond per pass: 2000 passes, a spinner step every 400 from the second on.
        QCOMPARE(window->LastWaitPasses(), 2000);
        const QString searching = QStringLiteral("Bus Info - Searching module... ");
        QCOMPARE(captions, (QStringList{searching + "|", searching + "/", searching + "-", searching + "\\",
                                        searching + "|", "Bus Info - Selected module not found!"}));
        QVERIFY(record.GetStatusChannel1());
        QVERIFY(record.GetStatusChannel2());
        QCOMPARE(ImageOf(2), 8);
        QCOMPARE(state->txtModulID->text(), QStringLiteral("300"));
        QCOMPARE(state->txtVersion->text(), QStringLiteral("25.5"));
        QCOMPARE(state->txtMode->text(), QStringLiteral("00110101"));
        QCOMPARE(state->txtErrorCounterCH1->text(), QStringLiteral("3"));
        QCOMPARE(state->txtErrorCounterCH2->text(), QStringLiteral("12"));
        QCOMPARE(state->cmbErrorRelais->currentText(), QStringLiteral("NOT CH1_Error OR NOT CH2_Error"));
        // Its neighbours are sound, so both links stay blue.
        QCOMPARE(Link(1), Seen::Blue);
        QCOMPARE(Link(2), Seen::Blue);
    }

    void timeLimitIsElapsedTimeNotTimeOfDay()
    {
        // A wait that spans midnight still ends after two seconds.
        clock.SetTimeOfDay(86399.5f);
        ShowRing({{1}});
        window->picModule_Click(0);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(window->LastWaitPasses(), 2000);
    }

    void twoModuleRingUsesTheClickedChannels_data()
    {
        QTest::addColumn<bool>("fault1");
        QTest::addColumn<bool>("fault2");
        QTest::addColumn<Seen>("toNext");
        QTest::addColumn<Seen>("fromPrevious");
        QTest::newRow("channel 1") << true << false << Seen::Red << Seen::Blue;
        QTest::newRow("channel 2") << false << true << Seen::Blue << Seen::Red;
        QTest::newRow("both") << true << true << Seen::Red << Seen::Red;
        QTest::newRow("none") << false << false << Seen::Blue << Seen::Blue;
    }
    void twoModuleRingUsesTheClickedChannels()
    {
        QFETCH(bool, fault1);
        QFETCH(bool, fault2);
        QFETCH(Seen, toNext);
        QFETCH(Seen, fromPrevious);
        ShowRing({{10, fault1, fault2}, {20, false, true}});
        ring->AnswerAt(50, LocateReply(10, fault1, fault2));
        window->picModule_Click(0);
        QCOMPARE(Link(0), toNext);        // 0 -> 1, the left half
        QCOMPARE(Link(1), fromPrevious);  // 1 -> 0, the right half
        // The next full drawing pass uses the symmetric rule again.
        window->DrawModules();
        const Seen full = (fault1 || fault2) ? Seen::Red : Seen::Blue;
        QCOMPARE(Link(0), full);
        QCOMPARE(Link(1), full);
        QCOMPARE(ImageOf(0), ImageIndex(fault1, fault2, false));
    }

    void threeModuleRingRedrawsBothNeighbouringLinks()
    {
        ShowRing({{1, true}, {2, false, true}, {3, true}});
        QCOMPARE(Link(0), Seen::Red);
        QCOMPARE(Link(1), Seen::Red);
        QCOMPARE(Link(2), Seen::Red);
        // The clicked module reports itself sound now: its two links turn blue, the third stays.
        ring->AnswerAt(20, LocateReply(2, false, false));
        window->picModule_Click(1);
        QCOMPARE(Link(0), Seen::Blue);
        QCOMPARE(Link(1), Seen::Blue);
        QCOMPARE(Link(2), Seen::Red);
        QCOMPARE(ImageOf(1), 5);
    }

    void lastAndFirstPositionRedrawTheWrappingLink()
    {
        ShowRing({{1, true}, {2}, {3}, {4, true}});
        ring->AnswerAt(10, LocateReply(4, false, false));
        window->picModule_Click(3);
        QCOMPARE(Link(3), Seen::Blue);
        gModules[4].SetStatusChannel2(true);
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(1, true, false));
        window->picModule_Click(0);
        QCOMPARE(Link(3), Seen::Red);
    }

    void highlightMoves()
    {
        ShowRing({{1}, {2, true}, {3}});
        ring->AnswerAt(10, LocateReply(2, true, false));
        window->picModule_Click(1);
        QCOMPARE(ImageOf(1), 6);
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(3, false, true));
        window->picModule_Click(2);
        QCOMPARE(ImageOf(1), 2);
        QCOMPARE(ImageOf(2), 7);
        QCOMPARE(window->SelectedIndex(), 2);
        // The selected one again: it stays selected.
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(3, false, true));
        window->picModule_Click(2);
        QCOMPARE(ImageOf(2), 7);
        // A drawing pass removes the highlight but keeps the selected position.
        window->DrawModules();
        QCOMPARE(ImageOf(2), 3);
        QCOMPARE(window->SelectedIndex(), 2);
    }

    void previousSelectionGoneAfterTheRingShrank()
    {
        ShowRing({{1}, {2}, {3}, {4}});
        ring->AnswerAt(10, LocateReply(4, false, false));
        window->picModule_Click(3);
        ShowRing({{1}, {2}});
        QCOMPARE(window->PictureCount(), 2);
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(1, false, false));
        window->picModule_Click(0);
        QCOMPARE(ImageOf(0), 5);
        QCOMPARE(window->SelectedIndex(), 0);
    }

    void neverFilledRecordEndsAtTheFirstReply()
    {
        gModuleCount = 1;
        gModuleOrder[0] = 77;
        window->Form_Activate();
        QCOMPARE(gModules[77].GetTimeStamp(), 0.0f);
        ring->AnswerAt(10, LocateReply(77, false, false));
        window->picModule_Click(0);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("Bus Info - module found!"));
    }

    void secondClickDuringTheWait()
    {
        ShowRing({{1}, {2}, {3}});
        // During the wait for position 0 the user clicks position 1, which answers first.
        ring->At(100, [this] { QTest::mouseClick(window->picModule(1), Qt::LeftButton); });
        ring->AnswerAt(300, LocateReply(2, false, true));
        ring->AnswerAt(600, LocateReply(1, false, false));
        window->picModule_Click(0);
        QCOMPARE(Locates(), (QList<QByteArray>{LocateFrame(1), LocateFrame(2)}));
        QVERIFY(boxes.isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("Bus Info - module found!"));
        QCOMPARE(window->SelectedIndex(), 0);
        QCOMPARE(ImageOf(0), 5);
        QCOMPARE(ImageOf(1), 3);
        QCOMPARE(state->txtModulID->text(), QStringLiteral("1"));
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

    void ringShrankDuringTheWait()
    {
        ShowRing({{1}, {2}, {3}});
        ring->At(100, [this] {
            gModuleCount = 1;
            window->Form_Activate();
        });
        window->picModule_Click(2);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(window->PictureCount(), 1);
        QCOMPARE(window->windowTitle(), QStringLiteral("Bus Info - Selected module not found!"));
        QCOMPARE(window->SelectedIndex(), 2);
        // The next click skips the vanished selection.
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(1, false, false));
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
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("Modul with ID 2 not answer!"));
        QVERIFY(gModules[2].GetStatusChannel1());
    }

    void mouseClickRunsTheClick()
    {
        ShowRing({{1}, {2}});
        ring->AnswerAt(10, LocateReply(2, false, false));
        QTest::mouseClick(window->picModule(1), Qt::LeftButton);
        QTRY_COMPARE(window->SelectedIndex(), 1);
        QCOMPARE(Locates(), QList<QByteArray>{LocateFrame(2)});
        // From the keyboard as well.
        ring->AnswerAt(clock.NowMs() + 10, LocateReply(1, false, false));
        QTest::keyClick(window->picModule(0), Qt::Key_Space);
        QTRY_COMPARE(window->SelectedIndex(), 0);
    }
};

// A click on a picture of "Bus Info" while another window is active: the activation
// rebuilds the pictures, and the click still runs on the recreated picture.
class TestClickInMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void clickThatActivatesBusInfo()
    {
        ResetGlobals();
        ManualClock clock;
        clock.SetAutoAdvance(1);
        SetClock(&clock);
        QList<Box> boxes;
        SetMessageHook([&](QMessageBox::Icon icon, const QString &title, const QString &text) {
            boxes.append({icon, title, text});
        });
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\n");
        file.close();
        MemorySerialPort port;
        {
            frmMain main(frmMain::Options{&port, ini, [] {}});
            main.show();
            QVERIFY(QTest::qWaitForWindowActive(&main));
            QTRY_VERIFY(port.IsOpen());
            SetRing({{1}, {2}, {3}});
            main.RedrawRing();
            frmBackground *busInfo = main.BusInfo();
            QCOMPARE(busInfo->PictureCount(), 3);
            main.MdiArea()->setActiveSubWindow(ChildFrame(main.ModuleState()));
            QCOMPARE(main.MdiArea()->activeSubWindow(), ChildFrame(main.ModuleState()));

            QPointer<ModulePicture> before = busInfo->picModule(2);
            Ring ring(clock, port, main.Link());
            ring.AnswerAt(clock.NowMs() + 50, LocateReply(3, false, true));
            QTest::mouseClick(before, Qt::LeftButton);
            QTRY_COMPARE(busInfo->windowTitle(), QStringLiteral("Bus Info - module found!"));
            QCOMPARE(main.MdiArea()->activeSubWindow(), ChildFrame(busInfo));
            QCOMPARE(ChildFrame(busInfo)->windowTitle(), QStringLiteral("Bus Info - module found!"));
            QCOMPARE(busInfo->SelectedIndex(), 2);
            QCOMPARE(busInfo->picModule(2)->Image(), 7);
            QCOMPARE(main.ModuleState()->txtModulID->text(), QStringLiteral("3"));
            QVERIFY(boxes.isEmpty());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!before || before == busInfo->picModule(2));
        }
        SetMessageHook(nullptr);
        SetClock(nullptr);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int status = 0;
    {
        TestModuleClick test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        TestClickInMainWindow test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "tst_moduleclick.moc"
