// The ring history on real SQLite files: the rows each scan leaves, events and the last ring
// across a reopening, the trend queries before and after thinning, files that cannot be the
// history, values no scan can have, a lock or a missing folder that passes, a clock that jumps,
// a writer killed mid-loop, and two writers on one file.
#include "ManualClock.h"
#include "TestFiles.h"
#include "history/RingHistory.h"
#include "model/Clock.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

namespace {

constexpr int64_t kStartMs = 1796000400000;  // 2026-11-29, on a whole hour
constexpr int64_t kScanMs = 10000;

// "1 2:5 3:0:7! 4!!": module IDs in ring order, each with its counters (channel 1, then 2)
// and a "!" per faulty channel (the first for channel 1); "" is a scan that found none.
RingScan Scan(int64_t timeMs, const QString &ring, int port = 1)
{
    RingScan scan;
    scan.sentMs = timeMs;
    scan.portNumber = port;
    scan.device = QStringLiteral("/dev/ttyUSB0");
    for (QString item : ring.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        ModuleSnapshot module;
        const qsizetype marks = item.count(QLatin1Char('!'));
        item.remove(QLatin1Char('!'));
        const QStringList fields = item.split(QLatin1Char(':'));
        module.id = fields[0].toInt();
        module.side = module.id == 1 ? 'G' : 'L';
        module.version = 41;
        module.counter1 = fields.value(1).toInt();
        module.counter2 = fields.value(2).toInt();
        module.faulty1 = marks >= 1;
        module.faulty2 = marks >= 2;
        scan.modules.push_back(module);
    }
    return scan;
}

// The answer of one SQL statement on the file, through a connection of the test's own:
// rows joined by "|", fields by ",".
QString Sql(const QString &path, const QString &statement)
{
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        if (!query.exec(statement))
            return query.lastError().text();
        QStringList rows;
        while (query.next()) {
            QStringList fields;
            for (int k = 0; k < query.record().count(); ++k)
                fields << query.value(k).toString();
            rows << fields.join(QLatin1Char(','));
        }
        result = rows.join(QLatin1Char('|'));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return result;
}

QString Totals(const std::vector<ChannelTotal> &channels)
{
    QStringList texts;
    for (const ChannelTotal &c : channels)
        texts << QStringLiteral("%1/%2:+%3,%4s").arg(c.id).arg(c.channel).arg(c.increase).arg(c.faultyMs / 1000);
    return texts.join(QLatin1Char(' '));
}

QString Shares(const std::vector<ModuleShare> &shares)
{
    QStringList texts;
    for (const ModuleShare &s : shares)
        texts << QStringLiteral("%1:%2/%3").arg(s.id).arg(s.answered).arg(s.scans);
    return texts.join(QLatin1Char(' '));
}

// Run as a child: keeps a scan of 20 modules, every counter up by one, each 10 s of a made-up
// clock, and says "kept N" once scan N is committed; count 0 runs until killed.
int WriteLoop(const QString &path, int port, int count)
{
    RingHistory history;
    QObject::connect(&history, &RingHistory::problem, [](const QString &text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::exit(1);
    });
    if (!history.Open(path))
        return 1;
    for (int n = 0; count == 0 || n < count; ++n) {
        QStringList ring;
        for (int id = 1; id <= 20; ++id)
            ring << QStringLiteral("%1:%2:%2").arg(id).arg(n % 30000);
        history.Keep(Scan(kStartMs + n * kScanMs, ring.join(QLatin1Char(' ')), port));
        std::printf("kept %d\n", n);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString path;
    ManualClock clock;
    std::unique_ptr<RingHistory> history;
    std::unique_ptr<QSignalSpy> problems;

    void Open()
    {
        history = std::make_unique<RingHistory>();
        problems = std::make_unique<QSignalSpy>(history.get(), &RingHistory::problem);
        history->Open(path, 1);
    }
    QProcess *Writer(int port, int count)
    {
        auto *process = new QProcess(this);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--write-loop"), path, QString::number(port), QString::number(count)});
        return process;
    }
    QString Whole() const
    {
        return Sql(path, QStringLiteral("SELECT count(*) FROM scans s WHERE s.modules != (SELECT count(*) FROM module_rows m"
                                        " WHERE m.port = s.port AND m.time_ms = s.time_ms)"));
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        path = dir->filePath(QStringLiteral("ring-history.sqlite"));
        clock = ManualClock();
        clock.Advance(kStartMs - clock.EpochMs());
        SetClock(&clock);
        Open();
    }
    void cleanup()
    {
        history.reset();
        SetClock(nullptr);
    }

    // Scans 10 s apart; what the tables hold afterwards: scans, ring orders, module rows, and
    // the minute sums of module 2 (increases, then faulty seconds of channel 1 and 2).
    void rows_data()
    {
        QTest::addColumn<QStringList>("scans");
        QTest::addColumn<QString>("tables");
        QTest::newRow("one scan") << QStringList{"1 2 3"} << "1 1 3 -";
        QTest::newRow("the same ring again") << QStringList{"1 2 3", "1 2 3"} << "2 1 3 -";
        QTest::newRow("a counter climbs") << QStringList{"1 2:4 3", "1 2:9 3", "1 2:10:2 3"} << "3 1 5 6,2,0,0";
        QTest::newRow("a counter goes down") << QStringList{"1 2:30000 3", "1 2:3 3"} << "2 1 4 3,0,0,0";
        QTest::newRow("a failed scan") << QStringList{"1 2 3", "", "1 2 3"} << "3 1 3 -";
        QTest::newRow("the order changes") << QStringList{"1 2 3", "1 3 2", "1 2"} << "3 3 3 -";
        QTest::newRow("faulty channels") << QStringList{"1 2! 3", "1 2!! 3", "1 2 3"} << "3 1 5 0,0,20,10";
    }
    void rows()
    {
        QFETCH(QStringList, scans);
        QFETCH(QString, tables);
        for (qsizetype k = 0; k < scans.size(); ++k)
            history->Keep(Scan(kStartMs + k * kScanMs, scans[k]));
        const QString periods = Sql(path, "SELECT sum(increase1), sum(increase2), sum(faulty1_ms) / 1000,"
                                          " sum(faulty2_ms) / 1000 FROM module_periods WHERE module = 2");
        QCOMPARE(Sql(path, "SELECT (SELECT count(*) FROM scans), (SELECT count(*) FROM rings),"
                           " (SELECT count(*) FROM module_rows)").replace(QLatin1Char(','), QLatin1Char(' '))
                     + QLatin1Char(' ') + (periods == QStringLiteral(",,,") ? QStringLiteral("-") : periods),
                 tables);
        QCOMPARE(Sql(path, "SELECT count(*) FROM scans WHERE (modules = 0) != (ring IS NULL)"), QStringLiteral("0"));
        QCOMPARE(Sql(path, "PRAGMA user_version"), QStringLiteral("2"));
        QCOMPARE(Sql(path, "PRAGMA application_id"), QString::number(0x5A4C3948));
        QCOMPARE(problems->count(), 0);
    }

    // Closed and opened again: the events with their acknowledgement, and the last ring found
    // as it was, even after a failed scan.
    void reopened()
    {
        RingEvent event;
        event.time = QDateTime::fromMSecsSinceEpoch(kStartMs);
        event.id = 2;
        event.text = QStringLiteral("Module 2 channel 1 faulty");
        history->Keep(Scan(kStartMs, "1 2:5! 3:0:9"), {event});
        // Another program's port on the same file keeps its own acknowledgement.
        history->Keep(Scan(kStartMs, "2:5!", 3), {event});
        history->AcknowledgeEvents(1);
        event.text = QStringLiteral("No modules found");
        event.id = -1;
        history->Keep(Scan(kStartMs + kScanMs, ""), {event});
        // As an earlier version left it: without the mark, which the opening stamps.
        history.reset();
        QCOMPARE(Sql(path, "PRAGMA application_id = 0"), QString());
        Open();
        QCOMPARE(Sql(path, "PRAGMA application_id"), QString::number(0x5A4C3948));
        QCOMPARE(history->Events(3, 10).size(), size_t(1));
        const std::vector<RingEvent> events = history->Events(1, 10);
        QCOMPARE(events.size(), size_t(2));
        const auto text = [](const RingEvent &e) { return QStringLiteral("%1 %2 %3").arg(e.text).arg(e.acknowledged).arg(e.id); };
        QCOMPARE(text(events[0]), QStringLiteral("Module 2 channel 1 faulty 1 2"));
        QCOMPARE(text(events[1]), QStringLiteral("No modules found 0 -1"));
        QCOMPARE(text(history->Events(3, 10)[0]), QStringLiteral("Module 2 channel 1 faulty 0 2"));
        QCOMPARE(events[0].time.toMSecsSinceEpoch(), kStartMs);
        const std::optional<RingScan> last = history->LastFound(1);
        QVERIFY(last && !history->LastFound(2));
        QCOMPARE(last->sentMs, kStartMs);
        QCOMPARE(last->modules.size(), size_t(3));
        QCOMPARE(QString("%1 %2 %3 %4").arg(last->modules[1].id).arg(last->modules[1].counter1).arg(last->modules[1].faulty1).arg(last->modules[2].counter2),
                 QStringLiteral("2 5 1 9"));
    }

    // A file of the first version takes the programming record on opening and keeps its scans;
    // a record's names and modules come back as kept.
    void upgradedFromVersion1()
    {
        history->Keep(Scan(kStartMs, "1 2 3"));
        history.reset();
        for (const char *statement : {"DROP TABLE programmed_modules", "DROP TABLE programmings", "PRAGMA user_version = 1"})
            QCOMPARE(Sql(path, statement), QString());
        Open();
        QVERIFY(history->IsOpen());
        QCOMPARE(Sql(path, "PRAGMA user_version"), QStringLiteral("2"));
        QCOMPARE(history->LastFound(1)->modules.size(), size_t(3));
        ProgrammingRecord record{kStartMs, ProgrammingKind::RingApply, "a'b, \"c\"\r\n", "pc;--", 1, "/dev/ttyUSB0", 0x63, true, {}};
        record.modules = {{2, 0x63, true, FrameOutcome::Taken, std::nullopt}, {1, 0x63, false, FrameOutcome::Refused, std::nullopt}};
        history->KeepProgramming(record);
        Open();
        const std::vector<ProgrammingRecord> kept = history->Programmings(kStartMs);
        QCOMPARE(kept.size(), size_t(1));
        QCOMPARE(kept[0].user + kept[0].computer, record.user + record.computer);
        QCOMPARE(QString("%1 %2 %3 %4 %5/%6").arg(int(kept[0].kind)).arg(kept[0].mode).arg(kept[0].keep).arg(kept[0].modules.size())
                     .arg(kept[0].modules[1].id).arg(int(kept[0].modules[1].frame)),
                 QStringLiteral("1 99 1 2 1/1"));
        QCOMPARE(problems->count(), 0);
    }

    // Three hours of scans: module 2 counts one a scan on channel 1, module 3 is gone for the
    // first ten minutes of each hour, module 4's channel 2 is faulty in the second hour. The
    // queries answer the same before and after the first two hours are thinned.
    void trendsBeforeAndAfterThinning()
    {
        std::vector<RingScan> scans;
        for (int n = 0; n < 3 * 360; ++n) {
            const bool gone = n % 360 < 60;
            const bool faulty = n / 360 == 1;
            scans.push_back(Scan(kStartMs + n * kScanMs, QStringLiteral("1 2:%1%2 4:0:0%3").arg(n).arg(gone ? "" : " 3").arg(faulty ? "!!" : "")));
        }
        history->KeepAll(scans);
        const int64_t end = kStartMs + 3 * 3600000;
        const QString worst = QStringLiteral("2/1:+1079,0s 4/1:+0,3600s 4/2:+0,3600s");
        const QString shares = QStringLiteral("1:1080/1080 2:1080/1080 3:900/1080 4:1080/1080");
        QCOMPARE(Totals(history->WorstChannels(1, kStartMs, end, 10)), worst);
        QCOMPARE(Shares(history->AnswerShares(1, kStartMs, end)), shares);
        const auto trend = [&] {
            QStringList texts;
            for (const TrendBucket &b : history->ModuleTrend(1, 3, kStartMs, end, 1800000))
                texts << QStringLiteral("%1:%2/%3").arg(b.increase1).arg(b.answered).arg(b.scans);
            for (const TrendBucket &b : history->ModuleTrend(1, 2, kStartMs, end, 3600000))
                texts << QStringLiteral("%1").arg(b.increase1);
            return texts.join(QLatin1Char(' '));
        };
        QCOMPARE(trend(), QStringLiteral("0:120/180 0:180/180 0:120/180 0:180/180 0:120/180 0:180/180 359 360 360"));

        clock.Advance(2 * 3600000 + 86400000);  // one day kept: the first two hours go
        history->Keep(Scan(clock.EpochMs(), "1 2:1079 3 4"));
        for (int step = 0; step < 50; ++step)
            history->ThinOneStep();
        QCOMPARE(Sql(path, "SELECT count(*), min(time_ms) = " + QString::number(kStartMs + 7200000) + " FROM scans WHERE time_ms < "
                               + QString::number(end)), QStringLiteral("360,1"));
        QCOMPARE(Sql(path, "SELECT start_s - " + QString::number(kStartMs / 1000) + ", scans FROM scan_hours"), QStringLiteral("0,360|3600,360"));
        QCOMPARE(Sql(path, "SELECT count(*) FROM module_rows WHERE module = 2"), QStringLiteral("360"));
        QCOMPARE(Totals(history->WorstChannels(1, kStartMs, end, 10)), worst);
        QCOMPARE(Shares(history->AnswerShares(1, kStartMs, end)), shares);
        QCOMPARE(trend().section(QLatin1Char(' '), 4), QStringLiteral("0:120/180 0:180/180 359 360 360"));
        QCOMPARE(trend().section(QLatin1Char(' '), 0, 0), QStringLiteral("0:300/360"));
        QCOMPARE(history->LastFound(1)->modules.size(), size_t(4));
        QCOMPARE(problems->count(), 0);
    }

    // A file that cannot be the history: one message naming it and the reason, and the file
    // as it was.
    void fileFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        const QString foreign = QStringLiteral("The file is an SQLite database of another program.");
        QTest::newRow("not a database") << "text" << "The file is not an SQLite database.";
        QTest::newRow("newer version") << "PRAGMA user_version = 7; PRAGMA application_id = 1514944840"
                                       << "It was written by a newer version of the program (history version 7; this version reads 2).";
        QTest::newRow("another program's database") << "CREATE TABLE t(a)" << foreign;
        QTest::newRow("another program's, version 1") << "CREATE TABLE t(a); PRAGMA user_version = 1" << foreign;
        QTest::newRow("another program's, our tables") << "CREATE TABLE scans(a); PRAGMA application_id = 7" << foreign;
        QTest::newRow("read-only") << "read-only" << "The file is read-only.";
        QTest::newRow("locked") << "locked" << "The file is locked by another program.";
    }
    void fileFaults()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        history.reset();
        QFile::remove(path);
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(path);
        if (fault == QStringLiteral("text")) {
            WriteTestFile(path, QByteArray("time,position,id\r\n").repeated(50));
        } else if (fault.contains(QLatin1Char(' '))) {
            QVERIFY(other.open());
            for (const QString &statement : fault.split(QLatin1Char(';')))
                QVERIFY(QSqlQuery(other).exec(statement));
            other.close();
        } else {
            Open();
            history->Keep(Scan(kStartMs, "1 2"));
            history.reset();
            if (fault == QStringLiteral("read-only"))
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
            QSqlQuery query(other.open() ? other : QSqlDatabase());
            if (fault == QStringLiteral("locked"))
                QVERIFY(query.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")) && query.exec(QStringLiteral("BEGIN EXCLUSIVE"))
                        && query.exec(QStringLiteral("DELETE FROM scans")));
        }
        const QByteArray before = ReadTestFile(path);
        Open();
        QVERIFY(!history->IsOpen());
        QCOMPARE(problems->count(), 1);
        const bool passing = fault == QStringLiteral("locked");
        QCOMPARE(problems->at(0).at(0).toString(), QStringLiteral("The ring history cannot be kept in\r\n%1\r\n%2\r\n%3")
                                                     .arg(QDir::toNativeSeparators(path), reason,
                                                          passing ? "The program tries again every minute and keeps the scans again once it can."
                                                                  : "The program runs without it."));
        // Refused for the run; a lock is tried again only a minute later.
        clock.Advance(passing ? 50000 : 3600000);
        history->Keep(Scan(kStartMs, "1 2"));
        QCOMPARE(ReadTestFile(path), before);
        QVERIFY(passing || !QFile::exists(path + QStringLiteral("-wal")));
        QCOMPARE(problems->count(), 1);
        QCOMPARE(history->ScansMissed(), uint64_t(1));
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // A fault that passes: the scans meanwhile are missed without a retry before a minute is
    // up (a retry would wait out the lock), then the history opens again by itself and names
    // what it missed.
    void faultPasses_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("notice");
        QTest::newRow("locked at a write") << "locked" << "7 scans while locked by another program";
        QTest::newRow("folder missing at the opening") << "folder" << "7 scans while the file could not be reached";
    }
    void faultPasses()
    {
        QFETCH(QString, fault);
        QFETCH(QString, notice);
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        QSqlQuery lock;
        if (fault == QStringLiteral("locked")) {
            history->Keep(Scan(kStartMs, "1 2"));
            other.setDatabaseName(path);
            QVERIFY(other.open());
            lock = QSqlQuery(other);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        } else {
            path = dir->filePath(QStringLiteral("later/ring-history.sqlite"));
            Open();
        }
        QSignalSpy again(history.get(), &RingHistory::keptAgain);
        QElapsedTimer waited;
        waited.start();
        for (int n = 1; n <= 6; ++n) {
            clock.Advance(kScanMs);
            history->Keep(Scan(kStartMs + n * kScanMs, "1 2"));
        }
        QCOMPARE(problems->count(), 1);
        QVERIFY(waited.elapsed() < 2 * RingHistory::kBusyTimeoutMs);
        if (fault == QStringLiteral("locked"))
            QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        else
            QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("later")));
        lock = QSqlQuery();
        other.close();
        history->Keep(Scan(kStartMs + 7 * kScanMs, "1 2"));
        QCOMPARE(again.count(), 0);
        clock.Advance(RingHistory::kRetryMs);
        history->Keep(Scan(kStartMs + 8 * kScanMs, "1 2:1"));
        QVERIFY(history->IsOpen());
        QCOMPARE(again.count(), 1);
        QCOMPARE(again.at(0).at(0).toString(), QStringLiteral("The ring history is kept again in\r\n%1\r\nThe ring history missed %2.")
                                                   .arg(QDir::toNativeSeparators(path), notice));
        QCOMPARE(history->LastFound(1)->modules[1].counter1, 1);
        QCOMPARE(problems->count(), 1);
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    // The clock set back an hour: the scan written last is the last ring, the same over a
    // reopening, and the trends count the scans after it. The clock a year ahead for three
    // scans: told once, not kept, and nothing thinned by it.
    void clockJumps_data()
    {
        QTest::addColumn<qint64>("jumpMs");
        QTest::addColumn<bool>("restart");
        QTest::addColumn<QString>("tables");
        QTest::newRow("back an hour") << qint64(-3600000) << false << "11 scans, module 3 in 6/11, missed 0, last 1:0 2:12 3:0";
        QTest::newRow("a year ahead") << qint64(365 * 86400000LL) << false << "8 scans, module 3 in 3/8, missed 3, last 1:0 2:12 3:0";
        QTest::newRow("off for two days") << qint64(2 * 86400000LL) << true << "4 scans, module 3 in 3/8, missed 0, last 1:0";
    }
    void clockJumps()
    {
        QFETCH(qint64, jumpMs);
        QFETCH(bool, restart);
        QFETCH(QString, tables);
        for (int n = 0; n < 5; ++n) {
            clock.Advance(kScanMs);
            history->Keep(Scan(kStartMs + n * kScanMs, QStringLiteral("1 2:%1").arg(n)));
        }
        if (restart)
            Open();
        QSignalSpy again(history.get(), &RingHistory::keptAgain);
        for (int n = 0; n < 3; ++n) {
            clock.Advance(kScanMs);
            history->Keep(Scan(kStartMs + 5 * kScanMs + jumpMs + n * kScanMs, QStringLiteral("1 2:%1 3").arg(5 + n)));
        }
        const int64_t backMs = kStartMs + 8 * kScanMs - (jumpMs > 0 ? 0 : 3600000);
        for (int n = 0; n < 3; ++n) {
            clock.Advance(kScanMs);
            history->Keep(Scan(backMs + n * kScanMs, QStringLiteral("1 2:%1 3").arg(10 + n)));
        }
        const bool distrusted = jumpMs > 0 && !restart;
        QCOMPARE(problems->count(), distrusted ? 1 : 0);
        QCOMPARE(again.count(), distrusted ? 1 : 0);
        const uint64_t missed = history->ScansMissed();
        Open();
        // The wall clock far ahead thins nothing more.
        clock.SetTimeOfDay(float(36000 + 2 * 365 * 86400));
        for (int step = 0; step < 50; ++step)
            history->ThinOneStep();
        const std::optional<RingScan> last = history->LastFound(1);
        QVERIFY(last);
        QCOMPARE(last->sentMs, backMs + 2 * kScanMs);
        const TrendBucket trend = history->ModuleTrend(1, 3, kStartMs - 3600000, kStartMs + 3600000, 7200000).at(0);
        QStringList modules;
        for (const ModuleSnapshot &module : last->modules)
            modules << QStringLiteral("%1:%2").arg(module.id).arg(module.counter1);
        QCOMPARE(QStringLiteral("%1 scans, module 3 in %2/%3, missed %4, last %5")
                     .arg(Sql(path, "SELECT count(*) FROM scans"))
                     .arg(trend.answered)
                     .arg(trend.scans)
                     .arg(missed)
                     .arg(modules.join(QLatin1Char(' '))),
                 tables);
        QCOMPARE(Sql(path, "SELECT count(*) FROM scan_hours"), QString::number(restart ? 1 : 0));
        QCOMPARE(Sql(path, "SELECT count(*) FROM settings WHERE key = 'thinned_until_s' AND value * 1000 > (SELECT max(time_ms) FROM scans)"),
                 QStringLiteral("0"));
    }

    // A history whose values no scan can have: one message naming the file and the row, no
    // such value handed on, and the next scan kept as it is.
    void damagedFiles_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("inEvent");
        const QString ring = QStringLiteral("Ring 1 of port 1: ids ");
        QTest::newRow("module ID 32001") << "UPDATE rings SET ids = x'0100017D0300'; UPDATE module_rows SET module = 32001 WHERE module = 2"
                                         << ring + "holds module ID 32001, not a whole number from 0 to 32000" << false;
        QTest::newRow("module ID -1") << "UPDATE rings SET ids = x'0100FFFF0300'; UPDATE module_rows SET module = 65535 WHERE module = 2"
                                      << ring + "holds module ID 65535, not a whole number from 0 to 32000" << false;
        QTest::newRow("short ring order") << "UPDATE rings SET ids = x'0100020003'" << ring + "is 5 bytes long, not two bytes for each module" << false;
        QTest::newRow("a module twice") << "UPDATE rings SET ids = x'010002000100'" << ring + "holds module 1 twice" << false;
        QTest::newRow("text for a ring order") << "UPDATE rings SET ids = 'abc'" << ring + "is the text \"abc\", not a list of module IDs" << false;
        QTest::newRow("NULL ring order") << "CREATE TABLE r(id INTEGER PRIMARY KEY, port INTEGER NOT NULL, ids BLOB);"
                                            " INSERT INTO r SELECT id, port, NULL FROM rings; DROP TABLE rings; ALTER TABLE r RENAME TO rings"
                                         << ring + "is empty, not a list of module IDs" << false;
        QTest::newRow("counter above 15 bits") << "UPDATE module_rows SET counter1 = 40000 WHERE module = 2"
                                               << "Row of module 2 of port 1: counter1 is 40000, not a whole number from 0 to 32767" << false;
        QTest::newRow("text for a version") << "UPDATE module_rows SET version = 'x4' WHERE module = 3"
                                            << "Row of module 3 of port 1: version is the text \"x4\", not a whole number from 0 to 255" << false;
        QTest::newRow("event of module 32001") << "UPDATE events SET module = 32001" << "Event 1: module is 32001, not a whole number from 0 to 32000" << true;
        QTest::newRow("event of module -1") << "UPDATE events SET module = -1" << "Event 1: module is -1, not a whole number from 0 to 32000" << true;
        QTest::newRow("event position") << "UPDATE events SET position = 99999" << "Event 1: position is 99999, not a whole number from 0 to 32000" << true;
    }
    void damagedFiles()
    {
        QFETCH(QString, damage);
        QFETCH(QString, problem);
        QFETCH(bool, inEvent);
        RingEvent event;
        event.id = 2;
        event.position = 1;
        event.text = QStringLiteral("Module 2 channel 1 faulty");
        history->Keep(Scan(kStartMs, "1 2:5! 3"), {event});
        history.reset();
        for (const QString &statement : damage.split(QLatin1Char(';')))
            QCOMPARE(Sql(path, statement), QString());
        const auto ids = [](const std::optional<RingScan> &scan) {
            QStringList texts;
            for (const ModuleSnapshot &module : scan ? scan->modules : RingSnapshot())
                texts << QStringLiteral("%1:%2").arg(module.id).arg(module.counter1);
            return texts.join(QLatin1Char(' '));
        };
        // As the program starts: the events, then the last ring found when the first scan comes.
        Open();
        QCOMPARE(history->Events(1, 10).size(), size_t(inEvent ? 0 : 1));
        QCOMPARE(ids(history->LastFound(1)), inEvent ? QStringLiteral("1:0 2:5 3:0") : QString());
        QCOMPARE(problems->count(), 1);
        QCOMPARE(problems->at(0).at(0).toString(),
                 QStringLiteral("The ring history in\r\n%1\r\nholds a value that no scan can have; the program leaves it out and"
                                " keeps the history:\r\n%2.").arg(QDir::toNativeSeparators(path), problem));
        history->Keep(Scan(kStartMs + kScanMs, "1 2:6 3"));
        QCOMPARE(ids(history->LastFound(1)), QStringLiteral("1:0 2:6 3:0"));
        QVERIFY(history->IsOpen());
        QCOMPARE(problems->count(), 1);
    }

    // Killed in the middle of its loop, a writer leaves a file that passes SQLite's check, with
    // its last reported scan in it and no scan only partly written.
    void killedWriterLeavesWholeScans()
    {
        history.reset();
        QProcess *writer = Writer(1, 0);
        QByteArray out;
        QVERIFY(QTest::qWaitFor([&] {
            out += writer->readAllStandardOutput();
            return out.count('\n') >= 200;
        }, 20000));
        writer->kill();
        QVERIFY(writer->waitForFinished());
        out += writer->readAllStandardOutput();
        const int last = out.trimmed().split('\n').last().mid(5).toInt();
        QCOMPARE(Sql(path, "PRAGMA integrity_check"), QStringLiteral("ok"));
        QCOMPARE(Sql(path, "SELECT modules FROM scans WHERE time_ms = " + QString::number(kStartMs + last * kScanMs)), QStringLiteral("20"));
        QCOMPARE(Whole(), QStringLiteral("0"));
    }

    // Two programs on two ports write one file at once; each keeps all its scans.
    void twoWritersShareAFile()
    {
        history.reset();
        QList<QProcess *> writers{Writer(1, 300), Writer(2, 300)};
        for (QProcess *writer : writers) {
            QVERIFY(writer->waitForFinished(60000));
            QCOMPARE(writer->readAllStandardError(), QByteArray());
            QCOMPARE(writer->exitCode(), 0);
        }
        QCOMPARE(Sql(path, "SELECT port, count(*) FROM scans GROUP BY port"), QStringLiteral("1,300|2,300"));
        QCOMPARE(Whole(), QStringLiteral("0"));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 5 && QByteArray(argv[1]) == "--write-loop") {
        QCoreApplication app(argc, argv);
        return WriteLoop(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    }
    QCoreApplication app(argc, argv);
    TestHistory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_history.moc"
