// The program on the ring simulator's pseudo-terminal through QSerialPort, with the real
// event loop and timers: scan and side order, locate, S and W, garbage on the line, a ring
// at wire speed and a device that vanishes while the port is open and comes back.
#include "LoopGapMeter.h"
#include "RingSimProcess.h"
#include "RunningProgram.h"
#include "SideOrder.h"

#include "bus/SerialPort.h"
#include "dialogs/frmModuleState.h"
#include "dialogs/frmProgramSettings.h"
#include "model/Global.h"
#include "model/ModeByte.h"
#include "ringview/frmBackground.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

namespace {

constexpr int kScanTimeoutMs = 3000;

qint64 CpuTimeMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The mode byte of a module as the simulator's list shows it, or -1.
int SimMode(RingSimProcess &sim, int id)
{
    const QString prefix = QStringLiteral("id=%1 ").arg(id);
    for (const QString &line : sim.list()) {
        if (!line.startsWith(prefix))
            continue;
        const int at = line.indexOf(QStringLiteral("mode=0x"));
        return at < 0 ? -1 : line.mid(at + 7, 2).toInt(nullptr, 16);
    }
    return -1;
}

// "Refresh", then waits until the later passes have brought the whole ring.
bool ScanCounts(RunningProgram &program, int count)
{
    program.Refresh();
    return QTest::qWaitFor([count] { return gModuleCount == count; }, kScanTimeoutMs);
}

} // namespace

class TestE2eRing : public QObject
{
    Q_OBJECT

private slots:
    void scanCountsAndSortsBySide();
    void locateSilentAndAnsweringModule();
    void moduleStateApply_data();
    void moduleStateApply();
    void garbageFromTheRingIsDropped_data();
    void garbageFromTheRingIsDropped();
    void wireSpeedRingIsCountedWhole();
    void vanishingPort();
};

void TestE2eRing::scanCountsAndSortsBySide()
{
    // All replies arrive at once: the pass with the G reply holds the whole ring.
    RingSimProcess sim;
    QVERIFY(sim.startRing("id=20 side=L\n"
                          "id=10 side=G\n"
                          "id=11 side=R\n"
                          "id=12 side=L\n"
                          "id=13 side=R\n"
                          "id=14 side=L\n"
                          "id=15 side=R\n",
                          /*pacing=*/false));
    RunningProgram program(sim.devicePath());
    QVERIFY(program.IsReady());
    QVERIFY(program.Main().MSComm1().IsOpen());

    program.Refresh();
    QVERIFY(gModuleCount >= 1);
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(7), kScanTimeoutMs);
    QCOMPARE(gLocalModuleID, int16_t(10));
    // The attached module, the L side in file order, then the others in reverse order.
    QCOMPARE(RunningProgram::Order(), (QList<int>{10, 20, 12, 14, 15, 13, 11}));
    QCOMPARE(RunningProgram::Order(), SideSortedOrder(sim.list()));
    QVERIFY2(program.boxes.isEmpty(), qPrintable(program.boxes.value(0).text));
}

void TestE2eRing::locateSilentAndAnsweringModule()
{
    RingSimProcess sim;
    QVERIFY(sim.startRing("id=101 side=G\n"
                          "id=102 side=L version=42 ch1=fault:23\n"
                          "id=103 side=R\n",
                          /*pacing=*/false));
    RunningProgram program(sim.devicePath());
    QVERIFY(program.IsReady());
    program.Refresh();
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(3), kScanTimeoutMs);
    frmBackground *busInfo = program.Main().BusInfo();
    busInfo->Form_Activate();
    QCOMPARE(busInfo->PictureCount(), 3);
    const int silentPosition = int(RunningProgram::Order().indexOf(103));
    const int answeringPosition = int(RunningProgram::Order().indexOf(102));
    QVERIFY(silentPosition > 0 && answeringPosition > 0);

    QVERIFY(sim.control(QStringLiteral("silent 103 on")));
    QElapsedTimer waited;
    waited.start();
    busInfo->picModule_Click(silentPosition);
    const qint64 silentMs = waited.elapsed();
    // Two clocks that count whole milliseconds may be one apart.
    QVERIFY2(silentMs >= frmBackground::kLocateLimitMs - 1 && silentMs < frmBackground::kLocateLimitMs + 500,
             qPrintable(QString::number(silentMs)));
    QCOMPARE(program.boxes.size(), 1);
    QCOMPARE(program.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(program.boxes[0].title, QStringLiteral("Error!"));
    QCOMPARE(program.boxes[0].text, QStringLiteral("Modul with ID 103 not answer!"));
    QCOMPARE(busInfo->windowTitle(), QStringLiteral("Bus Info - Selected module not found!"));

    // The simulator changes the module after the scan: the fields show the locate's reply.
    QVERIFY(sim.control(QStringLiteral("counter 102 2 9")));
    program.boxes.clear();
    waited.restart();
    busInfo->picModule_Click(answeringPosition);
    QVERIFY(waited.elapsed() < frmBackground::kLocateLimitMs);
    QVERIFY(program.boxes.isEmpty());
    QCOMPARE(busInfo->windowTitle(), QStringLiteral("Bus Info - module found!"));
    QCOMPARE(busInfo->SelectedIndex(), answeringPosition);
    frmModuleState *state = program.Main().ModuleState();
    QCOMPARE(state->txtModulID->text(), QStringLiteral("102"));
    QCOMPARE(state->txtVersion->text(), QStringLiteral("4.2"));
    QCOMPARE(state->txtMode->text(), QStringLiteral("00010011"));
    QCOMPARE(state->txtErrorCounterCH1->text(), QStringLiteral("23"));
    QCOMPARE(state->txtErrorCounterCH2->text(), QStringLiteral("9"));
    QCOMPARE(state->cmbErrorRelais->currentText(), ModeByte::RuleText(0x13));
}

void TestE2eRing::moduleStateApply_data()
{
    QTest::addColumn<bool>("writeToEEPROM");
    QTest::addColumn<int>("modeAfterRestart");
    // 0x13 with the rule of list position 2 is 0x23.
    QTest::newRow("S: running mode only") << false << 0x13;
    QTest::newRow("W: stored in EEPROM") << true << 0x23;
}

void TestE2eRing::moduleStateApply()
{
    QFETCH(bool, writeToEEPROM);
    QFETCH(int, modeAfterRestart);
    RingSimProcess sim;
    QVERIFY(sim.startRing("id=1 side=G\nid=2 side=L\nid=3 side=R\n", /*pacing=*/false));
    RunningProgram program(sim.devicePath());
    QVERIFY(program.IsReady());
    program.Refresh();
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(3), kScanTimeoutMs);
    QCOMPARE(int(gModules[3].GetMode()), 0x13);

    frmModuleState *state = program.Main().ModuleState();
    QVERIFY(state->cmdApply->isEnabled());
    state->txtModulID->setText(QStringLiteral("3"));
    state->cmbErrorRelais->setCurrentIndex(2);
    state->chkWriteToEEPROM->setChecked(writeToEEPROM);
    state->cmdApply_Click();
    QTRY_COMPARE(SimMode(sim, 3), 0x23);

    // The Apply set the record already: cleared, only a scan reply can fill it again.
    gModules[3].SetMode(0);
    QVERIFY(ScanCounts(program, 3));
    QCOMPARE(int(gModules[3].GetMode()), 0x23);
    QCOMPARE(int(gModules[2].GetMode()), 0x13);

    QVERIFY(sim.control(QStringLiteral("restart")));
    gModules[3].SetMode(0);
    QVERIFY(ScanCounts(program, 3));
    QCOMPARE(int(gModules[3].GetMode()), modeAfterRestart);
    QCOMPARE(int(gModules[2].GetMode()), 0x13);
    QVERIFY(program.boxes.isEmpty());
}

void TestE2eRing::garbageFromTheRingIsDropped_data()
{
    QTest::addColumn<QString>("raw");
    QTest::newRow("garbage bytes") << QStringLiteral("raw 00 FF 13 0A 0D 00 47 47 47 0D 0A 99 01 02");
    QTest::newRow("cut-off reply") << QStringLiteral("raw 47 07 00 29");
    // Letter R, ID 32001, otherwise a well-formed reply.
    QTest::newRow("ID above 32000") << QStringLiteral("raw 52 01 7D 29 13 00 00 00 00 0A 0D");
    QTest::newRow("all three") << QStringLiteral("raw 00 FF 13 0A 0D 47 07 00 29 52 01 7D 29 13 00 00 00 00 0A 0D");
}

void TestE2eRing::garbageFromTheRingIsDropped()
{
    QFETCH(QString, raw);
    RingSimProcess sim;
    QVERIFY(sim.startRing("id=7 side=G\nid=8 side=L\nid=9 side=R\n", /*pacing=*/false));
    RunningProgram program(sim.devicePath());
    QVERIFY(program.IsReady());

    QVERIFY(sim.control(raw));
    // Long enough for a read, a parse pass and a quiet poll that drops a cut-off frame.
    QTest::qWait(350);
    QCOMPARE(gModuleCount, int16_t(0));

    program.Refresh();
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(3), kScanTimeoutMs);
    QCOMPARE(RunningProgram::Order(), (QList<int>{7, 8, 9}));
    QCOMPARE(gLocalModuleID, int16_t(7));
    QVERIFY(gModules[0].GetModuleID() == 0 && gModules[0].GetSide() == 0);
    QVERIFY2(program.boxes.isEmpty(), qPrintable(program.boxes.value(0).text));
}

void TestE2eRing::wireSpeedRingIsCountedWhole()
{
    // 2200 bytes at 9600 baud arrive over about 2.3 s in many reads; the parse pass waits
    // for the line to pause, so the side sort still sees the whole ring.
    RingSimProcess sim;
    QVERIFY(sim.startModules(200, /*pacing=*/true));
    RunningProgram program(sim.devicePath());
    QVERIFY(program.IsReady());
    LoopGapMeter gaps;
    QElapsedTimer scanTime;
    scanTime.start();
    program.Refresh();
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(200), 6000);
    const qint64 scanMs = scanTime.elapsed();
    QCOMPARE(RunningProgram::Order(), SideSortedOrder(sim.list()));
    QVERIFY(program.boxes.isEmpty());
    qInfo("200 modules at 9600 baud: all counted after %lld ms, largest event-loop gap %lld ms", scanMs,
          gaps.LargestGapMs());
}

void TestE2eRing::vanishingPort()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("ring"));
    const QStringList linkArgs{QStringLiteral("--link"), link};
    auto sim = std::make_unique<RingSimProcess>();
    QVERIFY(sim->startModules(3, /*pacing=*/false, linkArgs));
    RunningProgram program(link);
    QVERIFY(program.IsReady());
    frmMain &main = program.Main();
    program.Refresh();
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(3), kScanTimeoutMs);

    // The device goes away while the port is open: its terminal hangs up.
    int polls = 0;
    connect(&main.Link().Timer1, &QTimer::timeout, this, [&polls] { ++polls; });
    sim->stop();
    QVERIFY(!QFile::exists(link));
    QTRY_VERIFY(!main.MSComm1().IsOpen());

    // Nothing spins on the dead terminal: the CPU stays idle and the poll timer ticks at
    // its own pace.
    LoopGapMeter gaps;
    polls = 0;
    const qint64 cpu0 = CpuTimeMs();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(1000);
    const qint64 cpuMs = CpuTimeMs() - cpu0;
    QVERIFY2(cpuMs < 200, qPrintable(QStringLiteral("%1 ms CPU in %2 ms").arg(cpuMs).arg(wall.elapsed())));
    QVERIFY2(polls <= 12, qPrintable(QString::number(polls)));
    qInfo("after the hang-up: %lld ms CPU in %lld ms, %d polls, largest gap %lld ms", cpuMs, wall.elapsed(), polls,
          gaps.LargestGapMs());

    // Commands are lost; the scan finds nothing.
    program.Refresh();
    QCOMPARE(gModuleCount, int16_t(0));
    QVERIFY(program.SawMessage(QStringLiteral("No Modules found!")));

    // While the device is away the port dialog cannot offer it.
    main.mnuSelectComPort_Click();
    frmProgramSettings *settings = main.ProgramSettingsIfLoaded();
    QVERIFY(settings);
    QVERIFY(!settings->optCom1->isEnabled());
    QCOMPARE(settings->optCom1->text(), QStringLiteral("COM1 (not found)"));

    // The device comes back behind the same path; choosing the port again restores reception.
    sim = std::make_unique<RingSimProcess>();
    QVERIFY(sim->startModules(3, /*pacing=*/false, linkArgs));
    main.mnuSelectComPort_Click();
    settings = main.ProgramSettingsIfLoaded();
    QVERIFY(settings);
    QVERIFY(settings->optCom1->isEnabled());
    settings->optCom1->setChecked(true);
    settings->cmdOK_Click();
    QVERIFY(main.MSComm1().IsOpen());
    program.boxes.clear();
    program.Refresh();
    QTRY_COMPARE_WITH_TIMEOUT(gModuleCount, int16_t(3), kScanTimeoutMs);
    QVERIFY(program.boxes.isEmpty());
}

QTEST_MAIN(TestE2eRing)
#include "tst_e2e_ring.moc"
