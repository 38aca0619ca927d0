// The metrics page of a 1000-module ring with a reference: built (median of 200), and served
// over loopback from the request's first byte to the answer's last (median and slowest of 100,
// a new connection each, client and server in this program's one thread); prints rows of
// bench/RESULTS.md's table.
#include "metrics/MetricsPage.h"
#include "metrics/MetricsServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <cstdio>

namespace {

RingSnapshot Ring(int count)
{
    RingSnapshot ring;
    for (int id = 1; id <= count; ++id)
        ring.push_back({id, uint8_t(id == 1 ? 'G' : (id % 2 ? 'R' : 'L')), 41, 0x13, id % 97 == 0, false,
                        id * 7 % 3000, id % 13, 0});
    return ring;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    RingKeeper keeper;
    keeper.SetReference(Ring(1001));
    RingScan scan;
    scan.serial = 1;
    scan.sentMs = 1765112909005;
    scan.modules = Ring(1000);
    keeper.Take(scan);
    const MetricsSources sources{true, &keeper, {1, 0}, 12};

    std::vector<double> built;
    QByteArray page;
    for (int k = 0; k < 200; ++k) {
        QElapsedTimer timer;
        timer.start();
        page = MetricsPage(sources);
        built.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    MetricsServer server([&sources] { return MetricsPage(sources); });
    server.Listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.servers().first()->serverPort();
    std::vector<double> served;
    for (int k = 0; k < 100; ++k) {
        QElapsedTimer timer;
        timer.start();
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write("GET /metrics HTTP/1.1\r\nHost: ring-pc\r\n\r\n");
        QByteArray answer;
        while (!answer.endsWith(page) && timer.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            answer += socket.readAll();
        }
        served.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("| metrics page of 1000 modules, built (median of 200) | %.2f ms, %lld KB |\n", Median(built),
                static_cast<long long>(page.size() / 1024));
    std::printf("| metrics page of 1000 modules, served over loopback in-process (median / slowest of 100) | %.2f ms / %.2f ms |\n",
                Median(served), *std::max_element(served.begin(), served.end()));
    return 0;
}
