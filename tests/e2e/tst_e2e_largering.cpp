// A ring of 1000 modules at wire speed (11,000 reply bytes, about 11.5 s at 9600 baud):
// scanned once, then drawn, located at its last position and programmed with Global
// Settings' Apply, while a 10 ms timer watches that the event loop keeps turning.
#include "LoopGapMeter.h"
#include "RingSimProcess.h"
#include "RunningProgram.h"
#include "SideOrder.h"

#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmModuleState.h"
#include "model/Global.h"
#include "ringview/ModulePicture.h"
#include "ringview/frmBackground.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QtTest>

#include <memory>

namespace {

constexpr int kModules = 1000;
// Outside the waits the program defines, the event loop must not stall longer than this.
constexpr qint64 kLargestGapMs = 100;

// How many modules the simulator lists with the given mode byte.
int ModulesWithMode(RingSimProcess &sim, int mode)
{
    const QString field = QStringLiteral(" mode=0x%1 ").arg(QString::number(mode, 16).toUpper().rightJustified(2, QLatin1Char('0')));
    int count = 0;
    for (const QString &line : sim.list())
        count += line.contains(field) ? 1 : 0;
    return count;
}

} // namespace

class TestE2eLargeRing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyModuleIsCounted();
    void everyModuleIsDrawn();
    void lastPositionIsLocated();
    void applyReachesEveryModule();

private:
    RingSimProcess sim;
    std::unique_ptr<RunningProgram> program;
    qint64 refreshMs = 0;
    int countedAtReturn = 0;
    qint64 scanMs = 0;
    qint64 scanGapMs = 0;
};

void TestE2eLargeRing::initTestCase()
{
    QVERIFY(sim.startModules(kModules, /*pacing=*/true));
    program = std::make_unique<RunningProgram>(sim.devicePath());
    QVERIFY(program->IsReady());
    // Shown, so that drawing the ring includes painting a thousand pictures.
    program->Main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program->Main()));

    // The scan's own wait ends at the first counted module; the rest come in later passes.
    LoopGapMeter gaps;
    QElapsedTimer elapsed;
    elapsed.start();
    program->Refresh();
    refreshMs = elapsed.elapsed();
    countedAtReturn = gModuleCount;
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(kModules), 30000);
    scanMs = elapsed.elapsed();
    scanGapMs = gaps.LargestGapMs();
    qInfo("scan of %d modules: Refresh returned after %lld ms with %d counted, all counted after %lld ms, "
          "largest event-loop gap %lld ms",
          kModules, refreshMs, countedAtReturn, scanMs, scanGapMs);
}

void TestE2eLargeRing::everyModuleIsCounted()
{
    QVERIFY(countedAtReturn >= 1 && countedAtReturn < kModules);
    QVERIFY2(refreshMs < 1500, qPrintable(QString::number(refreshMs)));
    const QList<int> order = RunningProgram::Order();
    QCOMPARE(order.size(), kModules);
    const QSet<int> ids(order.begin(), order.end());
    QCOMPARE(ids.size(), kModules);
    QCOMPARE(order, SideSortedOrder(sim.list()));
    QVERIFY2(program->boxes.isEmpty(), qPrintable(program->boxes.value(0).text));
    QVERIFY2(scanGapMs < kLargestGapMs, qPrintable(QString::number(scanGapMs)));
}

void TestE2eLargeRing::everyModuleIsDrawn()
{
    frmBackground *busInfo = program->Main().BusInfo();
    LoopGapMeter gaps;
    QElapsedTimer elapsed;
    elapsed.start();
    busInfo->Form_Activate();
    const qint64 drawMs = elapsed.elapsed();
    QCOMPARE(busInfo->PictureCount(), kModules);
    for (int k = 0; k < kModules; ++k) {
        QVERIFY(busInfo->picModule(k));
        QVERIFY(busInfo->picModule(k)->isVisible());
    }
    // The pictures are painted from the event loop.
    QTest::qWait(100);
    qInfo("drawing %d modules: %lld ms in the drawing pass, largest event-loop gap with painting %lld ms",
          kModules, drawMs, gaps.LargestGapMs());
    QVERIFY2(gaps.LargestGapMs() < kLargestGapMs, qPrintable(QString::number(gaps.LargestGapMs())));
}

void TestE2eLargeRing::lastPositionIsLocated()
{
    frmBackground *busInfo = program->Main().BusInfo();
    const int last = kModules - 1;
    const int id = gModuleOrder[size_t(last)];
    LoopGapMeter gaps;
    QElapsedTimer elapsed;
    elapsed.start();
    busInfo->picModule_Click(last);
    const qint64 locateMs = elapsed.elapsed();
    QCOMPARE(busInfo->windowTitle(), QStringLiteral("Bus Info - module found!"));
    QCOMPARE(busInfo->SelectedIndex(), last);
    QCOMPARE(program->Main().ModuleState()->txtModulID->text(), QString::number(id));
    QVERIFY(program->boxes.isEmpty());
    QVERIFY2(gaps.LargestGapMs() < kLargestGapMs, qPrintable(QString::number(gaps.LargestGapMs())));
    qInfo("locate of position %d (ID %d): %lld ms, largest event-loop gap %lld ms", last, id, locateMs,
          gaps.LargestGapMs());
}

void TestE2eLargeRing::applyReachesEveryModule()
{
    frmGlobalSettings *settings = program->Main().GlobalSettings();
    QVERIFY(settings->cmdApply->isEnabled());
    settings->cmbBaudrate->setCurrentText(QStringLiteral("19200"));
    settings->optParityOdd->setChecked(true);
    settings->optStopBits2->setChecked(true);
    settings->cmbErrorRelais->setCurrentIndex(2);
    settings->chkWriteToEEPROM->setChecked(false);
    const int mode = settings->ComposeSettingsByte();
    QCOMPARE(mode, 0xAC);
    QCOMPARE(ModulesWithMode(sim, mode), 0);

    LoopGapMeter gaps;
    QElapsedTimer elapsed;
    elapsed.start();
    settings->cmdApply_Click();
    const qint64 applyMs = elapsed.elapsed();
    const qint64 applyGapMs = gaps.LargestGapMs();
    QVERIFY(!settings->ApplyRunning());

    // The frames still queued in the port go out from the event loop.
    int reached = 0;
    (void)QTest::qWaitFor([&] { return (reached = ModulesWithMode(sim, mode)) == kModules; }, 5000);
    const qint64 deliveredMs = elapsed.elapsed();
    qInfo("Apply to %d modules: run %lld ms, all frames at the simulator after %lld ms, %d of %d reached, "
          "largest event-loop gap %lld ms",
          kModules, applyMs, deliveredMs, reached, kModules, applyGapMs);
    QCOMPARE(reached, kModules);
    QVERIFY2(applyGapMs < kLargestGapMs, qPrintable(QString::number(applyGapMs)));
}

QTEST_MAIN(TestE2eLargeRing)
#include "tst_e2e_largering.moc"
