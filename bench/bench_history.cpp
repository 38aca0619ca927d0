// The ring history over a year: fills a file with a year of a 150-module ring scanned every
// 10 s (five channels counting all the time, module 77 gone for an hour every day, the events
// the Events window shows at its limit), thinned as the program thins it, then measures what a
// technician waits for. All of it runs beside a second process that keeps every core busy,
// as a loaded plant PC would. Prints rows of bench/RESULTS.md's table.
// Usage: bench_history FILE   (a FILE filled before is used again; the measurements run on a
// copy beside it, FILE-run, which is left for the start-up measurement)
#include "history/RingHistory.h"
#include "ManualClock.h"
#include "model/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <iostream>
#include <thread>

namespace {

constexpr int64_t kScanMs = 10000;
constexpr int64_t kDayMs = 86400000;
constexpr int64_t kYearStartMs = 1765000800000;  // 2025-12-06, on a whole hour
constexpr int64_t kYearEndMs = kYearStartMs + 365 * kDayMs;

// The ring at a scan: modules 1..count; five channels count one a scan (11/1, 22/2, 33/1,
// 44/1 and 44/2); module 77 does not answer from 03:00 to 04:00.
RingScan Ring(int64_t timeMs, int count, int port)
{
    RingScan scan;
    scan.sentMs = timeMs;
    scan.portNumber = port;
    scan.origin = ScanOrigin::AutoRefresh;
    scan.device = QStringLiteral("/dev/ttyUSB%1").arg(port - 1);
    const int tick = int((timeMs / kScanMs) % 32000);
    const bool gone = (timeMs % kDayMs) / 3600000 == 3;
    for (int id = 1; id <= count; ++id) {
        if (id == 77 && gone)
            continue;
        ModuleSnapshot module{id, uint8_t(id == 1 ? 'G' : (id % 2 ? 'R' : 'L')), 41, 0x13};
        module.counter1 = (id == 11 || id == 33 || id == 44) ? tick : 0;
        module.counter2 = (id == 22 || id == 44) ? tick : 0;
        scan.modules.push_back(module);
    }
    return scan;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Percentile95(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() * 95 / 100];
}

// The load: a busy loop on every core, until the bench closes its input.
int Burn()
{
    std::atomic<bool> stop = false;
    std::vector<std::thread> threads;
    for (unsigned k = 0; k < std::max(1u, std::thread::hardware_concurrency()); ++k)
        threads.emplace_back([&stop] {
            volatile uint64_t n = 0;
            while (!stop.load(std::memory_order_relaxed))
                n = n + 1;
        });
    std::cin.get();
    stop = true;
    for (std::thread &thread : threads)
        thread.join();
    return 0;
}

double TimeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void Row(const char *figure, const QString &result) { std::printf("| %s | %s |\n", figure, qPrintable(result)); }

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::string(argv[1]) == "--burn")
        return Burn();
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_history FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    ManualClock clock;
    SetClock(&clock);
    const auto setNow = [&clock](int64_t ms) { clock.Advance(ms - clock.EpochMs()); };
    RingHistory history;
    QObject::connect(&history, &RingHistory::problem, [](const QString &text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::exit(1);
    });

    QProcess burner;
    burner.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--burn")});
    if (!burner.waitForStarted())
        return 1;
    const auto stopBurner = [&burner] {
        burner.closeWriteChannel();
        burner.waitForFinished();
    };

    double fillS = 0;
    if (!QFileInfo::exists(path)) {
        if (!history.Open(path))
            return 1;
        QElapsedTimer fill;
        fill.start();
        std::vector<RingScan> batch;
        for (int64_t time = kYearStartMs; time < kYearEndMs; time += kScanMs) {
            batch.push_back(Ring(time, 150, 1));
            if (batch.size() < 360)
                continue;
            history.KeepAll(batch);
            batch.clear();
            setNow(time);
            // The program steps every 200 ms while there is work: thousands of steps an hour,
            // of which an hour's thinning takes a few.
            for (int step = 0; step < 20; ++step)
                history.ThinOneStep();
        }
        history.KeepAll(batch);
        // The events of the last scans, as many as the Events window shows.
        for (int n = 0; n < 2000; ++n) {
            RingEvent event;
            event.time = QDateTime::fromMSecsSinceEpoch(kYearEndMs + n * kScanMs);
            event.kind = RingEventKind::CounterRise;
            event.id = 44;
            event.text = QStringLiteral("Module 44 channel 1 error counter +1");
            history.Keep(Ring(kYearEndMs + n * kScanMs, 150, 1), std::vector<RingEvent>(5, event));
        }
        fillS = fill.elapsed() / 1000.0;
        history.Close();
    }
    const QString run = path + QStringLiteral("-run");
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(run + suffix);
    if (!QFile::copy(path, run) || !history.Open(run))
        return 1;
    const int64_t now = kYearEndMs + 2000 * kScanMs;
    setNow(now);
    const qint64 size = QFileInfo(run).size();

    // A day as the program lives it on that file: a scan kept every 10 s in its own
    // transaction, the thinning steps in between (with the write-ahead log's checkpoints).
    std::vector<double> keep150;
    std::vector<double> steps;
    int64_t time = now;
    for (int n = 0; n < 8640; ++n, time += kScanMs) {
        keep150.push_back(TimeMs([&] { history.Keep(Ring(time, 150, 1)); }));
        if (n % 20 == 0) {
            setNow(time);
            steps.push_back(TimeMs([&] { history.ThinOneStep(); }));
        }
    }
    // A 1000-module ring on a second port of the same file.
    std::vector<double> keep1000;
    for (int n = 0; n < 100; ++n)
        keep1000.push_back(TimeMs([&] { history.Keep(Ring(time + n * kScanMs, 1000, 2)); }));
    keep1000.erase(keep1000.begin());  // the first scan of a port looks up each module's last row
    const int64_t end = time;
    std::vector<double> chart;
    std::vector<double> worst;
    std::vector<double> shares;
    size_t buckets = 0;
    size_t channels = 0;
    for (int run = 0; run < 7; ++run) {
        chart.push_back(TimeMs([&] { buckets = history.ModuleTrend(1, 44, end - 30 * kDayMs, end, 6 * 3600000).size(); }));
        worst.push_back(TimeMs([&] { channels = history.WorstChannels(1, end - 30 * kDayMs, end, 50).size(); }));
        shares.push_back(TimeMs([&] { history.AnswerShares(1, end - kDayMs, end); }));
    }
    stopBurner();
    if (buckets != 120 || channels != 5) {
        std::fprintf(stderr, "bench_history: %zu buckets, %zu channels\n", buckets, channels);
        return 1;
    }
    if (fillS > 0)
        Row("history: a year of a 150-module ring filled and thinned (10 s scans)",
            QStringLiteral("%1 s").arg(fillS, 0, 'f', 0));
    Row("history: file after a year", QStringLiteral("%1 MB").arg(double(size) / 1e6, 0, 'f', 0));
    Row("history: a scan kept, 150 modules (a day's 8640: median; 95th percentile; longest)",
        QStringLiteral("%1 ms; %2 ms; %3 ms")
            .arg(Median(keep150), 0, 'f', 2)
            .arg(Percentile95(keep150), 0, 'f', 2)
            .arg(*std::max_element(keep150.begin(), keep150.end()), 0, 'f', 1));
    Row("history: a thinning step in that day (median; 95th percentile; longest)",
        QStringLiteral("%1 ms; %2 ms; %3 ms")
            .arg(Median(steps), 0, 'f', 1)
            .arg(Percentile95(steps), 0, 'f', 1)
            .arg(*std::max_element(steps.begin(), steps.end()), 0, 'f', 1));
    Row("history: a scan kept, 1000 modules (median of 99)", QStringLiteral("%1 ms").arg(Median(keep1000), 0, 'f', 2));
    Row("history: 30-day chart of one module (median of 7)", QStringLiteral("%1 ms").arg(Median(chart), 0, 'f', 1));
    Row("history: 30-day worst channels (median of 7)", QStringLiteral("%1 ms").arg(Median(worst), 0, 'f', 1));
    Row("history: 24-hour share of scans answered (median of 7)", QStringLiteral("%1 ms").arg(Median(shares), 0, 'f', 1));
    return 0;
}
