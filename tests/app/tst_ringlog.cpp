// The ring log through the main window: rows after a scan's replies are all in, the rows of
// a failed scan and of an unanswered locate, a file that cannot be written and one that has rows.
#include "app/RingLog.h"
#include "app/frmMain.h"
#include "bus/Frames.h"
#include "bus/MemorySerialPort.h"
#include "dialogs/MessageBox.h"
#include "model/Clock.h"
#include "model/Global.h"
#include "model/LocateFailures.h"

#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

namespace {
QByteArray ReplyBytes(char letter, int id, uint8_t mode = 0x03, bool fault1 = false, int16_t counter1 = 0)
{
    return EncodeReply(Reply{uint8_t(letter), id, 41, mode, fault1, false, counter1, 0});
}
const QString kTime = QStringLiteral("2026-12-07T06:40:00+01:00");
} // namespace

class TestRingLog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    MemorySerialPort *port = nullptr;
    frmMain *window = nullptr;
    ManualClock clock;
    QStringList boxes;

    QString LogPath() const { return dir->filePath(QStringLiteral("logs/ring.csv")); }
    // The log's lines, without their CR LF.
    QStringList LogLines() const
    {
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        if (lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    // The scan's replies are all in: the line has been quiet long enough.
    void Refresh()
    {
        window->mnuRefresh_Click();
        clock.Advance(BusLink::kScanQuietMs);
        window->Link().Timer1_Timer();
    }
    void Start(const QByteArray &logLine)
    {
        const QString ini = dir->filePath(QStringLiteral("zephlink9-setup.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\n" + logLine);
        file.close();
        port = new MemorySerialPort;
        window = new frmMain(frmMain::Options{port, ini, [] {}});
        window->Log().SetClock([] {
            return QDateTime(QDate(2026, 12, 7), QTime(6, 40), QTimeZone(3600));
        });
        window->Form_Activate();
    }

private slots:
    void init()
    {
        ResetGlobals();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("logs")));
        clock = ManualClock();
        clock.SetAutoAdvance(5);
        SetClock(&clock);
        boxes.clear();
        SetMessageHook([this](QMessageBox::Icon, const QString &, const QString &text) { boxes << text; });
    }
    void cleanup()
    {
        delete window;
        delete port;
        window = nullptr;
        port = nullptr;
        SetMessageHook(nullptr);
        SetClock(nullptr);
    }

    void fewModulesInRingOrder()
    {
        Start("log=logs/ring.csv\r\n");
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('R', 12, 0x5C, true, 9) + ReplyBytes('L', 7, 0xE7));
        Refresh();
        QCOMPARE(LogLines(), (QStringList{RingLog::kHeader, kTime + ",0,5,G,4.1,0x03,0,0,0,0,",
                                          kTime + ",1,7,L,4.1,0xe7,0,0,0,0,",
                                          kTime + ",2,12,R,4.1,0x5c,1,9,0,0,"}));
        QCOMPARE(boxes, QStringList());
    }

    // The scan's wait ends with the first modules; the rest are parsed once the line is
    // quiet, and only then is the ring written.
    void longRingOnceQuiet()
    {
        Start("log=" + LogPath().toLocal8Bit() + "\r\n");
        QByteArray replies = ReplyBytes('G', 1);
        for (int id = 2; id <= 1000; ++id)
            replies += ReplyBytes('L', id);
        port->Feed(replies);
        window->mnuRefresh_Click();
        QVERIFY(gModuleCount < 1000);
        QCOMPARE(LogLines(), QStringList());
        QTRY_VERIFY(!gDataReceived && !window->Link().Timer2.isActive());
        QCOMPARE(LogLines(), QStringList());
        clock.Advance(BusLink::kScanQuietMs);
        window->Link().Timer1_Timer();
        QCOMPARE(LogLines().size(), 1001);
        const QStringList lines = LogLines();
        QCOMPARE(lines[1], kTime + ",0,1,G,4.1,0x03,0,0,0,0,");
        QCOMPARE(lines[1000], kTime + ",999,1000,L,4.1,0x03,0,0,0,0,");
    }

    void failedScan()
    {
        Start("log=logs/ring.csv\r\n");
        window->mnuRefresh_Click();
        QCOMPARE(LogLines(), (QStringList{RingLog::kHeader, kTime + ",,,,,,,,,,no modules found"}));
        QCOMPARE(boxes, QStringList{"No Modules found!"});
    }

    // The locate's row, the mark beside the table, and the mark gone with the next reply.
    void locateWithoutAnswer()
    {
        Start("log=logs/ring.csv\r\n");
        port->Feed(ReplyBytes('G', 5) + ReplyBytes('L', 7) + ReplyBytes('R', 12));
        Refresh();
        window->BusInfo()->picModule_Click(2);
        QCOMPARE(LogLines().size(), 5);
        QCOMPARE(LogLines().last(), kTime + ",2,12,,,,,,,,no answer to locate");
        QVERIFY(LocateFailed(12));
        port->Feed(ReplyBytes('P', 12));
        window->Link().Timer1_Timer();
        window->Link().Timer2_Timer();
        QVERIFY(!LocateFailed(12));
    }

    // Reported once, with the path and the system's reason; the scans go on.
    void unwritableFile()
    {
        Start("log=missing/ring.csv\r\n");
        for (int scan = 0; scan < 2; ++scan) {
            port->Feed(ReplyBytes('G', 5));
            Refresh();
            QCOMPARE(gModuleCount, int16_t(1));
        }
        const QString path = QDir::toNativeSeparators(dir->filePath(QStringLiteral("missing/ring.csv")));
        // The reason in the system's own words: "No such file or directory" here, another
        // text on Windows.
        QFile missing(path);
        QVERIFY(!missing.open(QIODevice::Append));
        QCOMPARE(boxes, QStringList{"The ring log cannot be written:\r\n" + path + "\r\n" + missing.errorString()});
    }

    // Appended, the header not repeated; a last line left without its end gets one first.
    void existingFileAppended_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("ends its last line") << QByteArray("\r\n");
        QTest::newRow("last line without end") << QByteArray();
    }
    void existingFileAppended()
    {
        QFETCH(QByteArray, end);
        Start("log=logs/ring.csv\r\n");
        const QByteArray earlier = (RingLog::kHeader + "\r\nearlier,0,5,G,4.1,0x03,0,0,0,0,").toUtf8() + end;
        QFile file(LogPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
        file.close();
        port->Feed(ReplyBytes('G', 5));
        Refresh();
        QCOMPARE(LogLines(), (QStringList{RingLog::kHeader, "earlier,0,5,G,4.1,0x03,0,0,0,0,",
                                          kTime + ",0,5,G,4.1,0x03,0,0,0,0,"}));
    }

    void withoutKeyNothing()
    {
        Start({});
        port->Feed(ReplyBytes('G', 5));
        Refresh();
        Refresh();
        QCOMPARE(QDir(dir->filePath(QStringLiteral("logs"))).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestRingLog)
#include "tst_ringlog.moc"
