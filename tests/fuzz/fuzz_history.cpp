// Writes arbitrary rows into a history file of the right schema and reads it through the
// history as a run does: the events, each port's last ring, the trends before and after a
// thinning step; then keeps a scan, which must read back as it was kept.
#include "ManualClock.h"
#include "history/HistorySchema.h"
#include "history/RingHistory.h"
#include "history/StoredRow.h"
#include "model/Clock.h"
#include "model/Global.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Each table with its number of columns, in the schema's order.
const std::pair<const char *, int> kTables[] = {
    {"scans", 6}, {"rings", 3}, {"module_rows", 10}, {"module_periods", 8}, {"scan_hours", 3},
    {"events", 8}, {"verifications", 4}, {"verify_results", 5}, {"settings", 2},
};

constexpr int kRecordsLimit = 64;
constexpr int kKeptPort = 1;
constexpr int64_t kKeptMs = kLastStoredMs - 1000;

class Input
{
public:
    Input(const uint8_t *data, size_t size) : mData(data), mSize(size) {}
    bool AtEnd() const { return mAt >= mSize; }
    uint8_t Byte() { return mAt < mSize ? mData[mAt++] : 0; }
    uint64_t Bytes(int count)
    {
        uint64_t value = 0;
        for (int k = 0; k < count; ++k)
            value |= uint64_t(Byte()) << (8 * k);
        return value;
    }
    QByteArray Chunk()
    {
        const size_t length = std::min<size_t>(Byte(), mSize - std::min(mAt, mSize));
        QByteArray chunk(reinterpret_cast<const char *>(mData + mAt), qsizetype(length));
        mAt += length;
        return chunk;
    }
    // A value of any type SQLite keeps, small whole numbers the likeliest.
    QVariant Value()
    {
        switch (Byte() % 8) {
        case 0: return qint64(Byte());
        case 1: return qint64(Bytes(2));
        case 2: return qint64(int8_t(Byte()));
        case 3: return qint64(Bytes(8));
        case 4: return QVariant(QMetaType::fromType<qint64>());
        case 5: return QString::fromLatin1(Chunk());
        case 6: return Chunk();
        default: {
            const uint64_t bits = Bytes(8);
            double value = 0;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        }
    }

private:
    const uint8_t *mData;
    size_t mSize;
    size_t mAt = 0;
};

// A new history file holding the tables, with a row for each record of the input: one byte
// for the table, then a value for each column. Rows that break the schema's rules are left out.
void WriteFile(const QString &path, Input &input)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("craft"));
        db.setDatabaseName(path);
        Check(db.open(), "the crafted file opens");
        QSqlQuery query(db);
        query.exec(QStringLiteral("BEGIN"));
        Check(CreateHistorySchema(db).isEmpty(), "the schema is written");
        for (int record = 0; record < kRecordsLimit && !input.AtEnd(); ++record) {
            const auto &[table, columns] = kTables[input.Byte() % std::size(kTables)];
            QStringList marks;
            for (int k = 0; k < columns; ++k)
                marks << QStringLiteral("?");
            query.prepare(QStringLiteral("INSERT OR REPLACE INTO %1 VALUES(%2)").arg(QLatin1String(table), marks.join(QLatin1Char(','))));
            for (int k = 0; k < columns; ++k)
                query.bindValue(k, input.Value());
            query.exec();
        }
        query.exec(QStringLiteral("COMMIT"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("craft"));
}

// Whether the crafted rows leave the kept scan the port's last one, as the program would have
// written it: no scan or module row at or after its time.
bool KeptScanIsLast(const QString &path)
{
    bool last = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        const QString later = QStringLiteral("port = %1 AND NOT (typeof(time_ms) = 'integer' AND time_ms < %2)").arg(kKeptPort).arg(kKeptMs);
        last = db.open() && query.exec(QStringLiteral("SELECT (SELECT count(*) FROM scans WHERE %1) + (SELECT count(*) FROM module_rows WHERE %1)").arg(later))
            && query.next() && query.value(0).toInt() == 0;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("look"));
    return last;
}

void CheckRing(const RingSnapshot &modules)
{
    QSet<int> seen;
    for (const ModuleSnapshot &module : modules) {
        Check(IsTableID(module.id), "a ring's module has a table slot");
        Check(!seen.contains(module.id), "a ring's modules are distinct");
        seen.insert(module.id);
        Check(module.counter1 >= 0 && module.counter1 <= 0x7FFF && module.counter2 >= 0 && module.counter2 <= 0x7FFF,
              "counters as a reply carries them");
    }
}

void ReadAll(RingHistory &history)
{
    for (int port = 0; port <= 4; ++port)
        for (const RingEvent &event : history.Events(port, 50)) {
            Check(event.id == -1 || IsTableID(event.id), "an event's module has a table slot");
            Check(event.position >= -1 && event.position <= kMaxModuleID, "an event's position is one of a ring");
            Check(int(event.kind) >= 0 && int(event.kind) <= int(RingEventKind::Other), "an event's kind is known");
            Check(event.time.isValid(), "an event's time is valid");
        }
    for (int port = 0; port <= 4; ++port)
        if (const std::optional<RingScan> scan = history.LastFound(port))
            CheckRing(scan->modules);
    const int64_t first = history.FirstScanMs();
    Check(first >= -1 && first <= kLastStoredMs, "the first scan's time is one of a scan");
    const int64_t toMs = int64_t(1) << 40;
    for (const ChannelTotal &total : history.WorstChannels(kKeptPort, 0, toMs, 10))
        Check(IsTableID(total.id) && total.increase >= 0 && total.faultyMs >= 0, "a channel's total is one of a module");
    for (const ModuleShare &share : history.AnswerShares(kKeptPort, 0, toMs))
        Check(IsTableID(share.id) && share.answered >= 0 && share.scans >= 0, "a share is one of a module");
    for (int id : {1, 2}) {
        for (const TrendBucket &bucket : history.ModuleTrend(kKeptPort, id, 0, toMs, toMs / 16))
            Check(bucket.increase1 >= 0 && bucket.increase2 >= 0 && bucket.faulty1Ms >= 0 && bucket.faulty2Ms >= 0
                      && bucket.scans >= 0,
                  "a trend's interval holds counts");
    }
}

RingScan KeptScan()
{
    RingScan scan;
    scan.sentMs = kKeptMs;
    scan.portNumber = kKeptPort;
    scan.device = QStringLiteral("/dev/ttyUSB0");
    for (int id : {1, 2, kMaxModuleID}) {
        ModuleSnapshot module;
        module.id = id;
        module.side = 'L';
        module.version = 41;
        module.mode = uint8_t(id);
        module.counter1 = id % 0x7FFF;
        module.faulty2 = id == 2;
        module.parsedMs = kKeptMs;
        scan.modules.push_back(module);
    }
    return scan;
}

QString RingText(const RingSnapshot &modules)
{
    QStringList texts;
    for (const ModuleSnapshot &m : modules)
        texts << QStringLiteral("%1:%2:%3:%4:%5:%6:%7:%8").arg(m.id).arg(m.side).arg(m.version).arg(m.mode).arg(m.counter1)
                     .arg(m.counter2).arg(m.faulty1).arg(m.faulty2);
    return texts.join(QLatin1Char(' '));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static ManualClock clock;
    SetClock(&clock);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/fuzz-history-XXXXXX")
                                                                         : QDir::tempPath() + QStringLiteral("/fuzz-history-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("ring-history.sqlite"));
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
    Input input(data, size);
    WriteFile(path, input);
    const bool keptIsLast = KeptScanIsLast(path);

    RingHistory history;
    QStringList problems;
    QObject::connect(&history, &RingHistory::problem, [&problems](const QString &text) { problems << text; });
    Check(history.Open(path), "a file of the schema opens");
    ReadAll(history);
    Check(history.IsOpen(), "reading never closes the history");
    for (int step = 0; step < 3 && history.IsOpen(); ++step)
        history.ThinOneStep();
    ReadAll(history);
    const RingScan kept = KeptScan();
    history.Keep(kept);
    // A kept scan far ahead of the file's newest one waits for the clock to prove itself.
    if (history.IsOpen() && keptIsLast && history.ScansMissed() == 0) {
        const std::optional<RingScan> back = history.LastFound(kKeptPort);
        Check(back && RingText(back->modules) == RingText(kept.modules), "the kept scan reads back as it was kept");
    }
    int damages = 0;
    for (const QString &text : problems) {
        Check(text.contains(QDir::toNativeSeparators(path)), "a message names the file");
        damages += text.contains(QStringLiteral("no scan can have")) ? 1 : 0;
    }
    Check(damages <= 1, "values no scan can have are told once");
    return 0;
}
