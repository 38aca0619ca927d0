// The Windows program without a window, under Wine on a COM port with the simulated ring behind
// it: the check's exit codes, and the watcher's lines and page until it is asked to close.
// scripts/windows --test names the port in ZEPH_RING_COM and the ring's size in ZEPH_RING_MODULES.
#include "CheckLine.h"
#include "HttpAsk.h"
#include "TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestWinHeadless : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    int mCom = 0;
    int mModules = 0;

    QString Program() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/" ZEPH_PROGRAM_FROM_TEST); }
    QString Ini(const QByteArray &keys)
    {
        return WriteTestFile(mDir.filePath(QStringLiteral("zephlink9-setup.ini")), "[ZEPHLINK9 Setup Tool]\r\n" + keys + "\r\n");
    }

private slots:
    void init()
    {
        mCom = qEnvironmentVariableIntValue("ZEPH_RING_COM");
        mModules = qEnvironmentVariableIntValue("ZEPH_RING_MODULES");
        if (mCom == 0)
            QSKIP("no simulated ring on a COM port (ZEPH_RING_COM, set by scripts/windows --test)");
    }

    // %c: the port's number, %m: the ring's modules.
    void check_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("line");
        QTest::newRow("sound ring") << "comport=%c" << 0 << "OK: %m modules sound | modules=%m;;;0 faulty=0;;0;0 missing=0;;0;0 errors=0c;;;0";
        QTest::newRow("missing port") << "comport=%c\r\nCOM%c=NO-SUCH-PORT" << 3 << "UNKNOWN: COM%c (NO-SUCH-PORT): not found";
    }
    void check()
    {
        QFETCH(QString, keys);
        QFETCH(QString, line);
        const auto filled = [this](QString text) {
            return text.replace(QLatin1String("%c"), QString::number(mCom)).replace(QLatin1String("%m"), QString::number(mModules));
        };
        QProcess check;
        check.start(Program(), {QStringLiteral("--check"), QStringLiteral("--config"), Ini(filled(keys).toUtf8())});
        QVERIFY(check.waitForFinished(30000));
        QTEST(check.exitCode(), "exitCode");
        QCOMPARE(WithoutChannels(QString::fromUtf8(check.readAllStandardOutput()).trimmed()), filled(line));
    }

    void watch()
    {
        const quint16 port = FreePort();
        QProcess watch;
        watch.start(Program(), {QStringLiteral("--headless"), QStringLiteral("--config"),
                                Ini(QStringLiteral("comport=%1\r\nmetrics=%2").arg(mCom).arg(port).toUtf8())});
        QTRY_VERIFY_WITH_TIMEOUT(GetHttp(port, "/metrics").contains(QStringLiteral("\nzephlink9_ring_modules %1\n").arg(mModules).toUtf8()), 30000);
        QVERIFY(QString::fromUtf8(watch.readAllStandardOutput()).contains(QStringLiteral(" - COM%1 (COM%1): open").arg(mCom)));
        // A WM_CLOSE to its thread, as Windows' own tools ask a program without a window to end.
        watch.terminate();
        QVERIFY(watch.waitForFinished(10000));
        QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestWinHeadless)
#include "tst_winheadless.moc"
