// The configuration file: read and written as the Windows private-profile functions do.
#include "app/Ini.h"
#include "app/ProgramPaths.h"

#include <QTemporaryDir>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#include <QtTest>

namespace {
const QString kSection = QStringLiteral("ZEPHLINK9 Setup Tool");

QByteArray Junk()
{
    static const char bytes[] = "\x01\xff\x00junk\n[ZEPHLINK9 Setup Tool]\n\x02=\x03\ncomport=2\n";
    return QByteArray(bytes, sizeof bytes - 1);
}

QString WriteFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(content);
    return path;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestIni : public QObject
{
    Q_OBJECT

private slots:
    void readInt_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::newRow("as Windows writes it") << QByteArray("[ZEPHLINK9 Setup Tool]\r\ncomport= 3\r\n") << "comport" << 3;
        QTest::newRow("names any case") << QByteArray("[zephlink9 SETUP tool]\ncomPORT=2\n") << "comport" << 2;
        QTest::newRow("blanks around names") << QByteArray("  [ ZEPHLINK9 Setup Tool ]  \n  debug  =  73  \n") << "debug" << 73;
        QTest::newRow("leading digits") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=4abc\n") << "comport" << 4;
        QTest::newRow("no digits") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=abc\n") << "comport" << 0;
        QTest::newRow("negative") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=-5\n") << "comport" << -5;
        QTest::newRow("empty value is missing") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\n") << "comport" << -1;
        QTest::newRow("missing key") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=1\n") << "comport" << -1;
        QTest::newRow("key in other section") << QByteArray("[Other]\ncomport=1\n[ZEPHLINK9 Setup Tool]\n") << "comport" << -1;
        QTest::newRow("no section") << QByteArray("comport=1\n") << "comport" << -1;
        QTest::newRow("comment line") << QByteArray("[ZEPHLINK9 Setup Tool]\n;comport=1\n") << "comport" << -1;
        QTest::newRow("first of duplicate keys") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=1\ncomport=2\n") << "comport" << 1;
        QTest::newRow("section twice, first wins") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=1\n[ZEPHLINK9 Setup Tool]\ncomport=2\n") << "comport" << 1;
        QTest::newRow("binary junk around") << Junk() << "comport" << 2;
        QTest::newRow("32-bit wrap") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=4294967297\n") << "comport" << 1;
    }
    void readInt()
    {
        QTemporaryDir dir;
        QFETCH(QByteArray, content);
        const QString path = WriteFile(dir, content);
        QFETCH(QString, key);
        QFETCH(int, value);
        QCOMPARE(ReadIniInt(kSection, key, path), value);
    }

    void readMissingFile()
    {
        QTemporaryDir dir;
        QCOMPARE(ReadIniInt(kSection, QStringLiteral("comport"), dir.filePath(QStringLiteral("none.ini"))), -1);
    }

    void readString()
    {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "[ZEPHLINK9 Setup Tool]\r\nCOM1 = /dev/ttyUSB0 \r\ncom2=\"/tmp/a b\"\r\n");
        QCOMPARE(ReadIniString(kSection, QStringLiteral("COM1"), path), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(ReadIniString(kSection, QStringLiteral("COM2"), path), QStringLiteral("/tmp/a b"));
        QCOMPARE(ReadIniString(kSection, QStringLiteral("COM3"), path, QStringLiteral("x")), QStringLiteral("x"));
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replace keeps the rest")
            << QByteArray("; notes\r\n[Other]\r\ncomport=9\r\n\r\n[ZEPHLINK9 Setup Tool]\r\ndebug=73\r\nComPort = 1\r\nCOM1=/dev/x\r\n")
            << QByteArray("; notes\r\n[Other]\r\ncomport=9\r\n\r\n[ZEPHLINK9 Setup Tool]\r\ndebug=73\r\nComPort= 3\r\nCOM1=/dev/x\r\n");
        QTest::newRow("add key to section")
            << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\n\n[Later]\na=1\n")
            << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport= 3\n\n[Later]\na=1\n");
        QTest::newRow("add section at end")
            << QByteArray("[Other]\na=1\n")
            << QByteArray("[Other]\na=1\n\n[ZEPHLINK9 Setup Tool]\ncomport= 3\n");
        QTest::newRow("file without last newline")
            << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=1")
            << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport= 3");
    }
    void write()
    {
        QTemporaryDir dir;
        QFETCH(QByteArray, before);
        const QString path = WriteFile(dir, before);
        QVERIFY(WriteIniString(kSection, QStringLiteral("comport"), QStringLiteral(" 3"), path));
        QFETCH(QByteArray, after);
        QCOMPARE(ReadFile(path), after);
        QCOMPARE(ReadIniInt(kSection, QStringLiteral("comport"), path), 3);
    }

    void writeCreatesFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.ini"));
        QVERIFY(WriteIniString(kSection, QStringLiteral("comport"), QStringLiteral(" 0"), path));
        QCOMPARE(ReadIniInt(kSection, QStringLiteral("comport"), path), 0);
        QVERIFY(ReadFile(path).startsWith("[ZEPHLINK9 Setup Tool]"));
    }

    void longLineIsKept()
    {
        QTemporaryDir dir;
        const QByteArray longLine = "note=" + QByteArray(1 << 20, 'x');
        const QString path = WriteFile(dir, "[ZEPHLINK9 Setup Tool]\n" + longLine + "\ncomport=1\n");
        QCOMPARE(ReadIniInt(kSection, QStringLiteral("comport"), path), 1);
        QVERIFY(WriteIniString(kSection, QStringLiteral("comport"), QStringLiteral(" 2"), path));
        QCOMPARE(ReadFile(path), "[ZEPHLINK9 Setup Tool]\n" + longLine + "\ncomport= 2\n");
    }

    void writeOverAFolderFails()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("zephlink9-setup.ini")));
        QVERIFY(!WriteIniString(kSection, QStringLiteral("comport"), QStringLiteral(" 1"),
                                dir.filePath(QStringLiteral("zephlink9-setup.ini"))));
    }

    void writeToUnwritablePlaceFails()
    {
        QTemporaryDir dir;
        QVERIFY(!WriteIniString(kSection, QStringLiteral("comport"), QStringLiteral(" 1"),
                                dir.filePath(QStringLiteral("no/such/folder/x.ini"))));
    }

    void iniPath_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("path");
        QTest::newRow("linux") << "/opt/z" << "zephlink9-setup" << "/opt/z/zephlink9-setup.ini";
        QTest::newRow("windows exe") << "C:/Tools" << "zephlink9-setup.exe" << "C:/Tools/zephlink9-setup.ini";
        QTest::newRow("drive root") << "C:/" << "zephlink9-setup.exe" << "C:/zephlink9-setup.ini";
        QTest::newRow("backslash root") << "D:\\" << "tool.exe" << "D:\\tool.ini";
    }
    void iniPath()
    {
        QFETCH(QString, dir);
        QFETCH(QString, file);
        QFETCH(QString, path);
        QCOMPARE(BuildIniPath(dir, file), path);
    }

    void iniLocation_data()
    {
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<bool>("fileBeside");
        QTest::addColumn<bool>("expectBeside");
        QTest::newRow("writable folder") << true << false << true;
        QTest::newRow("read-only folder") << false << false << false;
        QTest::newRow("read-only folder, file already there") << false << true << true;
    }
    void iniLocation()
    {
        QFETCH(bool, folderWritable);
        QFETCH(bool, fileBeside);
        QFETCH(bool, expectBeside);
        QTemporaryDir program;
        QTemporaryDir user;
        const QString userDir = user.filePath(QStringLiteral("zephlink9-setup"));
        if (fileBeside) {
            QFile file(program.filePath(QStringLiteral("zephlink9-setup.ini")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString path = ChooseIniPath(program.path(), QStringLiteral("zephlink9-setup"), userDir,
                                           [&](const QString &) { return folderWritable; });
        const QString expected = expectBeside ? program.filePath(QStringLiteral("zephlink9-setup.ini"))
                                              : userDir + QStringLiteral("/zephlink9-setup.ini");
        QCOMPARE(path, expected);
        // The chosen place takes the write.
        QVERIFY(WriteIniString(kSection, QStringLiteral("comport"), QStringLiteral(" 2"), path));
        QCOMPARE(ReadIniInt(kSection, QStringLiteral("comport"), path), 2);
    }

    void systemFoldersAreNotWritten_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<bool>("system");
        QTest::newRow("/usr/bin") << "/usr/bin" << true;
        QTest::newRow("/usr/local/bin/") << "/usr/local/bin/" << true;
        QTest::newRow("/opt/zephlink9") << "/opt/zephlink9" << false;
        QTest::newRow("a build tree") << "/home/tech/zephlink9/build" << false;
    }
    void systemFoldersAreNotWritten()
    {
        QFETCH(QString, dir);
        QFETCH(bool, system);
#ifdef Q_OS_UNIX
        QCOMPARE(IsSystemProgramFolder(dir), system);
        QTemporaryDir user;
        const QString chosen = ChooseIniPath(dir, QStringLiteral("zephlink9-setup"), user.path(),
                                             [](const QString &) { return true; });
        QCOMPARE(chosen.startsWith(user.path() + QLatin1Char('/')), system);
#else
        Q_UNUSED(system);
        QVERIFY(!IsSystemProgramFolder(dir));
#endif
    }

    void writabilityIsTried()
    {
        QTemporaryDir dir;
        QVERIFY(FolderIsWritable(dir.path()));
        QVERIFY(!FolderIsWritable(dir.filePath(QStringLiteral("missing"))));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
#ifdef Q_OS_UNIX
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!FolderIsWritable(dir.path()));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
