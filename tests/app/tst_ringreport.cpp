// The ring report as written to disk: the PDF read back (pages, and its text where pdftotext
// is installed), the CSV, and a path that cannot be written.
#include "app/RingReport.h"
#include "model/Global.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

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

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRingReport : public QObject
{
    Q_OBJECT

private slots:
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
        const QByteArray pdf = ReadAll(path);
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

    void csv()
    {
        const RingReport report = Ring(3);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("table.CSV"));
        QCOMPARE(SaveRingReport(report, path), QString());
        const QList<QByteArray> lines = ReadAll(path).split('\n');
        QCOMPARE(lines.size(), 5);  // header, three modules, nothing after the last CR LF
        QVERIFY(lines[0].startsWith("Pos.,ID,Side,"));
        QVERIFY(lines[3].startsWith("2,103,R,4.1,9600,none,1,NOT CH1_Error AND NOT CH2_Error,ok,0,fault,0,"));
        QVERIFY(lines[3].endsWith('\r'));
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
