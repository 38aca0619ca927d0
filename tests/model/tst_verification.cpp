// Verify Settings' results and summary, and the report's module table as CSV.
#include "model/AppliedModes.h"
#include "model/Global.h"
#include "model/ReportTable.h"
#include "model/Verification.h"

#include <QtTest>
#include <map>

namespace {
// "id:mode id:mode ..." in hexadecimal modes, in the order given.
QList<std::pair<int, uint8_t>> Pairs(const QString &text)
{
    QList<std::pair<int, uint8_t>> pairs;
    for (const QString &item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        pairs.append({item.section(QLatin1Char(':'), 0, 0).toInt(), uint8_t(item.section(QLatin1Char(':'), 1).toUInt(nullptr, 16))});
    return pairs;
}
} // namespace

class TestVerification : public QObject
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
        QTest::newRow("plain") << "as applied" << "as applied";
        QTest::newRow("comma") << "differs: mode 0x13, applied 0x4B" << "\"differs: mode 0x13, applied 0x4B\"";
        QTest::newRow("quote") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
        QTest::newRow("line end") << "a\r\nb" << "\"a\r\nb\"";
        QTest::newRow("empty") << "" << "";
    }
    void csvField()
    {
        QFETCH(QString, text);
        QTEST(CsvField(text), "field");
    }

    void csvTable()
    {
        ResetGlobals();
        ModuleData &attached = gModules[101];
        attached.SetSide('G');
        attached.SetVersion(41);
        attached.SetMode(0x13);
        ModuleData &other = gModules[300];
        other.SetSide('L');
        other.SetVersion(42);
        other.SetMode(0xBF);
        other.SetStatusChannel2(true);
        other.SetErrorCounterChannel2(17);
        const std::vector<VerifyResult> verification{{300, VerifyKind::Differs, 0xBF, 0x13}};
        QCOMPARE(QString::fromUtf8(CsvText(BuildReportTable({101, 300}, verification))),
                 QStringLiteral("Pos.,ID,Side,Version,Baud,Parity,Stop bits,Rule,CH1,CH1 counter,CH2,CH2 counter,Verified\r\n"
                                "0,101,G,4.1,9600,none,1,NOT CH1_Error AND NOT CH2_Error,ok,0,ok,0,\r\n"
                                "1,300,L,4.2,115200,odd,2,NOT CH1_Error OR NOT CH2_Error,ok,0,fault,17,"
                                "\"differs: mode 0xBF, applied 0x13\"\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestVerification)
#include "tst_verification.moc"
