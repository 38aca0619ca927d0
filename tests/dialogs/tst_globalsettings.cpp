// "Global Settings": the settings byte its controls give, the attached module's settings
// shown on them, and "&Apply", which programs the modules of the last scan with the progress
// window counting, the attached module last, and stops where the port refuses a frame.
#include "BoxCatcher.h"
#include "ManualClock.h"
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "core/RingCore.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmProgress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

using IdList = QList<int>;
using Frames = QList<QByteArray>;

// A line whose writes the test can watch as they happen, and which can stop taking them.
class WatchedPort : public MemorySerialPort
{
public:
    std::function<void(const QByteArray &)> onWrite;
    int refusedFrom = -1;  // the writes from this one on fail (0 is the first)
    bool Write(const QByteArray &block) override
    {
        if (refusedFrom >= 0 && written.size() >= refusedFrom)
            return false;
        const bool written = MemorySerialPort::Write(block);
        if (onWrite)
            onWrite(block);
        return written;
    }
};

QByteArray Frame(char letter, int id, uint8_t settings = 0x54)
{
    const char bytes[] = {letter, char(id & 255), char(id / 256), char(settings), 10, 13, 0};
    return QByteArray(bytes, sizeof bytes);
}

} // namespace

class TestGlobalSettings : public QObject
{
    Q_OBJECT

private:
    QMainWindow *main = nullptr;
    QMdiArea *area = nullptr;
    frmGlobalSettings *form = nullptr;
    WatchedPort *port = nullptr;
    RingCore *core = nullptr;
    ManualClock clock;
    QStringList steps;  // the progress window as each frame left: "value (text) ok|- caption"

    // A scan that the ring answers in this order, the attached module with G and the others
    // with L, each in mode 0xFF (Apply sends the form's byte, never theirs); then the ring goes
    // quiet and the scan is over.
    void Scan(const IdList &order, int local)
    {
        QByteArray replies;
        for (int id : order)
            replies += EncodeReply(Reply{uint8_t(id == local ? 'G' : 'L'), id, 41, 0xFF, false, false, 0, 0});
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            clock.Advance(10);
            port->Feed(std::exchange(replies, {}));
            core->Link().PollPort();
            core->Link().ParseReceived();
        });
        ticker.start(0);
        core->Scan();
        ticker.stop();
        clock.Advance(BusLink::kScanQuietMs);
        core->Link().PollPort();
    }
    // The last scan found order; an attached module that is not in it answered a scan before.
    void SetRing(const IdList &order, int local)
    {
        if (local != 0 && !order.contains(local))
            Scan({local}, local);
        Scan(order, local);
    }
    // The frames that programmed modules (S or W), without the scans' G.
    Frames Programmed() const
    {
        Frames frames;
        for (const QByteArray &frame : port->written)
            if (frame.startsWith('S') || frame.startsWith('W'))
                frames << frame;
        return frames;
    }

    void WatchProgress()
    {
        port->onWrite = [this](const QByteArray &frame) {
            if (frame.startsWith('G'))
                return;
            frmProgress *progress = form->Progress();
            steps << QStringLiteral("%1 (%2) %3 %4").arg(progress->ProgressBar->value())
                         .arg(progress->ProgressBar->text(), progress->cmdOK->isEnabled() ? "ok" : "-",
                              ChildFrame(progress)->windowTitle());
        };
    }

private slots:
    void init()
    {
        clock = ManualClock();
        SetClock(&clock);
        port = new WatchedPort;
        port->Open();
        core = new RingCore(port);
        main = new QMainWindow;
        main->resize(900, 640);
        area = new QMdiArea(main);
        main->setCentralWidget(area);
        form = new frmGlobalSettings(*core);
        AddChildWindow(area, form, frmGlobalSettings::kClientWidthTwips,
                       frmGlobalSettings::kClientHeightTwips)->show();
        steps.clear();
    }
    void cleanup()
    {
        delete main;
        delete core;
        delete port;
        SetClock(nullptr);
    }

    void settingsByte_data()
    {
        QTest::addColumn<QString>("baud");  // empty: the controls as loaded
        QTest::addColumn<int>("parity");    // 0 none, 1 even, 2 odd
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("expected");
        QTest::newRow("as loaded: 19200 even 1 NOT-AND") << "" << 0 << 0 << "" << 0x54;
        QTest::newRow("9600 even 1 OR") << "9600" << 1 << 1 << "CH1_Error OR CH2_Error" << 0x63;
        QTest::newRow("115200 odd 2 NOT-OR") << "115200" << 2 << 2 << "NOT CH1_Error OR NOT CH2_Error" << 0xBF;
        QTest::newRow("1200 none 1 AND") << "1200" << 0 << 1 << "CH1_Error AND CH2_Error" << 0x00;
        QTest::newRow("2400 none 2 NOT-AND") << "2400" << 0 << 2 << "NOT CH1_Error AND NOT CH2_Error" << 0x19;
        QTest::newRow("38400 even 2 OR") << "38400" << 1 << 2 << "CH1_Error OR CH2_Error" << 0x6D;
        QTest::newRow("typed rule matching none") << "9600" << 1 << 1 << "CH1 or CH2" << 0x43;
        QTest::newRow("a rule in other case") << "9600" << 1 << 1 << "ch1_error or ch2_error" << 0x43;
        QTest::newRow("a rule with a blank after it") << "9600" << 1 << 1 << "CH1_Error OR CH2_Error " << 0x43;
    }
    void settingsByte()
    {
        QFETCH(QString, baud);
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        QFETCH(QString, rule);
        if (!baud.isEmpty()) {
            form->cmbBaudrate->setCurrentText(baud);
            QRadioButton *parities[] = {form->optParityNone, form->optParityEven, form->optParityOdd};
            parities[parity]->setChecked(true);
            (stopBits == 2 ? form->optStopBits2 : form->optStopBits1)->setChecked(true);
            form->cmbErrorRelais->setCurrentText(rule);
        }
        QTEST(int(form->ComposeSettingsByte()), "expected");
    }

    // A scan shows the attached module's settings on the controls; they give its byte back.
    void showsTheAttachedModule_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("composed");
        QTest::newRow("9600, even, 2 stop bits") << 0x4B << 0x4B;
        QTest::newRow("115200, odd, 2, NOT-OR") << 0xBF << 0xBF;
        QTest::newRow("9600, none, 1 stop bit, NOT-AND") << 0x13 << 0x13;
        QTest::newRow("1200, none, 1, AND") << 0x00 << 0x00;
        QTest::newRow("both parity bits read odd") << 0xC7 << 0x87;
    }
    void showsTheAttachedModule()
    {
        QFETCH(int, mode);
        form->ShowMode(uint8_t(mode));
        QTEST(int(form->ComposeSettingsByte()), "composed");
    }

    void apply_data()
    {
        QTest::addColumn<IdList>("order");
        QTest::addColumn<int>("local");
        QTest::addColumn<IdList>("frames");
        QTest::addColumn<IdList>("barValues");
        QTest::newRow("three modules") << IdList{7, 12, 5} << 7 << IdList{5, 12, 7} << IdList{1, 2, 3};
        QTest::newRow("ID above 255") << IdList{1, 300} << 1 << IdList{300, 1} << IdList{1, 2};
        QTest::newRow("top of the table") << IdList{1, 32000, 300} << 1 << IdList{300, 32000, 1} << IdList{1, 2, 3};
        QTest::newRow("a module answering twice is programmed once") << IdList{7, 12, 12, 5} << 7 << IdList{5, 12, 7} << IdList{1, 2, 3};
        QTest::newRow("ID 0 is no module") << IdList{7, 0, 5} << 7 << IdList{5, 7} << IdList{1, 2};
        // The bar does not take a value beyond its maximum.
        QTest::newRow("local module never seen") << IdList{12, 5} << 0 << IdList{5, 12, 0} << IdList{1, 2, 2};
        QTest::newRow("local module missing from the order") << IdList{12, 5} << 9 << IdList{5, 12, 9} << IdList{1, 2, 2};
        QTest::newRow("nothing counted: the local module alone") << IdList{} << 7 << IdList{7} << IdList{1};
        IdList ring{1}, frames, bars;
        for (int id = 1000; id >= 2; --id)
            ring << id;
        for (int k = 1; k <= 1000; ++k) {
            frames << (k < 1000 ? k + 1 : 1);
            bars << k;
        }
        QTest::newRow("1000 modules") << ring << 1 << frames << bars;
    }
    void apply()
    {
        QFETCH(IdList, order);
        QFETCH(IdList, frames);
        QFETCH(IdList, barValues);
        QFETCH(int, local);
        SetRing(order, local);
        WatchProgress();
        form->cmdApply_Click();

        Frames expectedFrames;
        QStringList expectedSteps;
        // A module that answered twice is counted once.
        const int counted = int(QSet<int>(order.begin(), order.end()).size());
        const int total = order.isEmpty() ? 100 : counted;
        for (int i = 0; i < frames.size(); ++i) {
            expectedFrames << Frame('S', frames[i]);
            // Modules sent of all modules, never a percentage.
            expectedSteps << QStringLiteral("%1 (%1 of %2) - %3").arg(barValues[i]).arg(total).arg("Update modules...");
        }
        QCOMPARE(Programmed(), expectedFrames);
        QCOMPARE(steps, expectedSteps);
        // Over: OK enabled, the bar's maximum the count (100 if none), a third across and a
        // quarter down the main window.
        frmProgress *progress = form->Progress();
        QVERIFY(progress->cmdOK->isEnabled());
        QCOMPARE(progress->ProgressBar->maximum(), total);
        QCOMPARE(ChildFrame(progress)->pos(), QPoint(main->width() / 3, main->height() / 4));
    }

    // Apply programs the ring of the last scan as it stood when Apply began: modules of an
    // earlier, longer ring are no modules of it, and a scan answered or a second Apply in the
    // yield before each frame changes nothing. Once the run is over, Apply works again.
    void aRunKeepsTheRingItBeganWith()
    {
        SetRing({3, 9, 11, 2}, 3);
        SetRing({7, 12, 5}, 7);
        QList<int> writtenAtYield;
        std::function<void()> watch = [&] {
            writtenAtYield << int(Programmed().size());
            SetRing({9}, 9);
            form->cmdApply->click();
            if (writtenAtYield.size() < 10)
                QMetaObject::invokeMethod(form, watch, Qt::QueuedConnection);
        };
        QMetaObject::invokeMethod(form, watch, Qt::QueuedConnection);
        form->cmdApply_Click();
        QCOMPARE(writtenAtYield, (QList<int>{0, 1, 2}));
        QCOMPARE(Programmed(), (Frames{Frame('S', 5), Frame('S', 12), Frame('S', 7)}));
        QCOMPARE(core->Table().Order().size(), size_t(1));
        form->cmdApply->click();
        QCOMPARE(Programmed().mid(3), Frames{Frame('S', 9)});
    }

    // A port that does not take a frame: the run stops there and says so, and only the frames
    // that went out count as applied.
    void stopsAtTheFirstFrameRefused()
    {
        BoxCatcher catcher;
        SetRing({7, 12, 5, 20}, 7);
        port->refusedFrom = int(port->written.size()) + 1;
        form->cmdApply_Click();
        QCOMPARE(Programmed(), Frames{Frame('S', 5)});
        QCOMPARE(catcher.boxes, QStringList{"3 Global Settings: The frame for module 12 could not be sent on COM1 ("
                                            + port->DeviceName(1) + ").\r\n1 of 4 modules were programmed; "
                                            "the others were not sent anything."});
        QCOMPARE(int(core->Table().Applied().All().size()), 1);
        QVERIFY(!core->Table().Applied().Applied(5)->readBack);
        QVERIFY(form->Progress()->cmdOK->isEnabled() && !form->ApplyRunning());
    }

    void openProgressWindowIsReused()
    {
        SetRing({7, 12, 5}, 7);
        form->cmdApply_Click();
        frmProgress *first = form->Progress();
        ChildFrame(first)->move(10, 10);

        SetRing({7, 12, 5, 20, 21}, 7);
        form->chkWriteToEEPROM->setChecked(true);
        WatchProgress();
        form->cmdApply_Click();
        QCOMPARE(form->Progress(), first);
        // No load step: the earlier maximum, OK enabled and the place stay; values the bar
        // cannot show are not taken.
        QCOMPARE(first->ProgressBar->maximum(), 3);
        const QString caption = QStringLiteral(" ok Programming modules...");
        QCOMPARE(steps, (QStringList{"1 (1 of 3)" + caption, "2 (2 of 3)" + caption, "3 (3 of 3)" + caption,
                                     "3 (3 of 3)" + caption, "3 (3 of 3)" + caption}));
        QCOMPARE(ChildFrame(first)->pos(), QPoint(10, 10));
        QCOMPARE(area->subWindowList().size(), 2);
    }

    // Either window closed after the first frame: the ring is programmed to the end, with
    // the letter last read.
    void windowClosedDuringTheRun_data()
    {
        QTest::addColumn<bool>("progress");
        QTest::newRow("the progress window") << true;
        QTest::newRow("Global Settings") << false;
    }
    void windowClosedDuringTheRun()
    {
        QFETCH(bool, progress);
        SetRing({7, 12, 5}, 7);
        form->chkWriteToEEPROM->setChecked(true);
        QPointer<frmGlobalSettings> watched = form;
        port->onWrite = [&](const QByteArray &) {
            if (watched && Programmed().size() == 1)
                ChildFrame(progress ? static_cast<QWidget *>(form->Progress()) : form)->close();
        };
        form->cmdApply_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Programmed(), (Frames{Frame('W', 5), Frame('W', 12), Frame('W', 7)}));
        QCOMPARE(watched.isNull(), !progress);
        if (progress)
            QVERIFY(!form->Progress() && !form->ApplyRunning());
    }
};

QTEST_MAIN(TestGlobalSettings)
#include "tst_globalsettings.moc"
