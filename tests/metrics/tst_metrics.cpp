// The metrics page for a ring's states, each read by promtool as Prometheus reads it; the server
// that serves it, its routes, and its guard against idle and hostile clients.
#include "ManualClock.h"
#include "HttpAsk.h"
#include "RingText.h"
#include "metrics/ConnectionGuard.h"
#include "metrics/GuardedTcpServer.h"
#include "metrics/MetricsPage.h"
#include "metrics/MetricsServer.h"
#include "model/Clock.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kGet = "GET /metrics HTTP/1.1\r\nHost: ring-pc\r\n\r\n";

} // namespace

class TestMetrics : public QObject
{
    Q_OBJECT

    ManualClock mClock;
    QByteArray mPage = "zephlink9_port_open 1\n";
    std::unique_ptr<MetricsServer> mServer;
    quint16 mPort = 0;

private slots:
    void initTestCase()
    {
        SetClock(&mClock);
        mServer = std::make_unique<MetricsServer>([this] { return mPage; });
        QCOMPARE(mServer->Listen(QHostAddress::LocalHost, 0), QString());
        mPort = mServer->Tcp()->serverPort();
    }
    void cleanupTestCase()
    {
        mServer.reset();
        SetClock(nullptr);
    }

    void page_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("scans");
        QTest::addColumn<QStringList>("once");  // lines the page holds exactly once
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("before any scan") << "1G 2L" << ""
            << QStringList{"zephlink9_port_open 1", "zephlink9_ring_modules 0", "zephlink9_scans_total{result=\"found\"} 0",
                           "zephlink9_reference_modules_missing 0", "zephlink9_events_unacknowledged 3",
                           "zephlink9_history_up 1", "zephlink9_history_scans_missed_total 37"}
            << QStringList{"\nzephlink9_last_scan_timestamp_seconds ", "zephlink9_module_present{"};
        QTest::newRow("a faulty channel") << "none" << "1G 2L:c1=3 3L:f2:c2=17:v42:m4b"
            << QStringList{"zephlink9_ring_modules 3", "zephlink9_scans_total{result=\"found\"} 1",
                           "zephlink9_last_scan_timestamp_seconds 1765112909.005",
                           "zephlink9_module_info{module=\"3\",position=\"2\",side=\"L\",version=\"4.2\",mode=\"0x4B\"} 1",
                           "zephlink9_channel_faulty{module=\"3\",channel=\"2\"} 1", "zephlink9_channel_faulty{module=\"3\",channel=\"1\"} 0",
                           "zephlink9_channel_errors_total{module=\"3\",channel=\"2\"} 17",
                           "zephlink9_channel_errors_total{module=\"2\",channel=\"1\"} 3", "zephlink9_module_present{module=\"3\"} 1"}
            << QStringList{"zephlink9_module_present{module=\"3\"} 0"};
        QTest::newRow("a module of the reference missing") << "1G 2L 3L" << "1G 3L"
            << QStringList{"zephlink9_module_present{module=\"2\"} 0", "zephlink9_module_present{module=\"3\"} 1",
                           "zephlink9_reference_modules_missing 1"}
            << QStringList{"zephlink9_channel_faulty{module=\"2\""};
        QTest::newRow("no module answering after a ring") << "none" << "1G 2L|-"
            << QStringList{"zephlink9_ring_modules 0", "zephlink9_scans_total{result=\"none\"} 1",
                           "zephlink9_last_scan_timestamp_seconds 1765112919.005", "zephlink9_module_present{module=\"2\"} 1",
                           "zephlink9_module_info{module=\"2\",position=\"1\",side=\"L\",version=\"4.1\",mode=\"0x13\"} 1"}
            << QStringList();
        QTest::newRow("a scan cut by a lost port") << "1G 2L 3L" << "1G 2L 3L|!1G 7R"
            << QStringList{"zephlink9_scans_total{result=\"found\"} 1", "zephlink9_scans_total{result=\"none\"} 0",
                           "zephlink9_scans_total{result=\"cut\"} 1", "zephlink9_module_present{module=\"3\"} 1",
                           "zephlink9_reference_modules_missing 0"}
            << QStringList{"\nzephlink9_ring_modules ", "zephlink9_module_present{module=\"3\"} 0", "module=\"7\""};
        QTest::newRow("only scans cut") << "1G 2L" << "!|!1G"
            << QStringList{"zephlink9_scans_total{result=\"cut\"} 2", "zephlink9_reference_modules_missing 0"}
            << QStringList{"zephlink9_module_present{", "\nzephlink9_ring_modules "};
        QTest::newRow("a module neither in the ring nor in the reference") << "1G 2L" << "1G 2L 7R|1G 2L 9R"
            << QStringList{"zephlink9_module_present{module=\"9\"} 1", "zephlink9_module_present{module=\"2\"} 1"}
            << QStringList{"module=\"7\""};
        QTest::newRow("a module answering twice") << "1G 2L" << "1G 2L 2R"
            << QStringList{"zephlink9_module_present{module=\"2\"} 1", "zephlink9_channel_faulty{module=\"2\",channel=\"1\"} 0"}
            << QStringList{"position=\"2\""};
    }
    void page()
    {
        QFETCH(QString, reference);
        QFETCH(QString, scans);
        QFETCH(QStringList, once);
        QFETCH(QStringList, absent);
        RingKeeper keeper;
        ScanCounts counts;
        TakeRings(keeper, reference, scans, [&counts](const RingScan &scan) { counts.Count(scan); }, 1765112909005);
        const QByteArray page = MetricsPage({true, &keeper, counts, 3, true, 37});
        for (const QString &line : once)
            QVERIFY2(page.count((line + QLatin1Char('\n')).toUtf8()) == 1, qPrintable(line));
        for (const QString &text : absent)
            QVERIFY2(!page.contains(text.toUtf8()), qPrintable(text));

        if (QStandardPaths::findExecutable(QStringLiteral("promtool")).isEmpty())
            QSKIP("promtool (Debian package prometheus) is not installed: the page's format is not checked");
        QProcess promtool;
        promtool.setProcessChannelMode(QProcess::MergedChannels);
        promtool.start(QStringLiteral("promtool"), {QStringLiteral("check"), QStringLiteral("metrics")});
        promtool.write(page);
        promtool.closeWriteChannel();
        QVERIFY(promtool.waitForFinished(10000));
        QCOMPARE(promtool.readAll(), QByteArray());
        QCOMPARE(promtool.exitCode(), 0);
    }

    void routes_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("head");  // the answer's status line and a header, or empty: closed
        QTest::addColumn<bool>("page");
        QTest::addColumn<bool>("closes");  // after the answer
        QTest::newRow("GET") << kGet << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/plain; version=0.0.4\r\n") << true << false;
        QTest::newRow("HEAD") << QByteArray("HEAD /metrics HTTP/1.1\r\n\r\n") << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/plain; version=0.0.4\r\nContent-Length: 22\r\n\r\n") << false << false;
        QTest::newRow("query, HTTP/1.0") << QByteArray("GET /metrics?x=1 HTTP/1.0\r\n\r\n") << QByteArray("HTTP/1.1 200 OK\r\n") << true << true;
        QTest::newRow("Connection: close") << QByteArray("GET /metrics HTTP/1.1\r\nconnection: Close\r\n\r\n") << QByteArray("Connection: close\r\n") << true << true;
        QTest::newRow("POST") << QByteArray("POST /metrics HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc") << QByteArray("HTTP/1.1 405 Method Not Allowed\r\n") << false << false;
        QTest::newRow("DELETE") << QByteArray("DELETE /metrics HTTP/1.1\r\n\r\n") << QByteArray("Allow: GET, HEAD\r\n") << false << false;
        QTest::newRow("another path") << QByteArray("GET / HTTP/1.1\r\n\r\n") << QByteArray("HTTP/1.1 404 Not Found\r\n") << false << false;
        QTest::newRow("garbage") << QByteArray("\x01\x02 garbage\r\n\r\n") << QByteArray() << false << true;
    }
    void routes()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, head);
        QFETCH(bool, closes);
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, mPort);
        client.write(request);
        QByteArray answer;
        const bool closed = QTest::qWaitFor([&] {
            answer += client.readAll();
            return client.state() == QAbstractSocket::UnconnectedState;
        }, 300);
        QCOMPARE(closed, closes);
        if (head.isEmpty())
            QCOMPARE(answer, QByteArray());
        else
            QVERIFY2(answer.contains(head), answer.constData());
        QFETCH(bool, page);
        QCOMPARE(answer.endsWith("\r\n\r\n" + mPage), page);
    }

    // Requests sent without reading the answers are answered one at a time, the next read only
    // once the answer before it has gone out; a real scrape is answered meanwhile, and new
    // connections beyond the limit take the places of idle ones, never of one being answered.
    void pipelinedWithoutReading()
    {
        ConnectionGuard &guard = mServer->Tcp()->Guard();
        mPage = QByteArray(256 * 1024, '#');
        QTcpSocket noReader;
        noReader.setReadBufferSize(1);
        noReader.connectToHost(QHostAddress::LocalHost, mPort);
        noReader.write(kGet.repeated(400));  // more answers than the system's socket buffers take
        QTRY_VERIFY(guard.Held() > 0 && guard.Connections() == 1);
        QTest::qWait(100);
        QVERIFY2(guard.Held() <= mPage.size() + ConnectionGuard::kReadLimit, qPrintable(QString::number(guard.Held())));
        QVERIFY(AskHttp(mPort, kGet).endsWith(mPage));

        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int k = 0; k < ConnectionGuard::kMaxConnections + 20; ++k) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, mPort);
        }
        QTRY_COMPARE(idle.front()->state(), QAbstractSocket::UnconnectedState);
        QTRY_COMPARE(guard.Connections(), ConnectionGuard::kMaxConnections);
        QVERIFY(guard.Held() > mPage.size() / 2);  // the answer to the client that does not read, still held
        QVERIFY(AskHttp(mPort, kGet).endsWith(mPage));
        mPage = "zephlink9_port_open 1\n";
        mClock.Advance(ConnectionGuard::kIdleMs);
        guard.CloseIdle();
        QTRY_COMPARE(guard.Connections(), 0);
    }

    // Idle, garbage, a 16 MB header and half-sent requests leave the page answering; each
    // connection goes at its deadline, the oldest idle one first when there are too many.
    void hostileClients()
    {
        std::vector<std::unique_ptr<QTcpSocket>> clients;
        const auto open = [this, &clients](const QByteArray &bytes) {
            clients.push_back(std::make_unique<QTcpSocket>());
            clients.back()->connectToHost(QHostAddress::LocalHost, mPort);
            clients.back()->write(bytes);
            return clients.back().get();
        };
        for (int k = 0; k < 200; ++k)
            open({});
        open("GET /metrics HTTP/1.1\r\nHost: ri");
        open("\x16\x03\x01 not http at all");
        QTcpSocket *bigHeader = open("GET /metrics HTTP/1.1\r\nX-Big: " + QByteArray(16 << 20, 'a') + "\r\n\r\n");
        mPage = QByteArray(256 * 1024, '#');
        ConnectionGuard &guard = mServer->Tcp()->Guard();
        // The header longer than a request may be is closed unanswered.
        QTRY_COMPARE(guard.Connections(), int(clients.size()) - 1);
        QVERIFY(AskHttp(mPort, kGet).endsWith(mPage));
        mPage = "zephlink9_port_open 1\n";
        // Whether the sender sees the reset while its own 16 MB are still going out is its
        // system's affair (Windows' sockets may not tell it before it reads).
        QVERIFY(!bigHeader->readAll().contains("HTTP/1.1"));

        QTRY_COMPARE(guard.Connections(), int(clients.size()) - 1);
        const int evicted = ConnectionGuard::kMaxConnections - guard.Connections() + 3;
        for (int k = 0; k < evicted; ++k)
            open({});
        QTRY_COMPARE(guard.Connections(), ConnectionGuard::kMaxConnections);
        QTRY_COMPARE(clients.front()->state(), QAbstractSocket::UnconnectedState);

        mClock.Advance(ConnectionGuard::kIdleMs);
        guard.CloseIdle();
        QTRY_COMPARE(guard.Connections(), 0);
        for (const auto &client : clients)
            if (client.get() != bigHeader)
                QTRY_COMPARE(client->state(), QAbstractSocket::UnconnectedState);
    }
};

QTEST_GUILESS_MAIN(TestMetrics)
#include "tst_metrics.moc"
