// The program on the ring simulator's pseudo-terminal through QSerialPort, with the real
// event loop and timers: scan and side order, Module State's W, garbage on the line, the
// reference ring's events, a box held open while automatic scans go on, a ring of 1000
// modules at wire speed, a device that vanishes and comes back, and the metrics page.
#include "HttpAsk.h"
#include "RingProgram.h"
#include "RingSimProcess.h"
#include "SteppedClock.h"
#include "TestFiles.h"
#include "app/frmEvents.h"
#include "app/frmTrends.h"
#include "app/frmMain.h"
#include "bus/SerialPort.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmModuleState.h"
#include "dialogs/frmProgramSettings.h"
#include "model/ModuleListModel.h"
#include "ringview/ModulePicture.h"
#include "ringview/frmBackground.h"
#include "ringview/frmModuleList.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kModules = 1000;
const QStringList kNoPacing{QStringLiteral("--no-pacing")};

// How many modules the simulator lists ("id=3 side=R version=41 mode=0x13 ...") that match.
qsizetype Listed(RingSimProcess &sim, const QString &pattern)
{
    return sim.list().filter(QRegularExpression(pattern)).size();
}

// The IDs of the ring log's module rows, oldest first.
QList<int> LoggedModules(const QString &path)
{
    QList<int> ids;
    for (const QString &row : QString::fromUtf8(ReadTestFile(path)).split(QStringLiteral("\r\n")))
        if (row.endsWith(QLatin1Char(',')) && row.count(QLatin1Char(',')) == 10 && !row.section(QLatin1Char(','), 1, 1).isEmpty())
            ids << row.section(QLatin1Char(','), 2, 2).toInt();
    return ids;
}

// The Module List's rows behind its table.
const ModuleListModel &ListRows(frmMain &main)
{
    auto *shown = qobject_cast<QSortFilterProxyModel *>(main.ModuleList()->tblModuleList->model());
    return *qobject_cast<const ModuleListModel *>(shown->sourceModel());
}

} // namespace

class TestE2eRing : public QObject
{
    Q_OBJECT

private slots:
    // Garbage, a reply from ID 32001 and a cut-off reply, each followed by a wait long enough
    // for a read, a parse pass and a quiet poll that drops a cut-off frame; then the scan.
    void garbageThenScanSortedBySide()
    {
        RingSimProcess sim;
        QVERIFY(sim.start(kNoPacing, "id=20 side=L\nid=10 side=G\nid=11 side=R\nid=12 side=L\n"
                                     "id=13 side=R\nid=14 side=L\nid=15 side=R\n"));
        RunningProgram program(sim.devicePath());
        for (const char *raw : {"raw 00 FF 13 0A 0D 00 47 47 47 0D 0A 99 01 02", "raw 52 01 7D 29 13 00 00 00 00 0A 0D",
                                "raw 47 07 00 29"}) {
            QVERIFY(sim.control(QString::fromLatin1(raw)));
            QTest::qWait(350);
        }
        const RingTable &table = program.Main().Core().Table();
        QCOMPARE(table.Count(), 0);
        QVERIFY(program.Scan(7));
        QCOMPARE(table.LocalModuleID(), 10);
        // The attached module, the L side in ring order, then the others in reverse order.
        QCOMPARE(RingOrder(table), (QList<int>{10, 20, 12, 14, 15, 13, 11}));
        QVERIFY(table.Module(0).GetModuleID() == 0 && table.Module(0).GetSide() == 0);
        QCOMPARE(program.Boxes(), QStringList());
    }

    // Module State's Apply with "Write to EEPROM": the module takes the rule and keeps it over
    // a restart. Then Global Settings programs the ring, in which one module ignores S and W,
    // and another one goes before Verify Settings.
    void applyThenVerifySettings()
    {
        RingSimProcess sim;
        QVERIFY(sim.start(kNoPacing, "id=1 side=G\nid=2 side=L writes=ignore\nid=3 side=R\nid=4 side=L\n"));
        RunningProgram program(sim.devicePath());
        QVERIFY(program.Scan(4));
        frmModuleState *state = program.Main().ModuleState();
        state->txtModulID->setText(QStringLiteral("3"));
        state->cmbErrorRelais->setCurrentIndex(2);  // 0x13 with the rule of list position 2 is 0x23
        state->chkWriteToEEPROM->setChecked(true);
        state->cmdApply_Click();
        QTRY_COMPARE(Listed(sim, QStringLiteral("^id=3 .* mode=0x23 ")), 1);
        QVERIFY(sim.control(QStringLiteral("restart")));
        // The table keeps what the modules said until a reply says otherwise.
        const RingTable &table = program.Main().Core().Table();
        QCOMPARE(table.Module(3).GetMode(), 0x13);
        QVERIFY(program.Scan(4));
        QCOMPARE(QList<int>({table.Module(1).GetMode(), table.Module(3).GetMode()}), QList<int>({0x13, 0x23}));

        frmGlobalSettings *settings = program.Main().GlobalSettings();
        settings->cmbBaudrate->setCurrentText(QStringLiteral("9600"));
        settings->optParityNone->setChecked(true);
        settings->optStopBits1->setChecked(true);
        settings->cmbErrorRelais->setCurrentIndex(0);
        settings->cmdApply_Click();
        QTRY_COMPARE(Listed(sim, QStringLiteral(" mode=0x03 ")), 3);
        QVERIFY(sim.control(QStringLiteral("remove 4")));

        program.Main().mnuVerifySettings->trigger();
        QTRY_COMPARE(program.Boxes(),
                     QStringList{"Verify Settings: 2 of 4 modules as applied, 1 differs, 1 no answer."});
        const ModuleListModel &rows = ListRows(program.Main());
        QCOMPARE(rows.data(rows.index(rows.RowOf(2), ModuleListModel::Verified)).toString(),
                 QStringLiteral("differs: mode 0x13, applied 0x03"));
        // Without a reference each scan is compared with the one before: the modes that changed
        // and the module that went. The module that differs and the one that did not answer
        // are events of the verification.
        QCOMPARE(program.EventTexts(),
                 (QStringList{"Module 3 mode 0x23, was 0x13", "Module 4 missing", "Module 1 mode 0x03, was 0x13",
                              "Module 3 mode 0x03, was 0x23", "Module 2 differs: mode 0x13, applied 0x03",
                              "Module 4 no answer"}));
    }

    // A reference saved from a ring of 12, the ring changed through the simulator, the events
    // of the next scan, the status bar, and the reference in force again after a restart.
    void referenceEventsAndRestart()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--modules"), QStringLiteral("12")}));
        RunningProgram program(sim.devicePath(), "log=ring-log.csv\r\n");
        frmMain *main = &program.Main();
        QCOMPARE(main->lblReference->text(), QStringLiteral("No reference ring"));
        // A module located 0.3 s after Refresh answers before the scan is over: the reference
        // and the report keep what the scan's replies said, its side L.
        QSignalSpy handed(&main->Core(), &RingCore::scanHandedOver);
        main->mnuRefresh_Click();
        QTest::qWait(300);
        main->BusInfo()->picModule_Click(1);
        QCOMPARE(main->BusInfo()->windowTitle(), QStringLiteral("Bus Info - module found!"));
        QVERIFY(handed.count() == 1 || handed.wait(5000));
        main->mnuSaveReference->trigger();
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 12 of 12 present"));
        QVERIFY(ReadTestFile(program.Path(QStringLiteral("ring-reference.csv"))).contains("\r\n1,2,L,4.1,0x13\r\n"));
        main->SaveReport(program.Path(QStringLiteral("report.csv")));
        QVERIFY(ReadTestFile(program.Path(QStringLiteral("report.csv"))).contains("\r\n1,2,L,4.1,"));

        // One module gone, a firmware changed, two swapped (taken out, put back the other way
        // round), a fault and a rising counter.
        for (const char *line : {"remove 5", "set 7 version=42", "remove 2", "remove 4", "add id=4 side=L",
                                 "add id=2 side=L", "fault 3 1 on", "counter 9 2 40"})
            QVERIFY(sim.control(QString::fromLatin1(line)));
        QVERIFY(program.ScanSettled());
        const QStringList texts = program.EventTexts();
        for (const char *text : {"Module 5 missing", "Module 7 firmware 4.2, reference 4.1", "Module 3 channel 1 faulty",
                                 "Module 9 channel 2 error counter +40"})
            QVERIFY2(texts.contains(QString::fromLatin1(text)), qPrintable(texts.join(QLatin1Char('|'))));
        QCOMPARE(texts.filter(QStringLiteral(" at position ")).size(), 2);
        QCOMPARE(texts.size(), 6);
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 11 of 12 present"));
        QCOMPARE(main->lblNewEvents->text(), QStringLiteral("6 new events"));
        QCOMPARE(main->lblNewEvents->accessibleName(), QString());

        // Shown in the window; acknowledged, the count goes. Each event is a ring-log row too.
        main->mnuEvents->trigger();
        QVERIFY(main->Events()->tblEvents->model()->rowCount() == 6);
        main->Events()->cmdAcknowledge->click();
        QCOMPARE(main->lblNewEvents->text(), QString());
        QFile log(program.Path(QStringLiteral("ring-log.csv")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains(",\"Module 7 firmware 4.2, reference 4.1\"\r\n"));

        // Started again: the events of the run before are there, acknowledged, and the first
        // scan is compared with the last ring the history kept, so only what changed since is
        // told, and "Change" counts from that ring.
        program.Restart();
        main = &program.Main();
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 12 modules"));
        QCOMPARE(program.Boxes(), QStringList());
        QCOMPARE(program.EventTexts(), texts);
        QCOMPARE(main->lblNewEvents->text(), QString());
        QVERIFY(sim.control(QStringLiteral("counter 9 2 55")));
        QVERIFY(program.ScanSettled());
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 11 of 12 present"));
        QCOMPARE(program.EventTexts(), texts + QStringList{"Module 9 channel 2 error counter +15"});
        const ModuleListModel &rows = ListRows(*main);
        QCOMPARE(rows.data(rows.index(rows.RowOf(9), ModuleListModel::Change)).toString(), QStringLiteral("+15"));
        QCOMPARE(program.Boxes(), QStringList());
    }

    // A counter that climbs from scan to scan, and a channel that turns faulty: Trends puts
    // them first, charts the first one's module, and a double-click on the other row charts
    // its module and selects it in the Module List and Bus Info.
    void trendsOfAClimbingCounter()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--modules"), QStringLiteral("6")}));
        RunningProgram program(sim.devicePath());
        frmMain &main = program.Main();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        for (const char *line : {"counter 3 1 10", "counter 3 1 25", "fault 4 2 on"}) {
            QVERIFY(program.ScanSettled());
            QVERIFY(sim.control(QString::fromLatin1(line)));
        }
        QVERIFY(program.ScanSettled());
        main.mnuTrends->trigger();
        frmTrends *trends = main.Trends();
        const auto rows = [trends] {
            QStringList texts;
            const QAbstractItemModel *model = trends->tblWorst->model();
            for (int row = 0; row < model->rowCount(); ++row)
                texts << QStringLiteral("%1 %2 %3").arg(model->index(row, 0).data().toString(),
                                                        model->index(row, 1).data().toString(), model->index(row, 2).data().toString());
            return texts;
        };
        QCOMPARE(rows(), (QStringList{"3 1 +25", "4 2 +0"}));
        QCOMPARE(trends->ShownModule(), 3);
        QVERIFY(trends->chtTrend->accessibleDescription().contains(QStringLiteral("Channel 1: increase 25")));
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(trends->tblWorst);
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->tableInterface()->columnCount(), 4);
        QCOMPARE(table->tableInterface()->rowCount(), 2);
        QCOMPARE(table->tableInterface()->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("+25"));
        QCOMPARE(table->tableInterface()->columnDescription(3), QStringLiteral("Time faulty"));

        main.ModuleList();
        const QModelIndex second = trends->tblWorst->model()->index(1, 0);
        BringToFront(trends);
        QWidget *viewport = trends->tblWorst->viewport();
        const QPoint at = viewport->mapTo(&main, trends->tblWorst->visualRect(second).center());
        QTest::mouseDClick(main.windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(trends->ShownModule(), 4);
        QCOMPARE(main.BusInfo()->MarkedModule(), 4);
        const QModelIndexList selected = main.findChild<frmModuleList *>()->tblModuleList->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().siblingAtColumn(ModuleListModel::ID).data().toString(), QStringLiteral("4"));
        trends->cboRange->setCurrentText(QStringLiteral("Last 30 days"));
        QCOMPARE(rows(), (QStringList{"3 1 +25", "4 2 +0"}));
        QCOMPARE(program.Boxes(), QStringList());
    }

    // Verify Settings' box held open with Autorefresh on: a module goes, and two automatic
    // scans are handed over inside the box's own event loop. Each is handed over whole: the
    // module is missing once, never back, and the log has the scans in the order they came.
    void boxOpenWhileAutomaticScansGoOn()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--modules"), QStringLiteral("5")}));
        SteppedClock clock;
        SetClock(&clock);
        const auto systemClock = qScopeGuard([] { SetClock(nullptr); });
        RunningProgram program(sim.devicePath(), "log=ring-log.csv\r\n");
        frmMain &main = program.Main();
        QVERIFY(program.ScanSettled());
        main.mnuAutorefresh_Click();
        QSignalSpy handed(&main.Core(), &RingCore::scanHandedOver);
        QStringList eventsInside;
        program.catcher.whileOpen = [&] {
            QVERIFY(sim.control(QStringLiteral("remove 3")));
            for (int scan = 1; scan <= 2; ++scan) {
                clock.Skip(BusLink::kRefreshIntervalMs);
                QTRY_COMPARE_WITH_TIMEOUT(int(handed.count()), 1 + scan, 5000);
            }
            eventsInside = program.EventTexts();
        };
        main.mnuVerifySettings->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(program.Boxes(), QStringList{"Verify Settings: 0 of 5 modules as applied, 0 differs, 0 no answer, "
                                                               "5 nothing applied."}, 8000);
        QCOMPARE(eventsInside, QStringList{"Module 3 missing"});
        QCOMPARE(program.EventTexts(), QStringList{"Module 3 missing"});
        // Four scans: the first two with module 3, then the two without it; the missing module's
        // row has no position and no data of it, and says where it stood.
        const QString log = program.Path(QStringLiteral("ring-log.csv"));
        QCOMPARE(LoggedModules(log), (QList<int>{1, 2, 4, 5, 3, 1, 2, 4, 5, 3, 1, 2, 4, 5, 1, 2, 4, 5}));
        QVERIFY(ReadTestFile(log).contains(",,3,,,,,,,,Module 3 missing (position 4 in the ring found before)\r\n"));
    }

    void vanishingPort()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ring"));
        const QStringList args{QStringLiteral("--modules"), QStringLiteral("3"), QStringLiteral("--no-pacing"),
                               QStringLiteral("--link"), link};
        auto sim = std::make_unique<RingSimProcess>();
        QVERIFY(sim->start(args));
        RunningProgram program(link);
        frmMain &main = program.Main();
        QVERIFY(program.Scan(3));

        // The device goes away while the port is open: its terminal hangs up.
        sim.reset();
        QVERIFY(!QFile::exists(link));
        QTRY_VERIFY(!main.MSComm1().IsOpen());

        // Commands are lost; the scan finds nothing, and the port dialog cannot offer the device.
        QVERIFY(!program.Scan(3, 0));
        QCOMPARE(main.Core().Table().Count(), 0);
        QVERIFY(program.Boxes().contains(QStringLiteral("No Modules found!")));
        main.mnuSelectComPort_Click();
        frmProgramSettings *settings = main.findChild<frmProgramSettings *>();
        QCOMPARE(settings->optCom[1]->text(), QStringLiteral("COM1 (not found)"));
        QVERIFY(!settings->optCom[1]->isEnabled());

        // The device comes back behind the same path; choosing the port again restores reception.
        sim = std::make_unique<RingSimProcess>();
        QVERIFY(sim->start(args));
        main.mnuSelectComPort_Click();
        QCOMPARE(main.findChild<frmProgramSettings *>(), settings);
        QVERIFY(settings->optCom[1]->isEnabled());
        settings->optCom[1]->setChecked(true);
        settings->cmdOK_Click();
        program.catcher.boxes.clear();
        QVERIFY(program.Scan(3));
        QCOMPARE(program.Boxes(), QStringList());
    }

    // With metrics=PORT the windowed program serves the page of its scans. Where the port is
    // taken, one box says so and the program goes on without the page.
    void metricsPage()
    {
        RingSimProcess sim;
        QVERIFY(sim.start(kNoPacing, "id=1 side=G\nid=2 side=L ch1=fault:4\n"));
        auto taken = std::make_unique<QTcpServer>();
        QVERIFY(taken->listen(QHostAddress::LocalHost));
        const quint16 port = taken->serverPort();
        RunningProgram program(sim.devicePath(), "metrics=" + QByteArray::number(port) + "\r\n");
        QTRY_COMPARE(program.catcher.boxes.size(), 1);
        QVERIFY(program.catcher.boxes[0].contains(
            QStringLiteral("The metrics page cannot be served on 127.0.0.1:%1: The bound address is already in use").arg(port)));
        QVERIFY(program.Scan(2));

        taken.reset();
        program.Restart();
        QVERIFY(program.ScanSettled());
        const QByteArray page = GetHttp(port, "/metrics");
        QVERIFY(page.contains("\nzephlink9_channel_faulty{module=\"2\",channel=\"1\"} 1\n"));
        QVERIFY(page.contains("\nzephlink9_scans_total{result=\"found\"} 1\n"));
        QCOMPARE(program.catcher.boxes.size(), 1);
    }

    // 11,000 reply bytes, about 11.5 s at 9600 baud: scanned, drawn, located at the last
    // position and programmed with Global Settings' Apply, while the event loop keeps turning.
    void thousandModulesAtWireSpeed()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--modules"), QString::number(kModules)}));
        RunningProgram program(sim.devicePath());
        // Shown, so that drawing the ring includes painting a thousand pictures.
        program.Main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Main()));

        // The event loop keeps turning through the scan's and the locate's waits and Apply: a
        // wait that does not yield stops it for a second. How long Apply itself holds it is
        // apply1000() in the benchmarks (bench/RESULTS.md); a loaded machine stretches that.
        QTimer tick;
        QElapsedTimer sinceTick;
        qint64 gap = 0;
        tick.setTimerType(Qt::PreciseTimer);
        connect(&tick, &QTimer::timeout, this, [&] { gap = std::max(gap, sinceTick.restart()); });
        sinceTick.start();
        tick.start(10);

        // The scan's own wait ends at the first counted module; the rest come in later passes.
        QElapsedTimer elapsed;
        elapsed.start();
        program.Main().mnuRefresh_Click();
        QVERIFY2(elapsed.elapsed() < 1500, qPrintable(QString::number(elapsed.elapsed())));
        const RingTable &table = program.Main().Core().Table();
        QVERIFY(table.Count() >= 1 && table.Count() < kModules);
        QTRY_COMPARE_WITH_TIMEOUT(table.Count(), kModules, 30000);
        QCOMPARE(RingOrder(table), DefaultRingOrder(kModules));
        QCOMPARE(program.Boxes(), QStringList());

        frmBackground *busInfo = program.Main().BusInfo();
        busInfo->Form_Activate();
        QCOMPARE(busInfo->PictureCount(), kModules);
        QTest::qWait(100); // the pictures are painted from the event loop
        busInfo->picModule_Click(kModules - 1);
        QCOMPARE(program.Main().ModuleState()->txtModulID->text(), QString::number(table.IDAt(kModules - 1)));

        frmGlobalSettings *settings = program.Main().GlobalSettings();
        settings->cmbBaudrate->setCurrentText(QStringLiteral("19200"));
        settings->optParityOdd->setChecked(true);
        settings->optStopBits2->setChecked(true);
        settings->cmbErrorRelais->setCurrentIndex(2);
        settings->chkWriteToEEPROM->setChecked(false);
        QCOMPARE(settings->ComposeSettingsByte(), 0xAC);
        settings->cmdApply_Click();
        gap = std::max(gap, sinceTick.elapsed());
        QVERIFY2(gap < 500, qPrintable(QString::number(gap)));
        // Every frame reaches the ring; each was handed to the terminal as Apply sent it.
        QTRY_COMPARE_WITH_TIMEOUT(Listed(sim, QStringLiteral(" mode=0xAC ")), kModules, 5000);
    }
};

QTEST_MAIN(TestE2eRing)
#include "tst_e2e_ring.moc"
