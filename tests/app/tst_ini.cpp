// The configuration file: read and written as the Windows private-profile functions do, and
// where it lives.
#include "app/Ini.h"
#include "app/ProgramPaths.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kSection = QStringLiteral("ZEPHLINK9 Setup Tool");
const QString kComport = QStringLiteral("comport");

// Writes the content (none if null) to a file in the folder and returns its path.
QString WriteFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("zephlink9-setup.ini"));
    QFile file(path);
    if (!content.isNull() && file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// The text as Notepad saves it as "Unicode": UTF-16 little endian after its byte-order mark.
QByteArray Utf16(const QString &text)
{
    QByteArray out = "\xFF\xFE";
    for (const QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

// A comment with a letter beyond Latin-1, a pair of surrogates and a lone one.
const QString kWideComment = QStringLiteral("; \u00e9\u4e2d\U0001F600 ") + QChar(0xDC00);

const QByteArray kLongLine = "note=" + QByteArray(1 << 20, 'x') + "\n";
} // namespace

class TestIni : public QObject
{
    Q_OBJECT

private slots:
    void readInt_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("value");
        static const char junk[] = "\x01\xff\x00junk\n[ZEPHLINK9 Setup Tool]\n\x02=\x03\ncomport=2\n";
        QTest::newRow("as Windows writes it") << QByteArray("[ZEPHLINK9 Setup Tool]\r\ncomport= 3\r\n") << 3;
        QTest::newRow("names any case") << QByteArray("[zephlink9 SETUP tool]\ncomPORT=2\n") << 2;
        QTest::newRow("blanks around names") << QByteArray("  [ ZEPHLINK9 Setup Tool ]  \n  comport  =  73  \n") << 73;
        QTest::newRow("leading digits") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=4abc\n") << 4;
        QTest::newRow("in double quotes") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\"4\"\n") << 4;
        QTest::newRow("in single quotes") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport='4'\n") << 4;
        QTest::newRow("one pair of quotes only") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\"\"4\"\"\n") << 0;
        QTest::newRow("unpaired quote") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\"4\n") << 0;
        QTest::newRow("empty quotes are empty") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\"\"\n") << -1;
        QTest::newRow("UTF-8 byte-order mark")
            << QByteArray("\xEF\xBB\xBF[ZEPHLINK9 Setup Tool]\r\ncomport=3\r\n") << 3;
        QTest::newRow("UTF-8 mark after the start is text")
            << QByteArray("\r\n\xEF\xBB\xBF[ZEPHLINK9 Setup Tool]\r\ncomport=3\r\n") << -1;
        QTest::newRow("UTF-16 with its mark")
            << Utf16(kWideComment + "\r\n[ZEPHLINK9 Setup Tool]\r\ncomport=\"6\"\r\n") << 6;
        QTest::newRow("UTF-16 without its mark")
            << Utf16("[ZEPHLINK9 Setup Tool]\r\ncomport=6\r\n").mid(2) << -1;
        QTest::newRow("no digits") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=abc\n") << 0;
        QTest::newRow("negative") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=-5\n") << -5;
        QTest::newRow("empty value is missing") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\n") << -1;
        QTest::newRow("missing key") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=1\n") << -1;
        QTest::newRow("key in other section") << QByteArray("[Other]\ncomport=1\n[ZEPHLINK9 Setup Tool]\n") << -1;
        QTest::newRow("comment line") << QByteArray("[ZEPHLINK9 Setup Tool]\n;comport=1\n") << -1;
        QTest::newRow("no file") << QByteArray() << -1;
        QTest::newRow("first of duplicate keys") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=1\ncomport=2\n") << 1;
        QTest::newRow("section twice, first wins")
            << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=1\n[ZEPHLINK9 Setup Tool]\ncomport=2\n") << 1;
        QTest::newRow("binary junk around") << QByteArray(junk, sizeof junk - 1) << 2;
        QTest::newRow("1 MB line") << "[ZEPHLINK9 Setup Tool]\n" + kLongLine + "comport=1\n" << 1;
        QTest::newRow("32-bit wrap") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=4294967297\n") << 1;
    }
    void readInt()
    {
        QTemporaryDir dir;
        QFETCH(QByteArray, content);
        QTEST(ReadIniInt(kSection, kComport, WriteFile(dir, content)), "value");
    }

    // Text values as written: Unicode files as Unicode, any other in the 8-bit code page.
    void readText_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("value");
        const QString path = QStringLiteral("C:\\Users\\J\u00fcrgen\\ring.csv");
        const QString ini = "[ZEPHLINK9 Setup Tool]\r\nlog=" + path + "\r\n";
        QTest::newRow("UTF-16") << Utf16(ini) << path;
        QTest::newRow("UTF-8 with its mark") << "\xEF\xBB\xBF" + ini.toUtf8() << path;
        QTest::newRow("UTF-8 without a mark") << ini.toUtf8() << path;
        QTest::newRow("8-bit code page") << ini.toLatin1() << QString::fromLocal8Bit(path.toLatin1());
    }
    void readText()
    {
        QTemporaryDir dir;
        QFETCH(QByteArray, content);
        QTEST(ReadIniString(kSection, QStringLiteral("log"), WriteFile(dir, content)), "value");
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replace keeps the rest")
            << QByteArray("; notes\r\n[Other]\r\ncomport=9\r\n\r\n[ZEPHLINK9 Setup Tool]\r\ndebug=73\r\nComPort = 1\r\nCOM1=/dev/x\r\n")
            << QByteArray("; notes\r\n[Other]\r\ncomport=9\r\n\r\n[ZEPHLINK9 Setup Tool]\r\ndebug=73\r\nComPort= 3\r\nCOM1=/dev/x\r\n");
        QTest::newRow("add key to section") << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\n\n[Later]\na=1\n")
                                            << QByteArray("[ZEPHLINK9 Setup Tool]\ndebug=73\ncomport= 3\n\n[Later]\na=1\n");
        QTest::newRow("add section at end") << QByteArray("[Other]\na=1\n")
                                            << QByteArray("[Other]\na=1\n\n[ZEPHLINK9 Setup Tool]\ncomport= 3\n");
        QTest::newRow("file without last newline") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=1")
                                                   << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport= 3");
        QTest::newRow("each line keeps its end") << QByteArray("[ZEPHLINK9 Setup Tool]\r\na=1\ncomport=1\nb=2\r\nc=3\n")
                                                 << QByteArray("[ZEPHLINK9 Setup Tool]\r\na=1\ncomport= 3\nb=2\r\nc=3\n");
        QTest::newRow("quoted value replaced") << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport=\"1\"\n")
                                              << QByteArray("[ZEPHLINK9 Setup Tool]\ncomport= 3\n");
        QTest::newRow("UTF-8 mark kept") << QByteArray("\xEF\xBB\xBF[ZEPHLINK9 Setup Tool]\r\ncomport=1\r\n")
                                         << QByteArray("\xEF\xBB\xBF[ZEPHLINK9 Setup Tool]\r\ncomport= 3\r\n");
        QTest::newRow("UTF-16 stays UTF-16")
            << Utf16(kWideComment + "\r\n[ZEPHLINK9 Setup Tool]\r\ncomport=1\r\n" + kWideComment + "\nlast=x")
            << Utf16(kWideComment + "\r\n[ZEPHLINK9 Setup Tool]\r\ncomport= 3\r\n" + kWideComment + "\nlast=x");
        QTest::newRow("UTF-16 section added") << Utf16("[Other]\r\na=1\r\n")
                                              << Utf16("[Other]\r\na=1\r\n\r\n[ZEPHLINK9 Setup Tool]\r\ncomport= 3\r\n");
        QTest::newRow("1 MB line kept") << "[ZEPHLINK9 Setup Tool]\n" + kLongLine + "comport=1\n"
                                        << "[ZEPHLINK9 Setup Tool]\n" + kLongLine + "comport= 3\n";
    }
    void write()
    {
        QTemporaryDir dir;
        QFETCH(QByteArray, before);
        const QString path = WriteFile(dir, before);
        QVERIFY(WriteIniString(kSection, kComport, QStringLiteral(" 3"), path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTEST(file.readAll(), "after");
    }

    void writeFails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("over a folder") << "zephlink9-setup.ini";
        QTest::newRow("in a missing folder") << "no/such/folder/x.ini";
    }
    void writeFails()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("zephlink9-setup.ini")));
        QFETCH(QString, name);
        QVERIFY(!WriteIniString(kSection, kComport, QStringLiteral(" 1"), dir.filePath(name)));
    }

    void iniPath_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("path");
        QTest::newRow("linux") << "/opt/z" << "zephlink9-setup" << "/opt/z/zephlink9-setup.ini";
        QTest::newRow("drive root") << "C:/" << "zephlink9-setup.exe" << "C:/zephlink9-setup.ini";
        QTest::newRow("backslash root") << "D:\\" << "tool.exe" << "D:\\tool.ini";
    }
    void iniPath()
    {
        QFETCH(QString, dir);
        QFETCH(QString, file);
        QTEST(BuildIniPath(dir, file), "path");
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
        const QString beside = WriteFile(program, fileBeside ? QByteArray("") : QByteArray());
        const QString path = ChooseIniPath(program.path(), QStringLiteral("zephlink9-setup"), userDir,
                                           [&](const QString &) { return folderWritable; });
        QCOMPARE(path, expectBeside ? beside : userDir + QStringLiteral("/zephlink9-setup.ini"));
        // The chosen place takes the write.
        QVERIFY(WriteIniString(kSection, kComport, QStringLiteral(" 2"), path));
    }

    void systemFoldersAreNotWritten_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<bool>("system");
        QTest::newRow("/usr/local/bin/") << "/usr/local/bin/" << true;
        QTest::newRow("/opt/zephlink9") << "/opt/zephlink9" << false;
    }
    void systemFoldersAreNotWritten()
    {
        QFETCH(QString, dir);
        QFETCH(bool, system);
#ifdef Q_OS_UNIX
        QTemporaryDir user;
        const QString chosen = ChooseIniPath(dir, QStringLiteral("zephlink9-setup"), user.path(),
                                             [](const QString &) { return true; });
        QCOMPARE(chosen.startsWith(user.path() + QLatin1Char('/')), system);
#else
        Q_UNUSED(system);
        QVERIFY(!IsSystemProgramFolder(dir));
#endif
    }

    void windowsProgramFolders_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<bool>("inside");
        const QStringList both{"C:\\Program Files", "C:\\Program Files (x86)"};
        QTest::newRow("installed") << "C:/Program Files/ZEPHLINK9 Setup Tool" << both << true;
        QTest::newRow("other case, backslashes") << "c:\\PROGRAM FILES\\ZEPHLINK9 Setup Tool\\" << both << true;
        QTest::newRow("32-bit folder") << "C:/Program Files (x86)/ZEPHLINK9 Setup Tool" << both << true;
        QTest::newRow("name only begins alike")
            << "C:/Program Files (x86)/ZEPHLINK9 Setup Tool" << QStringList{"C:\\Program Files"} << false;
        QTest::newRow("unpacked zip") << "C:/Users/tech/Desktop/zephlink9-setup-1.3.1-win64" << both << false;
        QTest::newRow("variable not set") << "C:/Users/tech" << QStringList{QString()} << false;
    }
    void windowsProgramFolders()
    {
        QFETCH(QString, dir);
        QFETCH(QStringList, roots);
        QTEST(LiesInWindowsFolder(dir, roots), "inside");
    }

    void writabilityIsTried()
    {
        QTemporaryDir dir;
        QVERIFY(FolderIsWritable(dir.path()));
        QVERIFY(!FolderIsWritable(dir.filePath(QStringLiteral("missing"))));
        // The probe leaves nothing behind.
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
