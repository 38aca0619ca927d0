// Verify Settings' results and summary, and the ring report as written to disk: the PDF read
// back (pages, and its text where pdftotext is installed), the CSV, and a path that cannot be
// written.
#include "TestFiles.h"
#include "app/RingReport.h"
#include "model/AppliedModes.h"
#include "model/Global.h"
#include "model/ReportTable.h"
#include "model/Verification.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

namespace {

// A ring of count modules, IDs from 101, the first attached; the third has a faulty channel 2.
RingReport Ring(int count)
{
    ResetGlobals();
    RingReport report;
    report.time = QDateTime(QDate(2026, 12, 8), QTime(14, 50), QTimeZone(3600));
    report.programVersion = QStringLiteral("1.31");
    report.port = QStringLiteral("COM1");
    report.device = QStringLiteral("/tmp/ring");
    report.localModuleID = 101;
    for (int k = 0; k < count; ++k) {
        const int id = 101 + k;
        ModuleData &record = gModules[size_t(id)];
        record.SetModuleID(int16_t(id));
        record.SetSide(k == 0 ? 'G' : (k % 2 ? 'L' : 'R'));
        record.SetVersion(41);
        record.SetMode(0x13);
        record.SetStatusChannel2(k == 2);
        report.order.push_back(int16_t(id));
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

} // namespace

class TestRingReport : public QObject
{
    Q_OBJECT

private slots:
    void verify_data()
    {
        QTest::addColumn<QString>("applied");   // in the order sent
        QTest::addColumn<QString>("reported");  // the scan's ring order with the modes reported
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("summary");
        QTest::newRow("each kind") << "1:13 2:4b 9:13" << "1:13 2:13 3:13"
                                   << "1 as applied|2 differs: mode 0x13, applied 0x4B|3 nothing applied|9 no answer"
                                   << "Verify Settings: 1 of 4 modules as applied, 1 differs, 1 no answer, 1 nothing applied.";
        QTest::newRow("programmed twice: the last frame counts") << "5:4b 7:13 5:13" << "5:13 7:13"
                                                                << "5 as applied|7 as applied"
                                                                << "Verify Settings: 2 of 2 modules as applied, 0 differs, 0 no answer.";
        QTest::newRow("programmed twice, the module kept the first") << "5:4b 5:13" << "5:4b"
                                                                     << "5 differs: mode 0x4B, applied 0x13"
                                                                     << "Verify Settings: 0 of 1 modules as applied, 1 differs, 0 no answer.";
        QTest::newRow("a module gone, IDs in order") << "7:13 5:13" << "" << "5 no answer|7 no answer"
                                                     << "Verify Settings: 0 of 2 modules as applied, 0 differs, 2 no answer.";
        QTest::newRow("nothing applied") << "" << "1:13 2:63" << "1 nothing applied|2 nothing applied"
                                         << "Verify Settings: 0 of 2 modules as applied, 0 differs, 0 no answer, 2 nothing applied.";
    }
    void verify()
    {
        QFETCH(QString, applied);
        QFETCH(QString, reported);
        AppliedModes store;
        for (const auto &[id, mode] : Pairs(applied))
            store.Record(id, mode);
        std::vector<int16_t> order;
        std::map<int, uint8_t> modes;
        for (const auto &[id, mode] : Pairs(reported)) {
            order.push_back(int16_t(id));
            modes[id] = mode;
        }
        const auto results = VerifyRing(order, store, [&modes](int id) { return modes.at(id); });
        QStringList texts;
        for (const VerifyResult &result : results)
            texts << QStringLiteral("%1 %2").arg(result.id).arg(result.Text());
        QTEST(texts.join(QLatin1Char('|')), "results");
        QTEST(VerifySummary(results), "summary");
    }

    void csvField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("comma") << "differs: mode 0x13, applied 0x4B" << "\"differs: mode 0x13, applied 0x4B\"";
        QTest::newRow("quote") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
        QTest::newRow("line end") << "a\r\nb" << "\"a\r\nb\"";
    }
    void csvField()
    {
        QFETCH(QString, text);
        QTEST(CsvField(text), "field");
    }

    void pdf_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("demo-sized ring, verified")
            << 8 << 1
            << QStringList{"ZEPHLINK9 Ring Report", "Date: 2026-12-08 14:50:00+01:00", "ZEPHLINK9 Setup Tool 1.31",
                           "COM1, device /tmp/ring", "Modules: 8", "Attached module: ID 101, 9600 baud, parity none",
                           "Verify Settings: 6 of 9 modules as applied, 1 differs, 1 no answer, 1 nothing applied.",
                           "Module 103: differs: mode 0x13, applied 0x4B", "Module 900: no answer", "108", "Page 1 of 1"};
        QTest::newRow("150 modules") << 150 << 3 << QStringList{"Page 3 of 3", "250", "NOT CH1_Error AND NOT CH2_Error"};
    }
    void pdf()
    {
        QFETCH(int, count);
        RingReport report = Ring(count);
        if (count == 8) {
            for (int id = 101; id <= 107; ++id)
                report.verification.push_back({id, VerifyKind::AsApplied, 0x13, 0x13});
            report.verification[2] = {103, VerifyKind::Differs, 0x13, 0x4B};
            report.verification.push_back({108, VerifyKind::NothingApplied, 0x13, 0});
            report.verification.push_back({900, VerifyKind::NoAnswer, 0, 0x13});
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        QCOMPARE(SaveRingReport(report, path), QString());
        const QByteArray pdf = ReadTestFile(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QTEST(PageCount(pdf), "pages");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed: the PDF's text was not read back");
        QProcess process;
        process.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(10000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        QFETCH(QStringList, texts);
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected));
        // The table's header stands on every page.
        QCOMPARE(int(text.count(QStringLiteral("CH2 counter"))), PageCount(pdf));
    }

    // The module table: a name ending in ".CSV" gets it, fields with a comma quoted, CR LF
    // after every line.
    void csv()
    {
        RingReport report = Ring(2);
        ModuleData &other = gModules[102];
        other.SetVersion(42);
        other.SetMode(0xBF);
        other.SetStatusChannel2(true);
        other.SetErrorCounterChannel2(17);
        report.verification = {{102, VerifyKind::Differs, 0xBF, 0x13}};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("table.CSV"));
        QCOMPARE(SaveRingReport(report, path), QString());
        QCOMPARE(QString::fromUtf8(ReadTestFile(path)),
                 QStringLiteral("Pos.,ID,Side,Version,Baud,Parity,Stop bits,Rule,CH1,CH1 counter,CH2,CH2 counter,Verified\r\n"
                                "0,101,G,4.1,9600,none,1,NOT CH1_Error AND NOT CH2_Error,ok,0,ok,0,\r\n"
                                "1,102,L,4.2,115200,odd,2,NOT CH1_Error OR NOT CH2_Error,ok,0,fault,17,"
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

    void proposedName()
    {
        QCOMPARE(ProposedReportName(QDateTime(QDate(2026, 12, 8), QTime(9, 5))), QStringLiteral("ring-report-2026-12-08-0905.pdf"));
    }
};

QTEST_MAIN(TestRingReport)
#include "tst_ringreport.moc"
