// "Global Settings": the settings byte its controls give, and "&Apply", which programs the
// modules of the last scan with the progress window counting, the attached module last.
#include "bus/MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmProgress.h"
#include "model/Global.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>

namespace {

using IdList = QList<int>;

// A line whose writes the test can watch as they happen.
class WatchedPort : public MemorySerialPort
{
public:
    std::function<void(const QByteArray &)> onWrite;

    bool Write(const QByteArray &block) override
    {
        const bool written = MemorySerialPort::Write(block);
        if (onWrite)
            onWrite(block);
        return written;
    }
};

QByteArray Frame(char letter, int id, uint8_t settings)
{
    const char bytes[] = {letter, char(id & 255), char(id / 256), char(settings), 10, 13, 0};
    return QByteArray(bytes, sizeof bytes);
}

// What the last scan left: the order and count, the attached module, and the records.
void SetRing(const IdList &order, int local)
{
    for (int i = 0; i < order.size(); ++i) {
        gModuleOrder[size_t(i)] = int16_t(order[i]);
        gModules[size_t(order[i])].SetModuleID(int16_t(order[i]));
    }
    gModuleCount = int16_t(order.size());
    gLocalModuleID = int16_t(local);
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

    struct Step
    {
        int barValue;
        bool okEnabled;
        QString caption;
    };
    QList<Step> steps;  // the progress window as each frame left

    void WatchProgress()
    {
        port->onWrite = [this](const QByteArray &) {
            frmProgress *progress = form->Progress();
            QVERIFY(progress);
            steps.append({progress->ProgressBar->value(), progress->cmdOK->isEnabled(),
                          ChildFrame(progress)->windowTitle()});
        };
    }

    QList<int> BarValues() const
    {
        QList<int> values;
        for (const Step &step : steps)
            values << step.barValue;
        return values;
    }

    void Select(const QString &baud, QRadioButton *parity, QRadioButton *stopBits, const QString &rule)
    {
        form->cmbBaudrate->setCurrentText(baud);
        QCOMPARE(form->cmbBaudrate->currentText(), baud);
        parity->setChecked(true);
        stopBits->setChecked(true);
        form->cmbErrorRelais->setCurrentText(rule);
    }

private slots:
    void init()
    {
        ResetGlobals();
        main = new QMainWindow;
        main->resize(900, 640);
        area = new QMdiArea(main);
        main->setCentralWidget(area);
        form = new frmGlobalSettings;
        AddChildWindow(area, form, frmGlobalSettings::kClientWidthTwips,
                       frmGlobalSettings::kClientHeightTwips)->show();
        port = new WatchedPort;
        port->Open();
        SetCommPort(port);
        steps.clear();
    }

    void cleanup()
    {
        SetCommPort(nullptr);
        delete main;
        delete port;
    }

    void loadsItsChoices()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Global Settings"));
        QCOMPARE(form->cmbBaudrate->count(), 8);
        QCOMPARE(form->cmbBaudrate->currentIndex(), 4);
        QCOMPARE(form->cmbBaudrate->currentText(), QStringLiteral("19200"));
        QVERIFY(!form->cmbBaudrate->isEditable());
        QVERIFY(form->cmbErrorRelais->isEditable());
        QCOMPARE(form->cmbErrorRelais->currentText(), QStringLiteral("NOT CH1_Error AND NOT CH2_Error"));
        QVERIFY(form->optParityEven->isChecked());
        QVERIFY(form->optStopBits1->isChecked());
        QVERIFY(!form->chkWriteToEEPROM->isChecked());
        QCOMPARE(form->cmdApply->text(), QStringLiteral("&Apply"));
        // 19200, even parity, one stop bit, "NOT CH1_Error AND NOT CH2_Error".
        QCOMPARE(form->ComposeSettingsByte(), uint8_t(0x54));
    }

    void settingsByte_data()
    {
        QTest::addColumn<QString>("baud");
        QTest::addColumn<QString>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("expected");

        QTest::newRow("9600 even 1 OR") << "9600" << "even" << 1 << "CH1_Error OR CH2_Error" << 0x63;
        QTest::newRow("115200 odd 2 NOT-OR") << "115200" << "odd" << 2 << "NOT CH1_Error OR NOT CH2_Error" << 0xBF;
        QTest::newRow("1200 none 1 AND") << "1200" << "none" << 1 << "CH1_Error AND CH2_Error" << 0x00;
        QTest::newRow("2400 none 2 NOT-AND") << "2400" << "none" << 2 << "NOT CH1_Error AND NOT CH2_Error" << 0x19;
        QTest::newRow("4800 odd 1 AND") << "4800" << "odd" << 1 << "CH1_Error AND CH2_Error" << 0x82;
        QTest::newRow("38400 even 2 OR") << "38400" << "even" << 2 << "CH1_Error OR CH2_Error" << 0x6D;
        QTest::newRow("57600 even 1 NOT-OR") << "57600" << "even" << 1 << "NOT CH1_Error OR NOT CH2_Error" << 0x76;
        QTest::newRow("typed rule matching none") << "9600" << "even" << 1 << "CH1 or CH2" << 0x43;
        QTest::newRow("rule text in other case") << "9600" << "none" << 1 << "ch1_error or ch2_error" << 0x03;
        QTest::newRow("empty rule") << "19200" << "none" << 1 << "" << 0x04;
    }

    void settingsByte()
    {
        QFETCH(QString, baud);
        QFETCH(QString, parity);
        QFETCH(int, stopBits);
        QFETCH(QString, rule);
        QFETCH(int, expected);

        QRadioButton *parityButton = parity == "odd" ? form->optParityOdd
            : parity == "even"                       ? form->optParityEven
                                                     : form->optParityNone;
        Select(baud, parityButton, stopBits == 2 ? form->optStopBits2 : form->optStopBits1, rule);
        QCOMPARE(int(form->ComposeSettingsByte()), expected);
    }

    void settingsByteIgnoresTheModulesModes()
    {
        SetRing({7}, 7);
        gModules[7].SetMode(0xFF);
        Select("1200", form->optParityNone, form->optStopBits1, "CH1_Error AND CH2_Error");
        form->cmdApply_Click();
        QCOMPARE(port->written, (QList<QByteArray>{Frame('S', 7, 0x00)}));
    }

    void apply_data()
    {
        QTest::addColumn<IdList>("order");
        QTest::addColumn<int>("local");
        QTest::addColumn<bool>("eeprom");
        QTest::addColumn<IdList>("frames");
        QTest::addColumn<IdList>("barValues");
        QTest::addColumn<int>("maximum");

        QTest::newRow("three modules") << IdList{7, 12, 5} << 7 << false << IdList{5, 12, 7}
                                       << IdList{1, 2, 3} << 3;
        QTest::newRow("three modules to EEPROM") << IdList{7, 12, 5} << 7 << true << IdList{5, 12, 7}
                                                 << IdList{1, 2, 3} << 3;
        QTest::newRow("only the local module") << IdList{7} << 7 << false << IdList{7} << IdList{1} << 1;
        QTest::newRow("ID above 255") << IdList{1, 300} << 1 << false << IdList{300, 1} << IdList{1, 2} << 2;
        // The bar does not take a value beyond its maximum.
        QTest::newRow("local module never seen") << IdList{12, 5} << 0 << false << IdList{5, 12, 0}
                                                 << IdList{1, 2, 2} << 2;
        QTest::newRow("nothing counted") << IdList{} << 7 << false << IdList{7} << IdList{1} << 100;
    }

    void apply()
    {
        QFETCH(IdList, order);
        QFETCH(int, local);
        QFETCH(bool, eeprom);
        QFETCH(IdList, frames);
        QFETCH(IdList, barValues);
        QFETCH(int, maximum);

        SetRing(order, local);
        Select("9600", form->optParityEven, form->optStopBits1, "CH1_Error OR CH2_Error");
        form->chkWriteToEEPROM->setChecked(eeprom);
        WatchProgress();
        form->cmdApply_Click();

        QList<QByteArray> expected;
        for (int id : frames)
            expected << Frame(eeprom ? 'W' : 'S', id, 0x63);
        QCOMPARE(port->written, expected);
        QCOMPARE(BarValues(), barValues);

        frmProgress *progress = form->Progress();
        QVERIFY(progress);
        QMdiSubWindow *frame = ChildFrame(progress);
        QVERIFY(frame && frame->mdiArea() == area && !frame->isHidden());
        const QString caption = eeprom ? "Programming modules..." : "Update modules...";
        QCOMPARE(frame->windowTitle(), caption);
        for (const Step &step : std::as_const(steps)) {
            QVERIFY(!step.okEnabled);
            QCOMPARE(step.caption, caption);
        }
        QCOMPARE(progress->ProgressBar->minimum(), 0);
        QCOMPARE(progress->ProgressBar->maximum(), maximum);
        QVERIFY(progress->cmdOK->isEnabled());
        QCOMPARE(progress->cmdOK->text(), QStringLiteral("&OK"));
        QCOMPARE(frame->pos(), QPoint(main->width() / 3, main->height() / 4));
        QCOMPARE(progress->size(), QSize(271, 74));
    }

    // Records left by earlier scans are not modules of this ring, and a module of this ring
    // is not missed because stale records fill the count.
    void applyProgramsTheLastScanOnly()
    {
        SetRing({3, 9, 11}, 3);
        SetRing({7, 12, 5}, 7);
        gModules[2].SetModuleID(2);
        form->cmdApply_Click();
        QCOMPARE(port->written, (QList<QByteArray>{Frame('S', 5, 0x54), Frame('S', 12, 0x54),
                                                   Frame('S', 7, 0x54)}));
    }

    void checkBoxIsReadForEveryFrame()
    {
        SetRing({7, 12, 5}, 7);
        port->onWrite = [this](const QByteArray &) { form->chkWriteToEEPROM->setChecked(true); };
        form->cmdApply_Click();
        QCOMPARE(port->written, (QList<QByteArray>{Frame('S', 5, 0x54), Frame('W', 12, 0x54),
                                                   Frame('W', 7, 0x54)}));
        // The caption was chosen when the run began.
        QCOMPARE(ChildFrame(form->Progress())->windowTitle(), QStringLiteral("Update modules..."));
    }

    // Each frame sets all three argument bytes right before it goes, so a reply parsed in
    // the yield before it cannot change where it goes.
    void oneYieldBeforeEveryFrame()
    {
        SetRing({7, 12, 5}, 7);
        QList<int> writtenAtYield;
        std::function<void()> watch = [&] {
            writtenAtYield << int(port->written.size());
            gCmdArg1 = gCmdArg2 = gCmdArg3 = 0xEE;
            if (writtenAtYield.size() < 10)
                QMetaObject::invokeMethod(form, watch, Qt::QueuedConnection);
        };
        QMetaObject::invokeMethod(form, watch, Qt::QueuedConnection);
        form->cmdApply_Click();
        QCOMPARE(writtenAtYield, (QList<int>{0, 1, 2}));
        QCOMPARE(port->written.last(), Frame('S', 7, 0x54));
        QCOMPARE(port->written.first(), Frame('S', 5, 0x54));
    }

    void secondApplyDuringARunIsIgnored()
    {
        SetRing({7, 12, 5}, 7);
        QVERIFY(QMetaObject::invokeMethod(form->cmdApply, "click", Qt::QueuedConnection));
        form->cmdApply_Click();
        QCOMPARE(port->written.size(), 3);
        QVERIFY(!form->ApplyRunning());
        // Once the run is over, Apply works again.
        form->cmdApply->click();
        QCOMPARE(port->written.size(), 6);
    }

    void applyKeepsTheModulesItStartedWith()
    {
        SetRing({7, 12, 5}, 7);
        // A scan answered while the run yields: a ring of one other module.
        QMetaObject::invokeMethod(form, [] { SetRing({9}, 9); }, Qt::QueuedConnection);
        form->cmdApply_Click();
        QCOMPARE(port->written, (QList<QByteArray>{Frame('S', 5, 0x54), Frame('S', 12, 0x54),
                                                   Frame('S', 7, 0x54)}));
    }

    void openProgressWindowIsReused()
    {
        SetRing({7, 12, 5}, 7);
        form->cmdApply_Click();
        frmProgress *first = form->Progress();
        QVERIFY(first);
        ChildFrame(first)->move(10, 10);

        SetRing({7, 12, 5, 20, 21}, 7);
        form->chkWriteToEEPROM->setChecked(true);
        WatchProgress();
        form->cmdApply_Click();
        QCOMPARE(form->Progress(), first);
        // No load step: the earlier maximum, OK enabled and the place stay; values the bar
        // cannot show are not taken.
        QCOMPARE(first->ProgressBar->maximum(), 3);
        QCOMPARE(BarValues(), (QList<int>{1, 2, 3, 3, 3}));
        for (const Step &step : std::as_const(steps))
            QVERIFY(step.okEnabled);
        QCOMPARE(ChildFrame(first)->pos(), QPoint(10, 10));
        QCOMPARE(ChildFrame(first)->windowTitle(), QStringLiteral("Programming modules..."));
        QCOMPARE(area->subWindowList().size(), 2);
    }

    void okUnloadsAndTheNextRunLoadsAfresh()
    {
        SetRing({7, 12, 5}, 7);
        form->cmdApply_Click();
        QPointer<frmProgress> first = form->Progress();
        first->cmdOK->click();
        QVERIFY(!form->Progress());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QCOMPARE(area->subWindowList().size(), 1);

        SetRing({7, 12, 5, 20, 21}, 7);
        WatchProgress();
        form->cmdApply_Click();
        QVERIFY(form->Progress());
        QCOMPARE(form->Progress()->ProgressBar->maximum(), 5);
        QCOMPARE(BarValues(), (QList<int>{1, 2, 3, 4, 5}));
        QVERIFY(!steps.first().okEnabled);
    }

    void progressWindowClosedDuringTheRun()
    {
        SetRing({7, 12, 5}, 7);
        port->onWrite = [this](const QByteArray &) {
            if (frmProgress *progress = form->Progress())
                ChildFrame(progress)->close();
        };
        form->cmdApply_Click();
        QCOMPARE(port->written.size(), 3);
        QVERIFY(!form->Progress());
        QVERIFY(!form->ApplyRunning());
    }

    void globalSettingsClosedDuringTheRun()
    {
        SetRing({7, 12, 5}, 7);
        form->chkWriteToEEPROM->setChecked(true);
        QPointer<frmGlobalSettings> watched = form;
        port->onWrite = [&](const QByteArray &) {
            if (watched && port->written.size() == 1)
                ChildFrame(watched)->close();
        };
        form->cmdApply_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(watched.isNull());
        form = nullptr;
        // The ring is programmed to the end, with the letter last read.
        QCOMPARE(port->written, (QList<QByteArray>{Frame('W', 5, 0x54), Frame('W', 12, 0x54),
                                                   Frame('W', 7, 0x54)}));
    }

    void longRing()
    {
        IdList order{1};
        for (int id = 1000; id >= 2; --id)
            order << id;
        SetRing(order, 1);
        // Shown, so that every yield repaints the bar as it would for the user.
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QElapsedTimer timer;
        timer.start();
        form->cmdApply_Click();
        const qint64 elapsed = timer.elapsed();
        qInfo("Apply to 1000 modules: %lld ms, %lld frames", elapsed, qint64(port->written.size()));
        QCOMPARE(port->written.size(), 1000);
        for (int i = 0; i < 999; ++i)
            QCOMPARE(port->written[i], Frame('S', i + 2, 0x54));
        QCOMPARE(port->written.last(), Frame('S', 1, 0x54));
        QCOMPARE(form->Progress()->ProgressBar->value(), 1000);
    }
};

QTEST_MAIN(TestGlobalSettings)
#include "tst_globalsettings.moc"
