// The configuration file: read and written as the Windows private-profile functions do, where
// it lives, and the awk script with which scripts/demo points COM1 at the simulator.
#include "TestFiles.h"
#include "core/HistoryConfig.h"
#include "core/Ini.h"
#include "core/MetricsSetting.h"
#include "core/ProgramPaths.h"

#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kSection = QStringLiteral("ZEPHLINK9 Setup Tool");
const QString kComport = QStringLiteral("comport");
const QString kName = QStringLiteral("zephlink9-setup.ini");
const QByteArray kHead = "[ZEPHLINK9 Setup Tool]\n";
const QString kLink = QStringLiteral("/run/user/0/zephlink9-demo-ring");

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

// "{old|new}" marks what a change of the file replaces: the text before it, or after it.
QString Side(QString text, bool after)
{
    for (qsizetype open; (open = text.indexOf(QLatin1Char('{'))) >= 0;) {
        const qsizetype bar = text.indexOf(QLatin1Char('|'), open), close = text.indexOf(QLatin1Char('}'), bar);
        text.replace(open, close + 1 - open, after ? text.mid(bar + 1, close - bar - 1) : text.mid(open + 1, bar - open - 1));
    }
    return text;
}

// A row of a table with columns "before" and "after", from a text with "{old|new}" marks.
void ChangeRow(const char *name, const QString &text, bool utf16 = false)
{
    const auto bytes = [&](bool after) { return utf16 ? Utf16(Side(text, after)) : Side(text, after).toUtf8(); };
    QTest::newRow(name) << bytes(false) << bytes(true);
}

// A comment with a letter beyond Latin-1, a pair of surrogates and a lone one.
const QString kWideComment = QStringLiteral("; \u00e9\u4e2d\U0001F600 ") + QChar(0xDC00);

const QByteArray kLongLine = "note=" + QByteArray(1 << 20, 'x') + "\n";
} // namespace

class TestIni : public QObject
{
    Q_OBJECT

private slots:
    // Numbers are read as GetPrivateProfileInt reads them; texts as written: Unicode files as
    // Unicode, any other in the 8-bit code page.
    void read_data()
    {
        QTest::addColumn<QByteArray>("content");  // null: no file
        QTest::addColumn<QVariant>("value");      // an int read as a number, a string as text
        const auto row = [](const char *name, const QByteArray &content, const QVariant &value) {
            QTest::newRow(name) << content << value;
        };
        static const char junk[] = "\x01\xff\x00junk\n[ZEPHLINK9 Setup Tool]\n\x02=\x03\ncomport=2\n";
        row("as Windows writes it", "[ZEPHLINK9 Setup Tool]\r\ncomport= 3\r\n", 3);
        row("names any case", "[zephlink9 SETUP tool]\ncomPORT=2\n", 2);
        row("blanks around names", "  [ ZEPHLINK9 Setup Tool ]  \n  comport  =  73  \n", 73);
        row("leading digits", kHead + "comport=4abc\n", 4);
        row("in double quotes", kHead + "comport=\"4\"\n", 4);
        row("in single quotes", kHead + "comport='4'\n", 4);
        row("one pair of quotes only", kHead + "comport=\"\"4\"\"\n", 0);
        row("unpaired quote", kHead + "comport=\"4\n", 0);
        row("empty quotes are empty", kHead + "comport=\"\"\n", -1);
        row("UTF-8 byte-order mark", "\xEF\xBB\xBF[ZEPHLINK9 Setup Tool]\r\ncomport=3\r\n", 3);
        row("UTF-8 mark after the start is text", "\r\n\xEF\xBB\xBF[ZEPHLINK9 Setup Tool]\r\ncomport=3\r\n", -1);
        row("UTF-16 with its mark", Utf16(kWideComment + "\r\n[ZEPHLINK9 Setup Tool]\r\ncomport=\"6\"\r\n"), 6);
        row("UTF-16 without its mark", Utf16("[ZEPHLINK9 Setup Tool]\r\ncomport=6\r\n").mid(2), -1);
        row("no digits", kHead + "comport=abc\n", 0);
        row("negative", kHead + "comport=-5\n", -5);
        row("empty value is missing", kHead + "comport=\n", -1);
        row("missing key", kHead + "debug=1\n", -1);
        row("key in other section", "[Other]\ncomport=1\n[ZEPHLINK9 Setup Tool]\n", -1);
        row("comment line", kHead + ";comport=1\n", -1);
        row("no file", QByteArray(), -1);
        row("first of duplicate keys", kHead + "comport=1\ncomport=2\n", 1);
        row("section twice, first wins", kHead + "comport=1\n" + kHead + "comport=2\n", 1);
        row("binary junk around", QByteArray(junk, sizeof junk - 1), 2);
        row("1 MB line", kHead + kLongLine + "comport=1\n", 1);
        row("32-bit wrap", kHead + "comport=4294967297\n", 1);
        const QString path = QStringLiteral("C:\\Users\\J\u00fcrgen\\ring.csv");
        const QString ini = "[ZEPHLINK9 Setup Tool]\r\ncomport=" + path + "\r\n";
        row("text in UTF-16", Utf16(ini), path);
        row("text in UTF-8 with its mark", "\xEF\xBB\xBF" + ini.toUtf8(), path);
        row("text in UTF-8 without a mark", ini.toUtf8(), path);
        row("text in the 8-bit code page", ini.toLatin1(), QString::fromLocal8Bit(path.toLatin1()));
    }
    void read()
    {
        QTemporaryDir dir;
        QFETCH(QByteArray, content);
        QFETCH(QVariant, value);
        const QString path = content.isNull() ? dir.filePath(kName) : WriteTestFile(dir.filePath(kName), content);
        if (value.typeId() == QMetaType::QString)
            QCOMPARE(ReadIniString(kSection, kComport, path), value.toString());
        else
            QCOMPARE(ReadIniInt(kSection, kComport, path), value.toInt());
    }

    // Where the history is kept and for how long, as the configuration's keys say.
    void historyKeys_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("path");  // relative to the configuration file's folder
        QTest::addColumn<int>("days");
        QTest::addColumn<QByteArray>("stateDirectory");  // as systemd sets it for a service
        QTest::newRow("neither key") << QByteArray() << "ring-history.sqlite" << 90 << QByteArray();
        QTest::newRow("a file below the folder") << QByteArray("history=logs/ring.sqlite\nhistory_days=7\n") << "logs/ring.sqlite" << 7
                                                 << QByteArray();
        QTest::newRow("off") << QByteArray("history= Off\nhistory_days=7\n") << "" << 7 << QByteArray();
        QTest::newRow("an absolute path, days not a number") << QByteArray("history=TEMP/ring.sqlite\nhistory_days=none\n")
                                                             << "TEMP/ring.sqlite" << 90 << QByteArray();
        QTest::newRow("neither key, as a service") << QByteArray() << "/var/lib/zephlink9-setup/north/ring-history.sqlite" << 90
                                                   << QByteArray("/var/lib/zephlink9-setup/north:/var/lib/other");
        QTest::newRow("a file below the folder, as a service") << QByteArray("history=ring.sqlite\n") << "ring.sqlite" << 90
                                                               << QByteArray("/var/lib/zephlink9-setup");
    }
    void historyKeys()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, path);
        QFETCH(QByteArray, stateDirectory);
        const QByteArray stateBefore = qgetenv("STATE_DIRECTORY");
        const auto restore = qScopeGuard([&stateBefore] { qputenv("STATE_DIRECTORY", stateBefore); });
        qputenv("STATE_DIRECTORY", stateDirectory);
        QTemporaryDir dir;
        const QString ini = WriteTestFile(dir.filePath(kName), kHead + keys.replace("TEMP", QDir::tempPath().toUtf8()));
        path.replace(QStringLiteral("TEMP"), QDir::tempPath());
        QCOMPARE(HistoryPath(ini), path.isEmpty() || QDir::isAbsolutePath(path) ? path : QDir(dir.path()).filePath(path));
        QTEST(HistoryDays(ini), "days");
    }

    // Where the metrics page listens: the address written as Qt writes it, or what is wrong.
    void metricsKeys_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QString>("where");  // empty: the key is refused
        QTest::newRow("no address") << QByteArray() << "127.0.0.1:9420";
        QTest::newRow("IPv4 in short") << QByteArray("127.1") << "127.0.0.1:9420";
        QTest::newRow("every interface") << QByteArray("0.0.0.0") << "0.0.0.0:9420";
        QTest::newRow("IPv6") << QByteArray("0::0001") << "[::1]:9420";
        QTest::newRow("IPv6 with a scope") << QByteArray("fe80::1%eth0") << "[fe80::1%eth0]:9420";
        QTest::newRow("a name") << QByteArray("localhost") << "";
        QTest::newRow("a part above 255") << QByteArray("10.0.0.256") << "";
        QTest::newRow("brackets") << QByteArray("[::1]") << "";
        QTest::newRow("not IPv6") << QByteArray("::g") << "";
    }
    void metricsKeys()
    {
        QFETCH(QByteArray, address);
        QFETCH(QString, where);
        QTemporaryDir dir;
        const QString ini = WriteTestFile(dir.filePath(kName), kHead + "metrics=9420\n" +
                                          (address.isNull() ? QByteArray() : "metrics_address=" + address + "\n"));
        const MetricsSetting setting = ReadMetricsSetting(ini);
        if (where.isEmpty()) {
            QCOMPARE(setting.port, quint16(0));
            QCOMPARE(setting.problem, QStringLiteral("metrics_address=%1 in %2: not an IP address").arg(QLatin1String(address), ini));
        } else {
            QCOMPARE(setting.problem, QString());
            QCOMPARE(setting.Where(), where);
        }
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        ChangeRow("replace keeps the rest", "; notes\r\n[Other]\r\ncomport=9\r\n\r\n[ZEPHLINK9 Setup Tool]\r\n"
                                            "debug=73\r\n{ComPort = 1|ComPort= 3}\r\nCOM1=/dev/x\r\n");
        ChangeRow("add key to section", kHead + "debug=73\n{|comport= 3\n}\n[Later]\na=1\n");
        ChangeRow("add section at end", "[Other]\na=1\n{|\n[ZEPHLINK9 Setup Tool]\ncomport= 3\n}");
        ChangeRow("file without last newline", kHead + "comport={1| 3}");
        ChangeRow("each line keeps its end", "[ZEPHLINK9 Setup Tool]\r\na=1\ncomport={1| 3}\nb=2\r\nc=3\n");
        ChangeRow("quoted value replaced", kHead + "comport={\"1\"| 3}\n");
        ChangeRow("UTF-8 mark kept", "\xEF\xBB\xBF[ZEPHLINK9 Setup Tool]\r\ncomport={1| 3}\r\n");
        ChangeRow("UTF-16 stays UTF-16",
                  kWideComment + "\r\n[ZEPHLINK9 Setup Tool]\r\ncomport={1| 3}\r\n" + kWideComment + "\nlast=x", true);
        ChangeRow("UTF-16 section added", "[Other]\r\na=1\r\n{|\r\n[ZEPHLINK9 Setup Tool]\r\ncomport= 3\r\n}", true);
        ChangeRow("1 MB line kept", kHead + kLongLine + "comport={1| 3}\n");
    }
    void write()
    {
        QTemporaryDir dir;
        QFETCH(QByteArray, before);
        const QString path = WriteTestFile(dir.filePath(kName), before);
        QVERIFY(WriteIniString(kSection, kComport, QStringLiteral(" 3"), path));
        QTEST(ReadTestFile(path), "after");
    }

    void writeFails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("over a folder") << kName;
        QTest::newRow("in a missing folder") << "no/such/folder/x.ini";
    }
    void writeFails()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(kName));
        QFETCH(QString, name);
        QVERIFY(!WriteIniString(kSection, kComport, QStringLiteral(" 1"), dir.filePath(name)));
    }

    // scripts/demo's awk script, and the program reading what it wrote.
    void demoScript_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QString keys = "comport=1\nCOM1=" + kLink + "\n";
        ChangeRow("empty file", "{|[ZEPHLINK9 Setup Tool]\n" + keys + "}");
        ChangeRow("keys updated in place, case ignored, other sections kept",
                  "; settings\n[zephlink9 setup tool]\nDebug=1\n ComPort ={ 3|1}\n"
                  "com1={/dev/ttyS0|" + kLink + "}\n\n[Other]\ncomport=9\n");
        ChangeRow("missing keys go to the end of the section, comments are no keys",
                  "[ZEPHLINK9 Setup Tool]\n;comport=5\n{|" + keys + "}\n[Other]\nCOM1=x\n");
        ChangeRow("CRLF file stays CRLF", "[ZEPHLINK9 Setup Tool]\r\ndebug=1\r\n{|" + QString(keys).replace("\n", "\r\n") + "}");
    }
    void demoScript()
    {
        const QString awk = QStandardPaths::findExecutable(QStringLiteral("awk"));
        if (awk.isEmpty())
            QSKIP("awk is not installed");
        QTemporaryDir dir;
        QFETCH(QByteArray, before);
        const QString path = WriteTestFile(dir.filePath(kName), before);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("INI_SECTION"), kSection);
        env.insert(QStringLiteral("INI_KEYS"), "comport=1\nCOM1=" + kLink);
        process.setProcessEnvironment(env);
        process.start(awk, {QStringLiteral("-f"), QStringLiteral(DEMO_INI_AWK), path});
        QVERIFY(process.waitForFinished(5000) && process.exitCode() == 0);
        const QByteArray written = process.readAllStandardOutput();
        QTEST(written, "after");
        WriteTestFile(path, written);
        QCOMPARE(ReadIniInt(kSection, kComport, path), 1);
        QCOMPARE(ReadIniString(kSection, QStringLiteral("COM1"), path), kLink);
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
        QTest::addColumn<QString>("program");  // empty: a folder of the test's own
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<bool>("fileBeside");
        QTest::addColumn<bool>("expectBeside");
        QTest::newRow("writable folder") << "" << true << false << true;
        QTest::newRow("read-only folder") << "" << false << false << false;
        QTest::newRow("read-only folder, file already there") << "" << false << true << true;
#ifdef Q_OS_UNIX
        QTest::newRow("/usr/local/bin/ is never written") << "/usr/local/bin/" << true << false << false;
#endif
        QTest::newRow("/opt/zephlink9 is the program's own") << "/opt/zephlink9" << true << false << true;
    }
    void iniLocation()
    {
        QFETCH(QString, program);
        QFETCH(bool, folderWritable);
        QFETCH(bool, fileBeside);
        QFETCH(bool, expectBeside);
        QTemporaryDir own;
        QTemporaryDir user;
        const bool ownFolder = program.isEmpty();
        if (ownFolder)
            program = own.path();
        const QString userDir = user.filePath(QStringLiteral("zephlink9-setup"));
        const QString beside = QDir(program).filePath(kName);
        if (fileBeside)
            WriteTestFile(beside, "");
        const QString path = ChooseIniPath(program, QStringLiteral("zephlink9-setup"), userDir,
                                           [&](const QString &) { return folderWritable; });
        QCOMPARE(path, expectBeside ? beside : userDir + "/" + kName);
        // The chosen place takes the write.
        if (ownFolder || !expectBeside)
            QVERIFY(WriteIniString(kSection, kComport, QStringLiteral(" 2"), path));
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
