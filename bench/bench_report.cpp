// The ring report of long rings: the time to write a PDF of 1000 modules, its size and
// pages, and the pages of 150; prints rows of bench/RESULTS.md's table.
#include "app/RingReport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

RingReport Ring(int count)
{
    RingReport report;
    report.time = QDateTime::currentDateTime();
    report.programVersion = QStringLiteral("1.31");
    report.scan.portNumber = 1;
    report.scan.device = QStringLiteral("/dev/ttyUSB0");
    Verification verification;
    for (int id = 1; id <= count; ++id) {
        report.scan.modules.push_back({id, uint8_t(id == 1 ? 'G' : (id % 2 ? 'R' : 'L')), 41, 0x13, id % 97 == 0});
        verification.results.push_back({id, id % 50 ? VerifyKind::AsApplied : VerifyKind::Differs, 0x13, 0x4B});
    }
    report.verification = verification;
    return report;
}

int Pages(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    int pages = 0;
    for (auto match = page.globalMatch(QString::fromLatin1(file.readAll())); match.hasNext(); match.next())
        ++pages;
    return pages;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    for (const int count : {1000, 150}) {
        const RingReport report = Ring(count);
        std::vector<qint64> times;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            if (!SaveRingReport(report, path).isEmpty())
                return 1;
            times.push_back(timer.elapsed());
        }
        std::sort(times.begin(), times.end());
        std::printf("| report of %d modules, PDF (median of 5) | %lld ms, %.0f KB, %d pages |\n", count,
                    static_cast<long long>(times[2]), QFileInfo(path).size() / 1024.0, Pages(path));
    }
    return 0;
}
