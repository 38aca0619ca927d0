// The README's picture of the Trends window: a simulated week of the demo ring in which the
// link between modules 103 and 104 degrades (their counters climb faster each day, faulty for
// hours at the end) and module 106 misses scans one afternoon, then the program on the
// simulator with that history, Trends on the last 7 days, saved as a PNG.
// Usage: trends_shot --week HISTORY RINGFILE   (writes the week ending now, and the simulator's
//                                               ring with the counters the week ends on)
//        trends_shot --shot HISTORY DEVICE PNG (the program on the simulator's DEVICE)
#include "app/frmMain.h"
#include "app/frmTrends.h"
#include "history/RingHistory.h"
#include "model/Clock.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMdiSubWindow>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t kScanMs = 10000;
constexpr int64_t kWeekMs = 7 * 86400000LL;

int WriteWeek(const QString &path, const QString &ringFile)
{
    QFile::remove(path);
    RingHistory history;
    if (!history.Open(path))
        return 1;
    const int64_t end = QDateTime::currentMSecsSinceEpoch();
    double errors = 0;
    std::vector<RingScan> batch;
    RingScan scan;
    for (int64_t time = end - kWeekMs; time < end; time += kScanMs) {
        const double day = double(time - (end - kWeekMs)) / 86400000.0;
        // Errors per hour: none the first two days, then doubling every day.
        errors += day < 2 ? 0 : std::pow(2.0, day - 1) * kScanMs / 3600000.0;
        scan = RingScan{};
        scan.sentMs = time;
        scan.portNumber = 1;
        scan.origin = ScanOrigin::AutoRefresh;
        scan.device = QStringLiteral("/tmp/zephlink9-ring");
        for (int id = 101; id <= 108; ++id) {
            if (id == 106 && day > 3.6 && day < 3.7)
                continue;
            ModuleSnapshot module{id, uint8_t(id == 101 ? 'G' : id <= 104 ? 'L' : 'R'), uint8_t(id == 104 ? 42 : 41), 0x13};
            const bool faulty = day > 6.2 || (day > 5.5 && day < 5.65);
            if (id == 104) {
                module.counter1 = int(errors) % 32768;
                module.faulty1 = faulty;
            }
            if (id == 103) {
                module.counter2 = int(errors * 0.6) % 32768;
                module.faulty2 = faulty;
            }
            scan.modules.push_back(module);
        }
        batch.push_back(scan);
        if (batch.size() == 1000) {
            history.KeepAll(batch);
            batch.clear();
        }
    }
    history.KeepAll(batch);
    QFile ring(ringFile);
    if (!ring.open(QIODevice::WriteOnly))
        return 1;
    for (const ModuleSnapshot &module : scan.modules)
        ring.write(QStringLiteral("id=%1 side=%2 version=%3 ch1=%4:%5 ch2=%6:%7\n")
                       .arg(module.id)
                       .arg(QChar(module.side))
                       .arg(module.version)
                       .arg(module.faulty1 ? "fault" : "ok")
                       .arg(module.counter1)
                       .arg(module.faulty2 ? "fault" : "ok")
                       .arg(module.counter2)
                       .toLatin1());
    return 0;
}

int Shot(const QString &history, const QString &device, const QString &png)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
    QFile file(ini);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QStringLiteral("[ZEPHLINK9 Setup Tool]\ncomport=1\nCOM1=%1\nhistory=%2\n").arg(device, history).toLocal8Bit());
    file.close();
    frmMain window(frmMain::Options{nullptr, ini, [] {}});
    window.resize(1280, 800);
    window.show();
    window.Form_Activate();
    QEventLoop scanned;
    QObject::connect(&window.Core(), &RingCore::scanHandedOver, &scanned, &QEventLoop::quit);
    QTimer::singleShot(5000, &scanned, &QEventLoop::quit);
    window.mnuRefresh_Click();
    scanned.exec();
    frmTrends *trends = window.Trends();
    trends->cboRange->setCurrentIndex(2);
    if (QMdiSubWindow *frame = qobject_cast<QMdiSubWindow *>(trends->parentWidget()))
        frame->setGeometry(0, 250, 1100, 480);
    QTimer::singleShot(500, &window, [&] {
        window.grab().save(png);
        QCoreApplication::quit();
    });
    QApplication::exec();
    return QFile::exists(png) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--week"))
        return WriteWeek(args[2], args[3]);
    if (args.size() == 5 && args[1] == QStringLiteral("--shot"))
        return Shot(args[2], args[3], args[4]);
    std::fprintf(stderr, "usage: trends_shot --week HISTORY RINGFILE | --shot HISTORY DEVICE PNG\n");
    return 2;
}
