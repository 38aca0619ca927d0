// The module table (lowest version, side sort, the mode byte's fields) and the Module List's
// rows against it: ring order after the side sort, late replies, a locate without answer, the
// counters' change across scans, the faults filter, repainting only what a pass changed, the
// find field's input and the copied text; the ring's events against its reference and the
// scan before, and the reference file.
#include "ManualClock.h"
#include "RingText.h"
#include "TestFiles.h"
#include "bus/BusLink.h"
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "model/Clock.h"
#include "model/ModeByte.h"
#include "model/ModuleIDText.h"
#include "model/ModuleListFilter.h"
#include "model/ModuleListModel.h"
#include "model/ReferenceFile.h"
#include "model/RingComparison.h"
#include "model/RingKeeper.h"
#include "model/RingTable.h"
#include "model/TabText.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <future>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using Ids = QList<int>;

namespace {

// "L2" is a reply of module 2 with letter L; "L2:5" carries error counter 5 on channel 1,
// "L2!" a faulty channel 1.
Reply ParseReply(const QString &word)
{
    Reply reply;
    reply.letter = uint8_t(word[0].toLatin1());
    reply.version = 41;
    reply.mode = 0x13;
    QString rest = word.mid(1);
    reply.status1 = rest.endsWith(QLatin1Char('!'));
    rest.remove(QLatin1Char('!'));
    const QStringList parts = rest.split(QLatin1Char(':'));
    reply.id = parts[0].toInt();
    if (parts.size() > 1)
        reply.counter1 = int16_t(parts[1].toInt());
    return reply;
}

const QString kRef = QStringLiteral("1G 2L 3L 4L 5R 6R");
} // namespace

class TestModel : public QObject
{
    Q_OBJECT

    ManualClock mClock;
    std::unique_ptr<MemorySerialPort> mPort;
    std::unique_ptr<RingTable> mTable;
    std::unique_ptr<BusLink> mLink;
    RingKeeper mKeeper;
    std::unique_ptr<ModuleListModel> mRows;

    // One parse pass over the replies given, as the timers run it.
    void Pass(const QString &words)
    {
        QByteArray bytes;
        for (const QString &word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            bytes += EncodeReply(ParseReply(word));
        mPort->Feed(bytes);
        mLink->PollPort();
        mLink->ParseReceived();
    }
    // A scan goes out: the order empties, and what comes is the new scan's.
    void Scan()
    {
        mTable->ClearOrder();
        mLink->Receiver().BeginScan();
    }
    // The scan is over: its record, as the receiver kept its replies, goes to the keeper and the rows.
    void Settle()
    {
        RingScan scan;
        scan.serial = mKeeper.LastScan().serial + 1;
        scan.modules = mLink->Receiver().Readings();
        mKeeper.Take(scan);
        mRows->TakeScan(scan);
    }
    QString Row(const QAbstractItemModel &model, int row)
    {
        QStringList cells;
        for (int c : {ModuleListModel::Pos, ModuleListModel::ID, ModuleListModel::Side, ModuleListModel::CH1,
                      ModuleListModel::CH2, ModuleListModel::Change, ModuleListModel::LastReply})
            cells << model.index(row, c).data().toString();
        return cells.join(QLatin1Char('|'));
    }

private slots:
    void init()
    {
        SetClock(&mClock);
        mPort = std::make_unique<MemorySerialPort>();
        mPort->Open();
        mTable = std::make_unique<RingTable>();
        mLink = std::make_unique<BusLink>(mPort.get(), *mTable);
        mKeeper = RingKeeper();
        mRows = std::make_unique<ModuleListModel>(&mKeeper, mTable.get());
        connect(mLink.get(), &BusLink::passParsed, mRows.get(), &ModuleListModel::Follow);
    }
    void cleanup()
    {
        mRows.reset();
        mLink.reset();
        mPort.reset();
        SetClock(nullptr);
    }

    // Steps: "scan" empties the order as a scan does, "settle" hands the scan over,
    // "nolocate ID" is a locate that got no answer, "faults" ticks "Faults only"; any other
    // step is one parse pass of replies. Then the rows shown, as Pos|ID|Side|CH1|CH2|Change|Last Reply.
    void rowsFollowTheTable_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("ring order after the side sort")
            << QStringList{"scan", "G1 R3 L2 R5 L4", "settle"}
            << QStringList{"0|1|G|sound|sound||10:00:00", "1|2|L|sound|sound||10:00:00",
                           "2|4|L|sound|sound||10:00:00", "3|5|R|sound|sound||10:00:00",
                           "4|3|R|sound|sound||10:00:00"};
        QTest::newRow("a late reply joins in its own pass")
            << QStringList{"scan", "G1 L2", "L4"}
            << QStringList{"0|1|G|sound|sound||10:00:00", "1|2|L|sound|sound||10:00:00",
                           "2|4|L|sound|sound||10:00:00"};
        QTest::newRow("a locate without answer")
            << QStringList{"scan", "G1 L2", "settle", "nolocate 2"}
            << QStringList{"0|1|G|sound|sound||10:00:00",
                           "1|2|L|faulty (no locate answer)|faulty (no locate answer)||10:00:00"};
        QTest::newRow("a locate answer keeps the scan's side")
            << QStringList{"scan", "G1 R2!", "settle", "P2"}
            << QStringList{"0|1|G|sound|sound||10:00:00", "1|2|R|sound|sound||10:00:00"};
        QTest::newRow("a locate answer before the scan is over: the scan's reply")
            << QStringList{"scan", "G1 R2", "P2!", "settle"}
            << QStringList{"0|1|G|sound|sound||10:00:00", "1|2|R|sound|sound||10:00:00"};
        QTest::newRow("the counters' change across two scans")
            << QStringList{"scan", "G1 L2:5 L3:9", "settle", "scan", "G1 L2:12 L3:9 L4:7", "settle"}
            << QStringList{"0|1|G|sound|sound||10:00:00", "1|2|L|sound|sound|+7|10:00:00",
                           "2|3|L|sound|sound||10:00:00", "3|4|L|sound|sound||10:00:00"};
        QTest::newRow("the counters' change across a scan that found none")
            << QStringList{"scan", "G1 L2:5", "settle", "scan", "settle", "scan", "G1 L2:45", "settle"}
            << QStringList{"0|1|G|sound|sound||10:00:00", "1|2|L|sound|sound|+40|10:00:00"};
        QTest::newRow("a smaller ring drops its tail")
            << QStringList{"scan", "G1 L2 L3", "settle", "scan", "G1 L2", "settle"}
            << QStringList{"0|1|G|sound|sound||10:00:00", "1|2|L|sound|sound||10:00:00"};
        QTest::newRow("faults only")
            << QStringList{"scan", "G1 L2 L3! L4", "settle", "nolocate 4", "faults"}
            << QStringList{"2|3|L|faulty|sound||10:00:00",
                           "3|4|L|faulty (no locate answer)|faulty (no locate answer)||10:00:00"};
        QTest::newRow("no modules found") << QStringList{"scan", "G1 L2", "settle", "scan", "settle"} << QStringList{};
    }
    void rowsFollowTheTable()
    {
        QFETCH(QStringList, steps);
        ModuleListFilter shown(mRows.get());
        for (const QString &step : steps) {
            if (step == QLatin1String("scan")) {
                Scan();
            } else if (step == QLatin1String("settle")) {
                Settle();
            } else if (step.startsWith(QLatin1String("nolocate "))) {
                const int id = step.mid(9).toInt();
                mTable->MarkLocateFailed(id);
                mRows->Follow();
            } else if (step == QLatin1String("faults")) {
                shown.SetFaultsOnly(true);
            } else {
                Pass(step);
            }
        }
        QStringList rows;
        for (int k = 0; k < shown.rowCount(); ++k)
            rows << Row(shown, k);
        QTEST(rows, "rows");
    }

    // On a ring of 1000, a pass that changes one record repaints that row and no other.
    void onePassRepaintsOneRow()
    {
        QString ring = QStringLiteral("G1");
        for (int id = 2; id <= 1000; ++id)
            ring += QStringLiteral(" L%1").arg(id);
        Pass(ring);
        Settle();
        QSignalSpy reset(mRows.get(), &QAbstractItemModel::modelReset);
        QSignalSpy changed(mRows.get(), &QAbstractItemModel::dataChanged);
        Pass(QStringLiteral("P500:3"));
        QCOMPARE(reset.count(), 0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), 499);
        QCOMPARE(changed[0][1].toModelIndex().row(), 499);
        QCOMPARE(mRows->index(499, ModuleListModel::CH1Errors).data().toString(), QStringLiteral("3"));
    }

    void sortsNumbersAsNumbers()
    {
        Pass(QStringLiteral("G1 L10 L9:100 L2:20"));
        ModuleListFilter shown(mRows.get());
        shown.sort(ModuleListModel::CH1Errors, Qt::DescendingOrder);
        QCOMPARE(shown.index(0, ModuleListModel::ID).data().toString(), QStringLiteral("9"));
        shown.sort(ModuleListModel::ID);
        QCOMPARE(shown.index(3, ModuleListModel::ID).data().toString(), QStringLiteral("10"));
        shown.sort(ModuleListModel::Pos);
        QCOMPARE(shown.index(1, ModuleListModel::ID).data().toString(), QStringLiteral("10"));
    }

    void findIDText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        const QString digits = QStringLiteral("A module ID is a whole decimal number, digits 0 to 9 only.");
        const QString range = QStringLiteral("A module ID lies between 0 and 32000.");
        QTest::newRow("2826") << "2826" << "";
        QTest::newRow("0") << "0" << "";
        QTest::newRow("32000") << "32000" << "";
        QTest::newRow("32001") << "32001" << range;
        QTest::newRow("too long for an int") << "99999999999" << range;
        QTest::newRow("empty") << "" << digits;
        QTest::newRow("sign") << "-5" << digits;
        QTest::newRow("blank") << " 5" << digits;
        QTest::newRow("exponent") << "1e3" << digits;
        QTest::newRow("hex") << "0x10" << digits;
        QTest::newRow("arabic-indic digit") << QString::fromUtf8("\u0665") << digits;
    }
    void findIDText()
    {
        QFETCH(QString, text);
        int id = -1;
        QTEST(ModuleIDProblem(text, &id), "problem");
        if (ModuleIDProblem(text, &id).isEmpty())
            QCOMPARE(id, text.toInt());
    }

    void setVersionLowersMinimum_data()
    {
        QTest::addColumn<Ids>("versions");
        QTest::addColumn<int>("minimum");
        QTest::newRow("higher after lower keeps 41") << Ids{41, 50} << 41;
        QTest::newRow("0 lowers to 0") << Ids{0, 40} << 0;
        QTest::newRow("255 at 255 stays") << Ids{255} << 255;
    }
    void setVersionLowersMinimum()
    {
        QFETCH(Ids, versions);
        RingTable table;
        for (int v : versions)
            table.Store(5, 'L', uint8_t(v), 0x13, false, 0, false, 0, 0.0f);
        QTEST(int(table.MinVersion()), "minimum");
    }

    // The attached module (G) first, then the L side in order, then the R side reversed.
    void sortBySide_data()
    {
        QTest::addColumn<Ids>("ids");
        QTest::addColumn<QString>("sides");
        QTest::addColumn<Ids>("sorted");
        QTest::newRow("mixed") << Ids{10, 3, 7, 9, 4} << "GRLRL" << Ids{10, 7, 4, 9, 3};
        QTest::newRow("all R reverse") << Ids{1, 2, 3, 4} << "GRRR" << Ids{1, 4, 3, 2};
        QTest::newRow("other letters go right") << Ids{1, 2, 3, 4} << "GPLG" << Ids{1, 3, 4, 2};
        QTest::newRow("two stay") << Ids{10, 3} << "LG" << Ids{10, 3};
        QTest::newRow("none counted") << Ids{} << "" << Ids{};
    }
    void sortBySide()
    {
        QFETCH(Ids, ids);
        QFETCH(QString, sides);
        RingTable table;
        // An earlier, longer ring leaves 999 behind the count.
        for (int i = 0; i < ids.size(); ++i) {
            table.Store(ids[i], uint8_t(sides[i].toLatin1()), 41, 0x13, false, 0, false, 0, 0.0f);
            table.Append(ids[i]);
        }
        table.Append(999);
        table.ClearOrder();
        for (const int id : ids)
            table.Append(id);
        table.SortModulesBySide();
        QTEST(Ids(table.Order().begin(), table.Order().end()), "sorted");
        QCOMPARE(table.IDAt(int(ids.size())), 999);
    }

    void modeByteFields_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("bits");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<bool>("twoStop");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("parity");
        QTest::newRow("75") << 75 << "01001011" << "9600" << true << "CH1_Error AND CH2_Error"
                            << int(ModeByte::Parity::Even);
        QTest::newRow("both parity bits read odd") << 0xC7 << "11000111" << "115200" << false
                                                   << "CH1_Error AND CH2_Error" << int(ModeByte::Parity::Odd);
        QTest::newRow("0x35") << 0x35 << "00110101" << "38400" << false << "NOT CH1_Error OR NOT CH2_Error"
                              << int(ModeByte::Parity::None);
        QTest::newRow("0x10") << 0x10 << "00010000" << "1200" << false << "NOT CH1_Error AND NOT CH2_Error"
                              << int(ModeByte::Parity::None);
    }
    void modeByteFields()
    {
        QFETCH(int, mode);
        QTEST(ByteToBin(uint8_t(mode)), "bits");
        QTEST(ModeByte::BaudText(uint8_t(mode)), "baud");
        QTEST(ModeByte::HasTwoStopBits(uint8_t(mode)), "twoStop");
        QTEST(ModeByte::RuleText(uint8_t(mode)), "rule");
        QTEST(int(ModeByte::ParityOf(uint8_t(mode))), "parity");
    }

    void copiesAsTabSeparatedText()
    {
        Pass(QStringLiteral("G1 L2 L3"));
        const QStringList lines = TabText(*mRows, {0, 2}).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0].split(QLatin1Char('\t')).size(), int(ModuleListModel::ColumnCount));
        QVERIFY(lines[0].startsWith(QLatin1String("Pos\tID\tSide\tVersion\tBaud\tParity\tStop\tError Relais\tCH1\t")));
        QCOMPARE(lines[2].section(QLatin1Char('\t'), 0, 4), QStringLiteral("2\t3\tL\t4.1\t9600"));
        QCOMPARE(lines[3], QString());
    }
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
        QTest::newRow("faulty at the first scan") << "none" << "1G 2L:f2" << QStringList{"2@1 Module 2 channel 2 faulty"};
        QTest::newRow("counter across a scan that found none") << "none" << "1G 2L:c2=5|-|1G 2L:c2=45"
                                                               << QStringList{"2@1 Module 2 channel 2 error counter +40"};
        QTest::newRow("counter down starts a new count") << "none" << "1G 2L:c1=100|1G 2L:c1=7"
                                                         << QStringList{"2@1 Module 2 channel 1 error counter +7"};
        QTest::newRow("moved, one in front gone") << kRef << "1G 2L 6L 3L 4L 5R|1G 6L 3L 4L 5R"
                                                  << QStringList{"2@1 Module 2 missing"};
        QTest::newRow("moved, one in front back") << kRef << "1G 2L 6L 3L 4L 5R|1G 6L 3L 4L 5R|1G 2L 6L 3L 4L 5R"
                                                  << QStringList{"2@1 Module 2 answers again"};
        QTest::newRow("no reference, new module") << "none" << "1G 2L|1G 2L 3L" << QStringList();
        QTest::newRow("no reference, one gone") << "none" << "1G 2L 3L|1G 3L" << QStringList{"2@1 Module 2 missing"};
        QTest::newRow("no reference, back") << "none" << "1G 2L 3L|1G 3L|1G 2L 3L"
                                            << QStringList{"2@1 Module 2 answers again"};
        QTest::newRow("no reference, firmware and mode")
            << "none" << "1G 2L|1G 2L:v42:m4b"
            << QStringList{"2@1 Module 2 firmware 4.2, was 4.1", "2@1 Module 2 mode 0x4B, was 0x13"};
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
        RingKeeper keeper;
        std::vector<RingEvent> got;
        TakeRings(keeper, reference, scans, [&](const RingScan &) { got = ScanEvents(keeper); });
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
        QTest::newRow("mode of one digit") << head + "1,7,L,4.1,0x4\r\n" << 3 << "mode \"0x4\" is not a byte such as 0x13";
        QTest::newRow("mode with a sign") << head + "1,7,L,4.1,0x+4\r\n" << 3 << "mode \"0x+4\" is not a byte such as 0x13";
        QTest::newRow("a second G") << head + "1,7,G,4.1,0x13\r\n" << 3
                                    << "side \"G\" at position 1: only position 0 is the attached module";
        QTest::newRow("no G at 0") << QByteArray("position,id,side,version,mode\r\n0,1,L,4.1,0x13\r\n") << 2
                                   << "side \"L\" at position 0, where the attached module (G) stands";
        QTest::newRow("a long field quoted short") << head + "1,7,L,4.1," + QByteArray(5000, 'A') + "\r\n" << 3
                                                   << "mode \"" + QString(40, QLatin1Char('A')) + "...\" (5000 bytes) is not a byte such as 0x13";
        QByteArray full = head;
        for (int position = 1; position <= 32001; ++position)
            full += QStringLiteral("%1,%2,L,4.1,0x13\r\n").arg(position).arg(position == 1 ? 0 : position).toLatin1();
        QTest::newRow("a row past position 32000") << full << 32003 << "a row past position 32000, the last a ring can have";
        QTest::newRow("empty line") << head + "\r\n1,7,L,4.1,0x13\r\n" << 3 << "1 fields instead of 5 (position,id,side,version,mode)";
        QTest::newRow("header alone") << QByteArray("position,id,side,version,mode\r\n") << 0 << kNoReferenceModules;
        QTest::newRow("header alone, no line end") << QByteArray("position,id,side,version,mode") << 0 << kNoReferenceModules;
    }
    void readReference()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, badLine);
        QFETCH(QString, problem);
        const ReferenceParse parse = ParseReference(file);
        QCOMPARE(parse.badLine, badLine);
        QCOMPARE(parse.problem, problem);
        QCOMPARE(parse.ring.empty(), !problem.isEmpty());
    }

    // Written whole and read back; a folder that is not there leaves the old file as it was.
    void writeReference()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ring-reference.csv"));
        const RingSnapshot ring = Ring(QStringLiteral("1G 7L:v42:m4b 3R"));
        QCOMPARE(WriteReferenceFile(path, ring), QString());
        const QByteArray saved("position,id,side,version,mode\r\n0,1,G,4.1,0x13\r\n1,7,L,4.2,0x4B\r\n2,3,R,4.1,0x13\r\n");
        QCOMPARE(ReadTestFile(path), saved);
        const ReferenceFile read = ReadReferenceFile(path);
        QCOMPARE(read.state, ReferenceFile::State::Loaded);
        QCOMPARE(FormatReference(read.content.ring), FormatReference(ring));
        QVERIFY(!WriteReferenceFile(dir.filePath(QStringLiteral("absent/ring-reference.csv")), ring).isEmpty());
        // Larger than any ring: refused with its size.
        WriteTestFile(path, saved + QByteArray(5 * 1024 * 1024, 'A'));
        const ReferenceFile huge = ReadReferenceFile(path);
        QCOMPARE(huge.content.problem, QStringLiteral("the file has %1 bytes; a reference has at most 1048576").arg(saved.size() + 5 * 1024 * 1024));
        QCOMPARE(ReadReferenceFile(dir.filePath(QStringLiteral("absent.csv"))).state, ReferenceFile::State::Missing);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ring-reference.csv"});
    }

    // A ring the reader would refuse is refused before the file is touched: the old file stays
    // byte for byte, and no temporary file is left.
    void refusedReference_data()
    {
        QTest::addColumn<QString>("ring");
        QTest::addColumn<QString>("problem");
        QTest::newRow("none") << "" << kNoReferenceModules;
        QTest::newRow("G reply lost") << "7L 3R" << "the attached module did not answer this scan";
        QTest::newRow("G not first") << "7L 1G 3R" << "the attached module (G), module 1, stands at position 1, not at 0";
        QTest::newRow("a second G") << "1G 7L 2G" << "a second module answered G: module 2 at position 2";
        QTest::newRow("answered a locate last") << "1G 7P" << "module 7 at position 1 has no side G, L or R";
        QTest::newRow("twice") << "1G 7L 7R" << "module 7 answered twice, at positions 1 and 2";
        QTest::newRow("ID out of range") << "1G 32001L" << "module 32001 at position 1: an ID is a number from 0 to 32000";
    }
    void refusedReference()
    {
        QFETCH(QString, ring);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ring-reference.csv"));
        QCOMPARE(WriteReferenceFile(path, Ring(QStringLiteral("1G 7L"))), QString());
        const QByteArray saved = ReadTestFile(path);
        const QString problem = WriteReferenceFile(path, Ring(ring));
        QCOMPARE(ReadTestFile(path), saved);
        QTEST(problem, "problem");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ring-reference.csv"});
    }

    // Only a regular file is read or replaced: a folder, a FIFO or a device is refused by its
    // kind before it is opened (a FIFO's open would wait for a writer for ever), and stays.
    void referenceOfAnotherKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem");
        QTest::newRow("folder") << "folder" << "it is a folder, not a file";
#ifdef Q_OS_UNIX
        QTest::newRow("FIFO") << "fifo" << "it is a FIFO, a device or a socket, not a regular file";
        QTest::newRow("device") << "/dev/null" << "it is a FIFO, a device or a socket, not a regular file";
#endif
    }
    void referenceOfAnotherKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("ring-reference.csv"));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ring-reference.csv")));
#ifdef Q_OS_UNIX
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            path = kind;
        // Should the read wait on the FIFO, a writer that comes and goes ends it, and the case fails.
        auto reading = std::async(std::launch::async, [&path] { return ReadReferenceFile(path); });
        if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout)
            ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
        const ReferenceFile read = reading.get();
#else
        const ReferenceFile read = ReadReferenceFile(path);
#endif
        QCOMPARE(read.state, ReferenceFile::State::Unreadable);
        QCOMPARE(read.content.problem, problem);
        // Never written to: were the check broken, the system's device would be replaced.
        if (kind.startsWith(QLatin1String("/dev/")))
            return;
        QCOMPARE(WriteReferenceFile(path, Ring(QStringLiteral("1G 7L"))), problem);
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
