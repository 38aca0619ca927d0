// The comparison of a ring with its reference and the scan before, and the reference file.
#include "model/ReferenceFile.h"
#include "model/RingComparison.h"
#include "model/RingWatch.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
// "5G 7L 9R": modules with their sides, firmware 4.1, mode 0x13; "7L:v42", ":m4b", ":f1", ":c2=40".
RingSnapshot Ring(const QString &text)
{
    RingSnapshot ring;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = word.split(QLatin1Char(':'));
        ModuleSnapshot module{parts[0].chopped(1).toInt(), uint8_t(parts[0].back().toLatin1()), 41, 0x13};
        for (const QString &p : parts.mid(1)) {
            if (p.startsWith(QLatin1Char('v'))) module.version = uint8_t(p.mid(1).toInt());
            if (p.startsWith(QLatin1Char('m'))) module.mode = uint8_t(p.mid(1).toInt(nullptr, 16));
            if (p == QLatin1String("f1")) module.faulty1 = true;
            if (p == QLatin1String("f2")) module.faulty2 = true;
            if (p.startsWith(QLatin1String("c1="))) module.counter1 = p.mid(3).toInt();
            if (p.startsWith(QLatin1String("c2="))) module.counter2 = p.mid(3).toInt();
        }
        ring.push_back(module);
    }
    return ring;
}
const QString kRef = QStringLiteral("1G 2L 3L 4L 5R 6R");
} // namespace

class TestRingEvents : public QObject
{
    Q_OBJECT

private slots:
    // Scans one after the other ("|" between them, "-" a scan without modules); the events of
    // the last scan, "ID@position text".
    void compare_data()
    {
        QTest::addColumn<QString>("reference");  // "none": no reference loaded
        QTest::addColumn<QString>("scans");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("unchanged") << kRef << kRef + "|" + kRef << QStringList();
        QTest::newRow("first scan against the reference")
            << kRef << "1G 2L 4L:v42 5R:m4b 6R 901L" << QStringList{"3@2 Module 3 missing", "4@2 Module 4 firmware 4.2, reference 4.1",
                                                                   "5@3 Module 5 mode 0x4B, reference 0x13", "901@5 Module 901 not in the reference"};
        QTest::newRow("told once") << kRef << "1G 2L 4L 5R 6R|1G 2L 4L 5R 6R" << QStringList();
        QTest::newRow("gone and back") << kRef << kRef + "|1G 2L 4L 5R 6R|" + kRef << QStringList{"3@2 Module 3 answers again"};
        QTest::newRow("one gone, none moved") << kRef << kRef + "|1G 3L 4L 5R 6R" << QStringList{"2@1 Module 2 missing"};
        QTest::newRow("two swapped") << kRef << kRef + "|1G 5L 3L 4L 2R 6R"
                                     << QStringList{"5@1 Module 5 at position 1, reference 4", "2@4 Module 2 at position 4, reference 1"};
        QTest::newRow("channels") << "none" << "1G 2L:c2=5 3L:f2|1G:f1 2L:c2=45 3L"
                                  << QStringList{"1@0 Module 1 channel 1 faulty", "2@1 Module 2 channel 2 error counter +40",
                                                 "3@2 Module 3 channel 2 sound again"};
        QTest::newRow("no reference, new module") << "none" << "1G 2L|1G 2L 3L" << QStringList();
        QTest::newRow("reference of 0 modules") << "" << "1G 2L" << QStringList{"1@0 Module 1 not in the reference", "2@1 Module 2 not in the reference"};
        QTest::newRow("no modules, once") << kRef << kRef + "|-" << QStringList{"-1@-1 No modules found"};
        QTest::newRow("no modules again") << kRef << kRef + "|-|-" << QStringList();
        QTest::newRow("after failures, against the last ring") << kRef << kRef + "|-|" + kRef << QStringList();
    }
    void compare()
    {
        QFETCH(QString, reference);
        QFETCH(QString, scans);
        QFETCH(QStringList, events);
        RingWatch watch;
        if (reference != QLatin1String("none"))
            watch.SetReference(Ring(reference));
        std::vector<RingEvent> got;
        for (const QString &scan : scans.split(QLatin1Char('|')))
            got = watch.Take(scan == QLatin1String("-") ? RingSnapshot() : Ring(scan));
        QStringList texts;
        for (const RingEvent &event : got)
            texts << QStringLiteral("%1@%2 %3").arg(event.id).arg(event.position).arg(event.text);
        QCOMPARE(texts, events);
    }

    void readReference_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("badLine");
        QTest::addColumn<QString>("problem");
        const QByteArray head = "position,id,side,version,mode\r\n0,1,G,4.1,0x13\r\n";
        QTest::newRow("good") << head + "1,7,L,4.2,0x4b\r\n" << 0 << QString();
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + head << 0 << QString();
        QTest::newRow("LF line ends") << QByteArray(head).replace("\r", "") << 0 << QString();
        QTest::newRow("header") << QByteArray("id,position\r\n") << 1 << "the header is not position,id,side,version,mode";
        QTest::newRow("fields") << head + "1,7,L,4.1\r\n" << 3 << "4 fields instead of 5 (position,id,side,version,mode)";
        QTest::newRow("position") << head + "2,7,L,4.1,0x13\r\n" << 3 << "position \"2\" where 1 was due";
        QTest::newRow("id") << head + "1,32001,L,4.1,0x13\r\n" << 3 << "ID \"32001\" is not a number from 0 to 32000";
        QTest::newRow("twice") << head + "1,1,L,4.1,0x13\r\n" << 3 << "module 1 appears twice";
        QTest::newRow("side") << head + "1,7,X,4.1,0x13\r\n" << 3 << "side \"X\" is not G, L or R";
        QTest::newRow("version") << head + "1,7,L,41,0x13\r\n" << 3 << "version \"41\" is not one such as 4.1";
        QTest::newRow("mode") << head + "1,7,L,4.1,0x1FF\r\n" << 3 << "mode \"0x1FF\" is not a byte such as 0x13";
        QTest::newRow("empty line") << head + "\r\n1,7,L,4.1,0x13\r\n" << 3 << "1 fields instead of 5 (position,id,side,version,mode)";
    }
    void readReference()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, badLine);
        QFETCH(QString, problem);
        const ReferenceParse parse = ParseReference(file);
        QCOMPARE(parse.badLine, badLine);
        QCOMPARE(parse.problem, problem);
        QCOMPARE(parse.ring.empty(), badLine != 0);
    }

    // Written whole and read back; a folder that is not there leaves the old file as it was.
    void writeReference()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ring-reference.csv"));
        const RingSnapshot ring = Ring(QStringLiteral("1G 7L:v42:m4b 3R"));
        QCOMPARE(WriteReferenceFile(path, ring), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("position,id,side,version,mode\r\n0,1,G,4.1,0x13\r\n1,7,L,4.2,0x4b\r\n2,3,R,4.1,0x13\r\n"));
        const ReferenceFile read = ReadReferenceFile(path);
        QCOMPARE(read.state, ReferenceFile::State::Loaded);
        QCOMPARE(FormatReference(read.content.ring), FormatReference(ring));
        QVERIFY(!WriteReferenceFile(dir.filePath(QStringLiteral("absent/ring-reference.csv")), ring).isEmpty());
        QCOMPARE(ReadReferenceFile(dir.filePath(QStringLiteral("absent.csv"))).state, ReferenceFile::State::Missing);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ring-reference.csv"});
    }
};

QTEST_GUILESS_MAIN(TestRingEvents)
#include "tst_ringevents.moc"
