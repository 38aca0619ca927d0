// The awk script with which scripts/demo points COM1 of the program's configuration file
// at the simulator.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifdef ZEPH_HAVE_INI_READER
#include "app/Ini.h"
#endif

namespace {
const QString kSection = QStringLiteral("ZEPHLINK9 Setup Tool");
const QString kLink = QStringLiteral("/run/user/0/zephlink9-demo-ring");
const QByteArray kKeys = "comport=1\nCOM1=" + kLink.toLatin1() + "\n";
} // namespace

class TestDemoIni : public QObject
{
    Q_OBJECT

private slots:
    void update_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty file") << QByteArray() << "[ZEPHLINK9 Setup Tool]\n" + kKeys;
        QTest::newRow("keys updated in place, case ignored, other sections kept")
            << QByteArray("; settings\n[zephlink9 setup tool]\nDebug=1\n ComPort = 3\ncom1=/dev/ttyS0\n"
                          "\n[Other]\ncomport=9\n")
            << "; settings\n[zephlink9 setup tool]\nDebug=1\n ComPort =1\ncom1=" + kLink.toLatin1() +
                   "\n\n[Other]\ncomport=9\n";
        QTest::newRow("missing keys go to the end of the section, comments are no keys")
            << QByteArray("[ZEPHLINK9 Setup Tool]\n;comport=5\n\n[Other]\nCOM1=x\n")
            << "[ZEPHLINK9 Setup Tool]\n;comport=5\n" + kKeys + "\n[Other]\nCOM1=x\n";
        QTest::newRow("CRLF file stays CRLF")
            << QByteArray("[ZEPHLINK9 Setup Tool]\r\ndebug=1\r\n")
            << "[ZEPHLINK9 Setup Tool]\r\ndebug=1\r\n" + QByteArray(kKeys).replace("\n", "\r\n");
    }
    void update()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("zephlink9-setup.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("INI_SECTION"), kSection);
        env.insert(QStringLiteral("INI_KEYS"), QStringLiteral("comport=1\nCOM1=") + kLink);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("awk"), {QStringLiteral("-f"), QStringLiteral(DEMO_INI_AWK), file.fileName()});
        QVERIFY(process.waitForFinished(5000) && process.exitCode() == 0);
        const QByteArray written = process.readAllStandardOutput();
        QCOMPARE(written, after);
#ifdef ZEPH_HAVE_INI_READER
        // The program reads what the script wrote.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(written) == written.size());
        file.close();
        QCOMPARE(ReadIniInt(kSection, QStringLiteral("comport"), file.fileName()), 1);
        QCOMPARE(ReadIniString(kSection, QStringLiteral("COM1"), file.fileName()), kLink);
#endif
    }
};

QTEST_GUILESS_MAIN(TestDemoIni)
#include "tst_demo_ini.moc"
