// Verify Settings' results and summary, the ring report as written to disk: the PDF read
// back (pages, every ID of its ring drawing in the clear, and its text where pdftotext is
// installed), the CSV, and a path that cannot be written; and the programming record as the
// core keeps it, its window shows it and the CSV writes it, across a restart.
#include "ManualClock.h"
#include "MemorySerialPort.h"
#include "TestFiles.h"
#include "TimedRing.h"
#include "app/ProgrammingRecordModel.h"
#include "app/RingReport.h"
#include "app/frmProgrammingRecord.h"
#include "bus/Frames.h"
#include "core/RingCore.h"
#include "model/CsvField.h"
#include "model/AppliedModes.h"
#include "model/ReportTable.h"
#include "model/Verification.h"
#include "ringview/RingVectorDrawing.h"

#include <QLabel>
#include <QTreeView>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

namespace {

// A ring of count modules, IDs from 101, the first attached; the third has a faulty channel 2.
RingReport Ring(int count)
{
    RingReport report;
    report.time = QDateTime(QDate(2026, 12, 8), QTime(14, 50), QTimeZone(3600));
    report.programVersion = QStringLiteral("1.31");
    report.scan.portNumber = 1;
    report.scan.device = QStringLiteral("/tmp/ring");
    for (int k = 0; k < count; ++k) {
        ModuleSnapshot module{101 + k, uint8_t(k == 0 ? 'G' : (k % 2 ? 'L' : 'R')), 41, 0x13};
        module.faulty2 = k == 2;
        report.scan.modules.push_back(module);
    }
    return report;
}

// The page objects of the file, read with Qt alone.
int PageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    int pages = 0;
    for (auto match = page.globalMatch(QString::fromLatin1(pdf)); match.hasNext(); match.next())
        ++pages;
    return pages;
}

// "id:mode id:mode ..." in hexadecimal modes, in the order given.
QList<std::pair<int, uint8_t>> Pairs(const QString &text)
{
    QList<std::pair<int, uint8_t>> pairs;
    for (const QString &item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        pairs.append({item.section(QLatin1Char(':'), 0, 0).toInt(), uint8_t(item.section(QLatin1Char(':'), 1).toUInt(nullptr, 16))});
    return pairs;
}

// A scan, or Verify Settings, that modules 1 (attached), 2 and 3 answer with mode 0x13, played
// on the clock until the core has handed it over.
void Answered(RingCore &core, MemorySerialPort &port, ManualClock &clock, const std::function<void()> &start)
{
    QSignalSpy over(&core, &RingCore::scanHandedOver);
    TimedRing ring(clock, port, core.Link(), 5, clock.NowMs() + 3000);
    QByteArray replies;
    for (int id : {1, 2, 3})
        replies += EncodeReply({.letter = uint8_t(id == 1 ? 'G' : 'L'), .id = id, .version = 41, .mode = 0x13});
    ring.AnswerAt(clock.NowMs() + 100, replies);
    start();
    QTRY_COMPARE(over.count(), 1);
}

// The window's tree: "programming | asked | result" per record, its modules indented below.
QStringList Tree(const frmProgrammingRecord &window)
{
    const QAbstractItemModel *model = window.tvwRecords->model();
    const auto line = [model](const QModelIndex &parent, int row) {
        QStringList cells;
        for (int column : {ProgrammingRecordModel::Programming, ProgrammingRecordModel::Asked, ProgrammingRecordModel::Result})
            cells << model->index(row, column, parent).data().toString();
        return cells.join(QStringLiteral(" | "));
    };
    QStringList lines;
    for (int row = 0; row < model->rowCount(); ++row) {
        lines << line({}, row);
        const QModelIndex record = model->index(row, 0);
        for (int module = 0; module < model->rowCount(record); ++module)
            lines << QStringLiteral("  ") + line(record, module);
    }
    return lines;
}

} // namespace

class TestRingReport : public QObject
{
    Q_OBJECT

private slots:
    void verify_data()
    {
        QTest::addColumn<QString>("applied");   // in the order sent
        QTest::addColumn<QString>("reported");  // the scan's ring order with the modes reported
        QTest::addColumn<QString>("after");     // applied after the verification
        QTest::addColumn<QString>("later");     // a later whole scan's modes
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("summary");
        QTest::newRow("each kind") << "1:13 2:4b 9:13" << "1:13 2:13 3:13" << "" << ""
                                   << "1 as applied|2 differs: mode 0x13, applied 0x4B|3 nothing applied|9 no answer"
                                   << "Verify Settings: 1 of 4 modules as applied, 1 differs, 1 no answer, 1 nothing applied.";
        QTest::newRow("programmed twice: the last frame counts") << "5:4b 7:13 5:13" << "5:13 7:13" << "" << ""
                                                                << "5 as applied|7 as applied"
                                                                << "Verify Settings: 2 of 2 modules as applied, 0 differs, 0 no answer.";
        QTest::newRow("programmed twice, the module kept the first") << "5:4b 5:13" << "5:4b" << "" << ""
                                                                     << "5 differs: mode 0x4B, applied 0x13"
                                                                     << "Verify Settings: 0 of 1 modules as applied, 1 differs, 0 no answer.";
        QTest::newRow("a module gone, IDs in order") << "7:13 5:13" << "" << "" << "" << "5 no answer|7 no answer"
                                                     << "Verify Settings: 0 of 2 modules as applied, 0 differs, 2 no answer.";
        QTest::newRow("nothing applied") << "" << "1:13 2:63" << "" << "" << "1 nothing applied|2 nothing applied"
                                         << "Verify Settings: 0 of 2 modules as applied, 0 differs, 0 no answer, 2 nothing applied.";
        QTest::newRow("an Apply after the check") << "5:13 7:13" << "5:13 7:13" << "7:4b" << ""
                                                  << "5 as applied|7 applied after the check"
                                                  << "Verify Settings: 2 of 2 modules as applied, 0 differs, 0 no answer.";
        QTest::newRow("power-cycled after the check") << "5:13 7:13 9:4b" << "5:13 7:13 9:13" << "" << "5:03 7:13 9:03"
                                                      << "5 differs since 14:45|7 as applied|9 differs: mode 0x13, applied 0x4B"
                                                      << "Verify Settings: 2 of 3 modules as applied, 1 differs, 0 no answer.";
    }
    void verify()
    {
        QFETCH(QString, applied);
        QFETCH(QString, reported);
        QFETCH(QString, after);
        QFETCH(QString, later);
        AppliedModes store;
        for (const auto &[id, mode] : Pairs(applied))
            store.Record(id, mode);
        RingSnapshot ring;
        for (const auto &[id, mode] : Pairs(reported))
            ring.push_back(ModuleSnapshot{id, 'L', 41, mode});
        Verification verification{0, store.LastStamp(), VerifyRing(ring, store)};
        for (const auto &[id, mode] : Pairs(after))
            store.Record(id, mode);
        RingScan scan;
        scan.sentMs = QDateTime(QDate(2026, 12, 8), QTime(14, 45)).toMSecsSinceEpoch();
        for (const auto &[id, mode] : Pairs(later))
            scan.modules.push_back(ModuleSnapshot{id, 'L', 41, mode});
        verification.Follow(scan);
        QStringList texts;
        for (const VerifyResult &result : verification.results)
            texts << QStringLiteral("%1 %2").arg(result.id).arg(verification.TextFor(result.id, store));
        QTEST(texts.join(QLatin1Char('|')), "results");
        QTEST(VerifySummary(verification.results), "summary");
    }

    void pdf_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("demo-sized ring, verified, its last day kept")
            << 8 << 3
            << QStringList{"ZEPHLINK9 Ring Report", "Date: 2026-12-08 14:50:00+01:00", "ZEPHLINK9 Setup Tool 1.31",
                           "COM1, device /tmp/ring", "Modules: 8", "Attached module: ID 101, 9600 baud, parity none",
                           "Verify Settings of 2026-12-08 ",
                           ": 6 of 9 modules as applied, 1 differs, 1 no answer, 1 nothing applied.",
                           "Module 103: differs: mode 0x13, applied 0x4B", "Module 105: differs since 14:45",
                           "Module 900: no answer",
                           "1 module applied after the check", "108", "faulty", "sound", "Page 1 of 3",
                           "Last 24 hours", "104 1 +812 2 h 5 min", "Share of the 8640 scans",
                           "106: 97.5 %", "108: 100.0 %", "Page 2 of 3",
                           "Programming record, last 30 days", "Global Settings Apply by tech on pc-7, COM1 (/dev/ttyUSB0)",
                           "19200 baud, parity even, 1 stop bit, rule CH1_Error OR CH2_Error, kept in E²PROM: 1 of 2 frames taken",
                           "Module 103: 0x64 sent, kept in E²PROM, taken by the port; verified: differs: mode 0x13, applied 0x4B",
                           "Module 101: 0x64 sent, kept in E²PROM, refused by the port", "Page 3 of 3"};
        QTest::newRow("23 modules, no history") << 23 << 3 << QStringList{"123", "Page 1 of 3", "the record covers this run only",
                                                                          "No module was programmed or verified."};
        QTest::newRow("150 modules, no history") << 150 << 5 << QStringList{"Page 3 of 5", "250", "NOT CH1_Error AND NOT CH2_Error",
                                                                             "No ring history is kept", "Page 5 of 5"};
    }
    void pdf()
    {
        QFETCH(int, count);
        RingReport report = Ring(count);
        if (count == 8) {
            for (int id = 101; id <= 107; ++id)
                report.applied.Record(id, id == 103 ? 0x4B : 0x13);
            report.applied.Record(900, 0x13);
            report.verification = Verification{QDateTime(QDate(2026, 12, 8), QTime(14, 40)).toMSecsSinceEpoch(),
                                               report.applied.LastStamp(), VerifyRing(report.scan.modules, report.applied)};
            // Applied again since: no longer verified.
            report.applied.Record(104, 0x13);
            // Switched off and on after an S: the report's scan reads another mode.
            report.scan.sentMs = QDateTime(QDate(2026, 12, 8), QTime(14, 45)).toMSecsSinceEpoch();
            report.scan.modules[4].mode = 0x03;
            report.verification->Follow(report.scan);
            report.historyKept = true;
            report.largestIncrease = {{104, 1, 812, 7500000}, {103, 2, 490, 0}};
            for (int id = 101; id <= 108; ++id)
                report.answered.push_back({id, id == 106 ? 8424 : 8640, 8640});
            ProgrammingRecord record{0, ProgrammingKind::RingApply, "tech", "pc-7", 1, "/dev/ttyUSB0", 0x64, true, {}};
            record.modules.push_back({103, 0x64, true, FrameOutcome::Taken, report.verification->results[2]});
            record.modules.push_back({101, 0x64, true, FrameOutcome::Refused, std::nullopt});
            report.programmings = {record};
            report.programmingsLasting = true;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        QCOMPARE(SaveRingReport(report, path), QString());
        const QByteArray pdf = ReadTestFile(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QTEST(PageCount(pdf), "pages");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});

        // Each ID outside the ring, along its radius: under no picture and no other ID, and large
        // enough to read at the page's scale (the ring takes 290 points).
        const std::vector<RingLabel> labels = RingLabels(count);
        const std::vector<QRectF> pictures = RingPictureRects(count);
        for (int k = 0; k < count; ++k) {
            const QPolygonF outline = labels[size_t(k)].Outline();
            QVERIFY(labels[size_t(k)].textHeight * 290 / RingDrawingSide(count) >= (count > 100 ? 5.0 : 6.0));
            for (const QRectF &picture : pictures)
                QVERIFY2(!outline.intersects(QPolygonF(picture)), qPrintable(QStringLiteral("label %1 under a picture").arg(k)));
            for (int other = k + 1; other < count; ++other)
                QVERIFY2(!outline.intersects(labels[size_t(other)].Outline()), qPrintable(QStringLiteral("labels %1, %2").arg(k).arg(other)));
        }

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed: the PDF's text was not read back");
        QProcess process;
        process.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(10000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput()).simplified();
        QFETCH(QStringList, texts);
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected));
        // The table's header stands on every page of the table.
        QCOMPARE(int(text.count(QStringLiteral("CH2 Errors"))), PageCount(pdf) - 2);
    }

    // The module table: a name ending in ".CSV" gets it, fields with a comma quoted, CR LF
    // after every line.
    void csv()
    {
        RingReport report = Ring(2);
        ModuleSnapshot &other = report.scan.modules[1];
        other.version = 42;
        other.mode = 0xBF;
        other.faulty2 = true;
        other.counter2 = 17;
        report.verification = Verification{0, 0, {{102, VerifyKind::Differs, 0xBF, 0x13}}};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("table.CSV"));
        QCOMPARE(SaveRingReport(report, path), QString());
        QCOMPARE(QString::fromUtf8(ReadTestFile(path)),
                 QStringLiteral("Pos,ID,Side,Version,Baud,Parity,Stop,Error Relais,CH1,CH1 Errors,CH2,CH2 Errors,Verified\r\n"
                                "0,101,G,4.1,9600,none,1,NOT CH1_Error AND NOT CH2_Error,sound,0,sound,0,\r\n"
                                "1,102,L,4.2,115200,odd,2,NOT CH1_Error OR NOT CH2_Error,sound,0,faulty,17,"
                                "\"differs: mode 0xBF, applied 0x13\"\r\n"));
    }

    // A failed write leaves neither a half file nor the old one changed.
    void unwritable()
    {
        const RingReport report = Ring(3);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/report.pdf"));
        const QString message = SaveRingReport(report, path);
        QVERIFY(message.startsWith(QStringLiteral("The report cannot be written:\r\n") + QDir::toNativeSeparators(path) + "\r\n"));
        QVERIFY(message.section(QStringLiteral("\r\n"), 2).size() > 3);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }

    // Each programming kept with the name of its user (a hostile one, whole) and computer, its
    // port, what was asked, each module's frame and the verification's result; shown newest
    // first, filtered by module ID, written to the CSV; after a restart kept where the history
    // is, gone where it is off, and the window says so.
    void programmingRecord_data()
    {
        QTest::addColumn<bool>("history");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("module3Lines");  // filtered by module 3
        const QStringList refused{"Module State Apply | rule CH1_Error OR CH2_Error, kept in E²PROM | 0 of 1 frames taken",
                                  "  Module 3 | 0x23 sent, kept in E²PROM | refused by the port"};
        const QStringList ring{"Global Settings Apply | 9600 baud, parity even, 1 stop bit, rule CH1_Error OR CH2_Error,"
                               " not kept in E²PROM | 1 of 3 frames taken",
                               "  Module 2 | 0x63 sent, not kept | taken by the port",
                               "  Module 3 | 0x63 sent, not kept | refused by the port",
                               "  Module 1 | 0x63 sent, not kept | not sent"};
        const QStringList verified{"Verify Settings |  | Verify Settings: 1 of 3 modules as applied, 0 differs, 0 no answer, 2 nothing applied.",
                                   "  Module 1 |  | nothing applied",
                                   "  Module 2 |  | as applied",
                                   "  Module 3 |  | nothing applied",
                                   "Module State Apply | rule NOT CH1_Error AND NOT CH2_Error, not kept in E²PROM | 1 of 1 frames taken",
                                   "  Module 2 | 0x13 sent, not kept | taken by the port; verified: as applied"};
        QTest::newRow("module refused, history kept") << true << "module" << refused << 2;
        QTest::newRow("module refused, history off") << false << "module" << refused << 2;
        QTest::newRow("ring stopped at a refused frame") << true << "ring" << ring << 2;
        QTest::newRow("apply then verify, history kept") << true << "verify" << verified << 2;
        QTest::newRow("apply then verify, history off") << false << "verify" << verified << 2;
    }
    void programmingRecord()
    {
        QFETCH(bool, history);
        QFETCH(QString, action);
        QFETCH(QStringList, shown);
        const QString user = QStringLiteral("O'Brien, \"night shift\"\r\n") + QString(1000, QLatin1Char('x'));
        const QByteArray userBefore = qgetenv("USER");
        qputenv("USER", user.toUtf8());
        QTemporaryDir dir;
        const QString ini = WriteTestFile(dir.filePath(QStringLiteral("zephlink9-setup.ini")),
                                          QByteArray("[ZEPHLINK9 Setup Tool]\r\ncomport=1\r\n") + (history ? "" : "history=off\r\n"));
        ManualClock clock;
        SetClock(&clock);
        MemorySerialPort port;
        port.Open();
        QStringList csv;
        {
            RingCore core(&port);
            core.Start(ProgramConfig::Read(ini));
            Answered(core, port, clock, [&] { core.Scan(); });
            port.refuses = [](const QByteArray &frame) { return frame.size() > 1 && frame[1] == 3; };
            if (action == QStringLiteral("module")) {
                QVERIFY(!core.ProgramModule(3, 0x23, true));
            } else if (action == QStringLiteral("ring")) {
                QCOMPARE(core.ProgramRing(0x63, [](int, int) { return false; }).failedID, 3);
            } else {
                QVERIFY(core.ProgramModule(2, 0x13, false));
                Answered(core, port, clock, [&] { core.Verify(); });
            }
            frmProgrammingRecord window(&core.Programming());
            QCOMPARE(Tree(window), shown);
            QCOMPARE(window.lblLasting->isVisibleTo(&window), !history);
            const QAbstractItemModel *model = window.tvwRecords->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                QCOMPARE(model->index(row, ProgrammingRecordModel::User).data().toString(), user);
                QCOMPARE(model->index(row, ProgrammingRecordModel::Computer).data().toString(), QSysInfo::machineHostName());
                QVERIFY(model->index(row, ProgrammingRecordModel::Port).data().toString().startsWith(QStringLiteral("COM1")));
            }
            window.txtModulID->setText(QStringLiteral("3"));
            QTEST(int(Tree(window).size()), "module3Lines");
            for (const QString &line : Tree(window))
                QVERIFY2(!line.startsWith(QStringLiteral("  ")) || line.startsWith(QStringLiteral("  Module 3 ")), qPrintable(line));

            RingReport report = Ring(1);
            report.programmings = core.Programming().Records();
            const QString path = dir.filePath(QStringLiteral("report.csv"));
            QCOMPARE(SaveRingReport(report, path), QString());
            csv = QString::fromUtf8(ReadTestFile(path)).split(QStringLiteral("\r\n\r\n"));
        }
        QCOMPARE(csv.size(), 2);
        QVERIFY(csv[0].startsWith(QStringLiteral("Pos,ID,")));
        QVERIFY(csv[1].startsWith(QStringLiteral("Time,Programming,User,Computer,Port,Asked,Module ID,Mode,E²PROM,Frame,Verified\r\n")));
        const QString quoted = QStringLiteral("\"O'Brien, \"\"night shift\"\"\r\n") + QString(1000, QLatin1Char('x')) + QLatin1Char('"');
        QCOMPARE(CsvField(user), quoted);
        QCOMPARE(int(csv[1].count(QLatin1Char(',') + quoted + QLatin1Char(','))), int(shown.filter(QRegularExpression(QStringLiteral("^  "))).size()));

        // The program again on the same configuration.
        {
            RingCore core(&port);
            core.Start(ProgramConfig::Read(ini));
            frmProgrammingRecord window(&core.Programming());
            QCOMPARE(Tree(window), history ? shown : QStringList());
            QCOMPARE(window.lblLasting->isVisibleTo(&window), !history);
        }
        SetClock(nullptr);
        qputenv("USER", userBefore);
    }

    void proposedName()
    {
        QCOMPARE(ProposedReportName(QDateTime(QDate(2026, 12, 8), QTime(9, 5))), QStringLiteral("ring-report-2026-12-08-0905.pdf"));
    }
};

QTEST_MAIN(TestRingReport)
#include "tst_ringreport.moc"
