// Benchmarks of the windows: one drawing pass of "Bus Info" for rings of 8, 256 and 1000
// modules, and "Global Settings" Apply programming 1000 modules.
#include "app/frmMain.h"
#include "MemorySerialPort.h"
#include "dialogs/frmGlobalSettings.h"
#include "RingFixture.h"
#include "ringview/frmBackground.h"

#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A scan that a ring of modules answers, module 1 attached.
void FillRing(frmMain &window, MemorySerialPort &port, int modules)
{
    std::vector<ringtest::RingModule> ring;
    for (int id = 1; id <= modules; ++id)
        ring.push_back({id, id % 7 == 0, id % 5 == 0});
    ringtest::SetRing(window.Core(), port, ring);
}
} // namespace

class BenchGui : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString Ini()
    {
        const QString path = dir.filePath(QStringLiteral("bench.ini"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write("[ZEPHLINK9 Setup Tool]\ncomport= 1\n");
        return path;
    }

private slots:
    void drawModules_data()
    {
        QTest::addColumn<int>("modules");
        QTest::newRow("8") << 8;
        QTest::newRow("256") << 256;
        QTest::newRow("1000") << 1000;
    }
    void drawModules()
    {
        QFETCH(int, modules);
        MemorySerialPort port;
        frmMain window(frmMain::Options{&port, Ini(), [] {}});
        window.resize(1600, 1000);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FillRing(window, port, modules);
        frmBackground *busInfo = window.BusInfo();
        busInfo->DrawModules();  // pictures created once, as after an activation
        QBENCHMARK {
            busInfo->DrawModules();
        }
        QCOMPARE(busInfo->PictureCount() >= modules, true);
    }

    void apply1000()
    {
        MemorySerialPort port;
        frmMain window(frmMain::Options{&port, Ini(), [] {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FillRing(window, port, 1000);
        frmGlobalSettings *settings = window.GlobalSettings();
        QBENCHMARK {
            port.written.clear();
            settings->cmdApply_Click();
        }
        QCOMPARE(port.written.size(), 1000);
    }
};

QTEST_MAIN(BenchGui)
#include "bench_gui.moc"
