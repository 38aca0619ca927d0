// A 150-module simulator ring at wire speed, through the window system: automatic refresh
// past the scan's wait, the Module List's rows after the line is quiet, a double-click on a
// row that locates, a picture click that selects its row, the find field, the faults filter
// and a locate that times out.
#include "RingProgram.h"
#include "RingSimProcess.h"
#include "SteppedClock.h"
#include "ringview/ModulePicture.h"
#include "ringview/frmModuleList.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>

namespace {

constexpr int kModules = 150;

QList<int> ListedOrder(const ModuleListModel &rows)
{
    QList<int> order;
    for (int k = 0; k < rows.rowCount(); ++k)
        order << rows.ModuleIDAt(k);
    return order;
}

int SelectedID(frmModuleList *list)
{
    const QModelIndexList selected = list->tblModuleList->selectionModel()->selectedRows(ModuleListModel::ID);
    return selected.size() == 1 ? selected[0].data().toInt() : -1;
}

} // namespace

class TestE2eModuleList : public QObject
{
    Q_OBJECT

    RingSimProcess mSim;
    SteppedClock mClock;
    std::unique_ptr<RunningProgram> mProgram;
    frmModuleList *mList = nullptr;

    const RingTable &Table() { return mProgram->Main().Core().Table(); }
    // The rows behind the list's table.
    const ModuleListModel &Rows()
    {
        return *qobject_cast<const ModuleListModel *>(
            qobject_cast<QSortFilterProxyModel *>(mList->tblModuleList->model())->sourceModel());
    }

    // The P frames the simulator got since the last call.
    QStringList LocateFrames()
    {
        return mSim.control(QStringLiteral("echo")).value_or(QStringList()).filter(QStringLiteral("command P"));
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a window system");
        QVERIFY(mSim.start({QStringLiteral("--modules"), QString::number(kModules), QStringLiteral("--trace")}));
        SetClock(&mClock);
        mProgram = std::make_unique<RunningProgram>(mSim.devicePath());
        mProgram->Main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&mProgram->Main()));
        // 1650 bytes at 9600 baud arrive over about 1.7 s: the scan's wait ends with part of
        // the ring, the rest and the side sort come in later passes, and the ring is drawn
        // again for them. The late replies stopped automatic refresh; it runs again after them.
        frmMain &main = mProgram->Main();
        QSignalSpy settled(&main.Link(), &BusLink::scanSettled);
        main.mnuAutorefresh_Click();
        for (int scan = 1; scan <= 2; ++scan) {
            mSim.control(QStringLiteral("echo"));
            mClock.Skip(BusLink::kRefreshIntervalMs);
            QStringList echoed;
            QTRY_VERIFY(!(echoed += mSim.control(QStringLiteral("echo")).value_or(QStringList()))
                             .filter(QStringLiteral("command G")).isEmpty());
            QVERIFY(Table().Count() < kModules);
            QTRY_COMPARE_WITH_TIMEOUT(Table().Count(), kModules, 6000);
            QTRY_COMPARE_WITH_TIMEOUT(int(settled.count()), scan, 3000);
        }
        main.mnuAutorefresh_Click();
        QCOMPARE(mProgram->Boxes(), QStringList());
        QCOMPARE(main.BusInfo()->PictureCount(), kModules);
        for (int k = 0; k < kModules; ++k)
            QCOMPARE(main.BusInfo()->picModule(k)->accessibleName(), QStringLiteral("Module %1").arg(Table().IDAt(k)));
        main.mnuModuleList->trigger();
        mList = main.findChild<frmModuleList *>();
        QVERIFY(mList && mList->isVisible());
    }
    void cleanupTestCase()
    {
        mProgram.reset();
        SetClock(nullptr);
    }

    void rowsInRingOrderOnceQuiet()
    {
        QCOMPARE(RingOrder(Table()), DefaultRingOrder(kModules));
        QTRY_COMPARE_WITH_TIMEOUT(ListedOrder(Rows()), DefaultRingOrder(kModules), 3000);
        QCOMPARE(mList->tblModuleList->model()->rowCount(), kModules);
        QCOMPARE(mList->windowTitle(), QStringLiteral("Module List"));
    }

    void doubleClickOnRowLocates()
    {
        LocateFrames();
        const ModuleListModel &rows = Rows();
        QTableView *table = mList->tblModuleList;
        const QModelIndex cell = table->model()->index(rows.RowOf(77), ModuleListModel::ID);
        table->scrollTo(cell);
        // Through the window, as the window system delivers a double-click.
        QWidget *window = table->window();
        const QPoint at = table->viewport()->mapTo(window, table->visualRect(cell).center());
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(mProgram->Main().ModuleState()->txtModulID->text(), QStringLiteral("77"));
        QCOMPARE(mProgram->Main().BusInfo()->windowTitle(), QStringLiteral("Bus Info - module found!"));
        QCOMPARE(LocateFrames(), QStringList{"zephlink9-ringsim: command P 4D 00 00, 11 reply bytes"});
        QCOMPARE(mProgram->Main().BusInfo()->MarkedModule(), 77);
        QVERIFY(mProgram->Main().BusInfo()->MarkFrame()->isVisible());
    }

    void pictureClickSelectsItsRow()
    {
        frmBackground *busInfo = mProgram->Main().BusInfo();
        const int position = int(RingOrder(Table()).indexOf(120));
        QTest::mouseClick(busInfo->picModule(position), Qt::LeftButton);
        QTRY_COMPARE(SelectedID(mList), 120);
        QTRY_COMPARE(mProgram->Main().ModuleState()->txtModulID->text(), QStringLiteral("120"));
        const QRect row = mList->tblModuleList->visualRect(mList->tblModuleList->currentIndex());
        QVERIFY(mList->tblModuleList->viewport()->rect().contains(row));
    }

    void findField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("selected");
        QTest::newRow("in the ring") << "40" << "" << 40;
        QTest::newRow("not in the ring") << "2826" << "Module 2826 is not in the ring" << 40;
        QTest::newRow("not a number") << "4O" << "A module ID is a whole decimal number, digits 0 to 9 only." << 40;
    }
    void findField()
    {
        QFETCH(QString, text);
        QLineEdit *field = mList->txtFindID;
        field->clear();
        field->setFocus();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        QTEST(mList->lblFindResult->text(), "said");
        QCOMPARE(field->toolTip(), mList->lblFindResult->text().startsWith(QLatin1String("A module")) ? mList->lblFindResult->text() : QString());
        QTEST(SelectedID(mList), "selected");
    }

    void faultsOnlyCountsInTheTitle()
    {
        QVERIFY(mSim.control(QStringLiteral("fault 40 1 on")));
        QVERIFY(mSim.control(QStringLiteral("fault 77 2 on")));
        mProgram->Main().mnuRefresh_Click();
        QTRY_COMPARE_WITH_TIMEOUT(Rows().IsFaulty(Rows().RowOf(77)), true, 4000);
        QTest::mouseClick(mList->chkFaultsOnly, Qt::LeftButton, {}, QPoint(5, mList->chkFaultsOnly->height() / 2));
        QTRY_COMPARE(mList->windowTitle(), QStringLiteral("Module List - 2 of 150 shown"));
        QCOMPARE(mList->tblModuleList->model()->rowCount(), 2);
    }

    // The wait for a silent module's answer lasts as long as the limit says, by the wall clock.
    void locateOfASilentModuleTimesOut()
    {
        QVERIFY(mSim.control(QStringLiteral("silent 103 on")));
        frmBackground *busInfo = mProgram->Main().BusInfo();
        QElapsedTimer waited;
        waited.start();
        busInfo->picModule_Click(int(RingOrder(Table()).indexOf(103)));
        // Two clocks that count whole milliseconds may be one apart.
        const qint64 limit = frmBackground::kLocateLimitMs;
        QVERIFY2(waited.elapsed() >= limit - 1 && waited.elapsed() < limit + 500,
                 qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(mProgram->Boxes(), QStringList{"Modul with ID 103 not answer!"});
        QCOMPARE(busInfo->windowTitle(), QStringLiteral("Bus Info - Selected module not found!"));
    }
};

QTEST_MAIN(TestE2eModuleList)
#include "tst_e2e_modulelist.moc"
